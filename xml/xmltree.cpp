#include "xmltree.h"

#include "xmlexception.h"
#include "xmlnames.h"
#include "xmlparser.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sanitizer/asan_interface.h>

namespace xml::detail {

Arena::~Arena()
{
    for (const auto& [block, size] : m_blocks)
        Cage::give(block, size);
}

void* Arena::allocate(size_t size, size_t align)
{
    // Alignments are powers of two: a mask, not a division, on this path taken for every node.
    const size_t pad = size_t(0 - reinterpret_cast<uintptr_t>(m_cursor)) & (align - 1);
    if (!m_cursor || pad + size > m_left) {
        m_blocks.reserve(m_blocks.size() + 1);
        size_t taken = 0;
        void* block = Cage::take(size + align, taken);
        m_blocks.emplace_back(block, taken);
        m_cursor = static_cast<char*>(block);
        m_left = taken;
        return allocate(size, align);
    }
    char* at = m_cursor + pad;
    ASAN_UNPOISON_MEMORY_REGION(at, size);
    m_cursor = at + size;
    m_left -= pad + size;
    return at;
}

Str Arena::copy(std::string_view text)
{
    if (text.size() >= UINT32_MAX)
        throw XmlException("text too long");
    char* at = static_cast<char*>(allocate(text.size() + 1, 4));
    // An empty view may carry no pointer at all, which memcpy must not be given.
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    return { at, uint32_t(text.size()) };
}

Tree::Tree() { intern(""); }

namespace {
    // The length of the delimiter that ends a leaf of this kind: "-->", "]]>" or "?>".
    uint32_t valueTail(Kind kind)
    {
        return kind == Kind::Comment || kind == Kind::CData ? 3 : kind == Kind::ProcessingInstruction ? 2 : 0;
    }
}

Str Tree::valueOf(const Leaf* leaf) const
{
    if (leaf->layout & ValueInSpan)
        return { source.constData() + leaf->start + leaf->valueHead,
            leaf->end - leaf->start - leaf->valueHead - valueTail(leaf->kind) };
    if (leaf->layout & BareLeaf)
        return m_bareLeafValues.at(leaf);
    if (leaf->layout & ValueInSource)
        return { source.constData() + leaf->valueAt, leaf->valueSize };
    return { cageAddress(leaf->valueAt), leaf->valueSize };
}

std::string_view Tree::textOf(const Leaf* leaf, std::string& scratch) const
{
    const Str value = valueOf(leaf);
    if (!(leaf->layout & RawValue))
        return value.view();
    DecodeReferences(value.view(), scratch);
    return scratch;
}

void Tree::setValue(Leaf* leaf, Str value)
{
    const char* begin = source.constData();
    leaf->layout &= ~(RawValue | ValueInSource | ValueInSpan);
    if (leaf->layout & BareLeaf) {
        m_bareLeafValues[leaf] = value;
        return;
    }
    if (value.data && std::less_equal<const char*>()(begin, value.data)
        && std::less_equal<const char*>()(value.data, begin + source.size())) {
        leaf->valueAt = uint32_t(value.data - begin);
        leaf->layout |= ValueInSource;
    } else {
        leaf->valueAt = cageOffset(value.data);
    }
    leaf->valueSize = value.size;
}

uint32_t Tree::intern(std::string_view name) const
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

Leaf* Tree::newParsedLeaf(Kind kind, uint32_t start, uint32_t end, Str value)
{
    const auto from = reinterpret_cast<uintptr_t>(source.constData()) + start;
    const auto at = reinterpret_cast<uintptr_t>(value.data);
    const bool inSpan = value.data && from <= at && at - from <= UINT8_MAX
        && at + value.size + valueTail(kind) == from + (end - start);
    const auto head = uint8_t(at - from);
    if (!inSpan) {
        auto* leaf = arena.make<Leaf>();
        leaf->kind = kind;
        setValue(leaf, value);
        return leaf;
    }
    // Only the node's own fields: the value is read from the span.
    auto* leaf = static_cast<Leaf*>(arena.make<Node>());
    leaf->kind = kind;
    leaf->layout = ValueInSpan | BareLeaf;
    leaf->valueHead = head;
    return leaf;
}

Leaf* Tree::newLeaf(Kind kind, std::string_view value)
{
    auto* leaf = arena.make<Leaf>();
    leaf->kind = kind;
    setValue(leaf, arena.copy(value));
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
    // Makes room for one more child in an array kept in the arena; the old array is left behind (edits are rare).
    // Its capacity follows from its count and whether it was grown before (see Layout).
    void reserveOne(Arena& arena, Element* e)
    {
        const uint32_t count = e->childCount;
        const uint32_t capacity = !(e->layout & ChildrenGrown) ? count : std::max<uint32_t>(4, std::bit_ceil(count));
        if (count < capacity)
            return;
        const uint32_t bigger = std::max<uint32_t>(4, capacity * 2);
        auto* fresh = static_cast<Ref<Node>*>(arena.allocate(sizeof(Ref<Node>) * bigger, alignof(Ref<Node>)));
        if (count)
            std::memcpy(fresh, e->children, sizeof(Ref<Node>) * count);
        e->children = fresh;
        e->layout |= ChildrenGrown;
    }
}

uint32_t Tree::attrCount(const Element* e) const
{
    if (e->layout & AttrRows)
        return e->rowCount();
    if (e->layout & AttrObjects)
        return uint32_t(m_attrObjects.at(e).size());
    uint32_t count = 0;
    forEachAttrText(e, [&](std::string_view, std::string_view) { ++count; });
    return count;
}

std::vector<Attr*>& Tree::attrs(Element* e)
{
    if (!(e->layout & AttrObjects)) {
        std::vector<Attr*> objects;
        forEachAttr(e, [&](const Attr& a) {
            Attr* object = arena.make<Attr>();
            *object = a;
            objects.push_back(object);
        });
        e->layout = (e->layout & ~(AttrsInTag | AttrRows)) | AttrObjects;
        return m_attrObjects[e] = std::move(objects);
    }
    return m_attrObjects.at(e);
}

void Tree::appendChild(Element* parent, Node* child)
{
    reserveOne(arena, parent);
    parent->children[parent->childCount++] = child;
    child->parent = parent;
    touch(parent, ChildrenDirty);
    std::string scratch;
    // A text moved after another is written anew, escaped, so that the two cannot form markup ("]]" and ">"); so is
    // one of white space only, which may have been read as text only beside the text of an entity it left.
    if (child->kind == Kind::Text && child->has(Original) && !child->has(Expanded)
        && ((parent->childCount > 1 && parent->children[parent->childCount - 2]->kind == Kind::Text)
            || IsXmlWhiteSpace(textOf(static_cast<const Leaf*>(child), scratch))))
        touch(child, SelfDirty);
}

void Tree::removeChildAt(Element* parent, uint32_t index)
{
    Node* child = parent->children[index];
    if (child->has(Original) && !child->has(Relocated) && child->start < child->end)
        removedSpans.emplace(child->start, child->end);
    std::memmove(
        parent->children + index, parent->children + index + 1, sizeof(Ref<Node>) * (parent->childCount - index - 1));
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
    attrs(owner).push_back(attr);
    attr->owner = owner;
    touch(owner, SelfDirty);
}

void Tree::removeAttrAt(Element* owner, uint32_t index)
{
    std::vector<Attr*>& items = attrs(owner);
    Attr* attr = items[index];
    items.erase(items.begin() + index);
    attr->owner = nullptr;
    touch(owner, SelfDirty);
}

} // namespace xml::detail
