#include "framework/textbuffer.h"
#include "framework/textview.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using fw::MakeTextBuffer;
using fw::Mid;
using fw::TextRef;
using fw::TextView;

namespace {

QStringList lines(const fw::TextBuffer& buffer)
{
    QStringList result;
    for (qsizetype i = 0; i < buffer.lineCount(); ++i)
        result << buffer.decode(buffer.lineStart(i), buffer.lineEnd(i));
    return result;
}

QString decoded(const QByteArray& bytes) { return MakeTextBuffer(bytes)->decode(0, bytes.size()); }

QString clipboardAfterCopy(const TextView& view)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    view.copy();
    return QGuiApplication::clipboard()->text();
}

bool paintsSomething(TextView& view)
{
    const QImage image = view.viewport()->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
    return false;
}

void click(QWidget* widget, QEvent::Type type, QPoint pos, Qt::KeyboardModifiers modifiers = {})
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(TextBuffer, LinesEndAtLfCrLfAndLoneCr)
{
    const auto buffer = MakeTextBuffer("a\nbb\r\nccc\rd");
    EXPECT_EQ(lines(*buffer), QStringList({ "a", "bb", "ccc", "d" }));
    EXPECT_EQ(buffer->lineStart(2), 6);
    EXPECT_EQ(buffer->lineAt(0), 0);
    EXPECT_EQ(buffer->lineAt(5), 1); // the "\n" of "\r\n" belongs to the line it ends
    EXPECT_EQ(buffer->lineAt(6), 2);
    EXPECT_EQ(buffer->lineAt(-4), 0);
    EXPECT_EQ(buffer->lineAt(1000), 3);
    EXPECT_EQ(buffer->longestLine(), 3);

    const std::pair<QByteArray, QStringList> cases[] = { { "a\n", { "a", "" } }, { "\n\r", { "", "", "" } },
        { "\r\n\r\n", { "", "", "" } }, { "no line end", { "no line end" } }, { {}, { "" } } };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(lines(*MakeTextBuffer(bytes)), expected) << bytes.toStdString();
    EXPECT_EQ(MakeTextBuffer({})->longestLine(), 0);

    // The longest line from a byte on, the line holding it counted from there; line ends do not count.
    const auto cut = MakeTextBuffer("aaaa\nbb\r\nccc\r\nd");
    const std::pair<qsizetype, qsizetype> longest[] = { { 0, 0 }, { 1, 0 }, { 2, 2 }, { 5, 2 }, { 14, 3 }, { 99, 3 } };
    for (const auto& [from, line] : longest)
        EXPECT_EQ(cut->longestLineFrom(from), line) << from;
}

TEST(TextBuffer, MidSkipsWholeCharacters)
{
    const QString text = QStringLiteral("h\u00e9llo \u20ac\U0001F600x");
    const TextRef ref { MakeTextBuffer(text.toUtf8()), 0 };
    const auto rest = [](const TextRef& r) { return r.buffer->decode(r.fromByte, r.buffer->size()); };
    // Starts count characters from one; the byte each lands on, before the first and past the last character too.
    const std::pair<int, qsizetype> starts[]
        = { { -3, 0 }, { 1, 0 }, { 2, 1 }, { 3, 3 }, { 8, 10 }, { 9, 14 }, { 10, 15 }, { 1000, 15 } };
    for (const auto& [start, byte] : starts)
        EXPECT_EQ(Mid(ref, start).fromByte, byte) << start;
    EXPECT_EQ(rest(Mid(ref, 8)), QStringLiteral("\U0001F600x"));
    EXPECT_EQ(Mid(Mid(ref, 2), 2).fromByte, Mid(ref, 3).fromByte);
    EXPECT_EQ(Mid(TextRef { MakeTextBuffer("\xff\xe2\x82z"), 0 }, 3).fromByte, 3);
    EXPECT_EQ(Mid(TextRef {}, 5).buffer, nullptr);
}

TEST(TextBuffer, DecodesInvalidUtf8WithReplacementCharacters)
{
    // Each byte that starts no valid sequence is one replacement character: stray, cut short, overlong, surrogate,
    // past U+10FFFF.
    const QString bad(QChar::ReplacementCharacter);
    const std::pair<QByteArray, QString> cases[] = { { "a\xff"
                                                       "b",
                                                         "a" + bad + "b" },
        { "\x80", bad }, { "\xe2\x82", bad }, { "\xe2\x82z", bad + "z" }, { "\xc0\x80", bad.repeated(2) },
        { "\xed\xa0\x80", bad.repeated(3) }, { "\xf4\x90\x80\x80", bad.repeated(4) } };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(decoded(bytes), expected) << bytes.toHex().toStdString();
    const QString valid = QStringLiteral("<a b=\"\u00e9\">\t\u20ac\U0001F600</a>\r\n");
    EXPECT_EQ(decoded(valid.toUtf8()), valid);

    std::vector<qsizetype> offsets;
    const QString pair = MakeTextBuffer("a\xf0\x9f\x98\x80"
                                        "b")
                             ->decode(0, 6, &offsets);
    EXPECT_EQ(pair.size(), 4);
    EXPECT_EQ(offsets, (std::vector<qsizetype> { 0, 1, 1, 5, 6 }));
}

class TextViewTest : public testing::Test {
protected:
    TextView m_view;
};

TEST_F(TextViewTest, ShowsTheTextItWasGiven)
{
    EXPECT_FALSE(paintsSomething(m_view));
    EXPECT_EQ(m_view.text(), QString());

    const QString text = QStringLiteral("line one\n\tindented \u00e9\u20ac\U0001F600\r\nlast");
    m_view.setText(text);
    EXPECT_EQ(m_view.text(), text);
    EXPECT_TRUE(paintsSomething(m_view));

    m_view.setText(TextRef { MakeTextBuffer("\xff\xfe\n\xe2\x82\r\xc0"), 0 });
    EXPECT_EQ(m_view.text().size(), 6);
    EXPECT_TRUE(paintsSomething(m_view));
}

TEST_F(TextViewTest, ViewsShareOneBuffer)
{
    const QByteArray bytes = "first line\nsecond line\n";
    const TextRef whole { MakeTextBuffer(bytes), 0 };
    EXPECT_EQ(whole.buffer->bytes().constData(), bytes.constData());

    TextView preview;
    m_view.setText(whole);
    preview.setText(Mid(whole, 2));
    EXPECT_EQ(m_view.textRef().buffer, whole.buffer);
    EXPECT_EQ(preview.textRef().buffer, whole.buffer);
    EXPECT_EQ(preview.textRef().buffer->bytes().constData(), bytes.constData());
    EXPECT_EQ(preview.text(), QStringLiteral("irst line\nsecond line\n"));

    // Starting inside a "\r\n" leaves an empty first line.
    preview.setText(Mid(TextRef { MakeTextBuffer("\r\nabc"), 0 }, 2));
    preview.selectAll();
    EXPECT_EQ(clipboardAfterCopy(preview), QStringLiteral("\nabc"));
}

TEST_F(TextViewTest, SelectAllAndCopy)
{
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("untouched"));
    m_view.setText(Mid(TextRef { MakeTextBuffer("x\u00e9\tone\r\ntwo"), 0 }, 2));
    m_view.selectAll();
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("\u00e9\tone\r\ntwo"));

    QTest::keyClick(&m_view, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&m_view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\u00e9\tone\r\ntwo"));

    m_view.setEnabled(false);
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("untouched"));
    m_view.selectAll();
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("untouched"));
    EXPECT_TRUE(paintsSomething(m_view));
}

TEST_F(TextViewTest, MouseSelectsByDragAndShiftClick)
{
    m_view.setText(QStringLiteral("first line\nsecond line\nthird"));
    m_view.resize(300, 200);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    QWidget* area = m_view.viewport();
    const int height = m_view.fontMetrics().lineSpacing();
    const int right = area->width() - 2;

    click(area, QEvent::MouseButtonPress, { 0, height / 2 });
    click(area, QEvent::MouseButtonRelease, { 0, height / 2 });
    click(area, QEvent::MouseButtonPress, { right, height * 3 / 2 }, Qt::ShiftModifier);
    click(area, QEvent::MouseButtonRelease, { right, height * 3 / 2 }, Qt::ShiftModifier);
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("first line\nsecond line"));

    click(area, QEvent::MouseButtonPress, { right, height / 2 });
    click(area, QEvent::MouseMove, { 0, height * 5 / 2 });
    click(area, QEvent::MouseButtonRelease, { 0, height * 5 / 2 });
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("\nsecond line\n"));

    click(area, QEvent::MouseButtonPress, { 0, height / 2 });
    click(area, QEvent::MouseMove, { right, area->height() + 50 });
    EXPECT_EQ(clipboardAfterCopy(m_view), m_view.text());
}

TEST_F(TextViewTest, KeysScrollAndSetTextResets)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("line %1\n").arg(i);
    m_view.setText(text);
    m_view.resize(200, 100);
    QScrollBar* vertical = m_view.verticalScrollBar();
    ASSERT_GT(vertical->maximum(), 900);

    QTest::keyClick(&m_view, Qt::Key_Down);
    EXPECT_EQ(vertical->value(), 1);
    QTest::keyClick(&m_view, Qt::Key_PageDown);
    EXPECT_EQ(vertical->value(), 1 + vertical->pageStep());
    QTest::keyClick(&m_view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(vertical->value(), vertical->maximum());
    EXPECT_TRUE(paintsSomething(m_view));
    QTest::keyClick(&m_view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(vertical->value(), 0);
    QTest::keyClick(&m_view, Qt::Key_X);
    EXPECT_EQ(m_view.text(), text);

    m_view.selectAll();
    QTest::keyClick(&m_view, Qt::Key_End, Qt::ControlModifier);
    m_view.setText(text);
    EXPECT_EQ(vertical->value(), 0);
    EXPECT_EQ(clipboardAfterCopy(m_view), QStringLiteral("untouched"));
}

TEST_F(TextViewTest, HugeSingleLinePaints)
{
    QByteArray bytes(20 * 1024 * 1024, 'x');
    bytes.replace(4095, 3, "\xe2\x82\xac"); // a character across where a long line's first segment ends
    m_view.resize(700, 500);
    m_view.setText(TextRef { MakeTextBuffer(bytes), 0 });
    EXPECT_TRUE(paintsSomething(m_view));

    m_view.selectAll();
    EXPECT_EQ(clipboardAfterCopy(m_view).size(), bytes.size() - 2);
}

TEST_F(TextViewTest, HorizontalScrollBarAtItsEndShowsTheEndOfTheLongestLine)
{
    m_view.resize(273, 200);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    QWidget* area = m_view.viewport();
    QScrollBar* bar = m_view.horizontalScrollBar();
    // The text a row shows from the viewport's left edge to x.
    const auto shown = [&](int row, int x) {
        const int y = m_view.fontMetrics().lineSpacing() * row + 2;
        click(area, QEvent::MouseButtonPress, { 0, y });
        click(area, QEvent::MouseButtonRelease, { 0, y });
        click(area, QEvent::MouseButtonPress, { x, y }, Qt::ShiftModifier);
        click(area, QEvent::MouseButtonRelease, { x, y }, Qt::ShiftModifier);
        QGuiApplication::clipboard()->clear();
        m_view.copy();
        return QGuiApplication::clipboard()->text();
    };
    // The row's line ends inside the viewport, near its right edge: the view neither stops short nor scrolls past.
    const auto endsAtTheRight = [&](int row) {
        const QString all = shown(row, area->width() - 1);
        EXPECT_TRUE(all.endsWith(QStringLiteral("END"))) << all.toStdString();
        const int near = m_view.fontMetrics().horizontalAdvance(QStringLiteral("END"))
            + 2 * m_view.fontMetrics().averageCharWidth();
        const QString left = shown(row, area->width() - 1 - near);
        EXPECT_FALSE(left.endsWith(QStringLiteral("END"))) << left.toStdString();
    };

    // Lines laid out whole and in segments; wider and narrower than the average character; first, where the view
    // starts inside it as the preview does, or after a short one.
    struct Case {
        QString unit;
        int bytes;
        bool first;
    };
    const QString mix = QStringLiteral("Wi\tW\u00e9\u6f22 mm\U0001F600.");
    const Case cases[] = { { mix, 2000000, true }, { mix, 2000000, false }, { mix, 9000, true }, { "\t", 9000, false },
        { "W", 9000, true }, { "\u6f22", 9000, false }, { "i\t", 12000, true } };
    for (const auto& [unit, bytes, first] : cases) {
        SCOPED_TRACE(unit.toStdString() + " " + std::to_string(bytes) + (first ? " first" : " second"));
        QByteArray text = first ? "" : "short\n";
        while (text.size() < bytes)
            text += unit.toUtf8();
        text += "END\nlast";
        m_view.setText(Mid(TextRef { MakeTextBuffer(text), 0 }, 2));
        bar->setValue(bar->maximum());
        endsAtTheRight(first ? 0 : 1);
    }

    // A line shorter in bytes but wider than the longest: once it has been painted the end still shows its end.
    m_view.setText(QString(3000, QLatin1Char('i')) + QStringLiteral("\n") + QString(1000, QLatin1Char('\t'))
        + QStringLiteral("END"));
    bar->setValue(bar->maximum());
    area->repaint();
    QCoreApplication::processEvents();
    endsAtTheRight(1);
}
