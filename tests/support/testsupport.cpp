#include "testsupport.h"

#include "framework/listbox.h"
#include "framework/listboxmodel.h"
#include "framework/rectcontrol.h"
#include "framework/window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace sildra::test {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

QString writeExecutable(const QString& path, const QByteArray& bytes)
{
    writeFile(path, bytes);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QString focusedControl(const fw::Window& window)
{
    for (QWidget* widget = window.focusWidget(); widget && widget != &window; widget = widget->parentWidget())
        for (const fw::RectControl* control : window.Controls())
            if (&control->Widget() == widget)
                return control->Name();
    return {};
}

void sendKeyRepeats(QWidget* receiver, Qt::Key key, int count, Qt::KeyboardModifiers modifiers)
{
    ASSERT_NE(receiver, nullptr);
    const char ascii = QTest::keyToAscii(key);
    const QString text = ascii ? QString(QLatin1Char(ascii)) : QString();
    for (int i = 0; i < count; ++i)
        QTest::simulateEvent(receiver, true, key, modifiers, text, true);
}

QStringList tabWalk(const fw::Window& window, int presses, bool backwards)
{
    QStringList walked;
    for (int i = 0; i < presses; ++i) {
        QWidget* focused = window.focusWidget();
        if (!focused) {
            ADD_FAILURE() << "nothing holds the focus";
            break;
        }
        QTest::keyClick(focused, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        walked << focusedControl(window);
    }
    return walked;
}

int gridLinePixels(fw::Listbox& list, Qt::Orientation orientation)
{
    list.Model().flush();
    const QImage image = list.viewport()->grab().toImage();
    const QRgb line = list.palette().color(QPalette::Mid).rgb();
    int count = 0;
    if (orientation == Qt::Vertical) {
        // Below the rows, where no line between rows crosses it.
        const int x = list.header()->sectionSize(0) - 1;
        const int rows = list.model()->rowCount();
        const int below = rows > 0 ? list.visualRect(list.model()->index(rows - 1, 0)).bottom() + 1 : 0;
        for (int y = below; y < image.height(); ++y)
            count += image.pixel(x, y) == line;
    } else {
        const int y = list.visualRect(list.model()->index(0, 0)).bottom();
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == line;
    }
    return count;
}

void stopProgramWhenShown(QString* label)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, label] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (label)
            *label = box->labelText();
        box->findChild<QPushButton*>(QStringLiteral("StopButton"))->click();
        poll->deleteLater();
    });
    poll->start(20);
}

} // namespace sildra::test

void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << testing::PrintToString(bytes.toStdString()); }

void PrintTo(const QString& text, std::ostream* os) { *os << testing::PrintToString(text.toStdString()); }
