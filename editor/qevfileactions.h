#pragma once

class EditorHost;

namespace editor {

// File > Open > QEV and File > Save > QEV, through the outside converter.
class QevFileActions {
public:
    explicit QevFileActions(EditorHost& host);

    bool _OpenQEV_Action();
    bool _SaveQEV_Action();

private:
    EditorHost& m_host;
};

} // namespace editor
