#pragma once

class MainWindow;

namespace editor {

// File > Open > XML and File > Save > XML.
class XmlFileActions {
public:
    explicit XmlFileActions(MainWindow& window);

    bool _OpenXML_Action();
    bool _SaveXML_Action();

private:
    MainWindow& m_window;
};

} // namespace editor
