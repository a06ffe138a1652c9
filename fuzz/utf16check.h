#pragma once

#include <cstddef>
#include <cstdint>

// True for UTF-16 input (by mark, or by a "<" next to a zero byte) that holds a surrogate which is not
// one half of a pair.
bool HasBrokenSurrogate(const uint8_t* data, size_t size);
