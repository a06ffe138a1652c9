#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The program's include of a file in another folder of it: "folder/file.h"; an include without a folder names a
// file beside the includer.
QStringList includesOf(const QString& path, const QString& folder)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    static const QRegularExpression include(
        QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"), QRegularExpression::MultilineOption);
    QStringList found;
    for (auto match = include.globalMatch(QString::fromUtf8(file.readAll())); match.hasNext();) {
        const QString target = match.next().captured(1);
        found << (target.contains(QLatin1Char('/')) ? target : folder + QLatin1Char('/') + target);
    }
    return found;
}

// Each folder may include only what is at its level or below.
bool allowed(const QString& folder, const QString& target)
{
    const QString to = target.section(QLatin1Char('/'), 0, 0);
    if (folder == QLatin1String("framework"))
        return to == QLatin1String("framework");
    if (folder == QLatin1String("xml"))
        return to == QLatin1String("xml") || target == QLatin1String("framework/exceptions.h");
    // The editor and its dialogs see the main window only through the host.
    return to != QLatin1String("shell") && to != QLatin1String("app") ? true
                                                                      : target == QLatin1String("shell/editorhost.h");
}

} // namespace

TEST(IncludeDirection, NoFolderIncludesAFolderAboveIt)
{
    int files = 0;
    for (const char* folder : { "framework", "xml", "editor", "dialogs" }) {
        const QString name = QString::fromLatin1(folder);
        QDirIterator it(QStringLiteral(SILDRA_SOURCE_DIR "/") + name,
            { QStringLiteral("*.h"), QStringLiteral("*.cpp") }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            for (const QString& target : includesOf(path, name))
                EXPECT_TRUE(allowed(name, target)) << path.toStdString() << " includes " << target.toStdString();
        }
    }
    EXPECT_GT(files, 40);
}
