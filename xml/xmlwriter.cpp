#include "xmlwriter.h"

#include "starttag.h"
#include "xmlexception.h"
#include "xmlnames.h"
#include "xmltree.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace xml::detail {

namespace {

    constexpr uint8_t kEdited = SelfDirty | ChildrenDirty | DescendantDirty;

    // Stands for a removed node in the formatting of a gap while its lines are closed.
    constexpr char kRemoved = '\x01';
    constexpr std::string_view kGapCharacters = " \t\r\n\x01";

    bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // What of the source between nodes may stand beside a text: none of its white space, which would be read back
    // as part of the text, only what is not formatting (references to entities that the parser could not read or
    // that hold nothing, which the text's run reads through).
    std::string besideTextForm(std::string_view between)
    {
        std::string out;
        std::copy_if(between.begin(), between.end(), std::back_inserter(out), [](char c) { return !isSpace(c); });
        return out;
    }

    // One attribute as it stands in a source start tag: leading white space, name, quote, whole text.
    struct SourceAttr {
        std::string lead;
        std::string text; // lead included
        char quote = '"';
    };

    struct SourceTag {
        std::vector<SourceAttr> attrs;
        std::string tail; // white space and ">" or "/>"
    };

    // Splits a well-formed start tag (UTF-8) into its attributes; the parser has already checked it.
    SourceTag splitStartTag(const std::string& tag)
    {
        SourceTag out;
        StartTagCursor cursor(tag);
        for (StartTagCursor::Attribute a; cursor.next(a);)
            out.attrs.push_back({ std::string(a.lead), std::string(a.text), a.quote });
        out.tail = cursor.tail();
        return out;
    }

    // The reference a character needs: in text, markup and carriage returns; in an attribute value (quote set) also
    // the quote and the white space that attribute-value normalisation would change. Null when none is needed.
    const char* referenceFor(char c, char quote)
    {
        switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '\r':
            return "&#13;";
        case '>':
            return quote ? nullptr : "&gt;";
        case '\t':
            return quote ? "&#9;" : nullptr;
        case '\n':
            return quote ? "&#10;" : nullptr;
        case '"':
            return quote == '"' ? "&quot;" : nullptr;
        case '\'':
            return quote == '\'' ? "&apos;" : nullptr;
        default:
            return nullptr;
        }
    }

    std::string escape(std::string_view value, char quote)
    {
        std::string out;
        out.reserve(value.size());
        for (char c : value) {
            if (const char* reference = referenceFor(c, quote))
                out += reference;
            else
                out += c;
        }
        return out;
    }

    std::string escapeText(std::string_view value) { return escape(value, 0); }
    std::string escapeAttribute(std::string_view value, char quote) { return escape(value, quote); }

    // A text of white space only, written as it stands, would read back as formatting; each blank written as a
    // reference makes it content.
    std::string blankAsReferences(std::string_view value)
    {
        std::string out;
        for (char c : value)
            out += c == ' ' ? "&#32;" : c == '\t' ? "&#9;" : c == '\n' ? "&#10;" : "&#13;";
        return out;
    }

    // The last line of a lead that holds a line break, from that break (with the "\r" of a "\r\n") on.
    std::string fromLastLineBreak(std::string_view lead)
    {
        size_t nl = lead.rfind('\n');
        if (nl > 0 && lead[nl - 1] == '\r')
            --nl;
        return std::string(lead.substr(nl));
    }

    std::string_view afterLastNewline(std::string_view lead)
    {
        const size_t nl = lead.rfind('\n');
        return nl == std::string_view::npos ? std::string_view() : lead.substr(nl + 1);
    }

    class Writer {
    public:
        explicit Writer(const Tree& tree)
            : m_tree(tree)
            , m_src(tree.source.constData())
            , m_encoding(tree.encoding.encoding)
        {
        }

        QByteArray write()
        {
            const Element* root = m_tree.documentElement;
            m_out.reserve(size_t(m_tree.source.size()) + 4096);
            copy(0, root->start);
            writeTree(root);
            copy(root->end, uint32_t(m_tree.source.size()));
            return QByteArray(m_out.data(), qsizetype(m_out.size()));
        }

    private:
        void copy(uint32_t from, uint32_t to)
        {
            const size_t at = m_out.size();
            if (from < to)
                m_out.append(m_src + from, to - from);
            joinLineBreaks(at);
        }
        void text(std::string_view utf8)
        {
            const size_t at = m_out.size();
            AppendEncoded(m_out, utf8, m_encoding, true);
            joinLineBreaks(at);
        }
        void strict(std::string_view utf8)
        {
            const size_t at = m_out.size();
            AppendEncoded(m_out, utf8, m_encoding, false);
            joinLineBreaks(at);
        }

        // Bare carriage returns ending what was written, and a line feed beginning what follows, would read as one
        // line break less than the document has: the returns become line feeds, which read the same.
        void joinLineBreaks(size_t at)
        {
            const bool wide = m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE;
            const size_t unit = wide ? 2 : 1;
            const size_t low = m_encoding == Encoding::Utf16BE ? 1 : 0; // the byte holding an ASCII character
            auto is = [&](size_t i, char c) { return m_out[i + low] == c && (!wide || m_out[i + 1 - low] == '\0'); };
            if (at < unit || m_out.size() < at + unit || !is(at, '\n'))
                return;
            for (size_t i = at; i >= unit && is(i - unit, '\r'); i -= unit)
                m_out[i - unit + low] = '\n';
        }
        void markup(std::string_view ascii) { AppendAscii(m_out, ascii, m_encoding); }
        std::string_view source(uint32_t from, uint32_t to) const { return { m_src + from, to - from }; }
        std::string sourceUtf8(uint32_t from, uint32_t to) const { return DecodeToUtf8(source(from, to), m_encoding); }
        std::string_view nameOf(const Node* n) const { return m_tree.nameOf(n->name); }

        static bool untouched(const Node* n) { return n->has(Original) && !(n->flags & kEdited); }
        static bool keepsSourceLead(const Node* n) { return n->has(Original) && !n->has(Relocated); }

        // Where the writer is inside an element whose children it writes one by one.
        struct Frame {
            const Element* element;
            uint32_t next = 0;
            uint32_t cursor = 0; // the source after the last kept child: what lies before the next one is its gap
            bool placing = false; // children the writer places have begun; they all follow the kept ones
            std::string tail; // the formatting before the end tag, written after the placed children
        };

        // Iterative, so that deep documents cannot overflow the stack.
        void writeTree(const Element* root)
        {
            std::vector<Frame> stack;
            auto open = [&](const Node* n) {
                if (untouched(n)) {
                    copy(n->start, n->end);
                    return;
                }
                if (n->kind != Kind::Element) {
                    writeLeaf(static_cast<const Leaf*>(n));
                    return;
                }
                const auto* e = static_cast<const Element*>(n);
                const bool empty = e->childCount == 0;
                const bool selfClosing = empty && (!e->has(Original) || e->has(SelfClosing));
                writeStartTag(e, selfClosing);
                if (selfClosing)
                    return;
                if (e->has(Original) && !e->has(ChildrenDirty) && !e->has(DescendantDirty)) {
                    copy(e->tagEnd, e->closeStart);
                    writeEndTag(e);
                    return;
                }
                stack.push_back({ e, 0, e->tagEnd, false, {} });
            };
            open(root);
            while (!stack.empty()) {
                Frame& frame = stack.back();
                const Element* e = frame.element;
                if (frame.next == e->childCount) {
                    writeTrail(frame);
                    writeEndTag(e);
                    stack.pop_back();
                    continue;
                }
                const uint32_t index = frame.next++;
                const Node* child = e->children[index];
                if (keepsSourceLead(child)) {
                    const bool besideText
                        = child->kind == Kind::Text || (index > 0 && e->children[index - 1]->kind == Kind::Text);
                    writeGap(child, frame.cursor, child->start, besideText);
                    frame.cursor = child->end;
                } else {
                    if (!frame.placing && e->has(Original)) {
                        // What shared the last kept child's line stays on it; the rest goes after the new children.
                        auto [head, tail] = splitAtLineBreak(closeGap(frame.cursor, e->closeStart));
                        const bool besideText
                            = child->kind == Kind::Text || (index > 0 && e->children[index - 1]->kind == Kind::Text);
                        strict(besideText ? besideTextForm(head) : head);
                        frame.tail = std::move(tail);
                    }
                    frame.placing = true;
                    strict(lead(e, index));
                }
                open(child); // last: it may grow the stack
            }
        }

        void writeLeaf(const Leaf* leaf)
        {
            std::string decoded;
            const std::string_view value = m_tree.textOf(leaf, decoded);
            switch (leaf->kind) {
            case Kind::Text:
                text(IsXmlWhiteSpace(value) ? blankAsReferences(value) : escapeText(value));
                break;
            case Kind::CData: {
                markup("<![CDATA[");
                size_t from = 0;
                for (size_t at = value.find("]]>"); at != std::string_view::npos; at = value.find("]]>", from)) {
                    strict(value.substr(from, at + 2 - from));
                    markup("]]><![CDATA[");
                    from = at + 2;
                }
                strict(value.substr(from));
                markup("]]>");
                break;
            }
            case Kind::Comment:
                markup("<!--");
                strict(value);
                markup("-->");
                break;
            case Kind::ProcessingInstruction:
                markup("<?");
                strict(nameOf(leaf));
                if (!value.empty()) {
                    markup(" ");
                    strict(value);
                }
                markup("?>");
                break;
            case Kind::Element:
                break;
            }
        }

        void writeStartTag(const Element* e, bool selfClosing)
        {
            const bool reopened = e->has(SelfClosing) && !selfClosing;
            if (e->has(Original) && !e->has(SelfDirty) && !reopened) {
                copy(e->start, e->tagEnd);
                return;
            }
            SourceTag tag;
            if (e->has(Original))
                tag = splitStartTag(sourceUtf8(e->start, e->tagEnd));
            const char newQuote = tag.attrs.empty() ? '"' : tag.attrs.front().quote;
            markup("<");
            strict(nameOf(e));
            m_tree.forEachAttr(e, [&](const Attr& a) {
                const bool fromSource = a.sourceIndex < tag.attrs.size();
                if (fromSource && !a.dirty) {
                    text(tag.attrs[a.sourceIndex].text);
                    return;
                }
                const char quote = fromSource ? tag.attrs[a.sourceIndex].quote : newQuote;
                strict(fromSource && !tag.attrs[a.sourceIndex].lead.empty() ? tag.attrs[a.sourceIndex].lead : " ");
                strict(m_tree.nameOf(a.name));
                markup(std::string("=") + quote);
                text(escapeAttribute(a.value().view(), quote));
                markup(std::string(1, quote));
            });
            if (!e->has(Original)) {
                markup(selfClosing ? "/>" : ">");
                return;
            }
            std::string tail = tag.tail;
            if (reopened && tail.size() >= 2 && tail.compare(tail.size() - 2, 2, "/>") == 0) {
                // "<a />" gaining children becomes "<a>": the blank only served the empty-element form.
                tail.erase(tail.size() - 2);
                while (!tail.empty() && isSpace(tail.back()))
                    tail.pop_back();
                tail += '>';
            }
            strict(tail);
        }

        void writeEndTag(const Element* e)
        {
            if (e->has(Original) && !e->has(SelfClosing) && !e->has(Renamed)) {
                copy(e->closeStart, e->end);
                return;
            }
            markup("</");
            strict(nameOf(e));
            markup(">");
        }

        void writeTrail(const Frame& frame)
        {
            const Element* e = frame.element;
            // White space after a text node would be read back as part of its value.
            const bool afterText = e->childCount && e->children[e->childCount - 1]->kind == Kind::Text;
            if (!frame.placing) {
                if (e->has(Original))
                    writeGap(nullptr, frame.cursor, e->closeStart, afterText);
                return;
            }
            if (afterText) {
                strict(besideTextForm(frame.tail));
                return;
            }
            if (frame.tail.find('\n') == std::string::npos && endsWithGeneratedLine(e)) {
                strict(lineBreak() + indentOf(e));
                return;
            }
            strict(frame.tail);
        }

        bool hasRemovedBetween(uint32_t from, uint32_t to) const
        {
            const auto it = m_tree.removedSpans.lower_bound(from);
            return it != m_tree.removedSpans.end() && it->first < to;
        }

        // Writes the source between two kept nodes (or a tag), closing the gaps of the nodes removed from it;
        // the lead thus written before `next` is kept for placing new siblings like it. Beside a text, only what
        // is not white space is written (see besideTextForm).
        void writeGap(const Node* next, uint32_t from, uint32_t to, bool besideText)
        {
            if (!hasRemovedBetween(from, to)) {
                copy(from, to);
                return;
            }
            std::string closed = closeGap(from, to);
            if (besideText)
                closed = besideTextForm(closed);
            strict(closed);
            if (next)
                m_closedLeads[next] = std::move(closed);
        }

        // The formatting between two kept nodes once the removed nodes between them are gone, as UTF-8.
        std::string closeGap(uint32_t from, uint32_t to) const
        {
            std::string marked;
            uint32_t at = from;
            for (auto it = m_tree.removedSpans.lower_bound(from); it != m_tree.removedSpans.end() && it->first < to;
                 ++it) {
                if (it->first < at)
                    continue; // inside a removed node already marked
                marked += sourceUtf8(at, it->first);
                marked += kRemoved;
                at = std::min(it->second, to);
            }
            marked += sourceUtf8(at, to);
            if (marked.find_first_not_of(kGapCharacters) != std::string::npos) {
                // More than formatting between the nodes (an entity's nodes): the removed nodes just go.
                std::erase(marked, kRemoved);
                return marked;
            }
            return closeLines(marked);
        }

        // A removed node alone on its line takes that line; one that shares its line takes itself and the blanks
        // after it, and on the line of what stands before the gap, where nothing follows it, the blanks before it.
        static std::string closeLines(std::string_view marked)
        {
            std::vector<std::string_view> lines; // each with its line break; the last has none
            for (size_t start = 0;;) {
                const size_t nl = marked.find('\n', start);
                lines.push_back(marked.substr(start, nl == std::string_view::npos ? nl : nl + 1 - start));
                if (nl == std::string_view::npos)
                    break;
                start = nl + 1;
            }
            std::string out;
            const size_t last = lines.size() - 1;
            for (size_t i = 0; i <= last; ++i) {
                const std::string_view line = lines[i];
                if (line.find(kRemoved) == std::string_view::npos) {
                    out += line;
                } else if (i == 0 && last > 0) {
                    out += line.substr(line.size() - (line.ends_with("\r\n") ? 2 : 1));
                } else if (i == last) {
                    for (size_t k = 0; k < line.size(); ++k) {
                        if (line[k] != kRemoved) {
                            out += line[k];
                            continue;
                        }
                        while (k + 1 < line.size() && (line[k + 1] == ' ' || line[k + 1] == '\t'))
                            ++k;
                    }
                }
            }
            return out;
        }

        // Splits formatting at its first line break: what stays on the current line, and the rest.
        static std::pair<std::string, std::string> splitAtLineBreak(const std::string& space)
        {
            size_t at = space.find('\n');
            if (at == std::string::npos)
                return { space, {} };
            if (at > 0 && space[at - 1] == '\r')
                --at;
            return { space.substr(0, at), space.substr(at) };
        }

        // True when the last child was placed on a line of its own by the writer.
        bool endsWithGeneratedLine(const Element* e)
        {
            if (e->childCount == 0)
                return false;
            const uint32_t last = e->childCount - 1;
            return !keepsSourceLead(e->children[last]) && lead(e, last).find('\n') != std::string::npos;
        }

        std::string sourceLead(const Node* n) const { return sourceUtf8(n->leadStart, n->start); }

        // The lead of a kept node as written: its source lead, or what closing a gap before it left.
        std::string keptLead(const Node* n) const
        {
            const auto closed = m_closedLeads.find(n);
            return closed != m_closedLeads.end() ? closed->second : sourceLead(n);
        }

        // The white space before a child the writer places: like its siblings, one level deeper than
        // its parent, or none at all in mixed content. Each answer is kept: a new child's lead builds
        // on its parent's and on its previous sibling's, which the writer has asked for before.
        const std::string& lead(const Element* parent, uint32_t index)
        {
            const Node* child = parent->children[index];
            const auto [at, fresh] = m_leads.try_emplace(child);
            std::string& result = at->second; // stays valid while the map grows
            if (fresh)
                result = computeLead(parent, index);
            return result;
        }

        std::string computeLead(const Element* parent, uint32_t index)
        {
            const Node* child = parent->children[index];
            if (child->kind == Kind::Text || child->kind == Kind::CData || isMixed(parent))
                return {};
            if (index > 0 && !keepsSourceLead(parent->children[index - 1])) {
                if (const auto known = m_leads.find(parent->children[index - 1]); known != m_leads.end())
                    return known->second;
            }
            // Like the line the previous kept siblings stand on: a line of its own after everything on it.
            bool keptBefore = false;
            for (uint32_t i = index; i-- > 0;) {
                const Node* sibling = parent->children[i];
                if (!keepsSourceLead(sibling))
                    continue;
                keptBefore = true;
                const std::string before = keptLead(sibling);
                if (before.find('\n') != std::string::npos)
                    return fromLastLineBreak(before);
            }
            if (keptBefore)
                return {}; // they all stand on the parent's first line

            for (uint32_t i = index + 1; i < parent->childCount; ++i) {
                const Node* sibling = parent->children[i];
                if (keepsSourceLead(sibling)) {
                    const std::string after = sourceLead(sibling);
                    return after.find('\n') != std::string::npos ? fromLastLineBreak(after) : std::string();
                }
            }
            if (!onOwnLine(parent))
                return {};
            return lineBreak() + indentOf(parent) + indentUnit();
        }

        bool isMixed(const Element* e)
        {
            const auto [at, fresh] = m_mixed.try_emplace(e, false);
            if (fresh)
                for (uint32_t i = 0; i < e->childCount && !at->second; ++i)
                    at->second = e->children[i]->kind == Kind::Text || e->children[i]->kind == Kind::CData;
            return at->second;
        }

        // The lead of an element the writer places; known already when the writer is inside it.
        const std::string& placedLead(const Element* e)
        {
            if (const auto known = m_leads.find(e); known != m_leads.end())
                return known->second;
            uint32_t index = 0;
            while (index < e->parent->childCount && e->parent->children[index] != e)
                ++index;
            return lead(e->parent, index);
        }

        bool onOwnLine(const Element* e)
        {
            if (e == m_tree.documentElement)
                return true;
            if (!e->parent)
                return false;
            if (keepsSourceLead(e))
                return keptLead(e).find('\n') != std::string::npos;
            return placedLead(e).find('\n') != std::string::npos;
        }

        std::string indentOf(const Element* e)
        {
            if (e == m_tree.documentElement || !e->parent)
                return {};
            if (keepsSourceLead(e))
                return std::string(afterLastNewline(keptLead(e)));
            return std::string(afterLastNewline(placedLead(e)));
        }

        // The document's line break, "\r\n" or "\n" as its first line ends, so new lines match the old.
        const char* lineBreak()
        {
            if (m_lineBreak)
                return m_lineBreak;
            m_lineBreak = "\n";
            const bool wide = m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE;
            const auto size = uint32_t(m_tree.source.size());
            auto unit = [&](uint32_t at) {
                if (!wide)
                    return char16_t(static_cast<unsigned char>(m_src[at]));
                const auto a = static_cast<unsigned char>(m_src[at]), b = static_cast<unsigned char>(m_src[at + 1]);
                return char16_t(m_encoding == Encoding::Utf16LE ? (b << 8 | a) : (a << 8 | b));
            };
            const uint32_t step = wide ? 2 : 1;
            for (uint32_t at = 0; at + step <= size; at += step)
                if (unit(at) == u'\n') {
                    if (at >= step && unit(at - step) == u'\r')
                        m_lineBreak = "\r\n";
                    break;
                }
            return m_lineBreak;
        }

        // The document's own indentation step, found once from the first indented child element.
        const std::string& indentUnit()
        {
            if (m_unitKnown)
                return m_unit;
            m_unitKnown = true;
            m_unit = "  ";
            std::vector<const Element*> pending { m_tree.documentElement };
            while (!pending.empty()) {
                const Element* e = pending.back();
                pending.pop_back();
                for (uint32_t i = 0; i < e->childCount; ++i) {
                    const auto* child = asElement(e->children[i]);
                    if (!child || !keepsSourceLead(child))
                        continue;
                    const std::string outer = e == m_tree.documentElement ? std::string() : indentOf(e);
                    const std::string inner(afterLastNewline(sourceLead(child)));
                    if (sourceLead(child).find('\n') != std::string::npos && inner.size() > outer.size()
                        && inner.compare(0, outer.size(), outer) == 0) {
                        m_unit = inner.substr(outer.size());
                        return m_unit;
                    }
                    pending.push_back(child);
                }
            }
            return m_unit;
        }

        const Tree& m_tree;
        const char* m_src;
        Encoding m_encoding;
        std::string m_out;
        std::string m_unit;
        bool m_unitKnown = false;
        const char* m_lineBreak = nullptr;
        std::unordered_map<const Node*, std::string> m_leads;
        std::unordered_map<const Node*, std::string> m_closedLeads;
        std::unordered_map<const Element*, bool> m_mixed;
    };

} // namespace

QByteArray WriteXml(const Tree& tree)
{
    if (!tree.documentElement)
        throw XmlException("the document holds no element, so it is not XML: open a document first");
    if (!tree.modified)
        return tree.source;
    return Writer(tree).write();
}

} // namespace xml::detail
