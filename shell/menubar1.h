#pragma once

#include "framework/menubar.h"
#include "framework/ref.h"

// The main window's menu bar: File, Edit and Help. One shared instance serves the whole run.
class MenuBar1 : public fw::MenuBar {
public:
    // Builds the three menus.
    MenuBar1();

    // The shared instance, created on first use.
    static fw::Ref<MenuBar1> Instance();
    // Drops the shared instance (shutdown); the next Instance() builds a new one.
    static void release();

    // Builds the File menu.
    void Untitled0();
    // Builds the Edit menu.
    void Untitled1();
    // Builds the Help menu.
    void Untitled2();

private:
    static fw::Ref<MenuBar1> _implicitInstance;
};
