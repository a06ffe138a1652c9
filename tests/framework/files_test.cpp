#include "framework/application.h"
#include "framework/filetype.h"
#include "framework/folderitem.h"
#include "framework/textinputstream.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fw;

class Files : public testing::Test {
protected:
    QString At(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(Files, FolderPathsEndWithSeparatorFilePathsDoNot)
{
    QDir(m_dir.path()).mkdir("sub");
    sildra::test::writeFile(At("sub/file.xml"), "<a/>");

    const auto folder = GetFolderItem(At("sub"));
    EXPECT_TRUE(folder->Directory());
    EXPECT_TRUE(folder->AbsolutePath().endsWith("/sub/"));

    const auto file = GetFolderItem(At("sub/file.xml"));
    EXPECT_FALSE(file->Directory());
    EXPECT_TRUE(file->AbsolutePath().endsWith("/sub/file.xml"));
    EXPECT_EQ(file->Name(), "file.xml");
    EXPECT_EQ(file->Parent()->AbsolutePath(), folder->AbsolutePath());
    EXPECT_EQ(GetFolderItem(At("sub/"))->Name(), "sub");

    EXPECT_EQ(GetFolderItem("/")->AbsolutePath(), "/");
    EXPECT_TRUE(GetFolderItem("/")->Parent().IsNil());
    EXPECT_TRUE(GetFolderItem("").IsNil());
}

TEST_F(Files, RenameStaysInTheFolderAndDeleteRemoves)
{
    sildra::test::writeFile(At("old.qev"), "x");
    const auto file = GetFolderItem(At("old.qev"));
    file->SetName("new.qev");
    EXPECT_EQ(file->Name(), "new.qev");
    EXPECT_TRUE(QFileInfo::exists(At("new.qev")));
    EXPECT_FALSE(QFileInfo::exists(At("old.qev")));
    EXPECT_THROW(file->SetName("../escape"), IOException);
    EXPECT_THROW(GetFolderItem(At("missing"))->SetName("other"), IOException);

    EXPECT_TRUE(file->Exists());
    file->Delete();
    EXPECT_FALSE(file->Exists());
    EXPECT_NO_THROW(file->Delete());
    EXPECT_EQ(GetFolderItem("/tmp/My File's (1).qev")->ShellPath(), "/tmp/My\\ File\\'s\\ \\(1\\).qev");
}

TEST_F(Files, ReadAllReturnsBytesUnchanged)
{
    const QByteArray bytes("\xEF\xBB\xBF<a>\r\n\x00\xFF</a>", 15);
    sildra::test::writeFile(At("raw.xml"), bytes);
    const auto stream = GetFolderItem(At("raw.xml"))->OpenAsTextFile();
    EXPECT_EQ(stream->ReadAll(), bytes);
    stream->Close();
    EXPECT_THROW(stream->ReadAll(), IOException);

    EXPECT_THROW(GetFolderItem(At("missing.xml"))->OpenAsTextFile(), IOException);
    EXPECT_THROW(GetFolderItem(m_dir.path())->OpenAsTextFile(), IOException);
}

TEST_F(Files, ExecutableFileIsTheRunningProgram)
{
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    const auto file = app->ExecutableFile();
    EXPECT_EQ(file->AbsolutePath(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(file->Parent()->AbsolutePath(), QCoreApplication::applicationDirPath() + "/");
}

TEST(FileTypes, FilterTakesExtensionsWithOrWithoutDot)
{
    FileType type;
    type.SetName("XML Files");
    const std::pair<const char*, const char*> cases[]
        = { { "xml", "XML Files (*.xml)" }, { ".xml", "XML Files (*.xml)" }, { ".xml;.qev", "XML Files (*.xml *.qev)" },
              { "Tool.exe", "XML Files (*Tool.exe *Tool)" }, { "Tool.EXE;xml", "XML Files (*Tool.EXE *Tool *.xml)" } };
    for (const auto& [extensions, filter] : cases) {
        type.SetExtensions(extensions);
        EXPECT_EQ(type.Filter(), filter) << extensions;
    }
}
