#include "framework/editfield.h"

#include "framework/application.h"
#include "framework/textview.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <limits>

namespace fw {

namespace {

    // The text a KeyDown handler receives: the typed text, or a control character for keys that type none.
    QString KeyText(const QKeyEvent& event)
    {
        switch (event.key()) {
        case Qt::Key_Enter:
            return QString(QChar(3));
        case Qt::Key_Return:
            return QString(QChar(13));
        case Qt::Key_Tab:
        case Qt::Key_Backtab: // Shift+Tab types the same character
            return QString(QChar(9));
        case Qt::Key_Backspace:
            return QString(QChar(8));
        case Qt::Key_Escape:
            return QString(QChar(27));
        case Qt::Key_Delete:
            return QString(QChar(127));
        case Qt::Key_Home:
            return QString(QChar(1));
        case Qt::Key_End:
            return QString(QChar(4));
        case Qt::Key_PageUp:
            return QString(QChar(11));
        case Qt::Key_PageDown:
            return QString(QChar(12));
        case Qt::Key_Left:
            return QString(QChar(28));
        case Qt::Key_Right:
            return QString(QChar(29));
        case Qt::Key_Up:
            return QString(QChar(30));
        case Qt::Key_Down:
            return QString(QChar(31));
        default:
            // A letter with Ctrl (the shortcut modifier here) comes as a control character, which would read as
            // Return, Enter or Tab; it is the letter that was pressed.
            if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
                return QString(QChar(event.key())).toLower();
            return event.text();
        }
    }

} // namespace

EditField::EditField(QWidget* parent)
    : QWidget(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The inner editor takes the focus; the field only passes it on.
    setFocusPolicy(Qt::NoFocus);
    Rebuild();
}

QLineEdit* EditField::LineEdit() const { return qobject_cast<QLineEdit*>(m_editor); }

QPlainTextEdit* EditField::PlainTextEdit() const { return qobject_cast<QPlainTextEdit*>(m_editor); }

TextView* EditField::View() const { return qobject_cast<TextView*>(m_editor); }

QString EditField::Text() const
{
    if (auto* line = LineEdit())
        return line->text();
    if (auto* plain = PlainTextEdit())
        return plain->toPlainText();
    return View()->text();
}

void EditField::SetText(const QString& text)
{
    if (auto* line = LineEdit())
        line->setText(text);
    else if (auto* plain = PlainTextEdit())
        plain->setPlainText(text);
    else
        View()->setText(text);
}

void EditField::SetText(const TextRef& text)
{
    if (auto* view = View()) {
        view->setText(text);
        return;
    }
    if (!text.buffer)
        throw NilObjectException("text without a buffer");
    const qsizetype from = std::clamp<qsizetype>(text.fromByte, 0, text.buffer->size());
    SetText(text.buffer->decode(from, text.buffer->size()));
}

void EditField::SetMultiline(bool multiline)
{
    if (multiline == m_multiline)
        return;
    m_multiline = multiline;
    Rebuild();
}

void EditField::SetReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    if (auto* line = LineEdit())
        line->setReadOnly(readOnly);
    else
        Rebuild();
}

void EditField::Rebuild()
{
    QWidget* old = m_editor;
    if (!m_multiline) {
        auto* line = new QLineEdit(this);
        // Qt cuts a line at 32,767 characters by default; a field takes any length.
        line->setMaxLength(std::numeric_limits<int>::max());
        line->setReadOnly(m_readOnly);
        m_editor = line;
    } else if (!m_readOnly) {
        m_editor = new QPlainTextEdit(this);
    } else {
        m_editor = new TextView(this);
    }
    m_editor->installEventFilter(this);
    setFocusProxy(m_editor);
    layout()->addWidget(m_editor);
    if (old) {
        // The text moves to the new kind of editor; a view's shared buffer moves without a copy.
        if (auto* view = qobject_cast<TextView*>(old))
            SetText(view->textRef());
        else if (auto* line = qobject_cast<QLineEdit*>(old))
            SetText(line->text());
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(old))
            SetText(plain->toPlainText());
        delete old;
    }
}

bool EditField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    bool consumed = false;
    if (m_keyDown) {
        const QString text = KeyText(key);
        Application::Guard([&] { consumed = m_keyDown(text); });
    }
    if (consumed)
        return true;
    const bool tabKey = (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool backwards = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    if (!tabKey || !m_multiline)
        return false;
    if (m_acceptTabs && !backwards) {
        // Qt moves the focus on Tab before the editor sees the key; keep it here. Shift+Tab still leaves the field.
        if (auto* plain = PlainTextEdit())
            plain->insertPlainText(QStringLiteral("\t"));
        return true;
    }
    // An editable multi-line editor would type the Tab; a field that does not accept tabs moves the focus.
    focusNextPrevChild(!backwards);
    return true;
}

} // namespace fw
