#include "editorfixture.h"

#include "xml/xmldocument.h"

#include <QStringDecoder>

using sildra::test::EditorTest;
using sildra::test::kGameXml;
using sildra::test::readFile;

namespace {

class XmlFileActionsTest : public EditorTest {
protected:
    struct Shown {
        QList<QStringList> rows;
        xml::XmlNode current;
        QString preview;
        QString comparator;
        QString path;
        QByteArray document;
        bool operator==(const Shown&) const = default;
    };

    Shown shown() const
    {
        Shown result { {}, window->CurrentNode, window->PreviewArea().Text(), window->comparator1().Text(), path(),
            window->XMLRead->ToBytes() };
        for (int r = 0; r < list().ListCount(); ++r)
            result.rows << row(r);
        return result;
    }

    int successes() const
    {
        int count = 0;
        for (const auto& entry : messages.Entries())
            count += entry.text == QLatin1String("Success!");
        return count;
    }
};

TEST_F(XmlFileActionsTest, OpenShowsTheTopLevelAndBothPanes)
{
    window->StatusNest().SetText(QStringLiteral("kept"));
    open(fixture(QStringLiteral("game.xml"), kGameXml));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_FALSE(dialogs.Requests()[0].save);
    EXPECT_TRUE(dialogs.Requests()[0].filter.contains(QStringLiteral("XML Files")));
    EXPECT_TRUE(dialogs.Requests()[0].filter.contains(QStringLiteral("*.xml")));

    EXPECT_EQ(list().ListCount(), 8);
    EXPECT_EQ(window->CurrentNode, window->XMLRead->DocumentElement());
    EXPECT_EQ(window->comparator1().Text(), QString::fromUtf8(kGameXml));
    EXPECT_EQ(window->PreviewArea().Text(), QString::fromUtf8(kGameXml.mid(1)));
    EXPECT_EQ(path(), "kept");
    EXPECT_EQ(buttons(), "----");
    EXPECT_TRUE(messages.Entries().empty());

    // A second file shows its own top level, whatever level the first one showed.
    list().SetListIndex(1);
    window->InButton_Action();
    open(fixture(QStringLiteral("small.xml"), "<R>x</R>"));
    EXPECT_EQ(row(0), QStringList({ "#text", "", "" }));
    EXPECT_EQ(window->PreviewArea().Text(), "R>x</R>");
    EXPECT_EQ(path(), "Weapon > ");
}

TEST_F(XmlFileActionsTest, MalformedOrUnreadableFileLeavesEverythingAsItWas)
{
    open(fixture(QStringLiteral("game.xml"), kGameXml));
    list().SetListIndex(1);
    window->InButton_Action();
    const Shown before = shown();

    open(fixture(QStringLiteral("broken.xml"), "<Game><Weapon></Game>"));
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_TRUE(shown() == before);

    open(dir.filePath(QStringLiteral("missing.xml")));
    EXPECT_EQ(errorBoxes(), 2);
    EXPECT_TRUE(shown() == before);

    // The document is still the one shown: commands go on working on it.
    list().SetListIndex(0);
    window->OutButton_Action();
    EXPECT_EQ(list().ListCount(), 8);
    EXPECT_EQ(errorBoxes(), 2);
}

TEST_F(XmlFileActionsTest, CancelledDialogsChangeNothing)
{
    open(fixture(QStringLiteral("game.xml"), kGameXml));
    const Shown before = shown();
    dialogs.Cancel();
    choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("XML") });
    dialogs.Cancel();
    choose({ QStringLiteral("File"), QStringLiteral("Save"), QStringLiteral("XML") });
    EXPECT_TRUE(shown() == before);
    EXPECT_TRUE(messages.Entries().empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "game.xml" }));
}

TEST_F(XmlFileActionsTest, SaveWritesTheEditedDocumentThatReopensToTheSameTree)
{
    open(fixture(QStringLiteral("game.xml"), kGameXml));
    list().SetListIndex(3);
    dispatch(QStringLiteral("Delete Node"));
    list().SetListIndex(1);
    window->InButton_Action();
    list().SetListIndex(0);
    dispatch(QStringLiteral("Delete Node"));

    const QString target = dir.filePath(QStringLiteral("saved.xml"));
    saveAs(target);
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_TRUE(dialogs.Requests()[1].save);
    EXPECT_EQ(dialogs.Requests()[1].defaultName, QString());
    EXPECT_EQ(successes(), 1);
    const QByteArray saved = readFile(target);
    EXPECT_FALSE(saved.contains("Wrapper"));
    EXPECT_FALSE(saved.contains("Damage"));
    EXPECT_TRUE(saved.contains("<Range kind=\"melee\">3</Range>"));

    open(target);
    EXPECT_EQ(names(), QStringList({ "Title", "Weapon", "Empty", "Commented", "Mixed", "#comment", "#text" }));
    list().SetListIndex(1);
    window->InButton_Action();
    EXPECT_EQ(names(), QStringList({ "Range", "Gem" }));
    EXPECT_EQ(window->comparator1().Text(), QString::fromUtf8(saved));
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(XmlFileActionsTest, FailedSaveShowsTheErrorBoxInsteadOfSuccess)
{
    open(fixture(QStringLiteral("game.xml"), kGameXml));
    saveAs(dir.filePath(QStringLiteral("game.xml/inside.xml")));
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_EQ(successes(), 0);
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("game.xml"))), kGameXml);
}

TEST_F(XmlFileActionsTest, SaveBeforeAnyOpenWritesTheEmptyDocument)
{
    saveAs(dir.filePath(QStringLiteral("empty.xml")));
    EXPECT_EQ(successes(), 1);
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("empty.xml"))));
}

TEST_F(XmlFileActionsTest, ShortcutsOpenAndSave)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dialogs.Answer(fixture(QStringLiteral("game.xml"), kGameXml));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(list().ListCount(), 8);
    dialogs.Answer(dir.filePath(QStringLiteral("copy.xml")));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(successes(), 1);
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("copy.xml"))), kGameXml);
}

TEST_F(XmlFileActionsTest, Latin1AndUtf16FilesKeepTheirLettersAndEncoding)
{
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                              "<Items><Name>\xC9p\xE9\x65</Name><Drop>x</Drop><Old r\xE9gion=\"N\xEEmes\"/></Items>\n";
    open(fixture(QStringLiteral("latin1.xml"), latin1));
    EXPECT_EQ(row(0), QStringList({ "Name", QStringLiteral("Épée"), "" }));
    EXPECT_EQ(row(2), QStringList({ "Old", "", QStringLiteral("région = Nîmes, ") }));
    EXPECT_TRUE(window->comparator1().Text().contains(QStringLiteral("<Name>Épée</Name>")));
    EXPECT_TRUE(window->PreviewArea().Text().startsWith(QStringLiteral("?xml")));

    list().SetListIndex(1);
    dispatch(QStringLiteral("Delete Node"));
    const QString target = dir.filePath(QStringLiteral("latin1-saved.xml"));
    saveAs(target);
    QByteArray expected = latin1;
    expected.replace("<Drop>x</Drop>", "");
    EXPECT_EQ(readFile(target), expected);
    open(target);
    EXPECT_EQ(row(0), QStringList({ "Name", QStringLiteral("Épée"), "" }));

    QStringEncoder toUtf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray utf16 = toUtf16(QStringLiteral("<Items><Name>Épée</Name></Items>"));
    open(fixture(QStringLiteral("utf16.xml"), utf16));
    EXPECT_EQ(row(0), QStringList({ "Name", QStringLiteral("Épée"), "" }));
    EXPECT_EQ(window->comparator1().Text(), QStringLiteral("<Items><Name>Épée</Name></Items>"));
    saveAs(dir.filePath(QStringLiteral("utf16-saved.xml")));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("utf16-saved.xml"))), utf16);
    EXPECT_EQ(errorBoxes(), 0);
}

} // namespace
