#pragma once

#include <QString>
#include <QStringList>

namespace fw {

// A kind of file offered as a file dialog's filter.
class FileType {
public:
    FileType() = default;
    // A filter with its name, Mac type and extensions, the creator left empty.
    FileType(const QString& name, const QString& macType, const QString& extensions)
        : m_name(name)
        , m_macType(macType)
        , m_extensions(extensions)
    {
    }

    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    QString MacType() const { return m_macType; }
    void SetMacType(const QString& macType) { m_macType = macType; }
    QString MacCreator() const { return m_macCreator; }
    void SetMacCreator(const QString& macCreator) { m_macCreator = macCreator; }
    // One or more extensions separated by ";", each "xml" or ".xml"; one holding a dot inside ("Tool.exe") matches
    // names ending with it, and one ending with ".exe" also names ending with it less that suffix ("Tool").
    QString Extensions() const { return m_extensions; }
    void SetExtensions(const QString& extensions) { m_extensions = extensions; }

    // The file dialog filter, e.g. "XML Files (*.xml)".
    QString Filter() const;
    // The extension a save dialog adds to a name typed without one: the first, without its dot ("xml"); empty when
    // there is none or it is the end of a whole name ("Tool.exe").
    QString DefaultSuffix() const;

private:
    // The extensions without blanks and leading dots, empty ones left out.
    QStringList extensionList() const;

    QString m_name;
    QString m_macType;
    QString m_macCreator;
    QString m_extensions;
};

} // namespace fw
