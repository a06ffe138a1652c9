#pragma once

#include "encoding.h"

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

// How a node holds its parts. An element's parsed arrays are exactly as long as their count; an array grown by
// edits has a power-of-two capacity, so neither capacity needs a field of its own.
enum Layout : uint8_t {
    ChildrenGrown = 1,
    AttrsGrown = 2,
    AttrRows = 4, // the attributes as parsed, as compact rows rather than pointers to objects (see RowAttr)
    RawValue = 8, // a text's value is its source text, to be decoded (it holds references to characters)
};

constexpr uint32_t kNoIndex = UINT32_MAX;

struct Element;

// Text of a node as UTF-8: either inside the source bytes or in the tree's arena.
struct Str {
    const char* data = nullptr;
    uint32_t size = 0;
    std::string_view view() const { return { data, size }; }
};

struct Node {
    Element* parent = nullptr;
    uint32_t start = 0; // source span of the whole node
    uint32_t end = 0;
    uint32_t leadStart = 0; // start of the formatting white space before it in the source
    uint32_t name = 0; // interned name: element name or processing-instruction target
    Kind kind = Kind::Text;
    uint8_t flags = 0;
    uint8_t layout = 0; // Layout bits; here, in padding every node has, so that they cost nothing
    bool has(Flag f) const { return flags & f; }
};

// The value is kept as two fields, the size in the padding after Node, so that a leaf takes 40 bytes, not 48.
struct Leaf : Node {
    uint32_t valueSize = 0;
    const char* valueData = nullptr;
    // The value as kept: decoded, or as written when RawValue.
    Str value() const { return { valueData, valueSize }; }
    // The decoded value: the kept one, or one decoded into scratch.
    std::string_view text(std::string& scratch) const;
    void setValue(Str v)
    {
        valueData = v.data;
        valueSize = v.size;
        layout &= ~RawValue;
    }
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

// An attribute as parsed, until a handle or an edit needs it as an object: its owner is the element whose row it
// is in, its place in the source tag its place in the row, and it is unchanged.
struct RowAttr {
    const char* valueData;
    uint32_t name;
    uint32_t valueSize;
};

struct Element : Node {
    uint32_t tagEnd = 0; // end of the start tag in the source
    uint32_t closeStart = 0; // start of the end tag in the source
    uint32_t trailStart = 0; // start of the formatting before the end tag
    uint32_t childCount = 0;
    uint32_t attrCount = 0;
    Node** children = nullptr;
    void* attrs = nullptr; // RowAttr[attrCount] when AttrRows, else Attr*[attrCount]
    // Attribute i as a copy, for reading; Tree::attrs gives the objects themselves.
    Attr attrCopy(uint32_t i) const
    {
        if (!(layout & AttrRows))
            return *static_cast<Attr* const*>(attrs)[i];
        const RowAttr& row = static_cast<const RowAttr*>(attrs)[i];
        return { const_cast<Element*>(this), row.valueData, row.name, i, row.valueSize, false };
    }
};

// A bump allocator: nodes and strings of a tree live until the tree goes.
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    void* allocate(size_t size, size_t align = alignof(std::max_align_t));
    template <class T> T* make() { return new (allocate(sizeof(T), alignof(T))) T(); }
    Str copy(std::string_view text);

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
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

    uint32_t intern(std::string_view name);
    std::string_view nameOf(uint32_t id) const { return m_names[id]; }
    // The name as a QString, converted once per name: lists show the same few names many times.
    const QString& displayName(uint32_t id) const;

    Element* newElement(uint32_t name);
    Leaf* newLeaf(Kind kind, std::string_view value);
    Attr* newAttr(uint32_t name, std::string_view value);

    // Records an edit of n: marks it and every ancestor so the writer finds it.
    void touch(Node* n, Flag what);

    // The attributes of e as objects that handles can hold, made from its rows when first needed. They never move.
    Attr** attrs(Element* e);

    void appendChild(Element* parent, Node* child);
    void removeChildAt(Element* parent, uint32_t index);
    void appendAttr(Element* owner, Attr* attr);
    void removeAttrAt(Element* owner, uint32_t index);

private:
    std::deque<std::string> m_names; // stable addresses: the map keys view them
    mutable std::vector<QString> m_displayNames;
    std::unordered_map<std::string_view, uint32_t> m_nameIds;
};

inline Element* asElement(Node* n) { return n && n->kind == Kind::Element ? static_cast<Element*>(n) : nullptr; }

} // namespace xml::detail
