#include "framework/filedialogs.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace fw;

namespace {

const FileType kXml(QStringLiteral("XML Files"), QStringLiteral("XML"), QStringLiteral(".xml"));

// Runs act on the modal widget of type W that the code run next opens, once it is open, unless owner goes first.
template <typename W> void whenShown(std::function<void(W&)> act, QObject* owner = qApp)
{
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!modal)
            return;
        poll->deleteLater();
        act(*modal);
    });
    poll->start(20);
}

class SaveDialog : public testing::Test {
protected:
    QString At(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    // Shows the save dialog, types name into it and presses Save; a question to replace a file is answered with
    // reply and its text recorded in m_question.
    QString Save(const QString& name, QMessageBox::StandardButton reply = QMessageBox::Yes)
    {
        whenShown<QFileDialog>([this, name, reply](QFileDialog& dialog) {
            whenShown<QMessageBox>(
                [this, reply](QMessageBox& box) {
                    m_question = box.text();
                    box.button(reply)->click();
                },
                &dialog);
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(field, nullptr);
            field->setText(At(name));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
            // Declining to replace leaves the dialog open; the user then cancels it.
            if (dialog.isVisible())
                dialog.reject();
        });
        const Ref<FolderItem> chosen = GetSaveFolderItem(kXml, QString());
        return chosen.IsNil() ? QString() : chosen->AbsolutePath();
    }

    QTemporaryDir m_dir;
    QString m_question;
};

TEST_F(SaveDialog, AddsTheFilterExtensionToANameWithoutOneBeforeAskingToReplace)
{
    EXPECT_EQ(Save(QStringLiteral("new")), At(QStringLiteral("new.xml")));
    EXPECT_EQ(m_question, QString());

    sildra::test::writeFile(At(QStringLiteral("mod.xml")), "<old/>");
    EXPECT_EQ(Save(QStringLiteral("mod"), QMessageBox::No), QString());
    EXPECT_TRUE(m_question.contains(QStringLiteral("mod.xml"))) << m_question.toStdString();
    m_question.clear();
    EXPECT_EQ(Save(QStringLiteral("mod")), At(QStringLiteral("mod.xml")));
    EXPECT_TRUE(m_question.contains(QStringLiteral("mod.xml"))) << m_question.toStdString();

    // Any extension is kept as typed.
    m_question.clear();
    for (const QString& name : { QStringLiteral("mod.txt"), QStringLiteral("a.b"), QStringLiteral("x.xml") })
        EXPECT_EQ(Save(name), At(name));
    EXPECT_EQ(m_question, QString());
}

TEST(FileDialogSeam, ASaveAnswerIsTakenAsATypedName)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const FileType tool(QStringLiteral("Tool"), {}, QStringLiteral("Tool.exe"));
    const FileType none(QStringLiteral("All"), {}, QString());
    struct Case {
        const FileType& type;
        QString typed, chosen;
    };
    const Case cases[] = { { kXml, "mod", "mod.xml" }, { kXml, "mod.txt", "mod.txt" }, { kXml, "a.b", "a.b" },
        { kXml, ".hidden", ".hidden" }, { kXml, "folder", "folder/" }, { tool, "mod", "mod" }, { none, "mod", "mod" } };
    FileDialogs dialogs;
    for (const Case& c : cases) {
        dialogs.Answer(dir.filePath(c.typed));
        EXPECT_EQ(GetSaveFolderItem(c.type, QString())->AbsolutePath(), dir.filePath(c.chosen))
            << c.typed.toStdString();
    }
    // An open dialog finds existing files: the name is taken as given.
    dialogs.Answer(dir.filePath(QStringLiteral("mod")));
    EXPECT_EQ(GetOpenFolderItem(kXml)->AbsolutePath(), dir.filePath(QStringLiteral("mod")));
}

} // namespace
