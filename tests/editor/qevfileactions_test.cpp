#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/listbox.h"
#include "framework/messagelog.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"
#include "support/testsupport.h"
#include "xml/xmldocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using sildra::test::readFile;
using sildra::test::writeFile;

const QString kFailure = QStringLiteral("An error ocurred and the file was not created!");

// How the stand-in converter behaves.
enum class Converter { Works, Fails, WritesNothing, WritesNoXml, Hangs };

// The stand-in converter's QEV format: a header line, then the XML bytes.
QByteArray Qev(const QByteArray& xml)
{
    return "QEV1\n" + xml;
}

const QByteArray kFirst = "<?xml version=\"1.0\"?>\n<root><a>  one  </a><b x=\"1\" y=\"2\">two</b><c><d/></c></root>\n";
const QByteArray kSecond = "<other><z>last</z></other>";

// Clicks "Stop" in the converter's progress box as soon as it is shown.
void StopConverterWhenShown(QObject* context)
{
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            box->findChild<QPushButton*>(QStringLiteral("StopButton"))->click();
            poll->deleteLater();
        }
    });
    poll->start(20);
}

class QevFileActionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_window = fw::Window::Create<MainWindow>();
    }

    // A folder whose name holds blanks, quotes and shell syntax.
    QString Folder(const QString& name) const
    {
        const QString path = m_dir.path() + QLatin1Char('/') + name + QStringLiteral(" it's \"odd\" $(touch pwned)");
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
        const QString path = Folder(QStringLiteral("tools")) + QStringLiteral("/QevSplit.exe");
        writeFile(path, body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    // The arguments of the converter's last run, or none when it did not run.
    QStringList ConverterArguments() const
    {
        QFile file(Folder(QStringLiteral("tools")) + QStringLiteral("/arguments.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList Rows() const
    {
        QStringList rows;
        const fw::Listbox& list = m_window->XMLList();
        for (int row = 0; row < list.ListCount(); ++row)
            rows << list.Cell(row, 0) + QLatin1Char('|') + list.Cell(row, 1) + QLatin1Char('|') + list.Cell(row, 2);
        return rows;
    }

    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& entry : m_messages.Entries())
            texts << entry.text;
        return texts;
    }

    // Opens kFirst through a working converter; returns the QEV file's path.
    QString OpenFirst(const QString& name = QStringLiteral("first.qev"))
    {
        const QString qev = Folder(QStringLiteral("data")) + QLatin1Char('/') + name;
        writeFile(qev, Qev(kFirst));
        m_dialogs.Answer(WriteConverter(Converter::Works));
        m_dialogs.Answer(qev);
        m_window->_OpenQEV_Action();
        return qev;
    }

    // Opens kSecond through the given converter.
    void OpenSecond(Converter behaviour)
    {
        const QString qev = Folder(QStringLiteral("data")) + QStringLiteral("/second.qev");
        writeFile(qev, Qev(kSecond));
        m_dialogs.Answer(WriteConverter(behaviour));
        m_dialogs.Answer(qev);
        m_window->_OpenQEV_Action();
    }

    // Saves through the given converter under the chosen name in the "out" folder; returns that folder.
    QString Save(Converter behaviour, const QString& name)
    {
        const QString folder = Folder(QStringLiteral("out"));
        m_dialogs.Answer(WriteConverter(behaviour));
        m_dialogs.Answer(folder + QLatin1Char('/') + name);
        m_window->_SaveQEV_Action();
        return folder;
    }

    void ExpectFirstShown() const
    {
        EXPECT_EQ(Rows(), QStringList({ "a|one|", "b|two|", "c||" }));
        EXPECT_EQ(m_window->CurrentNode.Name(), QStringLiteral("root"));
        EXPECT_EQ(m_window->comparator1().Text(), QString::fromUtf8(kFirst));
        EXPECT_EQ(m_window->PreviewArea().Text(), QString::fromUtf8(kFirst).mid(1));
    }

    static QStringList Entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
    fw::FileDialogs m_dialogs;
    fw::MessageLog m_messages;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(QevFileActionsTest, OpenShowsTheTopLevelWithoutAttributesAndLeavesNoIntermediateFile)
{
    const QString qev = OpenFirst();

    ExpectFirstShown();
    EXPECT_EQ(Messages(), QStringList({ "Success!" }));
    ASSERT_EQ(m_dialogs.Requests().size(), 2u);
    EXPECT_EQ(m_dialogs.Requests()[0].filter, QStringLiteral("QevSplit (*QevSplit.exe)"));
    EXPECT_EQ(m_dialogs.Requests()[1].filter, QStringLiteral("QEV Files (*.qev)"));
    EXPECT_FALSE(m_dialogs.Requests()[0].save || m_dialogs.Requests()[1].save);

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

TEST_F(QevFileActionsTest, OpenTakesTheBaseNameUpToTheFirstDot)
{
    for (const QString& name : { QStringLiteral("two.dots.qev"), QStringLiteral(".leading.qev"),
             QStringLiteral("nodot"), QStringLiteral("blank 'and' \"quotes\".qev") }) {
        SCOPED_TRACE(name.toStdString());
        m_window->XMLList().DeleteAllRows();
        const QString qev = OpenFirst(name);
        ExpectFirstShown();
        EXPECT_EQ(ConverterArguments().value(2), qev);
        EXPECT_EQ(Messages().value(Messages().size() - 1), QStringLiteral("Success!"));
    }
    EXPECT_EQ(Messages().size(), 4);
}

TEST_F(QevFileActionsTest, OpenThatFailsChangesNothing)
{
    OpenFirst();
    ASSERT_EQ(Messages().size(), 1);

    // A non-zero exit status ends the action silently, even though the converter left a file.
    OpenSecond(Converter::Fails);
    ExpectFirstShown();
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(ConverterArguments().value(1)));

    // Stopped by the user: also a non-zero status.
    StopConverterWhenShown(m_window.get());
    OpenSecond(Converter::Hangs);
    ExpectFirstShown();
    EXPECT_EQ(Messages().size(), 1);

    // Exit status 0 with no file, then a file that is not XML: the generic error box each time.
    OpenSecond(Converter::WritesNothing);
    ExpectFirstShown();
    ASSERT_EQ(Messages().size(), 2);
    OpenSecond(Converter::WritesNoXml);
    ExpectFirstShown();
    ASSERT_EQ(Messages().size(), 3);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(m_messages.Entries()[i].title, QStringLiteral("Error"));
        EXPECT_EQ(m_messages.Entries()[i].icon, 16);
        EXPECT_NE(m_messages.Entries()[i].text, kFailure);
    }
    EXPECT_FALSE(QFileInfo::exists(ConverterArguments().value(1)));
}

TEST_F(QevFileActionsTest, SaveGivesTheConvertedFileTheChosenName)
{
    OpenFirst();
    const QString folder = Save(Converter::Works, QStringLiteral("saved.v2.qev"));

    EXPECT_EQ(Messages(), QStringList({ "Success!", "Success!" }));
    EXPECT_EQ(readFile(folder + QStringLiteral("/saved.v2.qev")), Qev(kFirst));
    EXPECT_EQ(Entries(folder), QStringList({ "saved.v2.qev" }));
    ASSERT_EQ(m_dialogs.Requests().size(), 4u);
    EXPECT_EQ(m_dialogs.Requests()[2].filter, QStringLiteral("QevSplit (*QevSplit.exe)"));
    EXPECT_FALSE(m_dialogs.Requests()[2].save);
    EXPECT_EQ(m_dialogs.Requests()[3].filter, QStringLiteral("QEV Files (*.qev)"));
    EXPECT_TRUE(m_dialogs.Requests()[3].save);
    EXPECT_EQ(m_dialogs.Requests()[3].defaultName, QString());

    // The converter wrote into a private folder beside the chosen file, now gone, from the intermediate file there.
    const QStringList arguments = ConverterArguments();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], QStringLiteral("-create"));
    EXPECT_EQ(QFileInfo(arguments[1]).path(), folder);
    EXPECT_EQ(arguments[2], arguments[1] + QStringLiteral("/saved.xml"));
    EXPECT_FALSE(QFileInfo::exists(arguments[1]));
    EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/saved.xml")));
}

TEST_F(QevFileActionsTest, SaveNamesAndReplacing)
{
    OpenFirst();
    const QString folder = Folder(QStringLiteral("out"));
    // The user's own files: one the converter's output would be named after, one the user agreed to replace.
    writeFile(folder + QStringLiteral("/mod.qev"), "original");
    writeFile(folder + QStringLiteral("/mod.v3.qev"), "older save");

    for (const QString& name : { QStringLiteral("mod.v2.qev"), QStringLiteral("mod.v3.qev"),
             QStringLiteral(".leading.qev"), QStringLiteral("nodot"), QStringLiteral("same.qev"),
             QStringLiteral("blank 'and' \"quotes\".qev") }) {
        SCOPED_TRACE(name.toStdString());
        Save(Converter::Works, name);
        EXPECT_EQ(readFile(folder + QLatin1Char('/') + name), Qev(kFirst));
        EXPECT_EQ(QFileInfo(ConverterArguments().value(2)).fileName(), fw::NthField(name, QStringLiteral("."), 1) + QStringLiteral(".xml"));
        EXPECT_EQ(Messages().value(Messages().size() - 1), QStringLiteral("Success!"));
    }
    EXPECT_EQ(readFile(folder + QStringLiteral("/mod.qev")), "original");
    EXPECT_EQ(Entries(folder),
        QStringList({ ".leading.qev", "blank 'and' \"quotes\".qev", "mod.qev", "mod.v2.qev", "mod.v3.qev", "nodot",
            "same.qev" }));
}

TEST_F(QevFileActionsTest, SaveThatFailsShowsItsErrorAndCreatesNoFile)
{
    OpenFirst();
    const QString folder = Folder(QStringLiteral("out"));
    writeFile(folder + QStringLiteral("/kept.qev"), "older save");

    Save(Converter::Fails, QStringLiteral("new.qev"));
    Save(Converter::WritesNothing, QStringLiteral("new.qev"));
    Save(Converter::WritesNothing, QStringLiteral("kept.qev"));
    StopConverterWhenShown(m_window.get());
    Save(Converter::Hangs, QStringLiteral("new.qev"));

    ASSERT_EQ(m_messages.Entries().size(), 5u);
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(m_messages.Entries()[i].text, kFailure);
        EXPECT_EQ(m_messages.Entries()[i].title, QStringLiteral("Error"));
        EXPECT_EQ(m_messages.Entries()[i].icon, 16);
    }
    EXPECT_EQ(Entries(folder), QStringList({ "kept.qev" }));
    EXPECT_EQ(readFile(folder + QStringLiteral("/kept.qev")), "older save");
}

TEST_F(QevFileActionsTest, CancellingADialogEndsTheActionSilently)
{
    OpenFirst();
    const QString converter = WriteConverter(Converter::Works);
    QFile::remove(Folder(QStringLiteral("tools")) + QStringLiteral("/arguments.txt"));
    const std::size_t asked = m_dialogs.Requests().size();

    m_dialogs.Cancel();
    m_window->_OpenQEV_Action();
    m_dialogs.Answer(converter);
    m_dialogs.Cancel();
    m_window->_OpenQEV_Action();
    m_dialogs.Cancel();
    m_window->_SaveQEV_Action();
    m_dialogs.Answer(converter);
    m_dialogs.Cancel();
    m_window->_SaveQEV_Action();

    // Each first dialog cancelled shows no second one.
    EXPECT_EQ(m_dialogs.Requests().size() - asked, 6u);
    ExpectFirstShown();
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_TRUE(ConverterArguments().isEmpty());
}

} // namespace
