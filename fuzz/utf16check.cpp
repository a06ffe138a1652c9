#include "utf16check.h"

#include <cstring>
#include <string_view>

namespace {

bool startsWith(const uint8_t* data, size_t size, std::string_view prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

} // namespace

bool HasBrokenSurrogate(const uint8_t* data, size_t size)
{
    bool little;
    if (startsWith(data, size, "\xFF\xFE") || startsWith(data, size, std::string_view("<\0", 2)))
        little = true;
    else if (startsWith(data, size, "\xFE\xFF") || startsWith(data, size, std::string_view("\0<", 2)))
        little = false;
    else
        return false;
    auto unit = [&](size_t i) { return little ? data[i] | data[i + 1] << 8 : data[i] << 8 | data[i + 1]; };
    for (size_t i = 0; i + 1 < size; i += 2) {
        const int u = unit(i);
        if (u >= 0xDC00 && u < 0xE000)
            return true;
        if (u >= 0xD800 && u < 0xDC00) {
            if (i + 3 >= size || unit(i + 2) < 0xDC00 || unit(i + 2) >= 0xE000)
                return true;
            i += 2;
        }
    }
    return false;
}
