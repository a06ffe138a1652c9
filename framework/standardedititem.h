#pragma once

#include "framework/menuitem.h"

namespace fw {

// The standard Edit commands.
enum class EditCommand { Undo, Cut, Copy, Paste, Delete, SelectAll };

// An Edit item acting on the focused text field (single-line, multi-line or read-only view).
class StandardEditItem : public MenuItem {
public:
    explicit StandardEditItem(EditCommand command)
        : m_command(command)
    {
    }
    EditCommand Command() const { return m_command; }
    void Perform() override;

private:
    EditCommand m_command;
};

} // namespace fw
