#include "framework/textinputstream.h"

#include "framework/exceptions.h"

#include <QFile>

namespace fw {

TextInputStream::TextInputStream(const QString& path)
    : m_file(std::make_unique<QFile>(path))
{
    if (!m_file->open(QIODevice::ReadOnly))
        throw IOException("cannot open " + path.toStdString() + ": " + m_file->errorString().toStdString());
}

TextInputStream::~TextInputStream() = default;

QByteArray TextInputStream::ReadAll()
{
    if (!m_file->isOpen())
        throw IOException("the stream is closed");
    QByteArray bytes = m_file->readAll();
    if (m_file->error() != QFileDevice::NoError)
        throw IOException(
            "cannot read " + m_file->fileName().toStdString() + ": " + m_file->errorString().toStdString());
    return bytes;
}

void TextInputStream::Close() { m_file->close(); }

} // namespace fw
