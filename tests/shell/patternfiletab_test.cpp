#include "framework/strings.h"
#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

using PatternFileTab = MainWindowTest;

TEST_F(PatternFileTab, QuickHelpShowsFourBoxesInOrder)
{
    window->PushButton1_Action();
    const QString eol = fw::EndOfLine();
    const QString expected[] = {
        "\"QEV Pattern Files\" are files that define what is the type of each 'field' in an QEV file. A type is "
        "like a kind of value, such as:"
            + eol + "- A pure text;" + eol + "- An integer number (examples: ..., -3, -2, -1, 0, 1, 2, 3, ...);" + eol
            + "- A floating value (examples: ..., -0.2, -0.01, 0, 0.01, 0.2, ...);" + eol
            + "- A boolean value (true or false).",
        "These files are mostly supplied by the community, but you can make your own if you like. Values are "
        "inputed like below:"
            + eol + eol + "name=valuetype" + eol + eol
            + "...where \"name\" is the caption of the XML Node and \"valuetype\" is the accepted type of that node.",
        "\"Name\" may be any string not containing an equal sign (=). \"Valuetype\" must be one of the following:" + eol
            + "- \"int\" (integer);" + eol + "- \"str\" (string, text);" + eol
            + "- \"flt\" (floating point value/decimal);" + eol + "- \"bool\" (boolean value/true or false);" + eol
            + "- A list like this: \"(value1,value2,value3)\" (ComboBox).",
        "These files are stored in the same folder as this program, with extension \".qevpat\". The QEV Pattern "
        "Files are case-sensitive.",
    };
    ASSERT_EQ(messages.Entries().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(messages.Entries()[i].kind, fw::MessageLog::Kind::MsgBox);
        EXPECT_EQ(messages.Entries()[i].text, expected[i]) << "box " << i + 1;
        EXPECT_EQ(messages.Entries()[i].icon, 0);
        EXPECT_TRUE(messages.Entries()[i].title.isEmpty());
    }
}

TEST_F(PatternFileTab, SelectionShowsThePatternText)
{
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
