#include "editorfixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QTimer>

using sildra::test::EditorTest;
using sildra::test::kGameXml;

namespace {

class NodeListTest : public EditorTest {
protected:
    void SetUp() override { open(fixture(QStringLiteral("game.xml"), kGameXml)); }

    // Closes whatever modal window a command opens, so that a command that asks for input ends unanswered.
    void dismissModals()
    {
        QTimer::singleShot(0, window.get(), [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
    }
};

TEST_F(NodeListTest, RowsHoldNameTrimmedValueAndAttributesOfEveryKindOfChild)
{
    ASSERT_EQ(list().ListCount(), 8);
    EXPECT_EQ(row(0), QStringList({ "Title", "Sildra Quest", "" }));
    EXPECT_EQ(row(1), QStringList({ "Weapon", "", "id = 7, name =  Blade , note = , " }));
    EXPECT_EQ(row(2), QStringList({ "Empty", "", "" }));
    EXPECT_EQ(row(3), QStringList({ "Wrapper", "", "" }));
    EXPECT_EQ(row(4), QStringList({ "Commented", "", "" }));
    EXPECT_EQ(row(5), QStringList({ "Mixed", "", "" }));
    EXPECT_EQ(row(6), QStringList({ "#comment", "", "" }));
    EXPECT_EQ(row(7), QStringList({ "#text", "", "" }));
    EXPECT_EQ(window->CurrentNode.Child(0).Child(0).Value(), "  Sildra Quest  ") << "the node keeps its blanks";

    // The node commands' refill joins the pairs without a trailing separator.
    click(1);
    window->InButton_Action();
    ASSERT_EQ(names(), QStringList({ "Damage", "Range", "Gem" }));
    EXPECT_EQ(row(0), QStringList({ "Damage", "12", "" }));
    EXPECT_EQ(row(1), QStringList({ "Range", "3", "kind = melee" }));
    EXPECT_EQ(row(2), QStringList({ "Gem", "", "cut = oval, shine = " }));
    click(0);
    window->OutButton_Action();
    EXPECT_EQ(row(1), QStringList({ "Weapon", "", "id = 7, name =  Blade , note = " }));
}

TEST_F(NodeListTest, ButtonsFollowTheKindOfTheSelectedNode)
{
    EXPECT_EQ(buttons(), "----");
    const std::vector<std::pair<int, QString>> expected = { { 0, "ER--" }, { 1, "-RI-" }, { 2, "ER--" }, { 3, "-RI-" },
        { 4, "-RI-" }, { 5, "-RI-" }, { 6, "ER--" }, { 7, "ER--" } };
    for (const auto& [r, state] : expected) {
        click(r);
        ASSERT_EQ(list().ListIndex(), r);
        EXPECT_EQ(buttons(), state) << "row " << r;
    }

    // One level down the current node has a parent, so "Out" is enabled with any row selected.
    click(1);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(buttons(), "----") << "the refilled list has no selection";
    click(0);
    EXPECT_EQ(buttons(), "ER-O");
    click(2);
    EXPECT_EQ(buttons(), "ER-O");
    list().SetListIndex(-1);
    EXPECT_EQ(buttons(), "----");
}

TEST_F(NodeListTest, ContextualMenuOffersTheCommandsOfTheSelectedNode)
{
    EXPECT_EQ(menu(), QStringList()) << "no row selected: no menu";

    const QStringList valueMenu = { "Edit", "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-" };
    const QStringList structuredMenu = { "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-", "In" };
    for (int r : { 0, 2, 6, 7 }) {
        list().SetListIndex(r);
        EXPECT_EQ(menu(), valueMenu) << "row " << r;
    }
    for (int r : { 1, 3, 4, 5 }) {
        list().SetListIndex(r);
        EXPECT_EQ(menu(), structuredMenu) << "row " << r;
    }

    list().SetListIndex(1);
    window->InButton_Action();
    list().SetListIndex(0);
    EXPECT_EQ(menu(), valueMenu + QStringList { "Out" });
}

TEST_F(NodeListTest, RightClickShowsTheMenuAndRunsTheChosenCommand)
{
    list().Model().Flush();
    const QPoint at = list().visualRect(list().model()->index(3, 0)).center();
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
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list().viewport()->mapToGlobal(at));
    QApplication::sendEvent(list().viewport(), &event);

    EXPECT_EQ(shown, QStringList({ "Rename", "Attributes", "-", "Insert Child", "Delete Node", "-", "In" }));
    EXPECT_EQ(names(), QStringList({ "Inner" }));
    EXPECT_EQ(path(), "Wrapper > ");
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(NodeListTest, DoubleClickEntersStructuredNodesOnly)
{
    const QStringList top = names();
    dismissModals();
    doubleClick(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(names(), top) << "a value node is edited, not entered";
    EXPECT_EQ(window->CurrentNode, window->CurrentNode.Child(0).Parent());

    doubleClick(3);
    EXPECT_EQ(names(), QStringList({ "Inner" }));
    EXPECT_EQ(window->CurrentNode.Name(), "Wrapper");
    EXPECT_EQ(path(), "Wrapper > ");

    // A double-click below the last row selects nothing and runs nothing.
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(5, list().viewport()->height() - 5));
    EXPECT_EQ(list().ListIndex(), -1);
    EXPECT_EQ(names(), QStringList({ "Inner" }));
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(NodeListTest, HeadingClickKeepsDocumentOrder)
{
    const QStringList before = names();
    EXPECT_TRUE(window->XMLList_HeaderPressed(0));
    QHeaderView* header = list().header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(names(), before);
}

TEST_F(NodeListTest, FailuresInsideTheListHandlersShowTheErrorBox)
{
    // A selected row without a matching child: the document changed under the list.
    list().SetListIndex(7);
    window->CurrentNode.RemoveChild(window->CurrentNode.Child(7));
    fw::MenuItem base;
    EXPECT_FALSE(window->XMLList_ConstructContextualMenu(base, 0, 0));
    EXPECT_EQ(errorBoxes(), 1);
    window->XMLList_DoubleClick();
    EXPECT_EQ(errorBoxes(), 2);
    window->XMLList_Change();
    EXPECT_EQ(errorBoxes(), 3);
}

} // namespace
