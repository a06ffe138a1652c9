#pragma once

namespace bench {

// Reads the file and parses it with "sildra" (LoadXml) or "pugixml" (in-place parse), once, in this process;
// prints the seconds taken and the process's peak resident size in kB. Returns the exit status.
int ParseOnce(const char* parser, const char* path);

} // namespace bench
