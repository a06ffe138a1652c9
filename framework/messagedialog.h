#pragma once

#include <QString>

namespace fw {

// A modal message: a bold message, an explanation below it and an icon, closed by its OK button.
class MessageDialog {
public:
    QString Message() const { return m_message; }
    void SetMessage(const QString& message) { m_message = message; }
    QString Explanation() const { return m_explanation; }
    void SetExplanation(const QString& explanation) { m_explanation = explanation; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    // -1 none, 0 note, 1 caution, 2 stop, 3 question.
    int Icon() const { return m_icon; }
    void SetIcon(int icon) { m_icon = icon; }

    // Shows the dialog and returns when it is closed; returns 1 (OK).
    int ShowModal() const;

private:
    QString m_message;
    QString m_explanation;
    QString m_title;
    int m_icon = 0;
};

} // namespace fw
