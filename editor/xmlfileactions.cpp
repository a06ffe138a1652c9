#include "editor/xmlfileactions.h"

#include "editor/toplevelrows.h"
#include "editor/unsavededits.h"
#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/filetype.h"
#include "framework/folderitem.h"
#include "framework/msgbox.h"
#include "framework/textbuffer.h"
#include "framework/textinputstream.h"
#include "shell/mainwindow.h"
#include "xml/xmldocument.h"

namespace editor {

XmlFileActions::XmlFileActions(MainWindow& window)
    : m_window(window)
{
}

bool XmlFileActions::_OpenXML_Action()
{
    try {
        if (!MayDiscardEdits(*m_window.XMLRead))
            return false;
        const fw::FileType type(QStringLiteral("XML Files"), QStringLiteral("XML"), QStringLiteral("xml"));
        const fw::Ref<fw::FolderItem> file = fw::GetOpenFolderItem(type);
        if (file.IsNil())
            return false;
        const fw::Ref<fw::TextInputStream> reader = file->OpenAsTextFile();
        // The bytes go to the parser unchanged: it finds their encoding from the byte-order mark or the declaration.
        const QByteArray fileText = reader->ReadAll();
        m_window.XMLRead->LoadXml(fileText);
        FillTopLevelRows(m_window, AttributeColumn::PairsEachFollowedBySeparator);
        m_window.CurrentNode = m_window.XMLRead->DocumentElement();
        // Both panes show the text decoded as the parser decoded it, from one shared buffer.
        const xml::Utf8Text text = m_window.XMLRead->Text();
        const fw::TextRef whole { fw::MakeTextBuffer(text.bytes), text.from };
        m_window.PreviewArea().SetText(fw::Mid(whole, 2));
        m_window.comparator1().SetText(whole);
        reader->Close();
    } catch (...) {
        m_window.ErrorHandler();
    }
    return false;
}

bool XmlFileActions::_SaveXML_Action()
{
    try {
        const fw::FileType type(QStringLiteral("XML Files"), QStringLiteral("XML"), QStringLiteral(".xml"));
        const fw::Ref<fw::FolderItem> file = fw::GetSaveFolderItem(type, QString());
        if (file.IsNil())
            return false;
        m_window.XMLRead->SaveXml(file->AbsolutePath());
        m_window.XMLRead->MarkSaved();
        fw::MsgBox(QStringLiteral("Success!"));
    } catch (...) {
        m_window.ErrorHandler();
    }
    return false;
}

} // namespace editor
