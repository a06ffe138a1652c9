#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

using Button = fw::MessageDialog::Button;

class UnsavedEditsTest : public MainWindowTest {
protected:
    void SetUp() override { Open(kGameXml); }

    // Deletes the first row's node: an edit that is not saved yet.
    void Edit() { RunOn(0, QStringLiteral("Delete Node")); }
    // How many times the user was asked about unsaved edits (the only message dialogs here).
    long Questions() const
    {
        return std::count_if(messages.Entries().begin(), messages.Entries().end(),
            [](const auto& entry) { return entry.kind == fw::MessageLog::Kind::MessageDialog; });
    }
    // Chooses File > Quit with the event loop running; true when that ended the loop (a loop that goes on is
    // ended a moment later with another status).
    bool Quit()
    {
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            Choose({ QStringLiteral("File"), QStringLiteral("Quit") });
            QTimer::singleShot(100, &context, [] { QCoreApplication::exit(1); });
        });
        return QApplication::exec() == 0;
    }
};

TEST_F(UnsavedEditsTest, QuitAndTheCloseBoxAskWhileEditsAreUnsaved)
{
    EXPECT_TRUE(Quit());
    EXPECT_EQ(Questions(), 0);

    Edit();
    messages.Answer(Button::Cancel);
    EXPECT_FALSE(Quit());
    messages.Answer(Button::Cancel);
    window->close();
    EXPECT_TRUE(window->IsOpen() && window->isVisible());
    EXPECT_EQ(Questions(), 2);

    messages.Answer(Button::Action);
    EXPECT_TRUE(Quit());
    messages.Answer(Button::Action);
    window->close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(Questions(), 4);
}

TEST_F(UnsavedEditsTest, OpeningAnotherFileAsksFirstAndSavedEditsAreNotAskedAbout)
{
    Edit();
    const QByteArray edited = Bytes();
    const std::size_t asked = dialogs.Requests().size();
    messages.Answer(Button::Cancel);
    Choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("XML") });
    messages.Answer(Button::Cancel);
    Choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("QEV") });
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(dialogs.Requests().size(), asked); // no file dialog was shown
    EXPECT_EQ(Bytes(), edited);

    messages.Answer(Button::Action);
    Open("<other><x/></other>");
    EXPECT_EQ(Questions(), 3);
    EXPECT_EQ(Names(), QStringList({ "x" }));
    Open(kGameXml);
    EXPECT_EQ(Questions(), 3);

    Edit();
    SaveAs(Path(QStringLiteral("saved.xml")));
    EXPECT_TRUE(Quit());
    window->close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(Questions(), 3);
}

} // namespace
