#include "framework/pushbutton.h"

#include "framework/application.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace fw {

PushButton::PushButton(QWidget* parent)
    : QPushButton(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { Application::Guard([this] { Q_EMIT Action(); }); });
}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    // As on this platform, Return on a focused button presses that button, default or not.
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        QPushButton::keyPressEvent(event);
    else if (m_pressedByReturn)
        click();
    else
        event->ignore();
}

void PushButton::paintEvent(QPaintEvent* event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.text.isEmpty() || fontMetrics().horizontalAdvance(option.text) <= contents.width()) {
        QPushButton::paintEvent(event);
        return;
    }
    // Qt would clip the one line; tall buttons are designed for captions on several lines.
    option.text.clear();
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(), isEnabled(),
        text(), QPalette::ButtonText);
}

} // namespace fw
