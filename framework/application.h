#pragma once

#include "framework/folderitem.h"
#include "framework/keyrepeats.h"
#include "framework/ref.h"

#include <QApplication>
#include <exception>

namespace fw {

// The application object and its event loop, and the boundary that keeps exceptions from crossing Qt's event
// dispatch: an exception escaping a handler is reported in a message box naming it, and the program goes on.
// Handlers run on a user's action are guarded where the framework calls them (Guard); notify() catches the rest.
// Handlers run by a framework call made in code (Listbox::RemoveRow raising Change, ...) pass exceptions to that code.
// notify() also keeps a held key from acting more than once (KeyRepeats).
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    // Runs the event loop until the application quits; returns the exit status.
    int Run();
    // The running program's file.
    Ref<FolderItem> ExecutableFile() const;

    bool notify(QObject* receiver, QEvent* event) override;

    // Reports an exception in a modal message box naming its class and message.
    static void ReportException(std::exception_ptr error);
    // Runs f; an exception leaving it is reported instead of passed on.
    template <class F> static void Guard(F&& f)
    {
        try {
            f();
        } catch (...) {
            ReportException(std::current_exception());
        }
    }

private:
    KeyRepeats m_keyRepeats;
};

} // namespace fw
