#include "support/mainwindowtest.h"

#include <QClipboard>

using namespace sildra::test;

namespace {

class NodeCommandsTest : public MainWindowTest {
protected:
    void SetUp() override { Open(kGameXml); }

    static QStringList ChildNames(const xml::XmlNode& node)
    {
        QStringList names;
        for (int i = 0; i < node.ChildCount(); ++i)
            names << node.Child(i).Name();
        return names;
    }
};

TEST_F(NodeCommandsTest, DispatcherComparesWholeCaptionsIgnoringCase)
{
    const QStringList top = Names();
    List().SetListIndex(3);
    for (const char* text : { "In ", " In", "-", "", "Inner", "I n" }) {
        EXPECT_FALSE(Run(QString::fromLatin1(text)));
        EXPECT_EQ(Names(), top) << '"' << text << '"';
    }
    EXPECT_FALSE(Run(QStringLiteral("iN")));
    EXPECT_EQ(Names(), QStringList({ "Inner" }));
    EXPECT_FALSE(RunOn(0, QStringLiteral("OUT")));
    EXPECT_EQ(Names(), top);
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(NodeCommandsTest, InAndOutWalkThreeLevelsWithTheNestingPath)
{
    const QStringList top = Names();
    window->StatusNest().SetText(QStringLiteral("untouched by open"));

    ClickRow(List(), 3);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(Row(0), QStringList({ "Inner", "", "level = 2" }));
    EXPECT_EQ(NestPath(), "Wrapper > ");
    EXPECT_EQ(List().ListIndex(), -1);

    ClickRow(List(), 0);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(Row(0), QStringList({ "Core", "deep", "" }));
    EXPECT_EQ(NestPath(), "Wrapper > Inner > ");

    // Entering a value node, which only the dispatcher allows, lists its text.
    RunOn(0, QStringLiteral("In"));
    EXPECT_EQ(Row(0), QStringList({ "#text", "", "" }));
    EXPECT_EQ(NestPath(), "Wrapper > Inner > Core > ");

    for (const char* expected : { "Wrapper > Inner > ", "Wrapper > ", "" }) {
        ClickRow(List(), 0);
        ASSERT_TRUE(window->OutButton().Enabled());
        QTest::mouseClick(&window->OutButton(), Qt::LeftButton);
        EXPECT_EQ(NestPath(), QString::fromLatin1(expected));
        EXPECT_EQ(List().ListIndex(), -1) << "the node left is not selected";
    }
    EXPECT_EQ(Names(), top);
    EXPECT_EQ(window->CurrentNode, window->XMLRead->DocumentElement());
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(NodeCommandsTest, NestingPathIsCopiedButNeverChangedThroughTheEditMenu)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ClickRow(List(), 3);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    window->StatusNest().Editor().setFocus();
    for (const char* command : { "Cut", "Paste", "Undo", "Delete" }) {
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        Choose({ QStringLiteral("Edit"), QStringLiteral("Select All") });
        Choose({ QStringLiteral("Edit"), QString::fromLatin1(command) });
        EXPECT_EQ(NestPath(), "Wrapper > ") << command;
    }
    Choose({ QStringLiteral("Edit"), QStringLiteral("Copy") });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Wrapper > ");
}

TEST_F(NodeCommandsTest, DeleteNodeRemovesTheChildAndItsRowTogether)
{
    RunOn(1, QStringLiteral("In"));
    const QString before = NestPath();
    List().SetListIndex(1);
    const QStringList gem = Row(2);
    EXPECT_FALSE(Run(QStringLiteral("Delete Node")));
    EXPECT_EQ(Names(), QStringList({ "Damage", "Gem" }));
    EXPECT_EQ(Row(1), gem);
    EXPECT_EQ(ChildNames(window->CurrentNode), Names());
    EXPECT_EQ(List().ListIndex(), -1);
    EXPECT_EQ(Buttons(), "----");
    EXPECT_EQ(NestPath(), before);

    // Deleting every remaining row keeps list and children in step down to an empty level.
    for (int r : { 1, 0 }) {
        RunOn(r, QStringLiteral("delete node"));
        EXPECT_EQ(ChildNames(window->CurrentNode), Names());
    }
    EXPECT_EQ(window->CurrentNode.ChildCount(), 0);
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(NodeCommandsTest, CommandsWithoutTheirGuardEndInTheErrorBox)
{
    const QStringList top = Names();
    RunOn(-1, QStringLiteral("In"));
    Run(QStringLiteral("Delete Node"));
    EXPECT_EQ(ErrorBoxes(), 2);
    EXPECT_EQ(Names(), top);
    EXPECT_EQ(window->XMLRead->DocumentElement().ChildCount(), top.size());

    // "Out" at the top leaves no current node: the list is emptied and the path kept until a file is opened.
    window->StatusNest().SetText(QStringLiteral("kept"));
    RunOn(0, QStringLiteral("Out"));
    EXPECT_EQ(ErrorBoxes(), 3);
    EXPECT_EQ(List().ListCount(), 0);
    EXPECT_EQ(NestPath(), "kept");
    Run(QStringLiteral("Out"));
    EXPECT_EQ(ErrorBoxes(), 4);
    Open(kGameXml);
    EXPECT_EQ(Names(), top);
    EXPECT_EQ(ErrorBoxes(), 4);
}

} // namespace
