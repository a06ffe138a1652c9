#include "framework/application.h"
#include "framework/messagedialog.h"
#include "framework/messagelog.h"
#include "framework/msgbox.h"
#include "framework/pushbutton.h"
#include "framework/window.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fw;

namespace {

class Failing : public Window {
protected:
    void CreateControls() override
    {
        auto& button = AddControl<PushButton>("fail");
        button.SetRect(10, 10, 80, 22);
        connect(&button, &PushButton::Action, this, [] { throw NilObjectException("no node here"); });
        auto& counter = AddControl<PushButton>("count");
        counter.SetRect(10, 40, 80, 22);
        connect(&counter, &PushButton::Action, this, [this] { ++presses; });
    }

public:
    int presses = 0;
};

} // namespace

TEST(ExceptionBoundary, AHandlersExceptionIsReportedAndTheProgramGoesOn)
{
    MessageLog log;
    auto window = Window::Create<Failing>();
    window->Show();
    QTest::mouseClick(&window->Control<PushButton>("fail"), Qt::LeftButton);
    QTest::mouseClick(&window->Control<PushButton>("fail"), Qt::LeftButton);
    QTest::mouseClick(&window->Control<PushButton>("count"), Qt::LeftButton);

    ASSERT_EQ(log.Entries().size(), 2u);
    const auto& entry = log.Entries()[0];
    EXPECT_EQ(entry.kind, MessageLog::Kind::MsgBox);
    EXPECT_TRUE(entry.text.contains("NilObjectException")) << entry.text.toStdString();
    EXPECT_TRUE(entry.text.contains("no node here"));
    EXPECT_EQ(entry.icon, 16);
    EXPECT_EQ(window->presses, 1);
}

TEST(ExceptionBoundary, NotifyCatchesWhatNoHandlerGuards)
{
    MessageLog log;
    QObject context;
    QTimer::singleShot(0, &context, [] { throw std::out_of_range("index 9"); });
    QTimer::singleShot(0, &context, [] { throw 42; });
    QCoreApplication::processEvents();
    ASSERT_EQ(log.Entries().size(), 2u);
    EXPECT_TRUE(log.Entries()[0].text.contains("std::out_of_range"));
    EXPECT_TRUE(log.Entries()[0].text.contains("index 9"));
    EXPECT_TRUE(log.Entries()[1].text.contains("unknown exception"));
}

TEST(Messages, CapturedBoxesAreRecordedInTheNewestLogNotShown)
{
    MessageLog outer;
    {
        MessageLog log;
        EXPECT_EQ(MsgBox("Failed.", 16, "Error"), 1);
        MessageDialog dialog;
        dialog.SetMessage("Credits:");
        dialog.SetExplanation("a\nb");
        EXPECT_EQ(dialog.ShowModal(), MessageDialog::Button::Action);
        ASSERT_EQ(log.Entries().size(), 2u);
        EXPECT_EQ(log.Entries()[0].title, "Error");
        EXPECT_EQ(log.Entries()[1].kind, MessageLog::Kind::MessageDialog);
        EXPECT_EQ(log.Entries()[1].explanation, "a\nb");
    }
    MsgBox("after");
    ASSERT_EQ(outer.Entries().size(), 1u);
    EXPECT_THROW(MsgBox("ask", 4, "Question"), OutOfBoundsException);
}

TEST(Messages, UncapturedBoxesAreModalAndTellTheirButton)
{
    QString shown;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(MsgBox("Hello", 16, "Error"), 1);
    EXPECT_EQ(shown, "Hello");

    // A question tells which button closed it; Return chooses Cancel.
    MessageDialog dialog;
    dialog.SetActionButtonCaption("Discard");
    dialog.SetCancelButtonVisible(true);
    for (const bool discard : { false, true }) {
        QTimer::singleShot(0, qApp, [discard] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            if (!discard)
                QTest::keyClick(box, Qt::Key_Return);
            for (QAbstractButton* button : box->buttons())
                if (discard && button->text() == "Discard")
                    button->click();
        });
        EXPECT_EQ(dialog.ShowModal(), discard ? MessageDialog::Button::Action : MessageDialog::Button::Cancel);
    }
}
