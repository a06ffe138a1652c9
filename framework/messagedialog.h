#pragma once

#include <QString>

namespace fw {

// A modal message: a bold message, an explanation below it and an icon, closed by its action button ("OK") or,
// when shown, its cancel button.
class MessageDialog {
public:
    enum class Button { Action, Cancel };

    QString Message() const { return m_message; }
    void SetMessage(const QString& message) { m_message = message; }
    QString Explanation() const { return m_explanation; }
    void SetExplanation(const QString& explanation) { m_explanation = explanation; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    // -1 none, 0 note, 1 caution, 2 stop, 3 question.
    int Icon() const { return m_icon; }
    void SetIcon(int icon) { m_icon = icon; }
    QString ActionButtonCaption() const { return m_actionCaption; }
    void SetActionButtonCaption(const QString& caption) { m_actionCaption = caption; }
    bool CancelButtonVisible() const { return m_cancelVisible; }
    void SetCancelButtonVisible(bool visible) { m_cancelVisible = visible; }
    QString CancelButtonCaption() const { return m_cancelCaption; }
    void SetCancelButtonCaption(const QString& caption) { m_cancelCaption = caption; }

    // Shows the dialog and returns the button that closed it. With a cancel button shown, that one is the default
    // and Escape or the close box choose it; without one, every way of closing is the action button.
    Button ShowModal() const;

private:
    QString m_message;
    QString m_explanation;
    QString m_title;
    int m_icon = 0;
    QString m_actionCaption = QStringLiteral("OK");
    bool m_cancelVisible = false;
    QString m_cancelCaption = QStringLiteral("Cancel");
};

} // namespace fw
