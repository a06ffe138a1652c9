// The tree the program built over expat before it had its own parser: the reference our parser's trees are
// compared with, span for span. Header-only, for tests.
#pragma once

#include "xml/xmlexception.h"
#include "xml/xmltree.h"

#include <cstring>
#include <expat.h>
#include <string>
#include <vector>

namespace xml::detail::oracle {

namespace {

    constexpr int kChunk = 1 << 20;

    bool isWhiteSpace(std::string_view text)
    {
        for (char c : text)
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return false;
        return true;
    }

    // Builds the tree from expat's events, recording where each node lies in the source.
    class Builder {
    public:
        Builder(XML_Parser parser, Tree& tree)
            : m_parser(parser)
            , m_tree(tree)
            , m_sourceIsUtf8(tree.encoding.encoding == Encoding::Utf8)
        {
            m_levels.emplace_back();
        }

        std::string failure; // set when a handler could not go on

        void startElement(const XML_Char* name, const XML_Char** atts)
        {
            flushText();
            const uint32_t pos = position();
            Element* e = m_tree.newElement(m_tree.intern(name));
            e->flags = Original | (inExpansion() ? Expanded : 0);
            e->start = pos;
            e->tagEnd = pos + uint32_t(XML_GetCurrentByteCount(m_parser));
            e->leadStart = level().prevEnd;
            const auto specified = uint32_t(XML_GetSpecifiedAttributeCount(m_parser)) / 2;
            if (specified) {
                auto** attrs = static_cast<Attr**>(m_tree.arena.allocate(sizeof(Attr*) * specified, alignof(Attr*)));
                e->attrs = attrs;
                const bool canShare = m_sourceIsUtf8 && !e->has(Expanded);
                const std::string_view tag(m_tree.source.constData() + e->start, e->tagEnd - e->start);
                size_t cursor = 0;
                for (uint32_t i = 0; i < specified; ++i) {
                    Attr* a = m_tree.arena.make<Attr>();
                    a->name = m_tree.intern(atts[2 * i]);
                    const std::string_view value = atts[2 * i + 1];
                    const std::string_view raw = canShare ? nextRawValue(tag, cursor) : std::string_view();
                    // A value written without references or white space to normalise shares the source bytes.
                    a->setValue(
                        canShare && raw == value ? Str { raw.data(), uint32_t(raw.size()) } : m_tree.arena.copy(value));
                    a->owner = e;
                    a->sourceIndex = i;
                    attrs[i] = a;
                }
                e->attrCount = specified;
            }
            m_open.push_back(e);
            if (m_open.size() >= m_levels.size())
                m_levels.emplace_back();
            Level& inner = m_levels[m_open.size()];
            inner.children.clear();
            inner.prevEnd = e->tagEnd;
        }

        void endElement()
        {
            flushText();
            Element* e = m_open.back();
            const uint32_t pos = position();
            const auto count = uint32_t(XML_GetCurrentByteCount(m_parser));
            Level& inner = level();
            if (e->has(Expanded)) {
                e->closeStart = e->end = e->trailStart = e->tagEnd;
            } else if (pos == e->start || count == 0) {
                e->flags |= SelfClosing;
                e->closeStart = e->end = e->trailStart = e->tagEnd;
            } else {
                e->closeStart = pos;
                e->end = pos + count;
                e->trailStart = inner.prevEnd;
            }
            if (!inner.children.empty()) {
                const auto n = uint32_t(inner.children.size());
                e->children = static_cast<Node**>(m_tree.arena.allocate(sizeof(Node*) * n, alignof(Node*)));
                std::memcpy(e->children, inner.children.data(), sizeof(Node*) * n);
                e->childCount = n;
                for (Node* child : inner.children)
                    child->parent = e;
            }
            m_open.pop_back();
            if (m_open.empty()) {
                m_tree.documentElement = e;
            } else {
                placeExpanded(e, e->start, e->tagEnd);
                addChild(e);
            }
        }

        void characters(const XML_Char* s, int len)
        {
            if (m_inDoctype || m_open.empty())
                return;
            const uint32_t pos = position();
            const bool expanded = inExpansion();
            if (!m_inCData && m_textStarted && expanded != m_textExpanded)
                flushText();
            if (!m_inCData && !m_textStarted) {
                m_textStart = pos;
                m_textStarted = true;
                m_textExpanded = expanded;
                m_textReferenced = false;
            }
            m_textReferenced = m_textReferenced || expanded || atReference();
            m_text.append(s, size_t(len));
            if (!m_inCData)
                m_textEnd = pos + uint32_t(XML_GetCurrentByteCount(m_parser));
        }

        void comment(const XML_Char* data)
        {
            flushText();
            if (m_inDoctype || m_open.empty())
                return;
            addLeaf(Kind::Comment, 0, data, position(), position() + uint32_t(XML_GetCurrentByteCount(m_parser)),
                inExpansion());
        }

        void processingInstruction(const XML_Char* target, const XML_Char* data)
        {
            flushText();
            if (m_inDoctype || m_open.empty())
                return;
            addLeaf(Kind::ProcessingInstruction, m_tree.intern(target), data, position(),
                position() + uint32_t(XML_GetCurrentByteCount(m_parser)), inExpansion());
        }

        void startCData()
        {
            flushText();
            m_cdataExpanded = inExpansion();
            m_inCData = true;
            m_cdataStart = position();
            m_text.clear();
        }

        void endCData()
        {
            const uint32_t end = position() + uint32_t(XML_GetCurrentByteCount(m_parser));
            addLeaf(Kind::CData, 0, m_text, m_cdataStart, end, m_cdataExpanded);
            m_text.clear();
            m_inCData = false;
        }

        void startDoctype() { m_inDoctype = true; }
        void endDoctype() { m_inDoctype = false; }

    private:
        struct Level {
            std::vector<Node*> children;
            uint32_t prevEnd = 0;
        };

        // The text between the quotes of the next attribute of a well-formed start tag, from cursor on.
        static std::string_view nextRawValue(std::string_view tag, size_t& cursor)
        {
            const size_t equals = tag.find('=', cursor);
            const size_t open = equals == std::string_view::npos ? equals : tag.find_first_of("\"'", equals);
            const size_t close = open == std::string_view::npos ? open : tag.find(tag[open], open + 1);
            if (close == std::string_view::npos) {
                cursor = tag.size();
                return {};
            }
            cursor = close + 1;
            return tag.substr(open + 1, close - open - 1);
        }

        uint32_t position() const { return uint32_t(XML_GetCurrentByteIndex(m_parser)); }
        Level& level() { return m_levels[m_open.size()]; }

        void addChild(Node* n)
        {
            Level& l = level();
            l.children.push_back(n);
            l.prevEnd = n->end;
        }

        void addLeaf(Kind kind, uint32_t name, std::string_view value, uint32_t start, uint32_t end, bool expanded)
        {
            auto* leaf = m_tree.arena.make<Leaf>();
            leaf->kind = kind;
            leaf->name = name;
            leaf->flags = Original | (expanded ? Expanded : 0);
            leaf->start = start;
            leaf->end = end;
            leaf->leadStart = level().prevEnd;
            leaf->setValue(m_tree.arena.copy(value));
            placeExpanded(leaf, start, end);
            addChild(leaf);
        }

        // The event is a reference (to a character or an entity): its white space is content.
        bool atReference() const
        {
            const uint32_t pos = position();
            if (pos + 2 > uint32_t(m_tree.source.size()))
                return false;
            const char* at = m_tree.source.constData() + pos;
            const bool wide
                = m_tree.encoding.encoding == Encoding::Utf16LE || m_tree.encoding.encoding == Encoding::Utf16BE;
            return wide ? (at[0] == '&' && at[1] == '\0') || (at[0] == '\0' && at[1] == '&') : at[0] == '&';
        }

        // Inside an entity's replacement text expat reports the position of the reference itself.
        bool inExpansion() const
        {
            const uint32_t pos = position();
            const auto count = uint32_t(XML_GetCurrentByteCount(m_parser));
            if (count < 3 || pos + count > uint32_t(m_tree.source.size()))
                return false;
            // Most events start with another character: look at the first byte (or UTF-16 unit) before decoding.
            const char* at = m_tree.source.constData() + pos;
            const bool wide
                = m_tree.encoding.encoding == Encoding::Utf16LE || m_tree.encoding.encoding == Encoding::Utf16BE;
            if (wide ? (at[0] != '&' || at[1] != '\0') && (at[0] != '\0' || at[1] != '&') : at[0] != '&')
                return false;
            const std::string ref
                = DecodeToUtf8(std::string_view(m_tree.source.constData() + pos, count), m_tree.encoding.encoding);
            if (ref.size() < 3 || ref.front() != '&' || ref[1] == '#')
                return false;
            return ref != "&amp;" && ref != "&lt;" && ref != "&gt;" && ref != "&quot;" && ref != "&apos;";
        }

        // The nodes of one reference, seen from outside it: the first stands for the reference's
        // bytes, the others for nothing, so that the reference is written once.
        void placeExpanded(Node* n, uint32_t refStart, uint32_t refEnd)
        {
            if (!n->has(Expanded) || (!m_open.empty() && m_open.back()->has(Expanded)))
                return;
            if (m_placedRef == refStart) {
                n->leadStart = n->start = n->end = refEnd;
            } else {
                n->start = refStart;
                n->end = refEnd;
                m_placedRef = refStart;
            }
        }

        // Ends the run of character data: white space between markup is formatting, anything else a text node.
        void flushText()
        {
            if (!m_textStarted || m_inCData)
                return;
            m_textStarted = false;
            if (!isWhiteSpace(m_text) || m_textReferenced) {
                auto* leaf = m_tree.arena.make<Leaf>();
                leaf->kind = Kind::Text;
                leaf->flags = Original | (m_textExpanded ? Expanded : 0);
                leaf->start = m_textStart;
                leaf->end = m_textEnd;
                leaf->leadStart = level().prevEnd;
                const std::string_view raw(m_tree.source.constData() + m_textStart, m_textEnd - m_textStart);
                // Most text needs no decoding: share the source bytes instead of copying them.
                if (m_sourceIsUtf8 && !m_textExpanded && raw == m_text)
                    leaf->setValue({ raw.data(), uint32_t(raw.size()) });
                else
                    leaf->setValue(m_tree.arena.copy(m_text));
                placeExpanded(leaf, m_textStart, m_textEnd);
                addChild(leaf);
            }
            m_text.clear();
        }

        XML_Parser m_parser;
        Tree& m_tree;
        const bool m_sourceIsUtf8;
        std::vector<Element*> m_open;
        std::vector<Level> m_levels;
        std::string m_text;
        bool m_textStarted = false;
        bool m_textExpanded = false;
        bool m_textReferenced = false;
        bool m_cdataExpanded = false;
        uint32_t m_placedRef = UINT32_MAX;
        uint32_t m_textStart = 0;
        uint32_t m_textEnd = 0;
        bool m_inCData = false;
        uint32_t m_cdataStart = 0;
        bool m_inDoctype = false;
    };

    // Handlers must not let exceptions cross expat's C frames: they stop the parser instead.
    template <class F> void guarded(void* userData, F&& body)
    {
        auto* self = static_cast<std::pair<Builder*, XML_Parser>*>(userData);
        try {
            body(*self->first);
        } catch (const std::exception& e) {
            self->first->failure = e.what();
            XML_StopParser(self->second, XML_FALSE);
        }
    }

    int XMLCALL unknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
    {
        std::string n(name);
        for (char& c : n)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (n != "windows-1252" && n != "cp1252")
            return XML_STATUS_ERROR;
        for (int b = 0; b < 256; ++b)
            info->map[b] = int(Windows1252ToUnicode(static_cast<unsigned char>(b)));
        info->data = nullptr;
        info->convert = nullptr;
        info->release = nullptr;
        return XML_STATUS_OK;
    }

    struct ParserHandle {
        XML_Parser parser = XML_ParserCreate(nullptr);
        ~ParserHandle() { XML_ParserFree(parser); }
    };

} // namespace

inline std::shared_ptr<Tree> ExpatTree(const QByteArray& bytes)
{
    if (quint64(bytes.size()) >= UINT32_MAX)
        throw XmlException("the file is too large (4 GiB or more)");
    auto tree = std::make_shared<Tree>();
    tree->source = bytes;
    tree->encoding = DetectEncoding(bytes);

    ParserHandle handle;
    XML_Parser p = handle.parser;
    if (!p)
        throw XmlException("out of memory");
    Builder builder(p, *tree);
    std::pair<Builder*, XML_Parser> context { &builder, p };
    XML_SetUserData(p, &context);
    XML_SetUnknownEncodingHandler(p, unknownEncoding, nullptr);
    XML_SetElementHandler(
        p,
        [](void* ud, const XML_Char* name, const XML_Char** atts) {
            guarded(ud, [&](Builder& b) { b.startElement(name, atts); });
        },
        [](void* ud, const XML_Char*) { guarded(ud, [&](Builder& b) { b.endElement(); }); });
    XML_SetCharacterDataHandler(
        p, [](void* ud, const XML_Char* s, int len) { guarded(ud, [&](Builder& b) { b.characters(s, len); }); });
    XML_SetCommentHandler(p, [](void* ud, const XML_Char* data) { guarded(ud, [&](Builder& b) { b.comment(data); }); });
    XML_SetProcessingInstructionHandler(p, [](void* ud, const XML_Char* target, const XML_Char* data) {
        guarded(ud, [&](Builder& b) { b.processingInstruction(target, data); });
    });
    XML_SetCdataSectionHandler(
        p, [](void* ud) { guarded(ud, [&](Builder& b) { b.startCData(); }); },
        [](void* ud) { guarded(ud, [&](Builder& b) { b.endCData(); }); });
    XML_SetDoctypeDeclHandler(
        p,
        [](void* ud, const XML_Char*, const XML_Char*, const XML_Char*, int) {
            guarded(ud, [&](Builder& b) { b.startDoctype(); });
        },
        [](void* ud) { guarded(ud, [&](Builder& b) { b.endDoctype(); }); });

    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype offset = 0;
    do {
        const int chunk = int(std::min<qsizetype>(kChunk, size - offset));
        const bool last = offset + chunk >= size;
        if (XML_Parse(p, data + offset, chunk, last) != XML_STATUS_OK) {
            if (!builder.failure.empty())
                throw XmlException(builder.failure);
            throw XmlException("line " + std::to_string(XML_GetCurrentLineNumber(p)) + ", column "
                + std::to_string(XML_GetCurrentColumnNumber(p) + 1) + ": " + XML_ErrorString(XML_GetErrorCode(p)));
        }
        offset += chunk;
    } while (offset < size);
    if (!tree->documentElement)
        throw XmlException("line 1, column 1: no element found");
    return tree;
}

// The first difference between two trees, described; empty when they are the same.
inline std::string TreeDifference(const Tree& a, const Tree& b)
{
    auto shared = [](const Tree& t, const char* data) {
        return data >= t.source.constData() && data <= t.source.constData() + t.source.size();
    };
    std::vector<std::pair<const Node*, const Node*>> pending { { a.documentElement, b.documentElement } };
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        const std::string at = "node at " + std::to_string(x->start) + ": ";
        if (x->kind != y->kind || x->flags != y->flags || x->start != y->start || x->end != y->end
            || x->leadStart != y->leadStart || a.nameOf(x->name) != b.nameOf(y->name))
            return at + "kind, flags, span or name differ (" + std::to_string(y->start) + ", " + std::to_string(y->end)
                + ", " + std::to_string(y->leadStart) + " against " + std::to_string(x->end) + ", "
                + std::to_string(x->leadStart) + ")";
        if (x->kind != Kind::Element) {
            const auto* lx = static_cast<const Leaf*>(x);
            const auto* ly = static_cast<const Leaf*>(y);
            std::string scratchX, scratchY;
            const std::string_view vx = lx->text(scratchX), vy = ly->text(scratchY);
            if (vx != vy)
                return at + "value \"" + std::string(vx) + "\" against \"" + std::string(vy) + "\"";
            // A text kept as written is decoded when asked, not copied: it counts as not shared.
            auto copied
                = [&](const Tree& t, const Leaf* l) { return !shared(t, l->valueData) || (l->layout & RawValue); };
            if (x->kind == Kind::Text && copied(a, lx) != copied(b, ly))
                return at + "text shared with the source in one tree only";
            continue;
        }
        const auto* ex = static_cast<const Element*>(x);
        const auto* ey = static_cast<const Element*>(y);
        if (ex->tagEnd != ey->tagEnd || ex->closeStart != ey->closeStart || ex->trailStart != ey->trailStart
            || ex->childCount != ey->childCount || ex->attrCount != ey->attrCount)
            return at + "element spans or counts differ";
        for (uint32_t i = 0; i < ex->attrCount; ++i) {
            const Attr p = ex->attrCopy(i);
            const Attr q = ey->attrCopy(i);
            if (a.nameOf(p.name) != b.nameOf(q.name) || p.value().view() != q.value().view()
                || p.sourceIndex != q.sourceIndex || shared(a, p.valueData) != shared(b, q.valueData))
                return at + "attribute " + std::to_string(i) + " differs: \"" + std::string(p.value().view())
                    + "\" against \"" + std::string(q.value().view()) + "\"";
        }
        for (uint32_t i = 0; i < ex->childCount; ++i)
            pending.emplace_back(ex->children[i], ey->children[i]);
    }
    return {};
}

} // namespace xml::detail::oracle
