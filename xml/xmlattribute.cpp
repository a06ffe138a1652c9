#include "xmlattribute.h"

#include "xmlcheck.h"
#include "xmlexception.h"
#include "xmltree.h"

namespace xml {

using namespace detail;

XmlAttribute::XmlAttribute(std::shared_ptr<Tree> tree, Attr* attr)
    : m_tree(std::move(tree))
    , m_attr(attr)
{
}

Attr* XmlAttribute::attr() const
{
    if (!m_attr)
        throw fw::NilObjectException("the XML attribute is nil");
    return m_attr;
}

namespace {
    Attr* editable(Attr* a)
    {
        if (a->owner && a->owner->has(Expanded))
            throw XmlException("the attribute comes from an entity reference and cannot be changed");
        return a;
    }
}

QString XmlAttribute::Name() const
{
    const uint32_t id = attr()->name;
    return m_tree->displayName(id);
}

void XmlAttribute::SetName(const QString& name)
{
    Attr* a = editable(attr());
    const std::string text = ToUtf8(name);
    RequireName(text, m_tree->encoding.encoding);
    const uint32_t id = m_tree->intern(text);
    if (id == a->name)
        return;
    if (a->owner && m_tree->collapsesSpaces(a->owner->name, id))
        RequireCollapsedSpaces(a->value().view());
    if (Element* owner = a->owner) {
        for (const Attr* other : m_tree->attrs(owner))
            if (other != a && other->name == id)
                throw XmlException("the element already has an attribute named \"" + text + "\"");
    }
    a->name = id;
    a->dirty = true;
    if (a->owner)
        m_tree->touch(a->owner, SelfDirty);
}

QString XmlAttribute::Value() const
{
    const std::string_view value = attr()->value().view();
    return Utf8ToQString(value);
}

void XmlAttribute::SetValue(const QString& value)
{
    Attr* a = editable(attr());
    const std::string text = ToUtf8(value);
    RequireChars(text);
    if (a->owner && m_tree->collapsesSpaces(a->owner->name, a->name))
        RequireCollapsedSpaces(text);
    a->setValue(m_tree->arena.copy(text));
    a->dirty = true;
    if (a->owner)
        m_tree->touch(a->owner, SelfDirty);
}

} // namespace xml
