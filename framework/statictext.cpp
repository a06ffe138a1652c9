#include "framework/statictext.h"

namespace fw {

StaticText::StaticText(QWidget* parent)
    : QLabel(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    setTextFormat(Qt::PlainText);
}

QColor StaticText::TextColor() const { return palette().color(QPalette::WindowText); }

void StaticText::SetTextColor(const QColor& color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
}

} // namespace fw
