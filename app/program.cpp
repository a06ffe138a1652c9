#include "app/program.h"

#include "app/app.h"
#include "app/mainfiletypes.h"
#include "shell/mainwindow.h"
#include "shell/menubar1.h"

// The framework's class registry and the binding of plug-in entry points have no counterpart here: every class
// and library is bound when the program is linked.

int Program::Main(int, char**)
{
    // The application object must exist before anything else in Qt, so it also stands for the framework's
    // run-time initialisation. It is given no arguments: Qt would otherwise act on options such as -style.
    static int argumentCount = 1;
    static char programName[] = "sildra";
    static char* arguments[] = { programName, nullptr };
    App app(argumentCount, arguments);
    const int status = _Main(app);
    releaseModuleObjects();
    return status;
}

int Program::_Main(App& app)
{
    try {
        _Startup();
        return app.Run();
    } catch (...) {
        fw::Application::ReportException(std::current_exception());
        return 1;
    }
}

int Program::_Startup()
{
    MainFileTypes::_Initialize();
    MainWindow::Instance();
    return 0;
}

void Program::releaseModuleObjects()
{
    MainWindow::releaseInstance();
    MenuBar1::release();
    MainFileTypes::release();
}
