#pragma once

#include "framework/filetype.h"
#include "framework/folderitem.h"
#include "framework/ref.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace fw {

// Shows an open-file dialog filtered by type; nil when cancelled.
Ref<FolderItem> GetOpenFolderItem(const FileType& type);
// Shows a save-file dialog filtered by type, proposing defaultName; a name typed without an extension gets the
// type's DefaultSuffix; asks before replacing the file so named; nil when cancelled.
Ref<FolderItem> GetSaveFolderItem(const FileType& type, const QString& defaultName);

// Test seam: while a FileDialogs lives, the file dialogs are not shown; each takes the next queued answer (a path,
// or cancel; cancel also when none is left) and is recorded; a save dialog takes its answer as a typed name. The newest
// live object answers.
class FileDialogs {
public:
    struct Request {
        bool save;
        QString filter;
        QString defaultName;
    };

    FileDialogs();
    ~FileDialogs();
    FileDialogs(const FileDialogs&) = delete;
    FileDialogs& operator=(const FileDialogs&) = delete;

    void Answer(const QString& path) { m_answers.push_back(path); }
    void Cancel() { m_answers.emplace_back(); }
    const std::vector<Request>& Requests() const { return m_requests; }

    // The answer of the newest live object: nullopt when none lives, else the path, empty for cancel.
    static std::optional<QString> Take(const Request& request);

private:
    std::deque<QString> m_answers; // an empty path cancels
    std::vector<Request> m_requests;
    FileDialogs* m_previous;
};

} // namespace fw
