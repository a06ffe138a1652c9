#include "framework/listbox.h"
#include "framework/listboxmodel.h"
#include "framework/menuitem.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

using namespace fw;

namespace {

class ListboxTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_list.resize(400, 300);
        m_list.SetColumnCount(2);
        m_list.SetHeadings({ "Name", "Value" });
        for (const char* name : { "b", "a", "c" })
            m_list.AddRow(name);
        m_list.show();
        QCoreApplication::processEvents();
        QObject::connect(&m_list, &Listbox::Change, &m_list, [this] { m_changes.push_back(m_list.ListIndex()); });
    }
    QPoint RowCenter(int row) const { return m_list.visualRect(m_list.model()->index(row, 0)).center(); }
    QStringList Shown() const
    {
        QStringList cells;
        for (int row = 0; row < m_list.model()->rowCount(); ++row)
            cells << m_list.model()->index(row, 0).data().toString();
        return cells;
    }

    Listbox m_list;
    std::vector<int> m_changes;
};

} // namespace

TEST_F(ListboxTest, AddRowSelectsNothingAndKeepsHiddenCells)
{
    EXPECT_EQ(m_list.ListIndex(), -1);
    EXPECT_EQ(m_list.LastIndex(), 2);
    m_list.SetCell(2, 5, "hidden note");
    m_list.SetCell(2, 1, "shown");
    EXPECT_EQ(m_list.Cell(2, 5), "hidden note");
    EXPECT_EQ(m_list.Cell(2, 3), "");
    EXPECT_EQ(m_list.model()->columnCount(), 2);
    EXPECT_EQ(m_list.model()->index(2, 1).data().toString(), "shown");

    m_list.RemoveRow(0); // hidden cells travel with their row
    EXPECT_EQ(m_list.Cell(1, 5), "hidden note");
    EXPECT_EQ(m_list.LastIndex(), 1);
    EXPECT_TRUE(m_changes.empty());

    for (const auto& [row, column] : { std::pair(2, 0), { -1, 0 }, { 0, -1 } })
        EXPECT_THROW(m_list.Cell(row, column), OutOfBoundsException) << row << "," << column;
    EXPECT_THROW(m_list.SetCell(2, 0, "x"), OutOfBoundsException);
    EXPECT_THROW(m_list.RemoveRow(2), OutOfBoundsException);
    EXPECT_THROW(m_list.SetListIndex(2), OutOfBoundsException);
    EXPECT_THROW(m_list.SetListIndex(-2), OutOfBoundsException);
    EXPECT_EQ(m_list.ListCount(), 2);
}

TEST_F(ListboxTest, ChangeOnEverySelectionChange)
{
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, RowCenter(1));
    EXPECT_EQ(m_list.ListIndex(), 1);
    m_list.SetListIndex(2);
    m_list.RemoveRow(2); // the selected row goes: no selection
    EXPECT_EQ(m_list.ListIndex(), -1);
    m_list.SetListIndex(1);
    m_list.RemoveRow(0); // a row above goes: the selection moves up
    EXPECT_EQ(m_list.ListIndex(), 0);
    m_list.DeleteAllRows(); // all rows go while one is selected
    EXPECT_EQ(m_list.ListIndex(), -1);
    m_list.DeleteAllRows(); // nothing was selected: no change
    EXPECT_EQ(m_changes, (std::vector<int> { 1, 2, -1, 1, 0, -1 }));
}

TEST_F(ListboxTest, HeadingClickReportsTheColumnAndNeverReorders)
{
    QHeaderView* header = m_list.header();
    const QPoint second(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
    std::vector<int> pressed;
    m_list.SetHeaderPressedHandler([&](int column) {
        pressed.push_back(column);
        return false;
    });
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
    EXPECT_EQ(pressed, (std::vector<int> { 1, 0 }));
    EXPECT_EQ(Shown(), (QStringList { "b", "a", "c" }));
}

TEST_F(ListboxTest, NoMenuWhenTheHandlerDeclines)
{
    m_list.SetConstructContextualMenuHandler([](MenuItem& base, int, int) {
        base.Append(MakeRef<MenuItem>("Edit"));
        return false;
    });
    bool chosen = false;
    m_list.SetContextualMenuActionHandler([&](MenuItem&) { return chosen = true; });
    QContextMenuEvent event(QContextMenuEvent::Mouse, RowCenter(0), m_list.viewport()->mapToGlobal(RowCenter(0)));
    QApplication::sendEvent(m_list.viewport(), &event); // would block in QMenu::exec if a menu were shown
    EXPECT_FALSE(chosen);
    EXPECT_EQ(m_list.ListIndex(), 0) << "the right click selected the row first";
}

TEST_F(ListboxTest, ColumnWidthsAreSharesThatFollowResizing)
{
    m_list.SetColumnCount(3);
    m_list.SetColumnWidths("30%, 70%, 0%");
    EXPECT_TRUE(m_list.isColumnHidden(2));
    for (const int width : { 400, 600 }) {
        m_list.resize(width, 300);
        EXPECT_NEAR(m_list.columnWidth(0), m_list.viewport()->width() * 0.3, 1) << width;
        EXPECT_NEAR(m_list.columnWidth(1), m_list.viewport()->width() * 0.7, 1) << width;
    }
}

TEST(ListboxRows, ManyRowsStayInStep)
{
    Listbox list;
    list.SetColumnCount(3);
    list.show();
    for (int row = 0; row < 200000; ++row) {
        list.AddRow(QStringLiteral("element"));
        list.SetCell(list.LastIndex(), 2, QStringLiteral("a = 1"));
    }
    list.Model().flush();
    EXPECT_EQ(list.model()->rowCount(), 200000);
    list.SetListIndex(199999);
    EXPECT_EQ(list.ListIndex(), 199999);
    EXPECT_EQ(list.Cell(199999, 2), "a = 1");
}

TEST_F(ListboxTest, OnlyGridLineStyleTwoDrawsADottedLine)
{
    for (const int style : { 0, 1, 2 }) {
        m_list.SetGridLinesHorizontal(style);
        m_list.SetGridLinesVertical(style);
        for (const Qt::Orientation orientation : { Qt::Horizontal, Qt::Vertical }) {
            const int pixels = sildra::test::gridLinePixels(m_list, orientation);
            const int length = orientation == Qt::Vertical ? m_list.viewport()->height() : m_list.viewport()->width();
            if (style == 2) {
                EXPECT_GT(pixels, length / 4) << orientation;
                EXPECT_LT(pixels, length * 3 / 4) << "dotted, not solid " << orientation;
            } else {
                EXPECT_EQ(pixels, 0) << style << " " << orientation;
            }
        }
    }
}
