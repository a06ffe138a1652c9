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
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

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

    // Shows the save dialog, types name into it and presses Save; agrees to replace a file, recording the question.
    QString Save(const QString& name)
    {
        m_question.clear();
        whenShown<QFileDialog>([this, name](QFileDialog& dialog) {
            whenShown<QMessageBox>(
                [this](QMessageBox& box) {
                    m_question = box.text();
                    box.button(QMessageBox::Yes)->click();
                },
                &dialog);
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(At(name));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
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
    EXPECT_EQ(Save(QStringLiteral("mod")), At(QStringLiteral("mod.xml")));
    EXPECT_TRUE(m_question.contains(QStringLiteral("mod.xml"))) << m_question.toStdString();

    // Any extension is kept as typed.
    for (const QString& name : { QStringLiteral("mod.txt"), QStringLiteral("a.b") }) {
        EXPECT_EQ(Save(name), At(name));
        EXPECT_EQ(m_question, QString());
    }
}

TEST_F(SaveDialog, ANameOfAFolderOpensItWhereverTheProgramRuns)
{
    // The program's working folder holds a folder of the name typed next, which must not count.
    QTemporaryDir elsewhere;
    QDir(elsewhere.path()).mkdir(QStringLiteral("build"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    QDir(m_dir.path()).mkdir(QStringLiteral("sub"));
    QStringList shown;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.setDirectory(m_dir.path());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        for (const QString& typed : { QStringLiteral("sub"), QStringLiteral("build") }) {
            name->setText(typed);
            name->setFocus();
            QTest::keyClick(name, Qt::Key_Return);
            shown << QDir(dialog.directory()).dirName();
        }
    });
    const Ref<FolderItem> chosen = GetSaveFolderItem(kXml, QString());
    QDir::setCurrent(before);
    EXPECT_EQ(shown.value(0), "sub");
    ASSERT_FALSE(chosen.IsNil());
    EXPECT_EQ(chosen->AbsolutePath(), At(QStringLiteral("sub/build.xml")));
}

TEST(FileDialogSeam, ASaveAnswerIsTakenAsATypedName)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    FileDialogs dialogs;
    const std::pair<QString, QString> cases[]
        = { { "mod", "mod.xml" }, { ".hidden", ".hidden" }, { "a.b", "a.b" }, { "folder", "folder/" } };
    for (const auto& [typed, chosen] : cases) {
        dialogs.Answer(dir.filePath(typed));
        EXPECT_EQ(GetSaveFolderItem(kXml, QString())->AbsolutePath(), dir.filePath(chosen)) << typed.toStdString();
    }
    // An open dialog finds existing files: its answer is taken as given.
    dialogs.Answer(dir.filePath(QStringLiteral("mod")));
    EXPECT_EQ(GetOpenFolderItem(kXml)->AbsolutePath(), dir.filePath(QStringLiteral("mod")));
}

} // namespace
