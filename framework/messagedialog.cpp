#include "framework/messagedialog.h"

#include "framework/messagelog.h"

#include <QApplication>
#include <QMessageBox>

namespace fw {

int MessageDialog::ShowModal() const
{
    if (MessageLog::Record({ MessageLog::Kind::MessageDialog, m_message, m_explanation, m_title, m_icon }))
        return 1;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (m_icon) {
    case 0:
        icon = QMessageBox::Information;
        break;
    case 1:
        icon = QMessageBox::Warning;
        break;
    case 2:
        icon = QMessageBox::Critical;
        break;
    case 3:
        icon = QMessageBox::Question;
        break;
    default:
        break;
    }
    QMessageBox box(icon, m_title.isEmpty() ? QApplication::applicationDisplayName() : m_title, m_message,
        QMessageBox::Ok, QApplication::activeWindow());
    box.setInformativeText(m_explanation);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
}

} // namespace fw
