#include "framework/filedialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace fw {

namespace {

    FileDialogs* g_newest = nullptr;

    // The name a save dialog takes for a typed one: without an extension it gets the suffix, as Qt's dialog does.
    QString withSuffix(const QString& path, const QString& suffix)
    {
        const QFileInfo info(path);
        if (suffix.isEmpty() || info.fileName().contains(QLatin1Char('.')) || info.isDir())
            return path;
        return path + QLatin1Char('.') + suffix;
    }

} // namespace

Ref<FolderItem> GetOpenFolderItem(const FileType& type)
{
    const FileDialogs::Request request { false, type.Filter(), {} };
    if (const auto answer = FileDialogs::Take(request))
        return GetFolderItem(*answer);
    return GetFolderItem(QFileDialog::getOpenFileName(QApplication::activeWindow(), {}, {}, request.filter));
}

Ref<FolderItem> GetSaveFolderItem(const FileType& type, const QString& defaultName)
{
    const FileDialogs::Request request { true, type.Filter(), defaultName };
    // A queued answer stands for what the user types, so it takes the suffix as a typed name does.
    if (const auto answer = FileDialogs::Take(request))
        return answer->isEmpty() ? nullptr : GetFolderItem(withSuffix(*answer, type.DefaultSuffix()));
    // Qt's own dialog, not the system's: it adds the suffix before asking to replace a file, so that it asks about
    // the file that will be written.
    QFileDialog dialog(QApplication::activeWindow(), {}, {}, request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(type.DefaultSuffix());
    if (!defaultName.isEmpty())
        dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return GetFolderItem(dialog.selectedFiles().value(0));
}

FileDialogs::FileDialogs()
    : m_previous(g_newest)
{
    g_newest = this;
}

FileDialogs::~FileDialogs() { g_newest = m_previous; }

std::optional<QString> FileDialogs::Take(const Request& request)
{
    if (!g_newest)
        return std::nullopt;
    g_newest->m_requests.push_back(request);
    if (g_newest->m_answers.empty())
        return QString();
    const QString answer = g_newest->m_answers.front();
    g_newest->m_answers.pop_front();
    return answer;
}

} // namespace fw
