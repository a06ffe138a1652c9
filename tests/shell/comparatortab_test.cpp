#include "support/mainwindowtest.h"

#include <QStringEncoder>

using namespace sildra::test;

namespace {

class ComparatorTab : public MainWindowTest {
protected:
    // Runs "Select File" (its button is disabled) answering the open dialog with path, or cancelling it when empty.
    void SelectFile(const QString& path)
    {
        path.isEmpty() ? dialogs.Cancel() : dialogs.Answer(path);
        window->compareFile_Action();
    }
};

TEST_F(ComparatorTab, SelectFileShowsTheWholeTextInTheRightPane)
{
    const QByteArray text = "<?xml version=\"1.0\"?>\n<root a=\"1\">\n  <b>\xC3\xA9t\xC3\xA9</b>\n</root>\n";
    SelectFile(File("a.xml", text));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_FALSE(dialogs.Requests()[0].save);
    EXPECT_TRUE(dialogs.Requests()[0].filter.startsWith("XML Files")) << dialogs.Requests()[0].filter.toStdString();
    EXPECT_EQ(window->comparator2().Text(), QString::fromUtf8(text));
    EXPECT_TRUE(window->comparator1().Text().isEmpty());

    // A second file replaces the text; a UTF-16 file is decoded.
    const QString utf16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\u00e9</r>");
    SelectFile(File("u.xml", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(utf16)));
    EXPECT_EQ(window->comparator2().Text(), utf16);

    // Cancel and an unreadable file keep the text shown; an empty file empties the pane.
    SelectFile(File("a.xml", "<a/>"));
    SelectFile(QString());
    EXPECT_EQ(window->comparator2().Text(), "<a/>");
    SelectFile(Path("missing.xml"));
    EXPECT_EQ(window->comparator2().Text(), "<a/>");
    EXPECT_TRUE(messages.Entries().empty());
    SelectFile(File("empty.xml", QByteArray()));
    EXPECT_TRUE(window->comparator2().Text().isEmpty());
}

} // namespace
