#pragma once

class EditorHost;

namespace editor {

// File > Open > XML and File > Save > XML.
class XmlFileActions {
public:
    explicit XmlFileActions(EditorHost& host);

    bool _OpenXML_Action();
    bool _SaveXML_Action();

private:
    EditorHost& m_host;
};

} // namespace editor
