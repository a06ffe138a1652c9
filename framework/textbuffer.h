#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class QString;

namespace fw {

// Immutable UTF-8 text with a line index built on first need, shared by every view of the text.
// Lines end at "\n", "\r\n" or a lone "\r"; a text with n line ends has n + 1 lines (the empty text has one).
class TextBuffer {
public:
    explicit TextBuffer(QByteArray utf8);
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // The UTF-8 bytes as given.
    const QByteArray& bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

    // Number of lines; this and the other line queries build the line index on first call.
    qsizetype lineCount() const;
    // Byte offset where a line starts.
    qsizetype lineStart(qsizetype line) const;
    // Byte offset where a line's text ends, before its line end.
    qsizetype lineEnd(qsizetype line) const;
    // The line holding a byte offset; offsets past the end give the last line.
    qsizetype lineAt(qsizetype byte) const;
    // Length in bytes of the longest line, line end excluded.
    qsizetype longestLine() const;
    // The first of the longest lines of the text from byte on, the line holding byte counted from there.
    qsizetype longestLineFrom(qsizetype byte) const;

    // Byte offset of the character after the one starting at byte; an invalid sequence counts as one character.
    qsizetype nextChar(qsizetype byte) const;
    // Decodes bytes [from, to), invalid sequences as U+FFFD; offsets, if given, receives for each UTF-16 unit the
    // byte (counted from `from`) where its character starts, then to - from.
    QString decode(qsizetype from, qsizetype to, std::vector<qsizetype>* offsets = nullptr) const;

private:
    void buildIndex() const;
    template <typename Offset> void scanLines(std::vector<Offset>& starts) const;

    QByteArray m_bytes;
    mutable std::once_flag m_indexOnce;
    mutable std::vector<std::uint32_t> m_starts32; // line starts while the text is under 4 GiB
    mutable std::vector<std::uint64_t> m_starts64; // line starts of larger texts
    mutable qsizetype m_longestLine = 0;
    mutable qsizetype m_longestLineIndex = 0;
};

using TextBufferPtr = std::shared_ptr<const TextBuffer>;

// Wraps UTF-8 bytes in a shared buffer; the bytes are shared, not copied.
TextBufferPtr MakeTextBuffer(QByteArray utf8);

// A buffer from one byte on.
struct TextRef {
    TextBufferPtr buffer;
    qsizetype fromByte = 0;
};

// The text from its startChar-th character on, counting from 1 like a string Mid; O(startChar).
TextRef Mid(const TextRef& text, qsizetype startChar);

} // namespace fw
