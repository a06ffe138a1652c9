#include "editor/qevfileactions.h"

#include "shell/mainwindow.h"

namespace editor {

QevFileActions::QevFileActions(MainWindow& window)
    : m_window(window)
{
}

bool QevFileActions::_OpenQEV_Action()
{
    return false;
}

bool QevFileActions::_SaveQEV_Action()
{
    return false;
}

} // namespace editor
