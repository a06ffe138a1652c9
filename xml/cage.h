#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace xml::detail {

// One region of address space, reserved once for the whole process, from which every tree takes the memory of its
// nodes. Inside it a link between two nodes takes 32 bits (its offset in units of four bytes) instead of a 64-bit
// pointer: on a large file the links are a good part of the tree. Memory is committed only as blocks are taken, and
// a block given back is released to the system and reused.
class Cage {
public:
    // A block of at least `bytes` (rounded up to whole blocks); throws std::bad_alloc when the region is full.
    // Under the address sanitizer it comes poisoned: the taker unpoisons what it hands out.
    static void* take(size_t bytes, size_t& taken);
    static void give(void* block, size_t bytes);
    // How much of the region has ever been taken, in bytes, given back or not.
    static size_t used();

    static char* base() { return s_base ? s_base : reserve(); }
    static char* s_base; // null until the region is reserved

private:
    static char* reserve();
};

// The 32-bit form of a four-byte-aligned address in the cage, and back; null is 0.
inline uint32_t cageOffset(const void* p)
{
    return p ? uint32_t(size_t(static_cast<const char*>(p) - Cage::base()) >> 2) : 0;
}
inline char* cageAddress(uint32_t offset) { return offset ? Cage::s_base + (size_t(offset) << 2) : nullptr; }

// A link to something that lives in the cage, four-byte aligned. Null is offset 0, which the cage never hands out.
template <class T> class Ref {
public:
    Ref() = default;
    Ref(T* p) { *this = p; }
    Ref& operator=(T* p)
    {
        m_offset = cageOffset(p);
        return *this;
    }
    operator T*() const { return reinterpret_cast<T*>(cageAddress(m_offset)); }
    T* operator->() const { return *this; }

private:
    uint32_t m_offset = 0;
};

} // namespace xml::detail
