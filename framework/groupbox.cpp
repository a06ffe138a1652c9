#include "framework/groupbox.h"

namespace fw {

GroupBox::GroupBox(QWidget* parent)
    : QGroupBox(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
}

} // namespace fw
