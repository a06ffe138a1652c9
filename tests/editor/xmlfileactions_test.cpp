#include "framework/textview.h"
#include "support/mainwindowtest.h"

#include <QClipboard>
#include <QScrollBar>
#include <QStringEncoder>

using namespace sildra::test;

namespace {

class XmlFileActionsTest : public MainWindowTest {
protected:
    // Everything an open or a save could change.
    struct Shown {
        QList<QStringList> rows;
        xml::XmlNode current;
        QString preview, comparator, path;
        QByteArray document;
        bool operator==(const Shown&) const = default;
    };
    Shown Now() const
    {
        return { Rows(), window->CurrentNode, window->PreviewArea().Text(), window->comparator1().Text(), NestPath(),
            Bytes() };
    }
    int Successes() const { return int(Texts().count(QStringLiteral("Success!"))); }
};

TEST_F(XmlFileActionsTest, OpenShowsTheTopLevelAndBothPanes)
{
    window->StatusNest().SetText(QStringLiteral("kept"));
    Open(kGameXml);
    EXPECT_EQ(List().ListCount(), 8);
    EXPECT_EQ(window->CurrentNode, window->XMLRead->DocumentElement());
    EXPECT_EQ(window->comparator1().Text(), QString::fromUtf8(kGameXml));
    EXPECT_EQ(window->PreviewArea().Text(), QString::fromUtf8(kGameXml.mid(1)));
    EXPECT_EQ(NestPath(), "kept");
    EXPECT_EQ(Buttons(), "----");
    EXPECT_TRUE(messages.Entries().empty());

    // A second file shows its own top level, whatever level the first one showed.
    RunOn(1, QStringLiteral("In"));
    window->comparator2().SetText(QStringLiteral("right"));
    Open("<R>x</R>");
    EXPECT_EQ(Rows(), QList<QStringList>({ { "#text", "", "" } }));
    EXPECT_EQ(window->PreviewArea().Text(), "R>x</R>");
    EXPECT_EQ(window->comparator1().Text(), "<R>x</R>");
    EXPECT_EQ(window->comparator2().Text(), "right");
    EXPECT_EQ(NestPath(), "Weapon > ");
}

TEST_F(XmlFileActionsTest, PreviewScrollsThroughAFileWrittenOnOneLineToItsEnd)
{
    // Each element holds its own byte offset, so that what the pane shows tells where in the file it is.
    QByteArray xml = "<r>";
    while (xml.size() < 10 * 1000 * 1000)
        xml += "<i>" + QByteArray::number(xml.size()) + "</i>";
    xml += "</r>";
    Open(xml);
    fw::TextView* preview = window->PreviewArea().View();
    // Selects from the pane's left edge to its right one and copies what shows.
    const auto shown = [preview] {
        QWidget* area = preview->viewport();
        const int middle = preview->fontMetrics().lineSpacing() / 2;
        QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(0, middle));
        QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(area->width() - 1, middle));
        QTest::keyClick(preview, Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    };
    preview->horizontalScrollBar()->setValue(preview->horizontalScrollBar()->maximum() / 2);
    const double offset = shown().section(QLatin1String("<i>"), 1, 1).section(QLatin1Char('<'), 0, 0).toDouble();
    EXPECT_NEAR(offset, xml.size() / 2.0, xml.size() / 100.0);
    QTest::keyClick(preview, Qt::Key_End);
    EXPECT_TRUE(shown().endsWith(QString::fromLatin1(xml.right(30)))) << shown().toStdString();
}

TEST_F(XmlFileActionsTest, MalformedOrUnreadableFileLeavesEverythingAsItWas)
{
    Open(kGameXml);
    RunOn(1, QStringLiteral("In"));
    const Shown before = Now();

    OpenFile(File(QStringLiteral("broken.xml"), "<Game><Weapon></Game>"));
    EXPECT_EQ(ErrorBoxes(), 1);
    EXPECT_TRUE(Now() == before);
    OpenFile(Path(QStringLiteral("missing.xml")));
    EXPECT_EQ(ErrorBoxes(), 2);
    EXPECT_TRUE(Now() == before);

    // The document is still the one shown: commands go on working on it.
    RunOn(0, QStringLiteral("Out"));
    EXPECT_EQ(List().ListCount(), 8);
    EXPECT_EQ(ErrorBoxes(), 2);
}

TEST_F(XmlFileActionsTest, CancelledDialogsChangeNothing)
{
    Open(kGameXml);
    const Shown before = Now();
    dialogs.Cancel();
    Choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("XML") });
    dialogs.Cancel();
    Choose({ QStringLiteral("File"), QStringLiteral("Save"), QStringLiteral("XML") });
    EXPECT_TRUE(Now() == before);
    EXPECT_TRUE(messages.Entries().empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "in.xml" }));
}

TEST_F(XmlFileActionsTest, SaveWritesTheEditedDocumentThatReopensToTheSameTree)
{
    Open(kGameXml);
    RunOn(3, QStringLiteral("Delete Node"));
    RunOn(1, QStringLiteral("In"));
    RunOn(0, QStringLiteral("Delete Node"));

    const QString target = Path(QStringLiteral("saved.xml"));
    SaveAs(target);
    EXPECT_EQ(dialogs.Requests().back().defaultName, QString());
    EXPECT_EQ(Successes(), 1);
    QByteArray expected = kGameXml;
    expected.replace("    <Damage>12</Damage>\n", "")
        .replace("  <Wrapper><Inner level=\"2\"><Core>deep</Core></Inner></Wrapper>\n", "");
    EXPECT_EQ(readFile(target), expected);

    OpenFile(target);
    EXPECT_EQ(Names(), QStringList({ "Title", "Weapon", "Empty", "Commented", "Mixed", "#comment", "#text" }));
    RunOn(1, QStringLiteral("In"));
    EXPECT_EQ(Names(), QStringList({ "Range", "Gem" }));
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(XmlFileActionsTest, SaveAddsTheXmlExtensionToANameTypedWithoutOne)
{
    Open(kGameXml);
    SaveAs(Path(QStringLiteral("mod")));
    EXPECT_EQ(readFile(Path(QStringLiteral("mod.xml"))), kGameXml);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("mod"))));

    // A name with any extension is kept as typed.
    SaveAs(Path(QStringLiteral("mod.txt")));
    SaveAs(Path(QStringLiteral("a.b")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "a.b", "in.xml", "mod.txt", "mod.xml" }));
    EXPECT_EQ(readFile(Path(QStringLiteral("a.b"))), kGameXml);
    EXPECT_EQ(Successes(), 3);
}

TEST_F(XmlFileActionsTest, SaveWithNothingOpenOrThatFailsShowsTheErrorBoxAndWritesNothing)
{
    SaveAs(Path(QStringLiteral("empty.xml")));
    EXPECT_EQ(ErrorBoxes(), 1);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("empty.xml"))));
    Open(kGameXml);
    SaveAs(Path(QStringLiteral("in.xml/inside.xml")));
    EXPECT_EQ(ErrorBoxes(), 2);
    EXPECT_EQ(Successes(), 0);
    EXPECT_EQ(readFile(Path(QStringLiteral("in.xml"))), kGameXml);
}

TEST_F(XmlFileActionsTest, Latin1AndUtf16FilesShowTheirLetters)
{
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                              "<Items><Name>\xC9p\xE9\x65</Name><Drop>x</Drop><Old r\xE9gion=\"N\xEEmes\"/></Items>\n";
    Open(latin1);
    EXPECT_EQ(Row(0), QStringList({ "Name", QStringLiteral("Épée"), "" }));
    EXPECT_EQ(Row(2), QStringList({ "Old", "", QStringLiteral("région = Nîmes, ") }));
    EXPECT_TRUE(window->comparator1().Text().contains(QStringLiteral("<Name>Épée</Name>")));
    EXPECT_TRUE(window->PreviewArea().Text().startsWith(QStringLiteral("?xml")));

    QStringEncoder toUtf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray utf16 = toUtf16(QStringLiteral("<Items><Name>Épée</Name></Items>"));
    Open(utf16);
    EXPECT_EQ(Row(0), QStringList({ "Name", QStringLiteral("Épée"), "" }));
    EXPECT_EQ(window->comparator1().Text(), QStringLiteral("<Items><Name>Épée</Name></Items>"));
    EXPECT_EQ(ErrorBoxes(), 0);
}

} // namespace
