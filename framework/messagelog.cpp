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

bool MessageLog::Record(const Entry& entry)
{
    if (!g_newest)
        return false;
    g_newest->m_entries.push_back(entry);
    return true;
}

} // namespace fw
