#pragma once

#include <string_view>

namespace xml::detail {

// Walks the attributes of a start tag as written (UTF-8) that the parser has already checked.
class StartTagCursor {
public:
    struct Attribute {
        std::string_view lead; // the white space before it
        std::string_view name;
        std::string_view value; // as written, between the quotes
        std::string_view text; // lead, name, "=", quotes and value
        char quote = '"';
    };

    explicit StartTagCursor(std::string_view tag)
        : m_tag(tag)
    {
        m_at = 1;
        while (m_at < m_tag.size() && !isSpace(m_tag[m_at]) && m_tag[m_at] != '>' && m_tag[m_at] != '/')
            ++m_at;
    }

    // The next attribute; false when there is none left, and then tail() is what ends the tag.
    bool next(Attribute& a)
    {
        const size_t leadStart = m_at;
        size_t i = m_at;
        while (i < m_tag.size() && isSpace(m_tag[i]))
            ++i;
        if (i >= m_tag.size() || m_tag[i] == '>' || m_tag[i] == '/')
            return false;
        const size_t nameStart = i;
        while (i < m_tag.size() && m_tag[i] != '=' && !isSpace(m_tag[i]))
            ++i;
        const size_t nameEnd = i;
        while (i < m_tag.size() && m_tag[i] != '"' && m_tag[i] != '\'')
            ++i;
        if (i >= m_tag.size())
            return false;
        const size_t close = m_tag.find(m_tag[i], i + 1);
        if (close == std::string_view::npos)
            return false;
        a.lead = m_tag.substr(leadStart, nameStart - leadStart);
        a.name = m_tag.substr(nameStart, nameEnd - nameStart);
        a.quote = m_tag[i];
        a.value = m_tag.substr(i + 1, close - i - 1);
        a.text = m_tag.substr(leadStart, close + 1 - leadStart);
        m_at = close + 1;
        return true;
    }

    // White space and ">" or "/>".
    std::string_view tail() const { return m_tag.substr(m_at); }

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

private:
    std::string_view m_tag;
    size_t m_at = 0;
};

} // namespace xml::detail
