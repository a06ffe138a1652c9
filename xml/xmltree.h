#pragma once

#include "cage.h"
#include "encoding.h"
#include "starttag.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace xml::detail {

enum class Kind : uint8_t { Element, Text, CData, Comment, ProcessingInstruction };

// Edit marks, used by the writer to copy untouched parts of the file byte for byte.
enum Flag : uint8_t {
    Original = 1, // has a span in the source bytes
    SelfDirty = 2, // own markup (name, attributes, value) must be written anew
    ChildrenDirty = 4, // children were added or removed
    DescendantDirty = 8,
    SelfClosing = 16, // written as <a/> in the source
    Relocated = 32, // detached and attached again: its old indentation no longer applies
    Renamed = 64, // its end tag must be written anew too
    Expanded = 128, // comes from an entity reference: written as that reference, never edited
};

// How a node holds its parts. An element's parsed children array is exactly as long as its count; one grown by
// edits has a power-of-two capacity, so the capacity needs no field of its own.
enum Layout : uint8_t {
    ChildrenGrown = 1,
    AttrsInTag = 2, // the attributes are read from the start tag in the source, where they are plain UTF-8
    AttrRows = 4, // the attributes as parsed, as rows (see RowAttr) right after the element
    AttrObjects = 8, // the attributes are objects that handles can hold, kept by the tree
    RawValue = 16, // a text's value is its source text, to be decoded (it holds references to characters)
    ValueInSource = 32, // a leaf's value lies in the source bytes, at an offset
    ValueInSpan = 64, // a leaf's value is its own span in the source, less its delimiters (see Node::valueHead)
    BareLeaf = 128, // a leaf made as a bare Node, without value fields: an edited value is kept by the tree
};

constexpr uint32_t kNoIndex = UINT32_MAX;

struct Element;

// Text of a node as UTF-8: either inside the source bytes or in the tree's arena.
struct Str {
    const char* data = nullptr;
    uint32_t size = 0;
    std::string_view view() const { return { data, size }; }
};

// Nodes live in the cage, where their links take 32 bits.
struct Node {
    Ref<Element> parent;
    uint32_t start = 0; // source span of the whole node
    uint32_t end = 0;
    uint32_t leadStart = 0; // start of the formatting white space before it in the source
    uint32_t name = 0; // interned name: element name or processing-instruction target
    Kind kind = Kind::Text;
    uint8_t flags = 0;
    uint8_t layout = 0; // Layout bits; here, in padding every node has, so that they cost nothing
    uint8_t valueHead = 0; // with ValueInSpan, where the value starts after start ("<!--" is 4)
    bool has(Flag f) const { return flags & f; }
};

// The value is an offset in the source (ValueInSource) or a link to text in the cage: a leaf takes 32 bytes.
struct Leaf : Node {
    uint32_t valueAt = 0;
    uint32_t valueSize = 0;
};

// The value is kept as two fields rather than a Str, so that an attribute takes 32 bytes, not 40.
struct Attr {
    Element* owner = nullptr;
    const char* valueData = nullptr;
    uint32_t name = 0;
    uint32_t sourceIndex = kNoIndex; // position among the start tag's attributes in the source
    uint32_t valueSize = 0;
    bool dirty = false;
    Str value() const { return { valueData, valueSize }; }
    void setValue(Str v)
    {
        valueData = v.data;
        valueSize = v.size;
    }
};

// An attribute as parsed whose value is not as written (it holds references or line breaks, or comes from an
// entity), until a handle or an edit needs it as an object: its owner is the element whose row it is in, its
// place in the source tag its place in the row, and it is unchanged.
struct RowAttr {
    const char* valueData;
    uint32_t name;
    uint32_t valueSize;
};

// 44 bytes. Where its attributes are is told by its layout (AttrsInTag, AttrRows, AttrObjects), not by fields.
struct Element : Node {
    uint32_t tagEnd = 0; // end of the start tag in the source
    uint32_t closeStart = 0; // start of the end tag in the source
    uint32_t trailStart = 0; // start of the formatting before the end tag
    uint32_t childCount = 0;
    Ref<Ref<Node>> children;
    // With AttrRows the element is allocated eight-aligned and followed by the number of its rows (in the four
    // bytes that alignment leaves) and the rows.
    uint32_t& rowCount() const { return *reinterpret_cast<uint32_t*>(tail()); }
    RowAttr* rows() const { return reinterpret_cast<RowAttr*>(tail() + sizeof(uint32_t)); }

private:
    char* tail() const { return const_cast<char*>(reinterpret_cast<const char*>(this)) + sizeof(Element); }
};
static_assert(sizeof(Element) % alignof(RowAttr) == sizeof(uint32_t), "rows follow an element's count directly");

// A bump allocator in the cage: nodes and strings of a tree live until the tree goes.
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena();
    void* allocate(size_t size, size_t align = alignof(std::max_align_t));
    template <class T> T* make() { return new (allocate(sizeof(T), alignof(T))) T(); }
    // Four-byte aligned, so that a Ref can point at it.
    Str copy(std::string_view text);

private:
    std::vector<std::pair<void*, size_t>> m_blocks;
    char* m_cursor = nullptr;
    size_t m_left = 0;
};

// One parsed (or new) document: the source bytes, the nodes and the name table.
// Handles keep the tree alive, so a node outlives a reload of its document.
class Tree {
public:
    Tree();

    QByteArray source;
    SourceEncoding encoding;
    Arena arena;
    Element* documentElement = nullptr; // has no parent
    bool modified = false;
    // Source spans (start to end) of nodes taken out of their place in the source, so the writer can
    // close the gaps they leave line by line.
    std::map<uint32_t, uint32_t> removedSpans;
    // Attributes the document type declares with a type other than CDATA (element name id << 32 | attribute name
    // id): reading collapses the spaces of their values.
    std::unordered_set<uint64_t> tokenizedAttributes;
    bool collapsesSpaces(uint32_t element, uint32_t attribute) const
    {
        return !tokenizedAttributes.empty() && tokenizedAttributes.count(uint64_t(element) << 32 | attribute);
    }

    // Const: the table only grows, and reading names from a start tag looks them up.
    uint32_t intern(std::string_view name) const;
    std::string_view nameOf(uint32_t id) const { return m_names[id]; }
    // The name as a QString, converted once per name: lists show the same few names many times.
    const QString& displayName(uint32_t id) const;

    // A leaf's value as kept: decoded, or as written when RawValue.
    Str valueOf(const Leaf* leaf) const;
    // A leaf's decoded value: the kept one, or one decoded into scratch.
    std::string_view textOf(const Leaf* leaf, std::string& scratch) const;
    // Keeps a value that lies in the source bytes or in the arena.
    void setValue(Leaf* leaf, Str value);
    // A leaf for a value that lies in the source between its own delimiters: made as a bare node when it can be.
    Leaf* newParsedLeaf(Kind kind, uint32_t start, uint32_t end, Str value);

    Element* newElement(uint32_t name);
    Leaf* newLeaf(Kind kind, std::string_view value);
    Attr* newAttr(uint32_t name, std::string_view value);

    // Records an edit of n: marks it and every ancestor so the writer finds it.
    void touch(Node* n, Flag what);

    // Reads the attributes of e in order, as copies, without making objects of them.
    template <class Visit> void forEachAttr(const Element* e, Visit visit) const;
    // The same as name and value texts (UTF-8), which a start tag gives without looking its names up.
    template <class Visit> void forEachAttrText(const Element* e, Visit visit) const;
    uint32_t attrCount(const Element* e) const;
    // The attributes of e as objects that handles can hold, made when first needed. The objects never move.
    std::vector<Attr*>& attrs(Element* e);

    void appendChild(Element* parent, Node* child);
    void removeChildAt(Element* parent, uint32_t index);
    void appendAttr(Element* owner, Attr* attr);
    void removeAttrAt(Element* owner, uint32_t index);

private:
    std::string_view sourceView(uint32_t from, uint32_t to) const { return { source.constData() + from, to - from }; }

    std::unordered_map<const Element*, std::vector<Attr*>> m_attrObjects;
    std::unordered_map<const Node*, Str> m_bareLeafValues; // values of edited bare leaves
    mutable std::deque<std::string> m_names; // stable addresses: the map keys view them
    mutable std::vector<QString> m_displayNames;
    mutable std::unordered_map<std::string_view, uint32_t> m_nameIds;
};

template <class Visit> void Tree::forEachAttr(const Element* e, Visit visit) const
{
    auto* owner = const_cast<Element*>(e);
    if (e->layout & AttrsInTag) {
        StartTagCursor tag(sourceView(e->start, e->tagEnd));
        uint32_t i = 0;
        for (StartTagCursor::Attribute a; tag.next(a); ++i)
            visit(Attr { owner, a.value.data(), intern(a.name), i, uint32_t(a.value.size()), false });
    } else if (e->layout & AttrRows) {
        const RowAttr* rows = e->rows();
        for (uint32_t i = 0; i < e->rowCount(); ++i)
            visit(Attr { owner, rows[i].valueData, rows[i].name, i, rows[i].valueSize, false });
    } else if (e->layout & AttrObjects) {
        for (const Attr* a : m_attrObjects.at(e))
            visit(*a);
    }
}

template <class Visit> void Tree::forEachAttrText(const Element* e, Visit visit) const
{
    if (e->layout & AttrsInTag) {
        StartTagCursor tag(sourceView(e->start, e->tagEnd));
        for (StartTagCursor::Attribute a; tag.next(a);)
            visit(a.name, a.value);
    } else {
        forEachAttr(e, [&](const Attr& a) { visit(nameOf(a.name), a.value().view()); });
    }
}

inline Element* asElement(Node* n) { return n && n->kind == Kind::Element ? static_cast<Element*>(n) : nullptr; }

} // namespace xml::detail
