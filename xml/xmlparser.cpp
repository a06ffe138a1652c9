#include "xmlparser.h"

#include "xmlexception.h"
#include "xmlnames.h"
#include "xmltree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace xml::detail {

namespace {

    using names::kAscii;

    // A refusal inside the parser: where (in the text being parsed) and what.
    struct ParseError {
        const char* at;
        std::string what;
    };

    // Byte classes for the scanning loops: one load per byte, non-ASCII bytes in no class.
    inline constexpr std::array<uint8_t, 256> kByte = [] {
        std::array<uint8_t, 256> table {};
        for (size_t c = 0; c < 128; ++c)
            table[c] = names::kAscii[c];
        return table;
    }();

    bool isSpace(char c) { return kByte[static_cast<unsigned char>(c)] & names::Space; }

    // The character a predefined entity stands for, or 0.
    char predefined(std::string_view name)
    {
        if (name == "lt")
            return '<';
        if (name == "gt")
            return '>';
        if (name == "amp")
            return '&';
        if (name == "quot")
            return '"';
        if (name == "apos")
            return '\'';
        return 0;
    }

    bool startsWith(const char* p, const char* end, std::string_view literal)
    {
        return size_t(end - p) >= literal.size() && std::memcmp(p, literal.data(), literal.size()) == 0;
    }

    // Decodes one character of UTF-8 that must be an XML Char; returns the byte after it, or null.
    const char* nextChar(const char* p, const char* end, char32_t& cp)
    {
        const auto b0 = static_cast<unsigned char>(p[0]);
        auto cont = [&](ptrdiff_t k, unsigned lo, unsigned hi) {
            if (end - p <= k)
                return false;
            const auto b = static_cast<unsigned char>(p[k]);
            return b >= lo && b <= hi;
        };
        if (b0 < 0x80) {
            cp = b0;
            return p + 1;
        }
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            if (!cont(1, 0x80, 0xBF))
                return nullptr;
            cp = char32_t(b0 & 0x1F) << 6 | (p[1] & 0x3F);
            return p + 2;
        }
        if (b0 >= 0xE0 && b0 <= 0xEF) {
            // No overlong forms (E0 A0..) and no surrogates (ED ..9F).
            if (!cont(1, b0 == 0xE0 ? 0xA0 : 0x80, b0 == 0xED ? 0x9F : 0xBF) || !cont(2, 0x80, 0xBF))
                return nullptr;
            cp = char32_t(b0 & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
            return cp == 0xFFFE || cp == 0xFFFF ? nullptr : p + 3;
        }
        if (b0 >= 0xF0 && b0 <= 0xF4) {
            if (!cont(1, b0 == 0xF0 ? 0x90 : 0x80, b0 == 0xF4 ? 0x8F : 0xBF) || !cont(2, 0x80, 0xBF)
                || !cont(3, 0x80, 0xBF))
                return nullptr;
            cp = char32_t(b0 & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
            return p + 4;
        }
        return nullptr;
    }

    // Skips plain ASCII bytes: stops at any of the `Stops`, any control byte and any non-ASCII byte, sixteen bytes
    // at a time where it can.
    template <char... Stops> const char* skipPlain(const char* p, const char* end)
    {
#ifdef __SSE2__
        const __m128i low = _mm_set1_epi8(0x20);
        while (end - p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            // Signed compare: bytes 0x80..0xFF count as negative, so they stop the scan with the control bytes.
            __m128i stop = _mm_cmplt_epi8(v, low);
            ((stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8(Stops)))), ...);
            if (const int mask = _mm_movemask_epi8(stop))
                return p + __builtin_ctz(unsigned(mask));
            p += 16;
        }
#endif
        while (p < end) {
            const auto b = static_cast<unsigned char>(*p);
            if (b < 0x20 || b >= 0x80 || ((b == static_cast<unsigned char>(Stops)) || ...))
                return p;
            ++p;
        }
        return p;
    }

    // Plain character data ends at markup, a reference, or a ']' that may begin "]]>".
    const char* skipPlainText(const char* p, const char* end) { return skipPlain<'<', '&', ']'>(p, end); }

    // A plain attribute value ends at either quote, '<' or a reference.
    const char* skipPlainValue(const char* p, const char* end) { return skipPlain<'"', '\'', '<', '&'>(p, end); }

    // An internal entity's replacement text, or the mark of an external or unparsed one.
    struct Entity {
        std::string text;
        bool external = false;
        bool unparsed = false;
        bool open = false; // being expanded: a reference to it now would recurse
    };

    // A non-UTF-8 file as UTF-8 text. Offsets in the text map back to the source through one checkpoint per
    // block of kBlock bytes: the source offset of the first character starting in the block, and how far in.
    struct Transcoded {
        static constexpr size_t kBlock = 16;

        std::unique_ptr<char[]> text; // followed by a NUL byte, as the scanners need
        size_t size = 0;
        std::vector<uint32_t> blockSource;
        std::vector<uint8_t> blockSkip;
        bool wide = false; // UTF-16: two source bytes a character, four for a pair of surrogates

        uint32_t sourceOffset(uint32_t at) const
        {
            const size_t block = at / kBlock;
            const uint32_t unit = wide ? 2 : 1;
            uint32_t source = blockSource[block];
            // Each character's lead byte counts one unit, a four-byte lead (a surrogate pair) one more.
            for (size_t p = block * kBlock + blockSkip[block]; p < at; ++p) {
                const auto b = static_cast<unsigned char>(text[p]);
                source += unit * (uint32_t((b & 0xC0) != 0x80) + uint32_t(b >= 0xF0));
            }
            return source;
        }
    };

    class Parser {
    public:
        Parser(Tree& tree, const char* begin, const char* end, bool shareSource)
            : m_tree(tree)
            , m_doc(begin)
            , m_docEnd(end)
            , m_share(shareSource)
            , m_p(begin)
            , m_end(end)
            , m_expansionLimit((size_t(4) << 20) + size_t(end - begin) * 16)
        {
            m_levels.emplace_back();
            m_nameSlots.resize(size_t(1) << (64 - m_nameShift));
        }

        void parse(const char* from)
        {
            m_p = from;
            xmlDeclaration();
            prolog();
            content();
            epilog();
        }

        [[noreturn]] void fail(const char* at, std::string what) const
        {
            // Inside an entity's replacement text, the reference in the document is the place to show.
            if (!inDocument(at))
                at = m_outerRef ? m_outerRef : m_doc;
            throw ParseError { at, std::move(what) };
        }

    private:
        struct Level {
            std::vector<Node*> children;
            uint32_t prevEnd = 0;
        };

        struct Open {
            Element* element;
            std::string_view name;
            size_t frames; // entity expansions open when it started: it must end in the same one
        };

        struct Frame {
            const char* resume;
            const char* resumeEnd;
            Entity* entity;
            size_t openElements;
        };

        struct PendingAttr {
            uint32_t name;
            Str value;
        };

        struct NameSlot {
            const char* data = nullptr;
            uint64_t head = 0;
            uint32_t size = 0;
            uint32_t id = 0;
        };

        // ---- positions and events ----

        uint32_t pos(const char* q) const { return uint32_t(q - m_doc); }
        bool inDocument(const char* q) const
        {
            return std::less_equal<const char*>()(m_doc, q) && std::less_equal<const char*>()(q, m_docEnd);
        }
        bool expanding() const { return !m_frames.empty(); }
        // Inside an entity's replacement text every node lies at the outermost reference, as the tree expects.
        uint32_t eventStart(const char* q) const { return expanding() ? m_refStart : pos(q); }
        uint32_t eventEnd(const char* q) const { return expanding() ? m_refEnd : pos(q); }
        Level& level() { return m_levels[m_open.size()]; }

        // ---- low-level scanning ----

        // The NUL byte after every text parsed never matches c.
        void expect(char c, const char* what)
        {
            if (*m_p != c || m_p >= m_end) [[unlikely]]
                failExpected(what);
            ++m_p;
        }

        [[noreturn]] void failExpected(const char* what) const { fail(m_p, std::string("expected ") + what); }

        void expectLiteral(std::string_view literal)
        {
            if (!startsWith(m_p, m_end, literal))
                fail(m_p, "expected \"" + std::string(literal) + "\"");
            m_p += literal.size();
        }

        bool skipSpace()
        {
            const char* from = m_p;
            while (isSpace(*m_p))
                ++m_p;
            return m_p != from;
        }

        void requireSpace()
        {
            if (!skipSpace())
                fail(m_p, "expected white space");
        }

        // A Name at the cursor; refuses anything else. ASCII names take the inline path.
        [[gnu::always_inline]] std::string_view name()
        {
            const char* start = m_p;
            const char* p = m_p;
            if (kByte[static_cast<unsigned char>(*p)] & names::NameStart) [[likely]] {
                // Every text parsed ends with a NUL byte (QByteArray and std::string keep one), which ends a name.
                do
                    ++p;
                while (kByte[static_cast<unsigned char>(*p)] & names::NameChar);
                if (static_cast<unsigned char>(*p) < 0x80) [[likely]] {
                    m_p = p;
                    return { start, size_t(p - start) };
                }
            }
            return nameFrom(start, p);
        }

        // The rest of a name with characters beyond ASCII, from p; start is where it began.
        [[gnu::noinline]] std::string_view nameFrom(const char* start, const char* p)
        {
            if (p == start) {
                char32_t cp = 0;
                const char* next = p < m_end ? nextChar(p, m_end, cp) : nullptr;
                if (!next || cp < 0x80 || !names::IsNameStart(cp))
                    fail(p, p < m_end ? "expected a name" : "unexpected end of file, expected a name");
                p = next;
            }
            for (;;) {
                const auto c = static_cast<unsigned char>(*p);
                if (c < 0x80) {
                    if (!(kAscii[c] & names::NameChar))
                        break;
                    ++p;
                    continue;
                }
                if (p >= m_end)
                    break;
                char32_t cp = 0;
                const char* next = nextChar(p, m_end, cp);
                if (!next)
                    fail(p, "invalid character");
                if (!names::IsNameChar(cp))
                    break;
                p = next;
            }
            m_p = p;
            return { start, size_t(p - start) };
        }

        // The name's id in the tree, through a small open-addressing cache in front of the tree's table.
        // Most names are short: their first eight bytes, as one number, hash them and mostly compare them.
        [[gnu::always_inline]] uint32_t intern(std::string_view text)
        {
            uint64_t head = 0;
            if (m_end - text.data() >= 8) [[likely]] {
                // One load, the bytes after the name masked off (little-endian: they are the high ones).
                std::memcpy(&head, text.data(), 8);
                if (text.size() < 8)
                    head &= (uint64_t(1) << (8 * text.size())) - 1;
            } else {
                std::memcpy(&head, text.data(), std::min<size_t>(text.size(), 8));
            }
            const size_t i = slotOf(nameHash(head, text));
            const NameSlot& slot = m_nameSlots[i];
            if (slot.head == head && slot.size == text.size() && slot.data
                && (text.size() <= 8 || std::memcmp(slot.data + 8, text.data() + 8, text.size() - 8) == 0)) [[likely]]
                return slot.id;
            return internFrom(i, head, text);
        }

        // Probes on from slot i, adding the name when it is new.
        [[gnu::noinline]] uint32_t internFrom(size_t i, uint64_t head, std::string_view text)
        {
            const size_t mask = m_nameSlots.size() - 1;
            for (;; i = (i + 1) & mask) {
                NameSlot& slot = m_nameSlots[i];
                if (!slot.data) {
                    const uint32_t id = m_tree.intern(text);
                    const std::string_view kept = m_tree.nameOf(id);
                    slot = { kept.data(), head, uint32_t(kept.size()), id };
                    if (++m_nameCount * 2 > m_nameSlots.size())
                        growNames();
                    return id;
                }
                if (slot.head == head && slot.size == text.size()
                    && (text.size() <= 8 || std::memcmp(slot.data + 8, text.data() + 8, text.size() - 8) == 0))
                    return slot.id;
            }
        }

        // Seeded anew in each process, so that a file cannot be made of names that all land in one slot.
        static uint64_t nameHash(uint64_t head, std::string_view text)
        {
            static const uint64_t seed = std::random_device {}() | uint64_t(std::random_device {}()) << 32;
            uint64_t h = (head ^ text.size() ^ seed) * 0x9E3779B97F4A7C15ull;
            for (size_t i = 8; i < text.size(); ++i)
                h = (h ^ static_cast<unsigned char>(text[i])) * 0x100000001B3ull;
            h ^= h >> 31; // every bit into the high ones, which pick the slot
            return h * 0xBF58476D1CE4E5B9ull;
        }

        // The slot of a hash: its highest bits, as many as the table's size needs.
        size_t slotOf(uint64_t hash) const { return size_t(hash >> m_nameShift); }

        void growNames()
        {
            std::vector<NameSlot> old(m_nameSlots.size() * 2);
            old.swap(m_nameSlots);
            --m_nameShift;
            const size_t mask = m_nameSlots.size() - 1;
            for (const NameSlot& slot : old) {
                if (!slot.data)
                    continue;
                size_t i = slotOf(nameHash(slot.head, { slot.data, slot.size }));
                while (m_nameSlots[i].data)
                    i = (i + 1) & mask;
                m_nameSlots[i] = slot;
            }
        }

        // Checks the characters of [from, to) and says whether a CR (to be read as a line end) is among them.
        bool checkChars(const char* from, const char* to)
        {
            bool cr = false;
            for (const char* p = from; p < to;) {
                const auto b = static_cast<unsigned char>(*p);
                if (b >= 0x20 && b < 0x80) {
                    ++p;
                } else if (b == '\n' || b == '\t') {
                    ++p;
                } else if (b == '\r') {
                    cr = true;
                    ++p;
                } else {
                    char32_t cp = 0;
                    const char* next = b >= 0x80 ? nextChar(p, to, cp) : nullptr;
                    if (!next)
                        fail(p, "invalid character");
                    p = next;
                }
            }
            return cr && !expanding();
        }

        // Line ends as the parser reports them: CR LF and lone CR become LF.
        static void normalizeLineEnds(const char* from, const char* to, std::string& out)
        {
            out.clear();
            for (const char* p = from; p < to; ++p) {
                if (*p == '\r') {
                    out += '\n';
                    if (p + 1 < to && p[1] == '\n')
                        ++p;
                } else {
                    out += *p;
                }
            }
        }

        // A leaf's value: shared with the source when it is the raw UTF-8 text, otherwise copied to the arena.
        Str keep(const char* from, const char* to, bool cr)
        {
            if (cr) {
                normalizeLineEnds(from, to, m_scratch);
                return m_tree.arena.copy(m_scratch);
            }
            if (m_share && !expanding())
                return { from, uint32_t(to - from) };
            return m_tree.arena.copy({ from, size_t(to - from) });
        }

        // A character reference at the cursor ("&#"); returns its character.
        char32_t charRef()
        {
            const char* start = m_p;
            m_p += 2;
            const bool hex = m_p < m_end && *m_p == 'x';
            if (hex)
                ++m_p;
            char32_t value = 0;
            const char* digits = m_p;
            for (; m_p < m_end; ++m_p) {
                const char c = *m_p;
                int d;
                if (c >= '0' && c <= '9')
                    d = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    d = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    d = c - 'A' + 10;
                else
                    break;
                value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(d), 0x110000);
            }
            if (m_p == digits)
                fail(m_p, "expected digits of a character reference");
            expect(';', "\";\" after a character reference");
            if (!names::IsChar(value))
                fail(start, "character reference to a character XML does not allow");
            return value;
        }

        // Undeclared entities are errors unless declarations may have been skipped (an external subset
        // or a parameter entity reference) in a document that is not standalone.
        bool processing() const { return m_processDeclarations && m_peDepth == 0; }

        bool declarationsComplete() const { return m_standalone || (!m_externalSubset && !m_peReferences); }

        void countExpansion(const Entity& e, const char* at)
        {
            m_expanded += e.text.size() + 1;
            if (m_expanded > m_expansionLimit)
                fail(at, "entity expansion exceeds the limit");
        }

        // ---- the XML declaration and the prolog ----

        void xmlDeclaration()
        {
            if (!startsWith(m_p, m_end, "<?xml") || m_end - m_p < 6 || !isSpace(m_p[5]))
                return;
            m_p += 5;
            requireSpace();
            expectLiteral("version");
            const std::string_view version = pseudoAttribute();
            bool digits = version.size() > 2 && version.substr(0, 2) == "1.";
            for (size_t i = 2; digits && i < version.size(); ++i)
                digits = version[i] >= '0' && version[i] <= '9';
            if (!digits)
                fail(m_p - 1 - version.size(), "the version must be 1.x");
            bool spaced = skipSpace();
            if (spaced && startsWith(m_p, m_end, "encoding")) {
                m_p += 8;
                const std::string_view encoding = pseudoAttribute();
                bool valid = !encoding.empty()
                    && ((encoding[0] >= 'A' && encoding[0] <= 'Z') || (encoding[0] >= 'a' && encoding[0] <= 'z'));
                for (char c : encoding) {
                    const auto b = static_cast<unsigned char>(c);
                    valid = valid && b < 0x80 && (kAscii[b] & names::NameChar) && c != ':';
                }
                if (!valid)
                    fail(m_p - 1 - encoding.size(), "invalid encoding name");
                // The file was read in the encoding found from its first bytes; the declaration must name that one.
                if (!NamesEncoding(encoding, m_tree.encoding.encoding))
                    fail(m_p - 1 - encoding.size(),
                        "the file is " + EncodingLabel(m_tree.encoding.encoding).toStdString()
                            + " but declares the encoding " + std::string(encoding));
                spaced = skipSpace();
            }
            if (spaced && startsWith(m_p, m_end, "standalone")) {
                m_p += 10;
                const std::string_view standalone = pseudoAttribute();
                if (standalone != "yes" && standalone != "no")
                    fail(m_p - 1 - standalone.size(), "standalone must be \"yes\" or \"no\"");
                m_standalone = standalone == "yes";
                skipSpace();
            }
            expectLiteral("?>");
        }

        std::string_view pseudoAttribute()
        {
            skipSpace();
            expect('=', "\"=\"");
            skipSpace();
            if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
                fail(m_p, "expected a quoted value");
            const char quote = *m_p++;
            const char* start = m_p;
            while (m_p < m_end && *m_p != quote && *m_p != '<' && *m_p != '?')
                ++m_p;
            const std::string_view value(start, size_t(m_p - start));
            expect(quote, "the closing quote");
            return value;
        }

        void prolog()
        {
            bool doctype = false;
            for (;;) {
                skipSpace();
                if (m_p >= m_end)
                    fail(m_p, "no document element");
                if (startsWith(m_p, m_end, "<!--")) {
                    comment(false);
                } else if (startsWith(m_p, m_end, "<?")) {
                    processingInstruction(false);
                } else if (startsWith(m_p, m_end, "<!DOCTYPE")) {
                    if (doctype)
                        fail(m_p, "a second document type declaration");
                    doctype = true;
                    doctypeDeclaration();
                } else if (*m_p == '<' && m_p + 1 < m_end && m_p[1] != '!' && m_p[1] != '?' && m_p[1] != '/') {
                    return;
                } else {
                    fail(m_p, "expected the document element");
                }
            }
        }

        void epilog()
        {
            for (;;) {
                skipSpace();
                if (m_p >= m_end)
                    return;
                if (startsWith(m_p, m_end, "<!--"))
                    comment(false);
                else if (startsWith(m_p, m_end, "<?"))
                    processingInstruction(false);
                else
                    fail(m_p, "junk after the document element");
            }
        }

        // ---- content ----

        void content()
        {
            for (;;) {
                if (m_p >= m_end) {
                    if (!expanding())
                        fail(m_p,
                            "unexpected end of file: element \"" + std::string(m_open.back().name)
                                + "\" is not closed");
                    endExpansion();
                    continue;
                }
                const char c = *m_p;
                if (c == '<') {
                    const char next = m_p + 1 < m_end ? m_p[1] : '\0';
                    if (next == '/') {
                        endTag();
                        if (m_open.empty())
                            return;
                    } else if (next == '?') {
                        processingInstruction(true);
                    } else if (next == '!') {
                        if (startsWith(m_p, m_end, "<!--"))
                            comment(true);
                        else if (startsWith(m_p, m_end, "<![CDATA["))
                            cdata();
                        else
                            fail(m_p, "unexpected \"<!\"");
                    } else {
                        if (startTag())
                            return; // an empty document element
                    }
                } else if (c == '&') {
                    reference();
                } else if (!m_textStarted && isSpace(c)) {
                    // Formatting between markup, the commonest text of all: no run, no node.
                    const char* p = m_p + 1;
                    while (isSpace(*p))
                        ++p;
                    if (*p == '<' && p < m_end)
                        m_p = p;
                    else
                        text();
                } else {
                    text();
                }
            }
        }

        void text()
        {
            const char* start = m_p;
            const char* p = m_p;
            bool cr = false;
            for (;;) {
                p = skipPlainText(p, m_end);
                if (p >= m_end)
                    break;
                const auto b = static_cast<unsigned char>(*p);
                if (b == '<' || b == '&')
                    break;
                if (b == ']') {
                    if (startsWith(p, m_end, "]]>"))
                        fail(p, "\"]]>\" in text");
                    ++p;
                } else if (b == '\n' || b == '\t') {
                    ++p;
                } else if (b == '\r') {
                    cr = cr || !expanding();
                    ++p;
                } else {
                    char32_t cp = 0;
                    const char* next = b >= 0x80 ? nextChar(p, m_end, cp) : nullptr;
                    if (!next)
                        fail(p, "invalid character");
                    p = next;
                }
            }
            m_p = p;
            if (cr) {
                normalizeLineEnds(start, p, m_crText);
                addText(m_crText.data(), m_crText.size(), eventStart(start), eventEnd(p), false);
                m_textAsWritten = false;
            } else {
                addText(start, size_t(p - start), eventStart(start), eventEnd(p), m_share && !expanding());
            }
        }

        void reference()
        {
            const char* start = m_p;
            if (m_p + 1 < m_end && m_p[1] == '#') {
                const char32_t c = charRef();
                m_charText.clear();
                AppendUtf8(m_charText, c);
                addText(m_charText.data(), m_charText.size(), eventStart(start), eventEnd(m_p), false, true);
                return;
            }
            ++m_p;
            const std::string_view entityName = name();
            expect(';', "\";\" after an entity name");
            if (const char c = predefined(entityName)) {
                addText(&c, 1, eventStart(start), eventEnd(m_p), false, true);
                return;
            }
            m_textAsWritten = false; // the run may go on past this reference: its text is no longer what is written
            Entity* e = findEntity(m_general, entityName);
            if (!e) {
                if (declarationsComplete())
                    fail(start + 1, "undefined entity \"" + std::string(entityName) + "\"");
                coverInText(m_p);
                return; // its declaration may be in what was not read: nothing to show
            }
            if (e->unparsed)
                fail(start + 1, "reference to the unparsed entity \"" + std::string(entityName) + "\"");
            if (e->external) {
                coverInText(m_p);
                return; // external parsed entities are not read
            }
            if (e->open)
                fail(start + 1, "recursive reference to the entity \"" + std::string(entityName) + "\"");
            countExpansion(*e, start);
            if (!expanding()) {
                m_outerRef = start;
                m_refStart = pos(start);
                m_refEnd = pos(m_p);
            }
            m_frames.push_back({ m_p, m_end, e, m_open.size() });
            e->open = true;
            m_p = e->text.data();
            m_end = m_p + e->text.size();
        }

        // A reference that adds nothing to the run of text it stands in belongs to that text all the same: the
        // text's span covers it, so that writing the text anew after an edit does not drop it.
        void coverInText(const char* end)
        {
            if (m_textStarted && !m_textExpanded && !expanding())
                m_textEnd = eventEnd(end);
        }

        void endExpansion()
        {
            const Frame frame = m_frames.back();
            if (m_open.size() != frame.openElements)
                fail(m_p, "an element in an entity's text does not end in it");
            m_frames.pop_back();
            frame.entity->open = false;
            m_p = frame.resume;
            m_end = frame.resumeEnd;
            coverInText(m_p);
        }

        // Reads a start tag; true when it was the document element's and it is empty.
        bool startTag()
        {
            const char* start = m_p;
            ++m_p;
            const std::string_view elementName = name();
            const uint32_t elementId = intern(elementName);
            m_attrs.clear();
            ++m_tagSerial;
            bool empty = false;
            for (;;) {
                const bool spaced = skipSpace();
                if (m_p >= m_end)
                    fail(m_p, "unexpected end of file in a start tag");
                if (*m_p == '>') {
                    ++m_p;
                    break;
                }
                if (*m_p == '/') {
                    ++m_p;
                    expect('>', "\">\" after \"/\"");
                    empty = true;
                    break;
                }
                if (!spaced)
                    fail(m_p, "expected white space before an attribute");
                attribute(elementId);
            }
            flushText();
            // Plain values as written in a UTF-8 source are read from the tag again when asked, so they cost no
            // memory; any other attributes are rows right after the element, in the same allocation.
            const auto count = uint32_t(m_attrs.size());
            const bool inTag = count && std::all_of(m_attrs.begin(), m_attrs.end(), [&](const PendingAttr& a) {
                return std::less_equal<const char*>()(m_doc, a.value.data)
                    && std::less<const char*>()(a.value.data, m_docEnd);
            });
            Element* e = nullptr;
            if (count && !inTag) {
                char* block = static_cast<char*>(m_tree.arena.allocate(
                    sizeof(Element) + sizeof(uint32_t) + count * sizeof(RowAttr), alignof(RowAttr)));
                e = new (block) Element();
                e->layout = AttrRows;
                e->rowCount() = count;
                RowAttr* rows = e->rows();
                for (uint32_t i = 0; i < count; ++i)
                    rows[i] = { m_attrs[i].value.data, m_attrs[i].name, m_attrs[i].value.size };
            } else {
                e = m_tree.arena.make<Element>();
                e->layout = inTag ? AttrsInTag : 0;
            }
            e->kind = Kind::Element;
            e->name = elementId;
            e->flags = Original | (expanding() ? Expanded : 0);
            e->start = eventStart(start);
            e->tagEnd = eventEnd(m_p);
            e->leadStart = level().prevEnd;
            // Set now, while the node is in the cache: a wide parent would otherwise revisit every child at its end.
            e->parent = m_open.empty() ? nullptr : m_open.back().element;
            m_open.push_back({ e, elementName, m_frames.size() });
            if (m_open.size() >= m_levels.size())
                m_levels.emplace_back();
            Level& inner = m_levels[m_open.size()];
            inner.children.clear();
            inner.prevEnd = e->tagEnd;
            if (!empty)
                return false;
            endElement(m_p, m_p);
            return m_open.empty();
        }

        void attribute(uint32_t elementId)
        {
            const char* at = m_p;
            const uint32_t id = intern(name());
            if (id >= m_attrSeen.size())
                m_attrSeen.resize(id + 64, 0);
            if (m_attrSeen[id] == m_tagSerial)
                fail(at, "the attribute \"" + std::string(m_tree.nameOf(id)) + "\" is given twice");
            m_attrSeen[id] = m_tagSerial;
            skipSpace();
            expect('=', "\"=\" after an attribute name");
            skipSpace();
            if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
                fail(m_p, "expected a quoted attribute value");
            const char quote = *m_p++;
            const char* start = m_p;
            const char* p = m_p;
            for (;;) {
                p = skipPlainValue(p, m_end);
                if (p >= m_end)
                    break;
                const auto b = static_cast<unsigned char>(*p);
                if (b == (quote == '"' ? '\'' : '"')) {
                    ++p;
                } else if (b >= 0x80) {
                    char32_t cp = 0;
                    const char* next = nextChar(p, m_end, cp);
                    if (!next)
                        fail(p, "invalid character");
                    p = next;
                } else {
                    break;
                }
            }
            Str value;
            if (p < m_end && *p == quote) {
                value = m_share && !expanding() ? Str { start, uint32_t(p - start) }
                                                : m_tree.arena.copy({ start, size_t(p - start) });
                m_p = p + 1;
            } else {
                m_value.assign(start, size_t(p - start));
                m_p = p;
                attributeValueRest(quote, m_value);
                value = m_tree.arena.copy(m_value);
            }
            if (m_tree.collapsesSpaces(elementId, id)) {
                const std::string_view raw = value.view();
                std::string tokens = collapseSpaces(raw);
                if (tokens != raw)
                    value = m_tree.arena.copy(tokens);
            }
            m_attrs.push_back({ id, value });
        }

        static std::string collapseSpaces(std::string_view text)
        {
            std::string out;
            for (char c : text)
                if (c != ' ' || (!out.empty() && out.back() != ' '))
                    out += c;
            if (!out.empty() && out.back() == ' ')
                out.pop_back();
            return out;
        }

        // The rest of an attribute value from the cursor to its closing quote, normalised into out.
        void attributeValueRest(char quote, std::string& out)
        {
            for (;;) {
                if (m_p >= m_end)
                    fail(m_p, "unexpected end of file in an attribute value");
                const auto b = static_cast<unsigned char>(*m_p);
                if (b == static_cast<unsigned char>(quote)) {
                    ++m_p;
                    return;
                }
                if (b == '<')
                    fail(m_p, "\"<\" in an attribute value");
                if (b == '&') {
                    appendReferenceInValue(out);
                } else if (b == '\r') {
                    out += ' ';
                    m_p += m_p + 1 < m_end && m_p[1] == '\n' && !expanding() ? 2 : 1;
                } else if (b == '\n' || b == '\t') {
                    out += ' ';
                    ++m_p;
                } else if (b < 0x80) {
                    if (b < 0x20)
                        fail(m_p, "invalid character");
                    out += char(b);
                    ++m_p;
                } else {
                    char32_t cp = 0;
                    const char* next = nextChar(m_p, m_end, cp);
                    if (!next)
                        fail(m_p, "invalid character");
                    out.append(m_p, size_t(next - m_p));
                    m_p = next;
                }
            }
        }

        // A reference inside an attribute value (or a default value): its text, normalised, is appended.
        void appendReferenceInValue(std::string& out)
        {
            const char* start = m_p;
            if (m_p + 1 < m_end && m_p[1] == '#') {
                AppendUtf8(out, charRef());
                return;
            }
            ++m_p;
            const std::string_view entityName = name();
            expect(';', "\";\" after an entity name");
            if (const char c = predefined(entityName)) {
                out += c;
                return;
            }
            Entity* e = findEntity(m_general, entityName);
            if (!e) {
                if (declarationsComplete())
                    fail(start + 1, "undefined entity \"" + std::string(entityName) + "\"");
                return;
            }
            if (e->unparsed || e->external)
                fail(start + 1, "reference to the external entity \"" + std::string(entityName) + "\" in a value");
            if (inDocument(start))
                m_outerRef = start;
            expandInValue(e, out);
        }

        // An entity's text inside a value, with the references in it, without recursion on their depth.
        void expandInValue(Entity* top, std::string& out)
        {
            struct Step {
                Entity* entity;
                size_t offset;
            };
            if (top->open)
                fail(m_p, "recursive entity reference");
            const char* savedP = m_p;
            const char* savedEnd = m_end;
            std::vector<Step> steps { { top, 0 } };
            top->open = true;
            countExpansion(*top, m_p);
            while (!steps.empty()) {
                Step& step = steps.back();
                const std::string& text = step.entity->text;
                if (step.offset >= text.size()) {
                    step.entity->open = false;
                    steps.pop_back();
                    continue;
                }
                const char c = text[step.offset];
                if (c == '<')
                    fail(m_outerRef, "\"<\" in an attribute value, from an entity");
                if (c != '&') {
                    out += isSpace(c) ? ' ' : c;
                    ++step.offset;
                    continue;
                }
                // A reference in the replacement text: read it with the cursor on that text.
                m_p = text.data() + step.offset;
                m_end = text.data() + text.size();
                Entity* inner = nullptr;
                if (m_p[1] == '#') {
                    AppendUtf8(out, charRef());
                } else {
                    ++m_p;
                    const std::string_view refName = name();
                    expect(';', "\";\" after an entity name");
                    if (const char p = predefined(refName))
                        out += p;
                    else if (!(inner = findEntity(m_general, refName)) && declarationsComplete())
                        fail(m_p, "undefined entity \"" + std::string(refName) + "\"");
                }
                step.offset = size_t(m_p - text.data());
                if (inner) {
                    if (inner->unparsed || inner->external)
                        fail(m_p, "reference to an external entity in a value");
                    if (inner->open)
                        fail(m_p, "recursive entity reference");
                    countExpansion(*inner, m_p);
                    inner->open = true;
                    steps.push_back({ inner, 0 });
                }
            }
            m_p = savedP;
            m_end = savedEnd;
        }

        void endTag()
        {
            const char* start = m_p;
            m_p += 2;
            const char* nameAt = m_p;
            const Open& open = m_open.back();
            // Mostly the name is the one expected: compare its bytes, then see that the name ends there.
            const size_t size = open.name.size();
            std::string_view endName;
            const auto after = size_t(m_end - m_p) > size ? static_cast<unsigned char>(m_p[size]) : 0x100u;
            if (after < 0x80 && !(kAscii[after] & names::NameChar) && std::memcmp(m_p, open.name.data(), size) == 0) {
                endName = open.name;
                m_p += size;
            } else {
                endName = name();
            }
            skipSpace();
            expect('>', "\">\" to close the end tag");
            if ((endName.data() != open.name.data() && endName != open.name) || open.frames != m_frames.size())
                fail(
                    nameAt, "mismatched tag: \"" + std::string(endName) + "\" ends \"" + std::string(open.name) + "\"");
            flushText();
            endElement(start, m_p);
        }

        void endElement(const char* closeStart, const char* closeEnd)
        {
            Element* e = m_open.back().element;
            Level& inner = level();
            if (e->has(Expanded) || closeStart == closeEnd) {
                if (!e->has(Expanded))
                    e->flags |= SelfClosing;
                e->closeStart = e->end = e->trailStart = e->tagEnd;
            } else {
                e->closeStart = pos(closeStart);
                e->end = pos(closeEnd);
                e->trailStart = inner.prevEnd;
            }
            if (!inner.children.empty()) {
                const auto n = uint32_t(inner.children.size());
                auto* children
                    = static_cast<Ref<Node>*>(m_tree.arena.allocate(sizeof(Ref<Node>) * n, alignof(Ref<Node>)));
                for (uint32_t i = 0; i < n; ++i)
                    children[i] = inner.children[i];
                e->children = children;
                e->childCount = n;
            }
            m_open.pop_back();
            if (m_open.empty()) {
                m_tree.documentElement = e;
            } else {
                placeExpanded(e, e->start, e->tagEnd);
                addChild(e);
            }
        }

        // A comment; a node only inside the document element.
        // The first place from p on where `first` is followed by `second`, or null when there is none.
        const char* findPair(const char* p, char first, char second) const
        {
            for (;; ++p) {
                p = static_cast<const char*>(std::memchr(p, first, size_t(m_end - p)));
                if (!p || m_end - p < 2)
                    return nullptr;
                if (p[1] == second)
                    return p;
            }
        }

        void comment(bool inContent)
        {
            const char* start = m_p;
            m_p += 4;
            const char* from = m_p;
            const char* p = findPair(m_p, '-', '-');
            if (!p)
                fail(start, "unterminated comment");
            if (m_end - p < 3 || p[2] != '>')
                fail(p, "\"--\" in a comment");
            const bool cr = checkChars(from, p);
            m_p = p + 3;
            if (!inContent)
                return;
            flushText();
            addLeaf(Kind::Comment, 0, keep(from, p, cr), eventStart(start), eventEnd(m_p));
        }

        void processingInstruction(bool inContent)
        {
            const char* start = m_p;
            m_p += 2;
            const char* targetAt = m_p;
            const std::string_view target = name();
            if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm'
                && (target[2] | 0x20) == 'l')
                fail(targetAt, "a processing instruction cannot be named \"" + std::string(target) + "\"");
            const char* from = m_p;
            if (!startsWith(m_p, m_end, "?>")) {
                requireSpace();
                from = m_p;
            }
            const char* p = findPair(m_p, '?', '>');
            if (!p)
                fail(start, "unterminated processing instruction");
            const bool cr = checkChars(from, p);
            m_p = p + 2;
            if (!inContent)
                return;
            flushText();
            addLeaf(Kind::ProcessingInstruction, intern(target), keep(from, p, cr), eventStart(start), eventEnd(m_p));
        }

        void cdata()
        {
            const char* start = m_p;
            m_p += 9;
            const char* from = m_p;
            const char* p = m_p;
            for (;;) {
                p = static_cast<const char*>(std::memchr(p, ']', size_t(m_end - p)));
                if (!p)
                    fail(start, "unterminated CDATA section");
                if (startsWith(p, m_end, "]]>"))
                    break;
                ++p;
            }
            const bool cr = checkChars(from, p);
            m_p = p + 3;
            flushText();
            addLeaf(Kind::CData, 0, keep(from, p, cr), eventStart(start), eventEnd(m_p));
        }

        // ---- building the tree ----

        void addChild(Node* n)
        {
            Level& l = level();
            l.children.push_back(n);
            l.prevEnd = n->end;
        }

        void addLeaf(Kind kind, uint32_t name, Str value, uint32_t start, uint32_t end)
        {
            Leaf* leaf = m_tree.newParsedLeaf(kind, start, end, value);
            leaf->name = name;
            leaf->flags = Original | (expanding() ? Expanded : 0);
            leaf->start = start;
            leaf->end = end;
            leaf->leadStart = level().prevEnd;
            leaf->parent = m_open.back().element;
            placeExpanded(leaf, start, end);
            addChild(leaf);
        }

        // The nodes of one reference, seen from outside it: the first stands for the reference's
        // bytes, the others for nothing, so that the reference is written once.
        void placeExpanded(Node* n, uint32_t refStart, uint32_t refEnd)
        {
            if (!n->has(Expanded) || (!m_open.empty() && m_open.back().element->has(Expanded)))
                return;
            if (m_placedRef == refStart) {
                n->leadStart = n->start = n->end = refEnd;
            } else {
                n->start = refStart;
                n->end = refEnd;
                m_placedRef = refStart;
            }
        }

        // Character data joins the run of text; a run from an entity and one from the document stay apart.
        // Referenced data (a character or entity reference) is content even when it is white space.
        void addText(const char* data, size_t size, uint32_t start, uint32_t end, bool shared, bool referenced = false)
        {
            if (size == 0)
                return;
            const bool expanded = expanding();
            if (m_textStarted && expanded != m_textExpanded)
                flushText(true);
            if (!m_textStarted) {
                m_textStarted = true;
                m_textReferenced = false;
                m_textExpanded = expanded;
                m_textStart = start;
                m_textShared = shared;
                m_textAsWritten = !expanded;
                if (shared) {
                    m_textData = data;
                    m_textSize = size;
                } else {
                    m_text.assign(data, size);
                }
            } else {
                if (m_textShared) {
                    m_text.assign(m_textData, m_textSize);
                    m_textShared = false;
                }
                m_text.append(data, size);
            }
            m_textEnd = end;
            m_textReferenced = m_textReferenced || referenced || expanded;
        }

        // Ends the run of character data: white space between markup is formatting, anything else a text node.
        // White space beside text (an entity's text before or after it) is part of that text.
        void flushText(bool textFollows = false)
        {
            if (!m_textStarted)
                return;
            m_textStarted = false;
            const std::string_view value = m_textShared ? std::string_view(m_textData, m_textSize) : m_text;
            if (IsXmlWhiteSpace(value) && !m_textReferenced && !textFollows && !textBefore())
                return;
            Leaf* leaf = nullptr;
            if (m_textShared) {
                leaf = m_tree.newParsedLeaf(Kind::Text, m_textStart, m_textEnd, { m_textData, uint32_t(m_textSize) });
            } else if (m_share && m_textAsWritten) {
                // Only predefined and character references: kept as written, decoded when asked.
                leaf = m_tree.newParsedLeaf(
                    Kind::Text, m_textStart, m_textEnd, { m_doc + m_textStart, m_textEnd - m_textStart });
                leaf->layout |= RawValue;
            } else {
                leaf = m_tree.newParsedLeaf(Kind::Text, m_textStart, m_textEnd, m_tree.arena.copy(value));
            }
            leaf->flags = Original | (m_textExpanded ? Expanded : 0);
            leaf->start = m_textStart;
            leaf->end = m_textEnd;
            leaf->leadStart = level().prevEnd;
            leaf->parent = m_open.back().element;
            placeExpanded(leaf, m_textStart, m_textEnd);
            addChild(leaf);
        }

        // The run of character data being ended follows a text node directly.
        bool textBefore()
        {
            const std::vector<Node*>& children = level().children;
            return !children.empty() && children.back()->kind == Kind::Text && children.back()->end == m_textStart;
        }

        // ---- the document type declaration ----

        static Entity* findEntity(std::unordered_map<std::string, Entity>& table, std::string_view name)
        {
            const auto it = table.find(std::string(name));
            return it == table.end() ? nullptr : &it->second;
        }

        void doctypeDeclaration()
        {
            m_p += 9;
            requireSpace();
            name();
            const bool spaced = skipSpace();
            if (spaced && (startsWith(m_p, m_end, "SYSTEM") || startsWith(m_p, m_end, "PUBLIC"))) {
                externalId(false);
                m_externalSubset = true;
                skipSpace();
            }
            if (m_p < m_end && *m_p == '[') {
                ++m_p;
                internalSubset(0);
                expect(']', "\"]\" to end the internal subset");
                skipSpace();
            }
            expect('>', "\">\" to end the document type declaration");
        }

        // The declarations of the internal subset, or of an internal parameter entity's text (depth > 0).
        void internalSubset(int depth)
        {
            for (;;) {
                skipSpace();
                if (m_p >= m_end) {
                    if (depth > 0)
                        return;
                    fail(m_p, "unexpected end of file in the document type declaration");
                }
                const char c = *m_p;
                if (c == ']' && depth == 0)
                    return;
                if (c == '%') {
                    parameterReference(depth);
                } else if (startsWith(m_p, m_end, "<!--")) {
                    comment(false);
                } else if (startsWith(m_p, m_end, "<?")) {
                    processingInstruction(false);
                } else if (startsWith(m_p, m_end, "<!ELEMENT")) {
                    elementDeclaration();
                } else if (startsWith(m_p, m_end, "<!ATTLIST")) {
                    attributeListDeclaration();
                } else if (startsWith(m_p, m_end, "<!ENTITY")) {
                    entityDeclaration();
                } else if (startsWith(m_p, m_end, "<!NOTATION")) {
                    notationDeclaration();
                } else {
                    fail(m_p, "expected a markup declaration");
                }
            }
        }

        void parameterReference(int depth)
        {
            const char* start = m_p;
            ++m_p;
            const std::string_view peName = name();
            expect(';', "\";\" after a parameter entity name");
            m_peReferences = true;
            // As with expat, the program's reference until now, declarations from a parameter entity's text
            // and after it are checked but not used (except in a standalone document, after it).
            m_processDeclarations = m_processDeclarations && m_standalone;
            Entity* e = findEntity(m_parameters, peName);
            if (!e || e->external)
                return;
            if (depth == 0)
                m_outerRef = start;
            if (e->open)
                fail(start, "recursive reference to the parameter entity \"" + std::string(peName) + "\"");
            if (depth >= 64)
                fail(start, "parameter entities nested too deeply");
            countExpansion(*e, start);
            const char* savedP = m_p;
            const char* savedEnd = m_end;
            e->open = true;
            m_p = e->text.data();
            m_end = m_p + e->text.size();
            ++m_peDepth;
            internalSubset(depth + 1);
            --m_peDepth;
            e->open = false;
            m_p = savedP;
            m_end = savedEnd;
        }

        std::string_view quoted(const char* what)
        {
            if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
                fail(m_p, std::string("expected a quoted ") + what);
            const char quote = *m_p++;
            const char* start = m_p;
            const char* close = static_cast<const char*>(std::memchr(m_p, quote, size_t(m_end - m_p)));
            if (!close)
                fail(start, std::string("unterminated ") + what);
            checkChars(start, close);
            m_p = close + 1;
            return { start, size_t(close - start) };
        }

        // SYSTEM "uri" or PUBLIC "id" "uri"; for a notation the URI after a public id may be left out.
        void externalId(bool notation)
        {
            if (startsWith(m_p, m_end, "SYSTEM")) {
                m_p += 6;
                requireSpace();
                quoted("system literal");
                return;
            }
            expectLiteral("PUBLIC");
            requireSpace();
            const std::string_view id = quoted("public id");
            for (char c : id)
                if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                        || std::strchr(" \r\n-'()+,./:=?;!*#@$_%", c)))
                    fail(m_p, "invalid character in a public id");
            const char* before = m_p;
            const bool spaced = skipSpace();
            if (notation && (m_p >= m_end || (*m_p != '"' && *m_p != '\''))) {
                m_p = before;
                return;
            }
            if (!spaced)
                fail(m_p, "expected white space");
            quoted("system literal");
        }

        void entityDeclaration()
        {
            m_p += 8;
            requireSpace();
            bool parameter = false;
            if (m_p < m_end && *m_p == '%') {
                ++m_p;
                requireSpace();
                parameter = true;
            }
            const std::string entityName(name());
            requireSpace();
            Entity entity;
            if (m_p < m_end && (*m_p == '"' || *m_p == '\'')) {
                entity.text = entityValue();
            } else {
                externalId(false);
                entity.external = true;
                const bool spaced = skipSpace();
                if (spaced && startsWith(m_p, m_end, "NDATA")) {
                    if (parameter)
                        fail(m_p, "a parameter entity cannot be unparsed");
                    m_p += 5;
                    requireSpace();
                    name();
                    entity.unparsed = true;
                }
            }
            skipSpace();
            expect('>', "\">\" to end the entity declaration");
            // The first declaration binds; the predefined entities keep their meaning.
            if (processing() && !(!parameter && predefined(entityName)))
                (parameter ? m_parameters : m_general).emplace(entityName, std::move(entity));
        }

        // The replacement text of a quoted entity value: character references replaced, entity references kept.
        std::string entityValue()
        {
            const char quote = *m_p++;
            std::string out;
            for (;;) {
                if (m_p >= m_end)
                    fail(m_p, "unterminated entity value");
                const char c = *m_p;
                if (c == quote) {
                    ++m_p;
                    return out;
                }
                if (c == '%')
                    fail(m_p, "a parameter entity reference inside a declaration of the internal subset");
                if (c == '&') {
                    if (m_p + 1 < m_end && m_p[1] == '#') {
                        AppendUtf8(out, charRef());
                    } else {
                        const char* from = m_p;
                        ++m_p;
                        name();
                        expect(';', "\";\" after an entity name");
                        out.append(from, size_t(m_p - from));
                    }
                    continue;
                }
                if (c == '\r' && m_peDepth == 0) {
                    // A CR read from the document is a line end; in a parameter entity's text it came from a reference.
                    out += '\n';
                    m_p += m_p + 1 < m_end && m_p[1] == '\n' ? 2 : 1;
                    continue;
                }
                char32_t cp = 0;
                const char* next = nextChar(m_p, m_end, cp);
                if (!next || (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r'))
                    fail(m_p, "invalid character");
                out.append(m_p, size_t(next - m_p));
                m_p = next;
            }
        }

        void notationDeclaration()
        {
            m_p += 10;
            requireSpace();
            name();
            requireSpace();
            externalId(true);
            skipSpace();
            expect('>', "\">\" to end the notation declaration");
        }

        void attributeListDeclaration()
        {
            m_p += 9;
            requireSpace();
            const std::string_view elementName = name();
            for (;;) {
                const bool spaced = skipSpace();
                if (m_p < m_end && *m_p == '>') {
                    ++m_p;
                    return;
                }
                if (!spaced)
                    fail(m_p, "expected white space");
                const std::string_view attrName = name();
                requireSpace();
                bool tokenized = true;
                if (startsWith(m_p, m_end, "CDATA")) {
                    m_p += 5;
                    tokenized = false;
                } else if (startsWith(m_p, m_end, "NOTATION")) {
                    m_p += 8;
                    requireSpace();
                    enumeration(false);
                } else if (m_p < m_end && *m_p == '(') {
                    enumeration(true);
                } else {
                    static constexpr std::string_view kTypes[]
                        = { "IDREFS", "IDREF", "ID", "ENTITY", "ENTITIES", "NMTOKENS", "NMTOKEN" };
                    const auto* type = std::find_if(std::begin(kTypes), std::end(kTypes),
                        [&](std::string_view t) { return startsWith(m_p, m_end, t); });
                    // "ENTITY" is a prefix of "ENTITIES": try the longer one first.
                    if (type != std::end(kTypes) && *type == "ENTITY" && startsWith(m_p, m_end, "ENTITIES"))
                        type = std::find(std::begin(kTypes), std::end(kTypes), "ENTITIES");
                    if (type == std::end(kTypes))
                        fail(m_p, "expected an attribute type");
                    m_p += type->size();
                }
                requireSpace();
                if (startsWith(m_p, m_end, "#REQUIRED")) {
                    m_p += 9;
                } else if (startsWith(m_p, m_end, "#IMPLIED")) {
                    m_p += 8;
                } else {
                    if (startsWith(m_p, m_end, "#FIXED")) {
                        m_p += 6;
                        requireSpace();
                    }
                    if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
                        fail(m_p, "expected a default value");
                    const char quote = *m_p++;
                    m_value.clear();
                    attributeValueRest(quote, m_value);
                }
                if (tokenized && processing()) {
                    const uint64_t key = uint64_t(intern(elementName)) << 32 | intern(attrName);
                    // The first declaration of an attribute binds.
                    if (m_declaredAttrs.insert(key).second)
                        m_tree.tokenizedAttributes.insert(key);
                } else if (processing()) {
                    m_declaredAttrs.insert(uint64_t(intern(elementName)) << 32 | intern(attrName));
                }
            }
        }

        // ( a | b | c ) of names or name tokens.
        void enumeration(bool tokens)
        {
            expect('(', "\"(\"");
            for (;;) {
                skipSpace();
                if (tokens) {
                    const char* start = m_p;
                    while (m_p < m_end) {
                        const auto b = static_cast<unsigned char>(*m_p);
                        char32_t cp = b;
                        const char* next = b < 0x80 ? m_p + 1 : nextChar(m_p, m_end, cp);
                        if (!next || !names::IsNameChar(cp))
                            break;
                        m_p = next;
                    }
                    if (m_p == start)
                        fail(m_p, "expected a name token");
                } else {
                    name();
                }
                skipSpace();
                if (m_p < m_end && *m_p == ')') {
                    ++m_p;
                    return;
                }
                expect('|', "\"|\" or \")\"");
            }
        }

        void elementDeclaration()
        {
            m_p += 9;
            requireSpace();
            name();
            requireSpace();
            if (startsWith(m_p, m_end, "EMPTY"))
                m_p += 5;
            else if (startsWith(m_p, m_end, "ANY"))
                m_p += 3;
            else
                contentModel();
            skipSpace();
            expect('>', "\">\" to end the element declaration");
        }

        // Mixed content or a content model of nested choices and sequences, read with a stack of groups.
        void contentModel()
        {
            expect('(', "\"(\"");
            skipSpace();
            if (startsWith(m_p, m_end, "#PCDATA")) {
                m_p += 7;
                bool names = false;
                for (;;) {
                    skipSpace();
                    if (m_p < m_end && *m_p == ')') {
                        ++m_p;
                        break;
                    }
                    expect('|', "\"|\" or \")\"");
                    skipSpace();
                    name();
                    names = true;
                }
                if (m_p < m_end && *m_p == '*')
                    ++m_p;
                else if (names)
                    fail(m_p, "expected \"*\" after mixed content with names");
                return;
            }
            std::vector<char> separators { 0 }; // per open group: '|', ',' or 0 while not yet known
            for (;;) {
                // A content particle: a name or a nested group.
                skipSpace();
                if (m_p < m_end && *m_p == '(') {
                    ++m_p;
                    separators.push_back(0);
                    continue;
                }
                name();
                if (m_p < m_end && (*m_p == '?' || *m_p == '*' || *m_p == '+'))
                    ++m_p;
                for (;;) {
                    skipSpace();
                    if (m_p < m_end && *m_p == ')') {
                        ++m_p;
                        separators.pop_back();
                        if (m_p < m_end && (*m_p == '?' || *m_p == '*' || *m_p == '+'))
                            ++m_p;
                        if (separators.empty())
                            return;
                        continue;
                    }
                    break;
                }
                if (m_p >= m_end || (*m_p != '|' && *m_p != ','))
                    fail(m_p, "expected \"|\", \",\" or \")\" in a content model");
                if (separators.back() && separators.back() != *m_p)
                    fail(m_p, "\"|\" and \",\" mixed in one group");
                separators.back() = *m_p++;
            }
        }

        Tree& m_tree;
        const char* const m_doc;
        const char* const m_docEnd;
        const bool m_share;
        const char* m_p;
        const char* m_end;

        // Entities and declarations.
        std::unordered_map<std::string, Entity> m_general;
        std::unordered_map<std::string, Entity> m_parameters;
        std::unordered_set<uint64_t> m_declaredAttrs;
        std::vector<Frame> m_frames;
        const char* m_outerRef = nullptr; // the reference in the document whose expansion is being read
        int m_peDepth = 0;
        uint32_t m_refStart = 0;
        uint32_t m_refEnd = 0;
        size_t m_expanded = 0;
        const size_t m_expansionLimit;
        bool m_standalone = false;
        bool m_externalSubset = false;
        bool m_peReferences = false;
        bool m_processDeclarations = true;

        // Names.
        std::vector<NameSlot> m_nameSlots;
        size_t m_nameCount = 0;
        int m_nameShift = 54; // 64 less the table's size in bits: 1,024 slots to start with
        std::vector<uint64_t> m_attrSeen; // by name id: the start tag that last gave the attribute
        uint64_t m_tagSerial = 0; // 64-bit: entity expansions can make more than 2^32 start tags

        // The tree under construction.
        std::vector<Open> m_open;
        std::vector<Level> m_levels;
        std::vector<PendingAttr> m_attrs;
        uint32_t m_placedRef = UINT32_MAX;
        bool m_textStarted = false;
        bool m_textExpanded = false;
        bool m_textReferenced = false; // the run holds a reference: white space in it is content, not formatting
        bool m_textShared = false;
        bool m_textAsWritten = false; // the run's source text holds nothing but it and references to characters
        const char* m_textData = nullptr;
        size_t m_textSize = 0;
        uint32_t m_textStart = 0;
        uint32_t m_textEnd = 0;
        std::string m_text;
        std::string m_crText;
        std::string m_charText;
        std::string m_value;
        std::string m_scratch;
    };

    // Line and column (in characters, from 1) of a position in UTF-8 text.
    std::string where(const char* begin, const char* at)
    {
        uint64_t line = 1;
        const char* lineStart = begin;
        for (const char* p = begin; p < at; ++p) {
            if (*p == '\n' || (*p == '\r' && (p + 1 >= at || p[1] != '\n'))) {
                ++line;
                lineStart = p + 1;
            }
        }
        uint64_t column = 1;
        for (const char* p = lineStart; p < at; ++p)
            column += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
        return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
    }

    Transcoded transcode(const QByteArray& bytes, const SourceEncoding& source)
    {
        Transcoded out;
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
        const auto size = size_t(bytes.size());
        out.wide = source.encoding == Encoding::Utf16LE || source.encoding == Encoding::Utf16BE;
        // At most three UTF-8 bytes a source byte (windows-1252), two (ISO-8859-1), 1.5 (UTF-16), one (US-ASCII);
        // spans are 32-bit, so text of 4 GiB or more is refused before it is written past that.
        constexpr size_t kLimit = UINT32_MAX - 4;
        out.text.reset(new char[std::min(size * 3, kLimit + 4) + 1]);
        char* const begin = out.text.get();
        char* w = begin;
        size_t block = 0;
        // Called at every character's start (and at the end): records the blocks it is the first start in.
        auto checkpoint = [&](size_t source) {
            const auto at = size_t(w - begin);
            for (; block * Transcoded::kBlock <= at; ++block) {
                out.blockSource.push_back(uint32_t(source));
                out.blockSkip.push_back(uint8_t(at - block * Transcoded::kBlock));
            }
        };
        auto put = [&](char32_t cp) {
            if (size_t(w - begin) >= kLimit) [[unlikely]]
                throw XmlException("the file is too large: its text takes 4 GiB or more");
            if (cp < 0x80) {
                *w++ = char(cp);
            } else if (cp < 0x800) {
                *w++ = char(0xC0 | (cp >> 6));
                *w++ = char(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                *w++ = char(0xE0 | (cp >> 12));
                *w++ = char(0x80 | ((cp >> 6) & 0x3F));
                *w++ = char(0x80 | (cp & 0x3F));
            } else {
                *w++ = char(0xF0 | (cp >> 18));
                *w++ = char(0x80 | ((cp >> 12) & 0x3F));
                *w++ = char(0x80 | ((cp >> 6) & 0x3F));
                *w++ = char(0x80 | (cp & 0x3F));
            }
        };
        auto refuse = [&](const std::string& what) { throw XmlException(where(begin, w) + what); };
        if (out.wide) {
            const bool le = source.encoding == Encoding::Utf16LE;
            auto unit = [&](size_t i) -> char32_t {
                return le ? char32_t(data[i + 1]) << 8 | data[i] : char32_t(data[i]) << 8 | data[i + 1];
            };
            for (size_t i = size_t(source.bomSize); i + 1 < size; i += 2) {
                checkpoint(i);
                char32_t cp = unit(i);
                if (cp >= 0xDC00 && cp < 0xE000)
                    refuse("a UTF-16 low surrogate without a high one");
                if (cp >= 0xD800 && cp < 0xDC00) {
                    const char32_t low = i + 3 < size ? unit(i + 2) : 0;
                    if (low < 0xDC00 || low >= 0xE000)
                        refuse("a UTF-16 high surrogate not followed by a low one");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
                put(cp);
            }
            if ((size - size_t(source.bomSize)) % 2)
                refuse("a UTF-16 file of an odd number of bytes");
        } else {
            for (size_t i = 0; i < size; ++i) {
                checkpoint(i);
                if (source.encoding == Encoding::Ascii && data[i] >= 0x80)
                    refuse("a byte that is not US-ASCII");
                put(source.encoding == Encoding::Windows1252 ? Windows1252ToUnicode(data[i]) : data[i]);
            }
        }
        checkpoint(size);
        *w = '\0';
        out.size = size_t(w - begin);
        return out;
    }

    // Moves every span of the tree from offsets in the transcoded text to offsets in the source bytes.
    void mapSpans(Element* root, const Transcoded& text)
    {
        auto map = [&](uint32_t at) { return text.sourceOffset(at); };
        std::vector<Element*> pending { root };
        while (!pending.empty()) {
            Element* e = pending.back();
            pending.pop_back();
            e->tagEnd = map(e->tagEnd);
            e->closeStart = map(e->closeStart);
            e->trailStart = map(e->trailStart);
            e->start = map(e->start);
            e->end = map(e->end);
            // The document element's formatting starts at the file's first byte, before any byte-order mark.
            e->leadStart = e == root ? 0 : map(e->leadStart);
            for (uint32_t i = 0; i < e->childCount; ++i) {
                Node* child = e->children[i];
                if (Element* inner = asElement(child)) {
                    pending.push_back(inner);
                } else {
                    child->start = map(child->start);
                    child->end = map(child->end);
                    child->leadStart = map(child->leadStart);
                }
            }
        }
    }

} // namespace

void DecodeReferences(std::string_view raw, std::string& out)
{
    out.clear();
    out.reserve(raw.size());
    size_t from = 0;
    for (size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', from)) {
        out.append(raw.substr(from, amp - from));
        const size_t semicolon = raw.find(';', amp);
        const std::string_view ref = raw.substr(amp + 1, semicolon - amp - 1);
        if (ref.front() == '#') {
            const bool hex = ref.size() > 1 && ref[1] == 'x';
            char32_t value = 0;
            for (const char c : ref.substr(hex ? 2 : 1))
                value = value * (hex ? 16 : 10) + char32_t(c <= '9' ? c - '0' : c >= 'a' ? c - 'a' + 10 : c - 'A' + 10);
            AppendUtf8(out, value);
        } else {
            out += predefined(ref);
        }
        from = semicolon + 1;
    }
    out.append(raw.substr(from));
}

std::shared_ptr<Tree> ParseXml(const QByteArray& bytes)
{
    if (quint64(bytes.size()) >= UINT32_MAX)
        throw XmlException("the file is too large (4 GiB or more)");
    auto tree = std::make_shared<Tree>();
    // The scanners stop at the NUL byte an allocated QByteArray keeps after its data; raw data may have none.
    tree->source = bytes.capacity() >= bytes.size() ? bytes : QByteArray(bytes.constData(), bytes.size());
    tree->encoding = DetectEncoding(bytes);
    const SourceEncoding& source = tree->encoding;

    if (source.encoding == Encoding::Utf8) {
        const char* begin = tree->source.constData();
        Parser parser(*tree, begin, begin + tree->source.size(), true);
        try {
            parser.parse(begin + source.bomSize);
        } catch (const ParseError& e) {
            throw XmlException(where(begin + source.bomSize, e.at) + e.what);
        }
        return tree;
    }
    const Transcoded text = transcode(bytes, source);
    const char* begin = text.text.get();
    Parser parser(*tree, begin, begin + text.size, false);
    try {
        parser.parse(begin);
    } catch (const ParseError& e) {
        throw XmlException(where(begin, e.at) + e.what);
    }
    mapSpans(tree->documentElement, text);
    return tree;
}

} // namespace xml::detail
