#include "framework/pushbutton.h"

#include "framework/application.h"

namespace fw {

PushButton::PushButton(QWidget* parent)
    : QPushButton(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { Application::Guard([this] { Q_EMIT Action(); }); });
}

} // namespace fw
