#pragma once

#include "framework/menuitem.h"

namespace fw {

// The item that quits: ends the application's event loop with exit status 0; the enabling pass keeps it enabled.
class QuitMenuItem : public MenuItem {
public:
    using MenuItem::MenuItem;
    void Perform() override;
};

} // namespace fw
