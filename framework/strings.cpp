#include "framework/strings.h"

namespace fw {

QString Trim(const QString& text) { return text.trimmed(); }

QString Mid(const QString& text, qsizetype start)
{
    if (start < 1 || start > text.size())
        return {};
    return text.mid(start - 1);
}

QString Mid(const QString& text, qsizetype start, qsizetype length)
{
    if (start < 1 || start > text.size() || length <= 0)
        return {};
    return text.mid(start - 1, length);
}

QString NthField(const QString& text, const QString& separator, qsizetype n)
{
    if (n < 1)
        return {};
    if (separator.isEmpty())
        return n == 1 ? text : QString();
    qsizetype from = 0;
    for (qsizetype field = 1; field < n; ++field) {
        const qsizetype at = text.indexOf(separator, from);
        if (at < 0)
            return {};
        from = at + separator.size();
    }
    const qsizetype end = text.indexOf(separator, from);
    return text.mid(from, end < 0 ? -1 : end - from);
}

int Asc(const QString& text)
{
    if (text.isEmpty())
        return 0;
    if (text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return static_cast<int>(QChar::surrogateToUcs4(text.at(0), text.at(1)));
    return text.at(0).unicode();
}

QString EndOfLine() { return QStringLiteral("\n"); }

bool Equals(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace fw
