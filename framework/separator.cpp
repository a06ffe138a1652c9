#include "framework/separator.h"

#include <QResizeEvent>

namespace fw {

Separator::Separator(QWidget* parent)
    : QFrame(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
}

void Separator::resizeEvent(QResizeEvent* event)
{
    setFrameShape(event->size().width() >= event->size().height() ? QFrame::HLine : QFrame::VLine);
    QFrame::resizeEvent(event);
}

} // namespace fw
