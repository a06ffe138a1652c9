#pragma once

class MainWindow;

namespace shell {

// The "Pattern File" tab: a list of pattern files (never filled), their text and the format's quick help.
class PatternFileTab {
public:
    explicit PatternFileTab(MainWindow& window);

    // Shows the selected pattern's text (hidden cell 2) and enables "Apply Selected Pattern", or clears both.
    void PatternsBox_Change();
    // The quick help: four message boxes, one after the other.
    void PushButton1_Action();

private:
    MainWindow& m_window;
};

} // namespace shell
