#include "framework/strings.h"
#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

using PatternFileTab = MainWindowTest;

TEST_F(PatternFileTab, QuickHelpShowsFourPlainBoxesAndSelectionShowsThePatternText)
{
    window->PushButton1_Action();
    ASSERT_EQ(messages.Entries().size(), 4u);
    for (const auto& entry : messages.Entries()) {
        EXPECT_EQ(entry.kind, fw::MessageLog::Kind::MsgBox);
        EXPECT_EQ(entry.icon, 0);
        EXPECT_TRUE(entry.title.isEmpty());
    }
    // The format's one statement: lines joined by the platform's line end, the pattern line on its own.
    EXPECT_TRUE(messages.Entries()[1].text.contains(fw::EndOfLine() + "name=valuetype" + fw::EndOfLine()));
    EXPECT_TRUE(messages.Entries()[3].text.contains("\".qevpat\""));

    // Selecting a pattern shows its text.
    fw::Listbox& list = window->PatternsBox();
    list.AddRow("ints");
    list.SetCell(0, 2, "a=int");
    list.SetListIndex(0);
    EXPECT_EQ(window->PatternEdit().Text(), "a=int");
    EXPECT_TRUE(window->SelectPattern().Enabled());
    list.SetListIndex(-1);
    EXPECT_TRUE(window->PatternEdit().Text().isEmpty());
    EXPECT_FALSE(window->SelectPattern().Enabled());
}

} // namespace
