#include "support/mainwindowtest.h"

#include <QContextMenuEvent>

using namespace sildra::test;

namespace {

class NodeListTest : public MainWindowTest {
protected:
    void SetUp() override { Open(kGameXml); }

    // The items the contextual menu would offer for the selected row; empty when it would show none.
    QStringList Menu() const
    {
        fw::MenuItem base;
        if (!window->XMLList_ConstructContextualMenu(base, 0, 0))
            return {};
        QStringList texts;
        for (int i = 0; i < base.Count(); ++i)
            texts << base.Item(i)->Text();
        return texts;
    }
};

TEST_F(NodeListTest, RowsHoldNameTrimmedValueAndAttributesOfEveryKindOfChild)
{
    EXPECT_EQ(Rows(),
        QList<QStringList>({ { "Title", "Sildra Quest", "" }, { "Weapon", "", "id = 7, name =  Blade , note = , " },
            { "Empty", "", "" }, { "Wrapper", "", "" }, { "Commented", "", "" }, { "Mixed", "", "" },
            { "#comment", "", "" }, { "#text", "", "" } }));
    EXPECT_EQ(window->CurrentNode.Child(0).Child(0).Value(), "  Sildra Quest  ") << "the node keeps its blanks";

    // The node commands' refill joins the pairs without a trailing separator.
    ClickRow(List(), 1);
    window->InButton_Action();
    EXPECT_EQ(Rows(),
        QList<QStringList>(
            { { "Damage", "12", "" }, { "Range", "3", "kind = melee" }, { "Gem", "", "cut = oval, shine = " } }));
    ClickRow(List(), 0);
    window->OutButton_Action();
    EXPECT_EQ(Row(1), QStringList({ "Weapon", "", "id = 7, name =  Blade , note = " }));
}

TEST_F(NodeListTest, ButtonsAndContextualMenuFollowTheKindOfTheSelectedNode)
{
    EXPECT_EQ(Buttons(), "----");
    EXPECT_EQ(Menu(), QStringList()) << "no row selected: no menu";
    const QStringList valueMenu = { "Edit", "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-" };
    const QStringList structuredMenu = { "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-", "In" };
    for (int r = 0; r < 8; ++r) {
        const bool structured = r == 1 || (r >= 3 && r <= 5);
        ClickRow(List(), r);
        ASSERT_EQ(List().ListIndex(), r);
        EXPECT_EQ(Buttons(), structured ? "-RI-" : "ER--") << "row " << r;
        EXPECT_EQ(Menu(), structured ? structuredMenu : valueMenu) << "row " << r;
    }

    // One level down the current node has a parent, so "Out" is enabled with any row selected.
    ClickRow(List(), 1);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(Buttons(), "----") << "the refilled list has no selection";
    ClickRow(List(), 0);
    EXPECT_EQ(Buttons(), "ER-O");
    EXPECT_EQ(Menu(), valueMenu + QStringList { "Out" });
    List().SetListIndex(-1);
    EXPECT_EQ(Buttons(), "----");
}

TEST_F(NodeListTest, RightClickSelectsShowsTheMenuAndRunsTheChosenCommand)
{
    List().Model().flush();
    const QPoint at = List().visualRect(List().model()->index(3, 0)).center();
    QStringList shown;
    QTimer::singleShot(0, window.get(), [&shown] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        QAction* in = nullptr;
        for (QAction* action : popup->actions()) {
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->text() == QLatin1String("In"))
                in = action;
        }
        ASSERT_NE(in, nullptr);
        in->trigger();
        popup->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, List().viewport()->mapToGlobal(at));
    QApplication::sendEvent(List().viewport(), &event);

    EXPECT_EQ(shown, QStringList({ "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-", "In" }));
    EXPECT_EQ(Names(), QStringList({ "Inner" }));
    EXPECT_EQ(NestPath(), "Wrapper > ");
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(NodeListTest, DoubleClickEditsValueNodesAndEntersStructuredOnes)
{
    const QStringList top = Names();
    WhenModal([](fw::Window& prompt) {
        EXPECT_EQ(prompt.Title(), "Change Property");
        prompt.close();
    });
    ClickRow(List(), 0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(Names(), top);

    ClickRow(List(), 3, true);
    EXPECT_EQ(Names(), QStringList({ "Inner" }));
    EXPECT_EQ(window->CurrentNode.Name(), "Wrapper");
    EXPECT_EQ(NestPath(), "Wrapper > ");

    // A double-click below the last row selects nothing and runs nothing.
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, QPoint(5, List().viewport()->height() - 5));
    EXPECT_EQ(List().ListIndex(), -1);
    EXPECT_EQ(Names(), QStringList({ "Inner" }));
    EXPECT_EQ(ErrorBoxes(), 0);
}

TEST_F(NodeListTest, FailuresInsideTheListHandlersShowTheErrorBox)
{
    // A selected row without a matching child: the document changed under the list.
    List().SetListIndex(7);
    window->CurrentNode.RemoveChild(window->CurrentNode.Child(7));
    EXPECT_EQ(Menu(), QStringList());
    EXPECT_EQ(ErrorBoxes(), 1);
    window->XMLList_DoubleClick();
    EXPECT_EQ(ErrorBoxes(), 2);
    window->XMLList_Change();
    EXPECT_EQ(ErrorBoxes(), 3);
}

} // namespace
