#include "framework/filetype.h"

namespace fw {

QString FileType::Filter() const
{
    QStringList patterns;
    for (const QString& extension : extensionList()) {
        if (!extension.contains(QLatin1Char('.'))) {
            patterns << QStringLiteral("*.") + extension;
            continue;
        }
        // An extension holding a dot is the end of a file name ("Tool.exe"), so no dot is put before it. Programs
        // carry no ".exe" here, so such a name is also admitted without it, as "Cmd" becomes "Ctrl" in menus.
        patterns << QStringLiteral("*") + extension;
        if (extension.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
            patterns << QStringLiteral("*") + extension.chopped(4);
    }
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    return QStringLiteral("%1 (%2)").arg(m_name, patterns.join(QLatin1Char(' ')));
}

QString FileType::DefaultSuffix() const
{
    const QString first = extensionList().value(0);
    return first.contains(QLatin1Char('.')) ? QString() : first;
}

QStringList FileType::extensionList() const
{
    QStringList extensions;
    for (QString extension : m_extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        extension = extension.trimmed();
        while (extension.startsWith(QLatin1Char('.')))
            extension.remove(0, 1);
        if (!extension.isEmpty())
            extensions << extension;
    }
    return extensions;
}

} // namespace fw
