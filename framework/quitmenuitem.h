#pragma once

#include "framework/menuitem.h"

namespace fw {

// The item that quits: ends the application's event loop with exit status 0 unless an open window's CancelClose
// event keeps it running; the enabling pass keeps it enabled.
class QuitMenuItem : public MenuItem {
public:
    using MenuItem::MenuItem;
    void Perform() override;
};

} // namespace fw
