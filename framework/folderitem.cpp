#include "framework/folderitem.h"

#include "framework/textinputstream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fw {

FolderItem::FolderItem(const QString& path)
    : m_path(QDir::cleanPath(QDir::current().absoluteFilePath(path)))
{
}

QString FolderItem::AbsolutePath() const
{
    if (Directory() && !m_path.endsWith(QLatin1Char('/')))
        return m_path + QLatin1Char('/');
    return m_path;
}

QString FolderItem::ShellPath() const
{
    QString escaped;
    for (const QChar c : m_path) {
        const bool plain = c.isLetterOrNumber() || QStringLiteral("/._-+,:@%").contains(c);
        if (!plain)
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

QString FolderItem::Name() const { return QFileInfo(m_path).fileName(); }

void FolderItem::SetName(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        throw IOException("cannot rename " + m_path.toStdString() + " to " + name.toStdString());
    const QString target = QFileInfo(m_path).dir().absoluteFilePath(name);
    if (!QDir().rename(m_path, target))
        throw IOException("cannot rename " + m_path.toStdString() + " to " + name.toStdString());
    m_path = target;
}

Ref<FolderItem> FolderItem::Parent() const
{
    if (m_path == QLatin1String("/"))
        return nullptr;
    return MakeRef<FolderItem>(QFileInfo(m_path).dir().absolutePath());
}

bool FolderItem::Exists() const { return QFileInfo::exists(m_path); }

bool FolderItem::Directory() const { return QFileInfo(m_path).isDir(); }

void FolderItem::Delete()
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return;
    const bool removed = info.isDir() && !info.isSymLink() ? QDir().rmdir(m_path) : QFile::remove(m_path);
    if (!removed)
        throw IOException("cannot delete " + m_path.toStdString());
}

Ref<TextInputStream> FolderItem::OpenAsTextFile() const
{
    if (Directory())
        throw IOException("cannot read the folder " + m_path.toStdString() + " as a file");
    return MakeRef<TextInputStream>(m_path);
}

Ref<FolderItem> GetFolderItem(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    return MakeRef<FolderItem>(path);
}

} // namespace fw
