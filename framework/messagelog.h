#pragma once

#include "framework/messagedialog.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace fw {

// Test seam: while a MessageLog lives, message boxes and message dialogs are recorded here and answered at once
// instead of being shown: a message dialog with a cancel button takes the next queued answer, every other box and
// a dialog with none left is answered with its action button (OK). The newest live log records.
class MessageLog {
public:
    enum class Kind { MsgBox, MessageDialog };
    struct Entry {
        Kind kind;
        QString text; // MsgBox's text, MessageDialog's Message
        QString explanation; // MessageDialog's Explanation
        QString title;
        int icon; // MsgBox's code, MessageDialog's Icon
        bool cancelable = false; // a MessageDialog with its cancel button shown
    };

    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }
    // Queues the answer of the next message dialog that has a cancel button.
    void Answer(MessageDialog::Button button) { m_answers.push_back(button); }

    // Records an entry in the newest live log and returns the button that answers it; nullopt when no log lives
    // (the box is then to be shown).
    static std::optional<MessageDialog::Button> Record(const Entry& entry);

private:
    std::vector<Entry> m_entries;
    std::deque<MessageDialog::Button> m_answers;
    MessageLog* m_previous;
};

} // namespace fw
