#pragma once

class MainWindow;

namespace shell {

// The "Comparator" tab: "Select File" loads a second XML file's whole text into the right pane; "Compare" does
// nothing.
class ComparatorTab {
public:
    explicit ComparatorTab(MainWindow& window);

    // Asks for an XML file and shows its whole text in comparator2; cancelling or an unreadable file changes
    // nothing.
    void compareFile_Action();
    void compareButton_Action();

private:
    MainWindow& m_window;
};

} // namespace shell
