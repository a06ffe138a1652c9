#include "framework/msgbox.h"

#include "framework/exceptions.h"
#include "framework/messagelog.h"

#include <QApplication>
#include <QMessageBox>

namespace fw {

int MsgBox(const QString& text) { return MsgBox(text, 0, QString()); }

int MsgBox(const QString& text, int code, const QString& title)
{
    if ((code & 0x0F) != 0)
        throw OutOfBoundsException("message box code " + std::to_string(code) + " asks for buttons other than OK");
    if (MessageLog::Record({ MessageLog::Kind::MsgBox, text, {}, title, code }).has_value())
        return 1;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (code & 0x70) {
    case 16:
        icon = QMessageBox::Critical;
        break;
    case 32:
        icon = QMessageBox::Question;
        break;
    case 48:
        icon = QMessageBox::Warning;
        break;
    case 64:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    QMessageBox box(icon, title.isEmpty() ? QApplication::applicationDisplayName() : title, text, QMessageBox::Ok,
        QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
}

} // namespace fw
