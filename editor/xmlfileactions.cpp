#include "editor/xmlfileactions.h"

#include "editor/noderows.h"
#include "editor/unsavededits.h"
#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/filetype.h"
#include "framework/folderitem.h"
#include "framework/msgbox.h"
#include "framework/textbuffer.h"
#include "framework/textinputstream.h"
#include "shell/editorhost.h"
#include "xml/xmldocument.h"

namespace editor {

XmlFileActions::XmlFileActions(EditorHost& host)
    : m_host(host)
{
}

bool XmlFileActions::_OpenXML_Action()
{
    try {
        if (!mayDiscardEdits(*m_host.XMLRead))
            return false;
        const fw::FileType type(QStringLiteral("XML Files"), QStringLiteral("XML"), QStringLiteral("xml"));
        const fw::Ref<fw::FolderItem> file = fw::GetOpenFolderItem(type);
        if (file.IsNil())
            return false;
        const fw::Ref<fw::TextInputStream> reader = file->OpenAsTextFile();
        // The bytes go to the parser unchanged: it finds their encoding from the byte-order mark or the declaration.
        const QByteArray fileText = reader->ReadAll();
        m_host.XMLRead->LoadXml(fileText);
        m_host.nodeRows().showChildren(
            m_host.XMLRead->DocumentElement(), AttributeColumn::PairsEachFollowedBySeparator);
        m_host.CurrentNode = m_host.XMLRead->DocumentElement();
        // Both panes show the text decoded as the parser decoded it, from one shared buffer.
        const xml::Utf8Text text = m_host.XMLRead->Text();
        const fw::TextRef whole { fw::MakeTextBuffer(text.bytes), text.from };
        m_host.PreviewArea().SetText(fw::Mid(whole, 2));
        m_host.comparator1().SetText(whole);
        reader->Close();
    } catch (...) {
        m_host.ErrorHandler();
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
        m_host.XMLRead->SaveXml(file->AbsolutePath());
        m_host.XMLRead->MarkSaved();
        fw::MsgBox(QStringLiteral("Success!"));
    } catch (...) {
        m_host.ErrorHandler();
    }
    return false;
}

} // namespace editor
