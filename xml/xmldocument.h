#pragma once

#include "encoding.h"
#include "xmlattribute.h"
#include "xmlnode.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace xml {

namespace detail {
    class Tree;
}

// An XML document. Loading parses into a new tree and swaps it in only on success;
// saving writes back the loaded bytes, with only the edited nodes written anew.
class XmlDocument {
public:
    XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    ~XmlDocument();

    // Replaces the content with the parsed bytes (encoding from byte-order mark or declaration).
    // Throws XmlException with message, line and column when they are not well-formed XML.
    void LoadXml(const QByteArray& bytes);
    // Writes the document atomically; throws fw::IOException and leaves any old file as it was.
    void SaveXml(const QString& path) const;
    QByteArray ToBytes() const;
    // Whether a save would write other bytes than those last loaded or marked saved.
    bool IsModified() const;
    // Takes the document as it is now for the one last saved.
    void MarkSaved();

    XmlNode DocumentElement() const;
    XmlNode CreateElement(const QString& name);
    XmlNode CreateTextNode(const QString& text);
    XmlAttribute CreateAttribute(const QString& name);

    // The loaded text as UTF-8 (shares the loaded bytes when they are UTF-8), for the panes that show the file.
    Utf8Text Text() const;
    QString EncodingName() const;

private:
    // A save's size and hash: enough to tell it from another, without keeping a copy of a large file.
    struct Fingerprint {
        qsizetype size;
        size_t hash;
        bool operator==(const Fingerprint&) const = default;
    };

    std::shared_ptr<detail::Tree> m_tree;
    std::optional<Fingerprint> m_saved; // none: the loaded bytes are what was last saved
};

} // namespace xml
