#pragma once

#include <QString>
#include <vector>

namespace fw {

// Test seam: while a MessageLog lives, message boxes and message dialogs are recorded here and answered OK at
// once instead of being shown. The newest live log records.
class MessageLog {
public:
    enum class Kind { MsgBox, MessageDialog };
    struct Entry {
        Kind kind;
        QString text; // MsgBox's text, MessageDialog's Message
        QString explanation; // MessageDialog's Explanation
        QString title;
        int icon; // MsgBox's code, MessageDialog's Icon
    };

    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }
    // Records an entry in the newest live log; false when none lives (the box is then to be shown).
    static bool Record(const Entry& entry);

private:
    std::vector<Entry> m_entries;
    MessageLog* m_previous;
};

} // namespace fw
