#include "framework/application.h"

#include "framework/exceptions.h"
#include "framework/msgbox.h"

#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace fw {

namespace {

    // The readable class name of a standard exception.
    QString ClassName(const std::exception& error)
    {
        int status = 0;
        std::unique_ptr<char, decltype(&std::free)> name(
            abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status), &std::free);
        return QString::fromUtf8(status == 0 && name ? name.get() : typeid(error).name());
    }

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

int Application::Run() { return exec(); }

Ref<FolderItem> Application::ExecutableFile() const { return GetFolderItem(applicationFilePath()); }

bool Application::notify(QObject* receiver, QEvent* event)
{
    if (m_keyRepeats.blocks(receiver, *event)) {
        event->accept();
        return true;
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
}

void Application::ReportException(std::exception_ptr error)
{
    QString name;
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& e) {
        name = QString::fromUtf8(e.name());
        message = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        name = ClassName(e);
        message = QString::fromStdString(e.what());
    } catch (...) {
        name = QStringLiteral("unknown exception");
    }
    QString text = QStringLiteral("An exception of class %1 was not handled.").arg(name);
    if (!message.isEmpty())
        text += QStringLiteral("\n\n") + message;
    MsgBox(text, 16, QStringLiteral("Unhandled Exception"));
}

} // namespace fw
