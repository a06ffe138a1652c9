#include "app/app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A modal window left open this long means a seam did not answer it: the test fails now instead of at ctest's timeout.
constexpr int kModalLimitMs = 5000;

// Watches the modal window from the event loop that runs it; fails the running test and closes the window when it has
// been open longer than the limit.
void WatchModalWindows(QApplication& app)
{
    auto* timer = new QTimer(&app);
    auto watched = std::make_shared<QPointer<QWidget>>();
    auto since = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, &app, [watched, since] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != *watched) {
            *watched = modal;
            since->start();
            return;
        }
        if (modal && since->elapsed() > kModalLimitMs) {
            ADD_FAILURE() << "the modal window \"" << modal->windowTitle().toStdString() << "\" stayed open more than "
                          << kModalLimitMs / 1000 << " s";
            modal->close();
            *watched = nullptr;
        }
    });
    timer->start(100);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The program's own application class, so that App::Instance() works in tests as in the program.
    App app(argc, argv);
    WatchModalWindows(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
