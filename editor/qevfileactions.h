#pragma once

class MainWindow;

namespace editor {

// File > Open > QEV and File > Save > QEV, through the outside converter.
class QevFileActions {
public:
    explicit QevFileActions(MainWindow& window);

    bool _OpenQEV_Action();
    bool _SaveQEV_Action();

private:
    MainWindow& m_window;
};

} // namespace editor
