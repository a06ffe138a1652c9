#pragma once

#include "framework/rectcontrol.h"
#include "framework/textbuffer.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace fw {

class TextView;

// A text field: single-line (QLineEdit), multi-line editable (QPlainTextEdit) or multi-line read-only (TextView,
// which shows a shared buffer and paints only the visible lines). Multiline and ReadOnly pick the kind; the text
// is kept when the kind changes.
class EditField : public QWidget, public RectControl {
    Q_OBJECT

public:
    // Receives each key as text ("\r" Return, "\x03" Enter, "\t" Tab, "c" for Ctrl+C, ...); true consumes the key.
    using KeyDownHandler = std::function<bool(const QString& key)>;

    explicit EditField(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    // Shows a shared buffer from a byte on; other kinds than multi-line read-only get the decoded text.
    void SetText(const TextRef& text);

    bool Multiline() const { return m_multiline; }
    void SetMultiline(bool multiline);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    // Whether Tab is kept by the field instead of moving the focus (multi-line kinds only).
    bool AcceptTabs() const { return m_acceptTabs; }
    void SetAcceptTabs(bool accept) { m_acceptTabs = accept; }

    void SetKeyDownHandler(KeyDownHandler handler) { m_keyDown = std::move(handler); }

    // The inner Qt editor now in use: a QLineEdit, a QPlainTextEdit or a TextView.
    QWidget& Editor() const { return *m_editor; }
    QLineEdit* LineEdit() const;
    QPlainTextEdit* PlainTextEdit() const;
    TextView* View() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget& FocusWidget() const override { return *m_editor; }

private:
    void Rebuild();

    QWidget* m_editor = nullptr;
    bool m_multiline = false;
    bool m_readOnly = false;
    bool m_acceptTabs = false;
    KeyDownHandler m_keyDown;
};

} // namespace fw
