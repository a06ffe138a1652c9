#pragma once

#include "framework/ref.h"

#include <QString>

namespace fw {

class TextInputStream;

// A file or folder, existing or not, named by its absolute path.
class FolderItem {
public:
    // Relative paths are taken from the current folder.
    explicit FolderItem(const QString& path);

    // The absolute path; a folder's ends with "/".
    QString AbsolutePath() const;
    // The path escaped for a POSIX shell (a backslash before each character the shell would interpret).
    QString ShellPath() const;

    QString Name() const;
    // Renames the item within its folder; raises IOException on failure.
    void SetName(const QString& name);
    // The folder holding the item; nil for the root.
    Ref<FolderItem> Parent() const;

    bool Exists() const;
    bool Directory() const;
    // Deletes the file or empty folder; nothing when it does not exist; raises IOException on failure.
    void Delete();
    // Opens the file for reading; raises IOException when it cannot be opened.
    Ref<TextInputStream> OpenAsTextFile() const;

private:
    QString m_path; // absolute, clean, without a trailing "/" except for the root
};

// The item at a path; nil for the empty path.
Ref<FolderItem> GetFolderItem(const QString& path);

} // namespace fw
