#include "framework/filedialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace fw {

namespace {

    FileDialogs* g_newest = nullptr;

    Ref<FolderItem> Ask(const FileDialogs::Request& request)
    {
        if (const auto answer = FileDialogs::Take(request))
            return answer->isEmpty() ? nullptr : GetFolderItem(*answer);
        const QString path = request.save
            ? QFileDialog::getSaveFileName(QApplication::activeWindow(), {}, request.defaultName, request.filter)
            : QFileDialog::getOpenFileName(QApplication::activeWindow(), {}, {}, request.filter);
        return GetFolderItem(path);
    }

} // namespace

Ref<FolderItem> GetOpenFolderItem(const FileType& type) { return Ask({ false, type.Filter(), {} }); }

Ref<FolderItem> GetSaveFolderItem(const FileType& type, const QString& defaultName)
{
    return Ask({ true, type.Filter(), defaultName });
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
