#include "framework/listboxmodel.h"

#include <gtest/gtest.h>

namespace {

QStringList cells(const fw::ListboxModel& model, int row, int count)
{
    QStringList result;
    for (int column = 0; column < count; ++column)
        result << model.cell(row, column);
    return result;
}

TEST(ListboxModel, CellsKeepTheirTextWhateverIsWrittenAroundThem)
{
    fw::ListboxModel model;
    model.setColumnCount(3);
    model.appendRow(QStringLiteral("Épée"));
    model.appendRow(QString());
    EXPECT_EQ(cells(model, 0, 4), QStringList({ "Épée", "", "", "" }));

    model.setCell(0, 2, QStringLiteral("a = 1, "));
    model.setCell(0, 5, QStringLiteral("hidden 𝄞"));
    EXPECT_EQ(cells(model, 0, 7), QStringList({ "Épée", "", "a = 1, ", "", "", "hidden 𝄞", "" }));

    // Rewriting a middle cell longer or shorter, across the sizes where its length takes more digits.
    for (const qsizetype size : { 200, 20000, 0, 3, 127, 128, 16384 }) {
        const QString text(size, QLatin1Char('x'));
        model.setCell(0, 2, text);
        EXPECT_EQ(cells(model, 0, 7), QStringList({ "Épée", "", text, "", "", "hidden 𝄞", "" })) << size;
    }
    model.setCell(0, 0, QStringLiteral("ö"));
    EXPECT_EQ(model.cell(0, 0), "ö");
    EXPECT_EQ(model.cell(0, 5), "hidden 𝄞");
    EXPECT_EQ(cells(model, 1, 3), QStringList({ "", "", "" }));

    model.deleteRow(0);
    EXPECT_EQ(model.storedRows(), 1);
    model.setCell(0, 1, QStringLiteral("second"));
    EXPECT_EQ(cells(model, 0, 3), QStringList({ "", "second", "" }));
}

TEST(ListboxModel, TheRowBeingWrittenKeepsItsCellsWhenTheNextRowComes)
{
    fw::ListboxModel model;
    model.setColumnCount(3);
    model.appendRow(QStringLiteral("Item"));
    model.setCell(0, 2, QStringLiteral("id = 1"));
    model.setCell(0, 4, QStringLiteral("hidden"));
    model.setCell(0, 2, QStringLiteral("id = 2 𝄞"));
    EXPECT_EQ(cells(model, 0, 5), QStringList({ "Item", "", "id = 2 𝄞", "", "hidden" }));
    model.appendRow(QStringLiteral("Next"));
    model.setCell(0, 1, QStringLiteral("value"));
    EXPECT_EQ(cells(model, 0, 6), QStringList({ "Item", "value", "id = 2 𝄞", "", "hidden", "" }));
    EXPECT_EQ(cells(model, 1, 2), QStringList({ "Next", "" }));
    model.deleteRow(1);
    model.appendRow(QStringLiteral("Last"));
    EXPECT_EQ(model.storedRows(), 2);
    EXPECT_EQ(model.cell(0, 4), "hidden");
}

TEST(ListboxModel, LineBreaksAreShownAsBlanksAndKeptInTheCell)
{
    fw::ListboxModel model;
    model.setColumnCount(2);
    model.appendRow(QStringLiteral("p"));
    model.setCell(0, 1, QStringLiteral("one\n  two\r\nthree"));
    model.flush();
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "one   two  three");
    EXPECT_EQ(model.cell(0, 1), "one\n  two\r\nthree");
}

TEST(ListboxModel, ALongCellShowsItsStartAndKeepsItsWholeText)
{
    // Characters of one to four UTF-8 bytes; the leading "a" puts surrogate pairs across the cut. The last: the bytes
    // that a thousand characters may take end inside the character after them.
    const QString cases[] = { QStringLiteral("x\n").repeated(100000), QStringLiteral("é").repeated(200000),
        QStringLiteral("a𝄞").repeated(100000), QStringLiteral("€").repeated(1000) + QStringLiteral("𝄞more") };
    for (const QString& text : cases) {
        SCOPED_TRACE(text.first(3).toStdString());
        QString expected = text.first(1000);
        if (expected.back().isHighSurrogate())
            expected.chop(1);
        expected.replace(QLatin1Char('\n'), QLatin1Char(' '));
        expected += QChar(0x2026);

        fw::ListboxModel model;
        model.setColumnCount(2);
        model.appendRow(QStringLiteral("Layer"));
        model.setCell(0, 1, text);
        model.flush(); // announces the row and encodes it
        model.appendRow(QStringLiteral("Short"));
        model.setCell(1, 1, QString(1000, QLatin1Char('s')));
        model.flush();
        EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), expected);
        EXPECT_EQ(model.cell(0, 1), text);
        EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QString(1000, QLatin1Char('s')));
    }
}

} // namespace
