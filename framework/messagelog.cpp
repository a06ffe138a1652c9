#include "framework/messagelog.h"

namespace fw {

namespace {
    MessageLog* g_newest = nullptr;
}

MessageLog::MessageLog()
    : m_previous(g_newest)
{
    g_newest = this;
}

MessageLog::~MessageLog() { g_newest = m_previous; }

std::optional<MessageDialog::Button> MessageLog::Record(const Entry& entry)
{
    if (!g_newest)
        return std::nullopt;
    g_newest->m_entries.push_back(entry);
    if (!entry.cancelable || g_newest->m_answers.empty())
        return MessageDialog::Button::Action;
    const MessageDialog::Button answer = g_newest->m_answers.front();
    g_newest->m_answers.pop_front();
    return answer;
}

} // namespace fw
