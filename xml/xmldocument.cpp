#include "xmldocument.h"

#include "xmlcheck.h"
#include "xmlexception.h"
#include "xmlparser.h"
#include "xmltree.h"
#include "xmlwriter.h"

#include <QHashFunctions>
#include <QSaveFile>

namespace xml {

using namespace detail;

XmlDocument::XmlDocument()
    : m_tree(std::make_shared<Tree>())
{
}

XmlDocument::~XmlDocument() = default;

void XmlDocument::LoadXml(const QByteArray& bytes)
{
    m_tree = ParseXml(bytes);
    m_saved.reset();
}

QByteArray XmlDocument::ToBytes() const { return WriteXml(*m_tree); }

bool XmlDocument::IsModified() const
{
    // Every edit marks the tree, also one refused half-way or undone by another: what counts is what a save writes.
    if (!m_tree->modified || !m_tree->documentElement)
        return false;
    QByteArray bytes;
    try {
        bytes = ToBytes();
    } catch (const XmlException&) {
        return true; // edits that cannot be written are not saved anywhere either
    }
    if (!m_saved)
        return bytes != m_tree->source;
    return Fingerprint { bytes.size(), qHash(bytes) } != *m_saved;
}

void XmlDocument::MarkSaved()
{
    if (!m_tree->modified) {
        m_saved.reset();
        return;
    }
    const QByteArray bytes = ToBytes();
    m_saved = Fingerprint { bytes.size(), qHash(bytes) };
}

void XmlDocument::SaveXml(const QString& path) const
{
    const QByteArray bytes = ToBytes();
    auto fail = [&](const QFileDevice& file) {
        throw fw::IOException("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    };
    // Unbuffered, so that every write reports its own error: a buffered last flush that fails (a full disk)
    // would otherwise go unnoticed by commit() and the cut file would replace the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file);
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        fail(file);
    }
    if (!file.commit())
        fail(file);
}

XmlNode XmlDocument::DocumentElement() const
{
    return m_tree->documentElement ? XmlNode(m_tree, m_tree->documentElement) : XmlNode();
}

XmlNode XmlDocument::CreateElement(const QString& name)
{
    const std::string text = ToUtf8(name);
    RequireName(text, m_tree->encoding.encoding);
    return XmlNode(m_tree, m_tree->newElement(m_tree->intern(text)));
}

XmlNode XmlDocument::CreateTextNode(const QString& text)
{
    const std::string value = ToUtf8(text);
    RequireChars(value);
    return XmlNode(m_tree, m_tree->newLeaf(Kind::Text, value));
}

XmlAttribute XmlDocument::CreateAttribute(const QString& name)
{
    const std::string text = ToUtf8(name);
    RequireName(text, m_tree->encoding.encoding);
    return XmlAttribute(m_tree, m_tree->newAttr(m_tree->intern(text), {}));
}

Utf8Text XmlDocument::Text() const { return DecodeText(m_tree->source, m_tree->encoding); }

QString XmlDocument::EncodingName() const { return EncodingLabel(m_tree->encoding.encoding); }

} // namespace xml
