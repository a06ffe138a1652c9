#include "shell/comparatortab.h"

#include "framework/editfield.h"
#include "framework/exceptions.h"
#include "framework/filedialogs.h"
#include "framework/filetype.h"
#include "framework/textbuffer.h"
#include "framework/textinputstream.h"
#include "shell/mainwindow.h"
#include "xml/encoding.h"
#include "xml/xmlexception.h"

namespace shell {

namespace {

    // The file's text as UTF-8, decoded like the XML layer reads a document: by its byte-order mark or its
    // declaration, and as UTF-8 when the declared encoding is one the layer cannot read.
    xml::Utf8Text decodedText(const QByteArray& bytes)
    {
        xml::SourceEncoding source;
        try {
            source = xml::DetectEncoding(bytes);
        } catch (const xml::XmlException&) {
            source = xml::SourceEncoding();
        }
        return xml::DecodeText(bytes, source);
    }

} // namespace

ComparatorTab::ComparatorTab(MainWindow& window)
    : m_window(window)
{
}

void ComparatorTab::compareFile_Action()
{
    const fw::FileType xmlFiles(QStringLiteral("XML Files"), QStringLiteral("XML"), QStringLiteral("xml"));
    const fw::Ref<fw::FolderItem> file = fw::GetOpenFolderItem(xmlFiles);
    if (file.IsNil())
        return;
    QByteArray text;
    try {
        const fw::Ref<fw::TextInputStream> stream = file->OpenAsTextFile();
        text = stream->ReadAll();
        stream->Close();
    } catch (const fw::IOException&) {
        // A file that cannot be read leaves the pane as it was, silently, like the rest of this tab.
        return;
    }
    const xml::Utf8Text decoded = decodedText(text);
    m_window.comparator2().SetText(fw::TextRef { fw::MakeTextBuffer(decoded.bytes), decoded.from });
}

void ComparatorTab::compareButton_Action() { }

} // namespace shell
