#include "support/mainwindowtest.h"

#include <QFileInfo>

using namespace sildra::test;

namespace {

const QString kFailure = QStringLiteral("An error ocurred and the file was not created!");
const QByteArray kFirst = "<?xml version=\"1.0\"?>\n<root><a>  one  </a><b x=\"1\" y=\"2\">two</b><c><d/></c></root>\n";
const QByteArray kSecond = "<other><z>last</z></other>";

// How the stand-in converter behaves.
enum class Converter { Works, Fails, WritesNothing, WritesNoXml, Hangs };

// The stand-in converter's QEV format: a header line, then the XML bytes.
QByteArray Qev(const QByteArray& xml) { return "QEV1\n" + xml; }

class QevFileActionsTest : public MainWindowTest {
protected:
    // A folder whose name holds blanks, quotes and shell syntax.
    QString Folder(const QString& name) const
    {
        const QString path = Path(name + QStringLiteral(" it's \"odd\" $(touch pwned)"));
        QDir().mkpath(path);
        return path;
    }

    // The stand-in for QevSplit: "-extract:xml OUTDIR QEVFILE" writes OUTDIR/base.xml, "-create OUTDIR XMLFILE"
    // writes OUTDIR/base.qev, base being the input's name up to its first dot; it records its arguments beside
    // itself in arguments.txt.
    QString WriteConverter(Converter behaviour) const
    {
        QByteArray body = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\n";
        if (behaviour == Converter::WritesNothing)
            body += "exit 0\n";
        if (behaviour == Converter::Hangs)
            body += "exec sleep 600\n";
        body += "name=${3##*/}\nbase=${name%%.*}\n"
                "case \"$1\" in\n"
                "-extract:xml) [ \"$(head -n 1 \"$3\")\" = QEV1 ] || exit 3\n"
                "  tail -n +2 \"$3\" > \"$2/$base.xml\" ;;\n"
                "-create) { printf 'QEV1\\n'; cat \"$3\"; } > \"$2/$base.qev\" ;;\n"
                "*) exit 2 ;;\nesac\n";
        if (behaviour == Converter::Fails)
            body += "exit 5\n";
        if (behaviour == Converter::WritesNoXml)
            body += "echo '<unclosed>' > \"$2/$base.xml\"\n";
        return writeExecutable(Folder(QStringLiteral("tools")) + QStringLiteral("/QevSplit.exe"), body);
    }

    // The arguments of the converter's last run, or none when it did not run.
    QStringList ConverterArguments() const
    {
        QFile file(Folder(QStringLiteral("tools")) + QStringLiteral("/arguments.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Opens the file name holding xml through the given converter; returns the QEV file's path.
    QString OpenQev(
        Converter behaviour, const QString& name = QStringLiteral("first.qev"), const QByteArray& xml = kFirst)
    {
        const QString qev = Folder(QStringLiteral("data")) + QLatin1Char('/') + name;
        writeFile(qev, Qev(xml));
        dialogs.Answer(WriteConverter(behaviour));
        dialogs.Answer(qev);
        window->_OpenQEV_Action();
        return qev;
    }
    void OpenSecond(Converter behaviour) { OpenQev(behaviour, QStringLiteral("second.qev"), kSecond); }

    // Saves through the given converter under the chosen name in the "out" folder; returns that folder.
    QString SaveQev(Converter behaviour, const QString& name)
    {
        const QString folder = Folder(QStringLiteral("out"));
        dialogs.Answer(WriteConverter(behaviour));
        dialogs.Answer(folder + QLatin1Char('/') + name);
        window->_SaveQEV_Action();
        return folder;
    }

    void ExpectFirstShown() const
    {
        EXPECT_EQ(Rows(), QList<QStringList>({ { "a", "one", "" }, { "b", "two", "" }, { "c", "", "" } }));
        EXPECT_EQ(window->CurrentNode.Name(), QStringLiteral("root"));
        EXPECT_EQ(window->comparator1().Text(), QString::fromUtf8(kFirst));
        EXPECT_EQ(window->PreviewArea().Text(), QString::fromUtf8(kFirst).mid(1));
    }

    static QStringList Entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(QevFileActionsTest, OpenShowsTheTopLevelWithoutAttributesAndLeavesNoIntermediateFile)
{
    const QString qev = OpenQev(Converter::Works);
    ExpectFirstShown();
    EXPECT_EQ(Texts(), QStringList({ "Success!" }));
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_EQ(dialogs.Requests()[0].filter, QStringLiteral("QevSplit (*QevSplit.exe *QevSplit)"));
    EXPECT_EQ(dialogs.Requests()[1].filter, QStringLiteral("QEV Files (*.qev)"));
    EXPECT_FALSE(dialogs.Requests()[0].save || dialogs.Requests()[1].save);

    // The converter got the exact paths; its private output folder is gone, and no first.xml was left anywhere.
    const QStringList arguments = ConverterArguments();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], QStringLiteral("-extract:xml"));
    EXPECT_FALSE(QFileInfo::exists(arguments[1]));
    EXPECT_EQ(arguments[2], qev);
    EXPECT_EQ(Entries(QFileInfo(qev).path()), QStringList({ "first.qev" }));
    EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/first.xml")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("pwned")));
}

TEST_F(QevFileActionsTest, OpenThatFailsChangesNothing)
{
    OpenQev(Converter::Works);
    // A non-zero exit status ends the action silently, even though the converter left a file.
    OpenSecond(Converter::Fails);
    ExpectFirstShown();
    EXPECT_EQ(Texts().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(ConverterArguments().value(1)));

    // Stopped by the user: also a non-zero status.
    stopProgramWhenShown();
    OpenSecond(Converter::Hangs);
    ExpectFirstShown();
    EXPECT_EQ(Texts().size(), 1);

    // Exit status 0 with no file, then a file that is not XML: the generic error box each time.
    OpenSecond(Converter::WritesNothing);
    ExpectFirstShown();
    OpenSecond(Converter::WritesNoXml);
    ExpectFirstShown();
    EXPECT_EQ(ErrorBoxes(), 2);
    EXPECT_EQ(Texts().size(), 3);
    EXPECT_FALSE(Texts().contains(kFailure));
    EXPECT_FALSE(QFileInfo::exists(ConverterArguments().value(1)));
}

TEST_F(QevFileActionsTest, SaveGivesTheConvertedFileTheChosenName)
{
    OpenQev(Converter::Works);
    const QString folder = SaveQev(Converter::Works, QStringLiteral("saved.v2.qev"));

    EXPECT_EQ(Texts(), QStringList({ "Success!", "Success!" }));
    EXPECT_EQ(readFile(folder + QStringLiteral("/saved.v2.qev")), Qev(kFirst));
    EXPECT_EQ(Entries(folder), QStringList({ "saved.v2.qev" }));
    ASSERT_EQ(dialogs.Requests().size(), 4u);
    EXPECT_TRUE(dialogs.Requests()[3].save);
    EXPECT_EQ(dialogs.Requests()[3].filter, QStringLiteral("QEV Files (*.qev)"));

    // The converter wrote into a private folder beside the chosen file, now gone, from the intermediate file there.
    const QStringList arguments = ConverterArguments();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], QStringLiteral("-create"));
    EXPECT_EQ(QFileInfo(arguments[1]).path(), folder);
    EXPECT_EQ(arguments[2], arguments[1] + QStringLiteral("/saved.xml"));
    EXPECT_FALSE(QFileInfo::exists(arguments[1]));
    EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/saved.xml")));
}

TEST_F(QevFileActionsTest, SaveAddsTheQevExtensionToANameTypedWithoutOne)
{
    OpenQev(Converter::Works);
    const QString folder = SaveQev(Converter::Works, QStringLiteral("mod"));
    EXPECT_EQ(readFile(folder + QStringLiteral("/mod.qev")), Qev(kFirst));
    EXPECT_EQ(Entries(folder), QStringList({ "mod.qev" }));
    // The converter made it from mod.xml in its private folder beside the chosen file.
    const QStringList arguments = ConverterArguments();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], QStringLiteral("-create"));
    EXPECT_EQ(QFileInfo(arguments[1]).path(), folder);
    EXPECT_EQ(arguments[2], arguments[1] + QStringLiteral("/mod.xml"));

    // A name with any extension is kept as typed.
    SaveQev(Converter::Works, QStringLiteral("mod.txt"));
    SaveQev(Converter::Works, QStringLiteral("a.b"));
    EXPECT_EQ(Entries(folder), QStringList({ "a.b", "mod.qev", "mod.txt" }));
    EXPECT_EQ(readFile(folder + QStringLiteral("/a.b")), Qev(kFirst));
    EXPECT_EQ(Texts(), QStringList(4, QStringLiteral("Success!")));
}

TEST_F(QevFileActionsTest, OpenAndSaveTakeTheBaseNameUpToTheFirstDotAndReplaceOnlyTheChosenFile)
{
    const QString folder = Folder(QStringLiteral("out"));
    // The user's own files: one the converter's output would be named after, one the user agreed to replace.
    writeFile(folder + QStringLiteral("/mod.qev"), "original");
    writeFile(folder + QStringLiteral("/mod.v3.qev"), "older save");

    // A name saved without an extension gets ".qev".
    const std::pair<QString, QString> names[]
        = { { "mod.v2.qev", "mod.v2.qev" }, { "mod.v3.qev", "mod.v3.qev" }, { ".leading.qev", ".leading.qev" },
              { "nodot", "nodot.qev" }, { "blank 'and' \"quotes\".qev", "blank 'and' \"quotes\".qev" } };
    for (const auto& [name, saved] : names) {
        SCOPED_TRACE(name.toStdString());
        List().DeleteAllRows();
        const QString qev = OpenQev(Converter::Works, name);
        EXPECT_EQ(ConverterArguments().value(2), qev);
        ExpectFirstShown();
        SaveQev(Converter::Works, name);
        EXPECT_EQ(readFile(folder + QLatin1Char('/') + saved), Qev(kFirst));
    }
    EXPECT_EQ(Texts(), QStringList(10, QStringLiteral("Success!")));
    EXPECT_EQ(readFile(folder + QStringLiteral("/mod.qev")), "original");
    EXPECT_EQ(Entries(folder),
        QStringList(
            { ".leading.qev", "blank 'and' \"quotes\".qev", "mod.qev", "mod.v2.qev", "mod.v3.qev", "nodot.qev" }));
}

TEST_F(QevFileActionsTest, SaveThatFailsShowsItsErrorAndCreatesNoFile)
{
    OpenQev(Converter::Works);
    RunOn(0, QStringLiteral("Delete Node"));
    const QString folder = Folder(QStringLiteral("out"));
    writeFile(folder + QStringLiteral("/kept.qev"), "older save");

    SaveQev(Converter::Fails, QStringLiteral("new.qev"));
    SaveQev(Converter::WritesNothing, QStringLiteral("new.qev"));
    SaveQev(Converter::WritesNothing, QStringLiteral("kept.qev"));
    stopProgramWhenShown();
    SaveQev(Converter::Hangs, QStringLiteral("new.qev"));

    EXPECT_EQ(Texts(), QStringList({ "Success!", kFailure, kFailure, kFailure, kFailure }));
    EXPECT_EQ(ErrorBoxes(), 4);
    EXPECT_EQ(Entries(folder), QStringList({ "kept.qev" }));
    EXPECT_EQ(readFile(folder + QStringLiteral("/kept.qev")), "older save");
    // Only a save that succeeds leaves no edits to ask about.
    EXPECT_TRUE(window->XMLRead->IsModified());
    SaveQev(Converter::Works, QStringLiteral("new.qev"));
    EXPECT_FALSE(window->XMLRead->IsModified());
}

TEST_F(QevFileActionsTest, CancellingTheFileDialogEndsTheActionSilently)
{
    OpenQev(Converter::Works);
    const QString converter = WriteConverter(Converter::Works);
    QFile::remove(Folder(QStringLiteral("tools")) + QStringLiteral("/arguments.txt"));
    const std::size_t asked = dialogs.Requests().size();

    dialogs.Answer(converter);
    dialogs.Cancel();
    window->_OpenQEV_Action();
    dialogs.Answer(converter);
    dialogs.Cancel();
    window->_SaveQEV_Action();

    EXPECT_EQ(dialogs.Requests().size() - asked, 4u);
    ExpectFirstShown();
    EXPECT_EQ(Texts().size(), 1);
    EXPECT_TRUE(ConverterArguments().isEmpty());
}

} // namespace
