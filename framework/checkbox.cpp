#include "framework/checkbox.h"

#include "framework/application.h"
#include "framework/exceptions.h"

namespace fw {

CheckBox::CheckBox(QWidget* parent)
    : QCheckBox(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    connect(this, &QCheckBox::clicked, this, [this] { Application::Guard([this] { Q_EMIT Action(); }); });
}

void CheckBox::SetState(int state)
{
    if (state != 0 && state != 1)
        throw OutOfBoundsException("check box state " + std::to_string(state) + " is neither 0 nor 1");
    setChecked(state == 1);
}

} // namespace fw
