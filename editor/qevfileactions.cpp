#include "editor/qevfileactions.h"

#include "editor/noderows.h"
#include "editor/unsavededits.h"
#include "framework/editfield.h"
#include "framework/exceptions.h"
#include "framework/filedialogs.h"
#include "framework/filetype.h"
#include "framework/folderitem.h"
#include "framework/msgbox.h"
#include "framework/shell.h"
#include "framework/strings.h"
#include "framework/textbuffer.h"
#include "framework/textinputstream.h"
#include "shell/editorhost.h"
#include "xml/xmldocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <system_error>

namespace editor {

namespace {

    // The converter's filter: one file type whose extension is the converter's whole file name.
    fw::FileType converterType()
    {
        return fw::FileType(QStringLiteral("QevSplit"), QStringLiteral("QevSplit.EXE"), QStringLiteral("QevSplit.exe"));
    }

    fw::FileType qevType(const QString& extensions)
    {
        return fw::FileType(QStringLiteral("QEV Files"), QStringLiteral("QEV"), extensions);
    }

    // The name up to its first "."; empty when it begins with one.
    QString nameBeforeDot(const QString& name) { return fw::NthField(name, QStringLiteral("."), 1); }

    // The intermediate file lives in a folder of the action's own, never in a folder that may hold a user's file
    // of the same name; the folder goes with everything in it when the action ends, whatever happened.
    fw::Ref<fw::FolderItem> folderItemOf(const QTemporaryDir& folder)
    {
        if (!folder.isValid())
            throw fw::IOException("cannot make a temporary folder: " + folder.errorString().toStdString());
        return fw::GetFolderItem(folder.path());
    }

    // The folder's absolute path ends with the separator, so the name is simply appended.
    fw::Ref<fw::FolderItem> intermediateFile(const fw::FolderItem& folder, const QString& baseName)
    {
        return fw::GetFolderItem(folder.AbsolutePath() + baseName + QStringLiteral(".xml"));
    }

    // A path as the converter receives it: absolute, a folder's without the trailing separator.
    QString converterArgument(const fw::FolderItem& item) { return QDir::cleanPath(item.AbsolutePath()); }

    // Moves the converter's result to the chosen file, replacing it (the save dialog had the user agree) in one
    // step, so that a failure leaves the old file whole; false when there is no result or it cannot be moved.
    bool giveChosenName(const fw::FolderItem& result, const fw::FolderItem& chosen)
    {
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(result.AbsolutePath()).toStdString(),
            QFile::encodeName(chosen.AbsolutePath()).toStdString(), error);
        return !error;
    }

} // namespace

QevFileActions::QevFileActions(EditorHost& host)
    : m_host(host)
{
}

bool QevFileActions::_OpenQEV_Action()
{
    try {
        if (!mayDiscardEdits(*m_host.XMLRead))
            return false;
        const auto converter = fw::GetOpenFolderItem(converterType());
        if (converter.IsNil())
            return false;
        const auto qevFile = fw::GetOpenFolderItem(qevType(QStringLiteral("qev")));
        if (qevFile.IsNil())
            return false;

        const QTemporaryDir privateFolder;
        const auto outputFolder = folderItemOf(privateFolder);
        fw::Shell shell;
        shell.Execute(converterArgument(*converter),
            { QStringLiteral("-extract:xml"), converterArgument(*outputFolder), converterArgument(*qevFile) });
        if (shell.ErrorCode() != 0)
            return false;

        const auto intermediate = intermediateFile(*outputFolder, nameBeforeDot(qevFile->Name()));
        const auto reader = intermediate->OpenAsTextFile();
        m_host.XMLRead->LoadXml(reader->ReadAll());
        m_host.nodeRows().showChildren(m_host.XMLRead->DocumentElement(), AttributeColumn::Empty);
        m_host.CurrentNode = m_host.XMLRead->DocumentElement();
        // Both panes share one buffer of the decoded file text.
        const auto text = m_host.XMLRead->Text();
        const fw::TextRef whole { fw::MakeTextBuffer(text.bytes), text.from };
        m_host.comparator1().SetText(whole);
        reader->Close();
        intermediate->Delete();
        m_host.PreviewArea().SetText(fw::Mid(whole, 2));
        fw::MsgBox(QStringLiteral("Success!"));
    } catch (...) {
        m_host.ErrorHandler();
    }
    return false;
}

bool QevFileActions::_SaveQEV_Action()
{
    try {
        const auto converter = fw::GetOpenFolderItem(converterType());
        if (converter.IsNil())
            return false;
        const auto chosen = fw::GetSaveFolderItem(qevType(QStringLiteral(".qev")), QString());
        if (chosen.IsNil())
            return false;

        // The converter writes base name + ".qev" into its output folder; in the chosen folder that would overwrite
        // a user's file of that name (the file just opened, when saving under a new name), so it writes into a
        // private folder beside the chosen file, on the same disk, from where its result replaces the chosen file.
        const QTemporaryDir privateFolder(chosen->Parent()->AbsolutePath() + QStringLiteral(".QevSplit-XXXXXX"));
        const auto outputFolder = folderItemOf(privateFolder);
        const QString baseName = nameBeforeDot(chosen->Name());
        const auto intermediate = intermediateFile(*outputFolder, baseName);
        m_host.XMLRead->SaveXml(intermediate->AbsolutePath());
        fw::Shell shell;
        shell.Execute(converterArgument(*converter),
            { QStringLiteral("-create"), converterArgument(*outputFolder), converterArgument(*intermediate) });
        const auto result = fw::GetFolderItem(outputFolder->AbsolutePath() + baseName + QStringLiteral(".qev"));
        if (shell.ErrorCode() == 0 && giveChosenName(*result, *chosen)) {
            m_host.XMLRead->MarkSaved();
            fw::MsgBox(QStringLiteral("Success!"));
        } else {
            fw::MsgBox(QStringLiteral("An error ocurred and the file was not created!"), 16, QStringLiteral("Error"));
        }
        intermediate->Delete();
    } catch (...) {
        m_host.ErrorHandler();
    }
    return false;
}

} // namespace editor
