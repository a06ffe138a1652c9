#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/messagelog.h"
#include "shell/mainwindow.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ComparatorTab : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = fw::Window::Create<MainWindow>();
    }
    QString File(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        sildra::test::writeFile(path, bytes);
        return path;
    }
    // Runs "Select File" answering the open dialog with path (empty: cancel).
    void SelectFile(const QString& path)
    {
        if (path.isEmpty())
            dialogs.Cancel();
        else
            dialogs.Answer(path);
        window->compareFile_Action();
    }

    QTemporaryDir dir;
    fw::FileDialogs dialogs;
    fw::MessageLog log;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ComparatorTab, SelectFileShowsTheWholeTextInTheRightPane)
{
    const QByteArray text = "<?xml version=\"1.0\"?>\n<root a=\"1\">\n  <b>\xC3\xA9t\xC3\xA9</b>\n</root>\n";
    SelectFile(File("a.xml", text));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_FALSE(dialogs.Requests()[0].save);
    EXPECT_TRUE(dialogs.Requests()[0].filter.startsWith("XML Files")) << dialogs.Requests()[0].filter.toStdString();
    EXPECT_TRUE(dialogs.Requests()[0].filter.contains("*.xml"));
    EXPECT_EQ(window->comparator2().Text(), QString::fromUtf8(text));
    EXPECT_TRUE(window->comparator1().Text().isEmpty());
    EXPECT_TRUE(log.Entries().empty());

    // A second file replaces the text.
    SelectFile(File("b.xml", "<x/>"));
    EXPECT_EQ(window->comparator2().Text(), "<x/>");
}

TEST_F(ComparatorTab, LeftPaneGetsEveryOpenedText)
{
    SelectFile(File("right.xml", "<right/>"));
    dialogs.Answer(File("one.xml", "<one><a>1</a></one>"));
    window->_OpenXML_Action();
    EXPECT_EQ(window->comparator1().Text(), "<one><a>1</a></one>");
    EXPECT_EQ(window->PreviewArea().Text(), "one><a>1</a></one>");
    dialogs.Answer(File("two.xml", "<two/>"));
    window->_OpenXML_Action();
    EXPECT_EQ(window->comparator1().Text(), "<two/>");
    EXPECT_EQ(window->comparator2().Text(), "<right/>");
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ComparatorTab, Utf16FileIsDecoded)
{
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\u00e9</r>");
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    SelectFile(File("u.xml", bytes));
    EXPECT_EQ(window->comparator2().Text(), text);
}

TEST_F(ComparatorTab, CancelUnreadableAndEmptyFiles)
{
    SelectFile(File("a.xml", "<a/>"));
    SelectFile(QString());
    EXPECT_EQ(window->comparator2().Text(), "<a/>");

    SelectFile(dir.filePath("missing.xml"));
    EXPECT_EQ(window->comparator2().Text(), "<a/>");
    EXPECT_TRUE(log.Entries().empty());

    SelectFile(File("empty.xml", QByteArray()));
    EXPECT_TRUE(window->comparator2().Text().isEmpty());
}

} // namespace
