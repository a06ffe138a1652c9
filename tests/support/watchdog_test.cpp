#include "framework/window.h"

#include <QElapsedTimer>
#include <gtest/gtest-spi.h>
#include <memory>

namespace {

class Unanswered : public fw::Window { };

std::unique_ptr<Unanswered> g_window;

} // namespace

// A modal window that nothing answers fails the running test within seconds and is closed, so the run goes on.
TEST(ModalWatchdog, FailsTheTestAndClosesAModalWindowNothingAnswers)
{
    g_window = fw::Window::Create<Unanswered>();
    g_window->SetTitle(QStringLiteral("Forgotten"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_NONFATAL_FAILURE(g_window->ShowModal(), "\"Forgotten\" stayed open");
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(g_window->isVisible());
    g_window.reset();
}
