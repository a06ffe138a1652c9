#pragma once

#include "framework/application.h"

// The application class: the framework's application, unchanged. Exactly one exists while the program runs.
class App : public fw::Application {
public:
    using fw::Application::Application;

    // The running application object; raises NilObjectException when it is not an App.
    static App& Instance();
};
