#include "shell/editorhost.h"

#include "framework/listbox.h"
#include "shell/mainwindow.h"

EditorHost& EditorHost::MainWindow() { return MainWindow::Instance(); }

xml::XmlNode EditorHost::selectedNode() const { return CurrentNode.Child(XMLList().ListIndex()); }
