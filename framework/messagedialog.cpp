#include "framework/messagedialog.h"

#include "framework/messagelog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace fw {

MessageDialog::Button MessageDialog::ShowModal() const
{
    if (const auto answer = MessageLog::Record(
            { MessageLog::Kind::MessageDialog, m_message, m_explanation, m_title, m_icon, m_cancelVisible }))
        return *answer;
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
        QMessageBox::NoButton, QApplication::activeWindow());
    box.setInformativeText(m_explanation);
    box.setTextFormat(Qt::PlainText);
    QPushButton* action = box.addButton(m_actionCaption, QMessageBox::AcceptRole);
    // The way back is the default where there is one, so that a stray Return loses nothing.
    QPushButton* cancel = m_cancelVisible ? box.addButton(m_cancelCaption, QMessageBox::RejectRole) : action;
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == action ? Button::Action : Button::Cancel;
}

} // namespace fw
