#include "framework/filedialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace fw {

namespace {

    FileDialogs* g_newest = nullptr;

    // The name a save dialog takes for a typed one: without an extension it gets the suffix.
    QString withSuffix(const QString& path, const QString& suffix)
    {
        const QFileInfo info(path);
        if (suffix.isEmpty() || info.fileName().contains(QLatin1Char('.')) || info.isDir())
            return path;
        return path + QLatin1Char('.') + suffix;
    }

    // Qt's own save dialog, not the system's, adding the suffix to the typed name before its own checks: a folder's
    // name opens it, and the question to replace a file names the file that will be written. (Qt's default suffix
    // looks for folders in the program's working folder, not in the one shown.)
    class SaveDialog : public QFileDialog {
    public:
        SaveDialog(const QString& filter, QString suffix)
            : QFileDialog(QApplication::activeWindow(), {}, {}, filter)
            , m_suffix(std::move(suffix))
        {
            setOption(QFileDialog::DontUseNativeDialog);
            setAcceptMode(QFileDialog::AcceptSave);
        }

    protected:
        void accept() override
        {
            const QString typed = selectedFiles().value(0);
            // The name field itself, as selectFile leaves a field that has the focus as it is.
            auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (const QString named = withSuffix(typed, m_suffix); named != typed && field)
                field->setText(named);
            QFileDialog::accept();
        }

    private:
        QString m_suffix;
    };

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
    SaveDialog dialog(request.filter, type.DefaultSuffix());
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
