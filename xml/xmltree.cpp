#include "xmltree.h"

#include "xmlexception.h"
#include "xmlparser.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace xml::detail {

namespace {
    constexpr size_t kBlockSize = 1 << 20;
}

void* Arena::allocate(size_t size, size_t align)
{
    // Alignments are powers of two: a mask, not a division, on this path taken for every node.
    const size_t pad = size_t(0 - reinterpret_cast<uintptr_t>(m_cursor)) & (align - 1);
    if (!m_cursor || pad + size > m_left) {
        const size_t blockSize = std::max(kBlockSize, size + align);
        m_blocks.emplace_back(new char[blockSize]);
        m_cursor = m_blocks.back().get();
        m_left = blockSize;
        return allocate(size, align);
    }
    char* at = m_cursor + pad;
    m_cursor = at + size;
    m_left -= pad + size;
    return at;
}

Str Arena::copy(std::string_view text)
{
    if (text.size() >= UINT32_MAX)
        throw XmlException("text too long");
    char* at = static_cast<char*>(allocate(text.size() + 1, 1));
    // An empty view may carry no pointer at all, which memcpy must not be given.
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    return { at, uint32_t(text.size()) };
}

std::string_view Leaf::text(std::string& scratch) const
{
    if (!(layout & RawValue))
        return value().view();
    DecodeReferences(value().view(), scratch);
    return scratch;
}

Tree::Tree() { intern(""); }

uint32_t Tree::intern(std::string_view name)
{
    if (auto it = m_nameIds.find(name); it != m_nameIds.end())
        return it->second;
    const auto id = uint32_t(m_names.size());
    const std::string& stored = m_names.emplace_back(name);
    m_nameIds.emplace(std::string_view(stored), id);
    return id;
}

const QString& Tree::displayName(uint32_t id) const
{
    if (m_displayNames.size() < m_names.size())
        m_displayNames.resize(m_names.size());
    QString& name = m_displayNames[id];
    if (name.isNull() && !m_names[id].empty())
        name = Utf8ToQString(m_names[id]);
    return name;
}

Element* Tree::newElement(uint32_t name)
{
    auto* e = arena.make<Element>();
    e->kind = Kind::Element;
    e->name = name;
    return e;
}

Leaf* Tree::newLeaf(Kind kind, std::string_view value)
{
    auto* leaf = arena.make<Leaf>();
    leaf->kind = kind;
    leaf->setValue(arena.copy(value));
    return leaf;
}

Attr* Tree::newAttr(uint32_t name, std::string_view value)
{
    auto* a = arena.make<Attr>();
    a->name = name;
    a->setValue(arena.copy(value));
    return a;
}

void Tree::touch(Node* n, Flag what)
{
    modified = true;
    n->flags |= what;
    for (Element* p = n->parent; p && !p->has(DescendantDirty); p = p->parent)
        p->flags |= DescendantDirty;
}

namespace {
    // Makes room for one more pointer in an array kept in the arena; the old array is left behind (edits are
    // rare). Its capacity follows from its count and whether it was grown before (see Layout).
    template <class T> void reserveOne(Arena& arena, T**& items, uint32_t count, uint8_t& layout, Layout grown)
    {
        const uint32_t capacity = !(layout & grown) ? count : std::max<uint32_t>(4, std::bit_ceil(count));
        if (count < capacity)
            return;
        const uint32_t bigger = std::max<uint32_t>(4, capacity * 2);
        auto** fresh = static_cast<T**>(arena.allocate(sizeof(T*) * bigger, alignof(T*)));
        if (count)
            std::memcpy(fresh, items, sizeof(T*) * count);
        items = fresh;
        layout |= grown;
    }
}

Attr** Tree::attrs(Element* e)
{
    if (e->layout & AttrRows) {
        const uint32_t count = e->attrCount;
        auto** pointers = static_cast<Attr**>(arena.allocate((sizeof(Attr*) + sizeof(Attr)) * count, alignof(Attr)));
        auto* objects = reinterpret_cast<Attr*>(pointers + count);
        for (uint32_t i = 0; i < count; ++i)
            pointers[i] = new (objects + i) Attr(e->attrCopy(i));
        e->attrs = pointers;
        e->layout &= ~AttrRows;
    }
    return static_cast<Attr**>(e->attrs);
}

void Tree::appendChild(Element* parent, Node* child)
{
    reserveOne(arena, parent->children, parent->childCount, parent->layout, ChildrenGrown);
    parent->children[parent->childCount++] = child;
    child->parent = parent;
    touch(parent, ChildrenDirty);
    // A text moved after another is written anew, escaped, so that the two cannot form markup ("]]" and ">").
    if (child->kind == Kind::Text && child->has(Original) && !child->has(Expanded) && parent->childCount > 1
        && parent->children[parent->childCount - 2]->kind == Kind::Text)
        touch(child, SelfDirty);
}

void Tree::removeChildAt(Element* parent, uint32_t index)
{
    Node* child = parent->children[index];
    if (child->has(Original) && !child->has(Relocated) && child->start < child->end)
        removedSpans.emplace(child->start, child->end);
    std::memmove(
        parent->children + index, parent->children + index + 1, sizeof(Node*) * (parent->childCount - index - 1));
    --parent->childCount;
    child->parent = nullptr;
    touch(parent, ChildrenDirty);
    // Two texts brought together could form markup ("]]" and ">"): the second is written anew, escaped.
    if (index > 0 && index < parent->childCount) {
        Node* before = parent->children[index - 1];
        Node* after = parent->children[index];
        if (before->kind == Kind::Text && after->kind == Kind::Text && !after->has(Expanded))
            touch(after, SelfDirty);
    }
}

void Tree::appendAttr(Element* owner, Attr* attr)
{
    Attr** items = attrs(owner);
    reserveOne(arena, items, owner->attrCount, owner->layout, AttrsGrown);
    owner->attrs = items;
    items[owner->attrCount++] = attr;
    attr->owner = owner;
    touch(owner, SelfDirty);
}

void Tree::removeAttrAt(Element* owner, uint32_t index)
{
    Attr** items = attrs(owner);
    Attr* attr = items[index];
    std::memmove(items + index, items + index + 1, sizeof(Attr*) * (owner->attrCount - index - 1));
    --owner->attrCount;
    attr->owner = nullptr;
    touch(owner, SelfDirty);
}

} // namespace xml::detail
