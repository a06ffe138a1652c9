#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QFile;

namespace fw {

// A file opened for reading.
class TextInputStream {
public:
    // Opens the file; raises IOException when it cannot be opened.
    explicit TextInputStream(const QString& path);
    ~TextInputStream();

    // The rest of the file's bytes, unchanged; raises IOException when closed or on a read error.
    QByteArray ReadAll();
    void Close();

private:
    std::unique_ptr<QFile> m_file;
};

} // namespace fw
