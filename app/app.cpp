#include "app/app.h"

#include "framework/exceptions.h"

App& App::Instance()
{
    auto* app = dynamic_cast<App*>(QCoreApplication::instance());
    if (!app)
        throw fw::NilObjectException("the application object is not an App");
    return *app;
}
