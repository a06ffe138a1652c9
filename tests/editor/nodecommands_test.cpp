#include "editorfixture.h"

#include "xml/xmldocument.h"

using sildra::test::EditorTest;
using sildra::test::kGameXml;

namespace {

class NodeCommandsTest : public EditorTest {
protected:
    void SetUp() override { open(fixture(QStringLiteral("game.xml"), kGameXml)); }

    QStringList childNames(const xml::XmlNode& node) const
    {
        QStringList result;
        for (int i = 0; i < node.ChildCount(); ++i)
            result << node.Child(i).Name();
        return result;
    }
};

TEST_F(NodeCommandsTest, DispatcherComparesWholeCaptionsIgnoringCase)
{
    const QStringList top = names();
    list().SetListIndex(3);
    for (const char* text : { "In ", " In", "-", "", "Inner", "I n" }) {
        EXPECT_FALSE(dispatch(QString::fromLatin1(text)));
        EXPECT_EQ(names(), top) << '"' << text << '"';
    }
    EXPECT_FALSE(dispatch(QStringLiteral("iN")));
    EXPECT_EQ(names(), QStringList({ "Inner" }));
    list().SetListIndex(0);
    EXPECT_FALSE(dispatch(QStringLiteral("OUT")));
    EXPECT_EQ(names(), top);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(NodeCommandsTest, InAndOutWalkThreeLevelsWithTheNestingPath)
{
    const QStringList top = names();
    window->StatusNest().SetText(QStringLiteral("untouched by open"));

    click(3);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(row(0), QStringList({ "Inner", "", "level = 2" }));
    EXPECT_EQ(path(), "Wrapper > ");
    EXPECT_EQ(list().ListIndex(), -1);

    click(0);
    QTest::mouseClick(&window->InButton(), Qt::LeftButton);
    EXPECT_EQ(row(0), QStringList({ "Core", "deep", "" }));
    EXPECT_EQ(path(), "Wrapper > Inner > ");

    // Entering a value node, which only the dispatcher allows, lists its text.
    list().SetListIndex(0);
    dispatch(QStringLiteral("In"));
    EXPECT_EQ(row(0), QStringList({ "#text", "", "" }));
    EXPECT_EQ(path(), "Wrapper > Inner > Core > ");

    for (const char* expected : { "Wrapper > Inner > ", "Wrapper > ", "" }) {
        click(0);
        ASSERT_TRUE(window->OutButton().Enabled());
        QTest::mouseClick(&window->OutButton(), Qt::LeftButton);
        EXPECT_EQ(path(), QString::fromLatin1(expected));
        EXPECT_EQ(list().ListIndex(), -1) << "the node left is not selected";
    }
    EXPECT_EQ(names(), top);
    EXPECT_EQ(window->CurrentNode, window->XMLRead->DocumentElement());

    // Out, then In on the row of the node left, shows the same rows again.
    list().SetListIndex(1);
    dispatch(QStringLiteral("In"));
    QList<QStringList> inside;
    for (int r = 0; r < list().ListCount(); ++r)
        inside << row(r);
    const QString insidePath = path();
    list().SetListIndex(0);
    dispatch(QStringLiteral("Out"));
    list().SetListIndex(1);
    dispatch(QStringLiteral("In"));
    for (int r = 0; r < list().ListCount(); ++r)
        EXPECT_EQ(row(r), inside.value(r));
    EXPECT_EQ(path(), insidePath);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(NodeCommandsTest, DeleteNodeRemovesTheChildAndItsRowTogether)
{
    list().SetListIndex(1);
    dispatch(QStringLiteral("In"));
    const QString before = path();
    list().SetListIndex(1);
    const QStringList gem = row(2);
    EXPECT_FALSE(dispatch(QStringLiteral("Delete Node")));
    EXPECT_EQ(names(), QStringList({ "Damage", "Gem" }));
    EXPECT_EQ(row(1), gem);
    EXPECT_EQ(childNames(window->CurrentNode), names());
    EXPECT_EQ(list().ListIndex(), -1);
    EXPECT_EQ(buttons(), "----");
    EXPECT_EQ(path(), before);

    // Deleting every remaining row keeps list and children in step down to an empty level.
    for (int r : { 1, 0 }) {
        list().SetListIndex(r);
        dispatch(QStringLiteral("delete node"));
        EXPECT_EQ(childNames(window->CurrentNode), names());
    }
    EXPECT_EQ(list().ListCount(), 0);
    EXPECT_EQ(window->CurrentNode.ChildCount(), 0);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(NodeCommandsTest, CommandsWithoutTheirGuardEndInTheErrorBox)
{
    const QStringList top = names();
    list().SetListIndex(-1);
    dispatch(QStringLiteral("In"));
    EXPECT_EQ(errorBoxes(), 1);
    dispatch(QStringLiteral("Delete Node"));
    EXPECT_EQ(errorBoxes(), 2);
    EXPECT_EQ(names(), top);
    EXPECT_EQ(window->XMLRead->DocumentElement().ChildCount(), top.size());

    // "Out" at the top leaves no current node: the list is emptied and the path kept until a file is opened.
    window->StatusNest().SetText(QStringLiteral("kept"));
    list().SetListIndex(0);
    dispatch(QStringLiteral("Out"));
    EXPECT_EQ(errorBoxes(), 3);
    EXPECT_EQ(list().ListCount(), 0);
    EXPECT_EQ(path(), "kept");
    dispatch(QStringLiteral("Out"));
    EXPECT_EQ(errorBoxes(), 4);
    open(fixture(QStringLiteral("again.xml"), kGameXml));
    EXPECT_EQ(names(), top);
    EXPECT_EQ(errorBoxes(), 4);
}

} // namespace
