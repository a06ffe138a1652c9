#pragma once

#include "framework/menuitem.h"

namespace fw {

// The root of a window's menus: each child is one menu of the bar.
class MenuBar : public MenuItem { };

} // namespace fw
