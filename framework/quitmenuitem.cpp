#include "framework/quitmenuitem.h"

#include "framework/window.h"

#include <QCoreApplication>

namespace fw {

void QuitMenuItem::Perform()
{
    for (Window* window : Window::OpenWindows())
        if (!window->MayClose(true))
            return;
    QCoreApplication::exit(0);
}

} // namespace fw
