#include "xmlnode.h"

#include "xmlattribute.h"
#include "xmlcheck.h"
#include "xmlexception.h"
#include "xmltree.h"

namespace xml {

using namespace detail;

namespace {

    QString kindLabel(Kind kind)
    {
        switch (kind) {
        case Kind::Element:
            return QStringLiteral("an element");
        case Kind::Text:
            return QStringLiteral("a text node");
        case Kind::CData:
            return QStringLiteral("a CDATA section");
        case Kind::Comment:
            return QStringLiteral("a comment");
        case Kind::ProcessingInstruction:
            return QStringLiteral("a processing instruction");
        }
        return {};
    }

    [[noreturn]] void refuse(const QString& what) { throw XmlException(what.toStdString()); }

    Element* requireElement(Node* n, const char* operation)
    {
        if (n->kind != Kind::Element)
            refuse(QStringLiteral("%1 cannot %2").arg(kindLabel(n->kind), QString::fromLatin1(operation)));
        return static_cast<Element*>(n);
    }

    // Nodes of an entity's replacement text are written back as the reference, so they stay as read.
    Node* editable(Node* n)
    {
        if (n->has(Expanded))
            refuse(QStringLiteral("the node comes from an entity reference and cannot be changed"));
        return n;
    }

    void checkIndex(int index, uint32_t count, const char* what)
    {
        if (index < 0 || uint32_t(index) >= count)
            throw fw::OutOfBoundsException(std::string(what) + " index " + std::to_string(index)
                + " is out of range (0 to " + std::to_string(int64_t(count) - 1) + ")");
    }

} // namespace

XmlNode::XmlNode(std::shared_ptr<Tree> tree, Node* node)
    : m_tree(std::move(tree))
    , m_node(node)
{
}

Node* XmlNode::node() const
{
    if (!m_node)
        throw fw::NilObjectException("the XML node is nil");
    return m_node;
}

XmlNodeType XmlNode::Type() const
{
    switch (node()->kind) {
    case Kind::Element:
        return XmlNodeType::Element;
    case Kind::Text:
        return XmlNodeType::Text;
    case Kind::CData:
        return XmlNodeType::CData;
    case Kind::Comment:
        return XmlNodeType::Comment;
    case Kind::ProcessingInstruction:
        return XmlNodeType::ProcessingInstruction;
    }
    return XmlNodeType::Text;
}

QString XmlNode::Name() const
{
    Node* n = node();
    switch (n->kind) {
    case Kind::Text:
        return QStringLiteral("#text");
    case Kind::CData:
        return QStringLiteral("#cdata-section");
    case Kind::Comment:
        return QStringLiteral("#comment");
    case Kind::Element:
    case Kind::ProcessingInstruction:
        return m_tree->displayName(n->name);
    }
    return {};
}

void XmlNode::SetName(const QString& name)
{
    Node* n = editable(node());
    if (n->kind != Kind::Element && n->kind != Kind::ProcessingInstruction)
        refuse(QStringLiteral("%1 cannot be renamed").arg(kindLabel(n->kind)));
    const std::string text = ToUtf8(name);
    RequireName(text, m_tree->encoding.encoding);
    // "xml" in any case is reserved: a processing instruction with that target would not parse.
    if (n->kind == Kind::ProcessingInstruction && name.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
        refuse(QStringLiteral("\"%1\" is reserved and cannot name a processing instruction").arg(name));
    const uint32_t id = m_tree->intern(text);
    // Under its new name the element's attributes may be declared as tokens.
    if (const Element* e = asElement(n))
        m_tree->forEachAttr(e, [&](const Attr& a) {
            if (m_tree->collapsesSpaces(id, a.name))
                RequireCollapsedSpaces(a.value().view());
        });
    n->name = id;
    m_tree->touch(n, SelfDirty);
    n->flags |= Renamed;
}

QString XmlNode::Value() const
{
    Node* n = node();
    if (n->kind == Kind::Element)
        return QString();
    std::string decoded;
    return Utf8ToQString(m_tree->textOf(static_cast<Leaf*>(n), decoded));
}

void XmlNode::SetValue(const QString& value)
{
    Node* n = editable(node());
    if (n->kind == Kind::Element)
        refuse(QStringLiteral("an element has no value of its own; set the value of its text"));
    const std::string text = ToUtf8(value);
    if (n->kind == Kind::Text)
        RequireChars(text);
    else
        RequireVerbatim(text, m_tree->encoding.encoding);
    if (n->kind == Kind::Comment && (text.find("--") != std::string::npos || (!text.empty() && text.back() == '-')))
        refuse(QStringLiteral("a comment cannot hold \"--\" or end with \"-\""));
    if (n->kind == Kind::ProcessingInstruction && text.find("?>") != std::string::npos)
        refuse(QStringLiteral("a processing instruction cannot hold \"?>\""));
    // The blank after the target separates it from the text: leading white space would be read as part of it.
    if (n->kind == Kind::ProcessingInstruction && !text.empty()
        && std::string_view(" \t\n").find(text[0]) != std::string_view::npos)
        refuse(QStringLiteral("a processing instruction's text cannot begin with white space"));
    // A CDATA section ends at "]]>": written as two sections, it would read back as two nodes.
    if (n->kind == Kind::CData && text.find("]]>") != std::string::npos)
        refuse(QStringLiteral("a CDATA section cannot hold \"]]>\""));
    m_tree->setValue(static_cast<Leaf*>(n), m_tree->arena.copy(text));
    m_tree->touch(n, SelfDirty);
}

int XmlNode::ChildCount() const
{
    const Element* e = asElement(node());
    return e ? int(e->childCount) : 0;
}

XmlNode XmlNode::Child(int index) const
{
    const Element* e = asElement(node());
    checkIndex(index, e ? e->childCount : 0, "child");
    return XmlNode(m_tree, e->children[index]);
}

XmlNode XmlNode::Parent() const
{
    Element* parent = node()->parent;
    return parent ? XmlNode(m_tree, parent) : XmlNode();
}

XmlNode XmlNode::AppendChild(const XmlNode& child)
{
    Element* e = requireElement(editable(node()), "have children");
    Node* c = editable(child.node());
    if (child.m_tree != m_tree)
        refuse(QStringLiteral("the node belongs to another document"));
    if (c == m_tree->documentElement)
        refuse(QStringLiteral("the document element cannot be moved"));
    for (Element* up = e; up; up = up->parent)
        if (up == c)
            refuse(QStringLiteral("a node cannot become its own descendant"));
    if (Element* old = c->parent) {
        uint32_t i = 0;
        while (old->children[i] != c)
            ++i;
        m_tree->removeChildAt(old, i);
    }
    if (c->has(Original))
        c->flags |= Relocated;
    m_tree->appendChild(e, c);
    return child;
}

void XmlNode::RemoveChild(const XmlNode& child)
{
    Element* e = asElement(node());
    Node* c = editable(child.node());
    if (e && child.m_tree == m_tree)
        for (uint32_t i = 0; i < e->childCount; ++i)
            if (e->children[i] == c) {
                m_tree->removeChildAt(e, i);
                return;
            }
    refuse(QStringLiteral("the node to remove is not a child of this node"));
}

int XmlNode::AttributeCount() const
{
    const Element* e = asElement(node());
    return e ? int(m_tree->attrCount(e)) : 0;
}

XmlAttribute XmlNode::GetAttributeNode(int index) const
{
    Element* e = asElement(node());
    checkIndex(index, e ? m_tree->attrCount(e) : 0, "attribute");
    return XmlAttribute(m_tree, m_tree->attrs(e)[size_t(index)]);
}

void XmlNode::ForEachAttributeText(
    const std::function<void(std::string_view name, std::string_view value)>& visit) const
{
    if (const Element* e = asElement(node()))
        m_tree->forEachAttrText(e, visit);
}

void XmlNode::SetAttributeNode(const XmlAttribute& attribute)
{
    Element* e = requireElement(editable(node()), "have attributes");
    Attr* a = attribute.attr();
    if (attribute.m_tree != m_tree)
        refuse(QStringLiteral("the attribute belongs to another document"));
    if (a->owner == e)
        return;
    if (a->owner)
        refuse(QStringLiteral("the attribute belongs to another element"));
    if (m_tree->collapsesSpaces(e->name, a->name))
        RequireCollapsedSpaces(a->value().view());
    for (Attr* existing : m_tree->attrs(e)) {
        if (existing->name == a->name) {
            existing->setValue(a->value());
            existing->dirty = true;
            m_tree->touch(e, SelfDirty);
            return;
        }
    }
    a->sourceIndex = kNoIndex;
    a->dirty = true;
    m_tree->appendAttr(e, a);
}

void XmlNode::RemoveAttribute(const QString& name)
{
    Element* e = asElement(editable(node()));
    if (!e)
        return;
    const std::string wanted = name.toStdString();
    const std::vector<Attr*>& attrs = m_tree->attrs(e);
    for (uint32_t i = 0; i < attrs.size(); ++i)
        if (m_tree->nameOf(attrs[i]->name) == wanted) {
            m_tree->removeAttrAt(e, i);
            return;
        }
}

} // namespace xml
