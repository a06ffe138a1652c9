#pragma once

#include <QtGlobal>

namespace bench {

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:"), 0 where unavailable.
qint64 StatusKb(const char* field);

// Restarts the peak resident size (VmHWM) from the current one, so that a run's own peak can be read.
void ResetPeak();

} // namespace bench
