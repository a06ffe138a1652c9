#include "editor/xmlfileactions.h"

#include "shell/mainwindow.h"

namespace editor {

XmlFileActions::XmlFileActions(MainWindow& window)
    : m_window(window)
{
}

bool XmlFileActions::_OpenXML_Action()
{
    return false;
}

bool XmlFileActions::_SaveXML_Action()
{
    return false;
}

} // namespace editor
