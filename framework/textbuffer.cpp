#include "framework/textbuffer.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <limits>

namespace fw {

namespace {

    constexpr char32_t kReplacement = 0xFFFD;

    // Decodes the sequence at p into cp and returns its length. An invalid sequence gives U+FFFD and the length of its
    // longest start that could still have been valid (at least one byte), as Unicode recommends, so a bad byte never
    // swallows the good character after it.
    int decodeChar(const unsigned char* p, const unsigned char* end, char32_t& cp)
    {
        const unsigned char lead = p[0];
        if (lead < 0x80) {
            cp = lead;
            return 1;
        }
        int length = 0;
        char32_t value = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
            // Ranges of the second byte that rule out overlong forms and surrogates.
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            cp = kReplacement;
            return 1;
        }
        for (int i = 1; i < length; ++i) {
            if (p + i == end || p[i] < low || p[i] > high) {
                cp = kReplacement;
                return i;
            }
            value = (value << 6) | (p[i] & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        cp = value;
        return length;
    }

    qsizetype find(const char* data, qsizetype from, qsizetype size, char c)
    {
        const void* hit = std::memchr(data + from, c, size_t(size - from));
        return hit ? static_cast<const char*>(hit) - data : size;
    }

} // namespace

TextBuffer::TextBuffer(QByteArray utf8)
    : m_bytes(std::move(utf8))
{
}

template <typename Offset> void TextBuffer::scanLines(std::vector<Offset>& starts) const
{
    // Two memchr streams, one per line-end byte, run far faster than a byte loop; a text without "\r" costs one
    // failed search for it.
    const char* data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype nextCr = find(data, 0, size, '\r');
    qsizetype nextLf = find(data, 0, size, '\n');
    qsizetype start = 0;
    starts.push_back(0);
    const auto measure = [&](qsizetype end) {
        if (end - start > m_longestLine) {
            m_longestLine = end - start;
            m_longestLineIndex = qsizetype(starts.size()) - 1;
        }
    };
    for (;;) {
        const qsizetype end = std::min(nextCr, nextLf);
        if (end == size)
            break;
        measure(end);
        start = end + 1;
        if (end == nextCr) {
            if (start < size && data[start] == '\n') {
                ++start;
                nextLf = find(data, start, size, '\n');
            }
            nextCr = find(data, start, size, '\r');
        } else {
            nextLf = find(data, start, size, '\n');
        }
        starts.push_back(Offset(start));
    }
    measure(size);
}

void TextBuffer::buildIndex() const
{
    std::call_once(m_indexOnce, [this] {
        if (quint64(m_bytes.size()) < std::numeric_limits<std::uint32_t>::max())
            scanLines(m_starts32);
        else
            scanLines(m_starts64);
    });
}

qsizetype TextBuffer::lineCount() const
{
    buildIndex();
    return m_starts64.empty() ? qsizetype(m_starts32.size()) : qsizetype(m_starts64.size());
}

qsizetype TextBuffer::lineStart(qsizetype line) const
{
    line = std::clamp<qsizetype>(line, 0, lineCount() - 1);
    return m_starts64.empty() ? qsizetype(m_starts32[size_t(line)]) : qsizetype(m_starts64[size_t(line)]);
}

qsizetype TextBuffer::lineEnd(qsizetype line) const
{
    line = std::clamp<qsizetype>(line, 0, lineCount() - 1);
    if (line == lineCount() - 1)
        return size();
    const qsizetype start = lineStart(line);
    qsizetype end = lineStart(line + 1) - 1;
    if (m_bytes[end] == '\n' && end > start && m_bytes[end - 1] == '\r')
        --end;
    return end;
}

qsizetype TextBuffer::lineAt(qsizetype byte) const
{
    buildIndex();
    const auto search = [byte](const auto& starts) {
        return qsizetype(std::upper_bound(starts.begin(), starts.end(), byte, [](qsizetype value, auto start) {
            return value < qsizetype(start);
        }) - starts.begin());
    };
    const qsizetype after = m_starts64.empty() ? search(m_starts32) : search(m_starts64);
    return std::max<qsizetype>(after - 1, 0);
}

qsizetype TextBuffer::longestLine() const
{
    buildIndex();
    return m_longestLine;
}

qsizetype TextBuffer::longestLineFrom(qsizetype byte) const
{
    const qsizetype first = lineAt(byte);
    byte = std::max(byte, lineStart(first));
    if (m_longestLineIndex > first || (m_longestLineIndex == first && byte == lineStart(first)))
        return m_longestLineIndex;
    // The longest line is cut or left out: look through the lines after the first. The span to the next line's start
    // is at most two bytes longer than a line, so only a span longer than the best so far is measured exactly.
    qsizetype found = first;
    qsizetype foundLength = std::max<qsizetype>(0, lineEnd(first) - byte);
    const auto scan = [&](const auto& starts) {
        for (qsizetype line = first + 1; line < qsizetype(starts.size()); ++line) {
            const qsizetype next = line + 1 < qsizetype(starts.size()) ? qsizetype(starts[size_t(line + 1)]) : size();
            if (next - qsizetype(starts[size_t(line)]) > foundLength && lineEnd(line) - lineStart(line) > foundLength) {
                found = line;
                foundLength = lineEnd(line) - lineStart(line);
            }
        }
    };
    if (m_starts64.empty())
        scan(m_starts32);
    else
        scan(m_starts64);
    return found;
}

qsizetype TextBuffer::nextChar(qsizetype byte) const
{
    if (byte < 0)
        return 0;
    if (byte >= size())
        return size();
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    char32_t cp = 0;
    return byte + decodeChar(data + byte, data + size(), cp);
}

QString TextBuffer::decode(qsizetype from, qsizetype to, std::vector<qsizetype>* offsets) const
{
    from = std::clamp<qsizetype>(from, 0, size());
    to = std::clamp<qsizetype>(to, from, size());
    // UTF-8 never takes fewer bytes than UTF-16 units, so one allocation serves.
    QString result(to - from, Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = first;
    const auto* begin = reinterpret_cast<const unsigned char*>(m_bytes.constData()) + from;
    const auto* end = begin + (to - from);
    const auto* p = begin;
    if (offsets) {
        offsets->clear();
        offsets->reserve(size_t(to - from + 1));
    }
    while (p < end) {
        if (!offsets) {
            // Whole texts are mostly ASCII: copy eight such bytes at a time.
            while (end - p >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, p, sizeof word);
                if (word & 0x8080808080808080ull)
                    break;
                for (int i = 0; i < 8; ++i)
                    out[i] = p[i];
                out += 8;
                p += 8;
            }
            if (p == end)
                break;
        }
        char32_t cp = 0;
        const int length = decodeChar(p, end, cp);
        if (cp > 0xFFFF) {
            if (offsets)
                offsets->push_back(p - begin);
            *out++ = QChar::highSurrogate(cp);
            cp = QChar::lowSurrogate(cp);
        }
        if (offsets)
            offsets->push_back(p - begin);
        *out++ = char16_t(cp);
        p += length;
    }
    if (offsets)
        offsets->push_back(to - from);
    result.truncate(out - first);
    return result;
}

TextBufferPtr MakeTextBuffer(QByteArray utf8) { return std::make_shared<const TextBuffer>(std::move(utf8)); }

TextRef Mid(const TextRef& text, qsizetype startChar)
{
    if (!text.buffer)
        return text;
    qsizetype byte = std::clamp<qsizetype>(text.fromByte, 0, text.buffer->size());
    for (qsizetype i = 1; i < startChar && byte < text.buffer->size(); ++i)
        byte = text.buffer->nextChar(byte);
    return { text.buffer, byte };
}

} // namespace fw
