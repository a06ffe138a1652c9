#include "cage.h"

#include <map>
#include <mutex>
#include <new>
#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

namespace xml::detail {

char* Cage::s_base = nullptr;

namespace {
    constexpr size_t kBlock = size_t(1) << 20;

    struct Region {
        std::mutex lock;
        size_t capacity = 0;
        size_t top = kBlock; // the first block stays unused, so that no link is offset 0
        struct FreeBlock {
            char* at;
            bool warm; // its pages were kept
        };
        std::multimap<size_t, FreeBlock> free; // blocks given back, by size
        size_t warm = 0; // bytes of warm free blocks
    };

    // Pages of blocks given back that are kept for the next tree rather than released: loading one file after
    // another would otherwise fault every page in again.
    constexpr size_t kWarmLimit = size_t(64) << 20;

    Region& region()
    {
        static Region r;
        return r;
    }
}

char* Cage::reserve()
{
    Region& r = region();
    const std::lock_guard guard(r.lock);
    if (s_base)
        return s_base;
    // 16 GiB is what 32-bit links in four-byte units reach; a system that refuses so much gets a smaller region.
    for (size_t size = size_t(16) << 30; size >= (size_t(256) << 20); size /= 2) {
        void* at = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (at != MAP_FAILED) {
            r.capacity = size;
            s_base = static_cast<char*>(at);
            return s_base;
        }
    }
    throw std::bad_alloc();
}

void* Cage::take(size_t bytes, size_t& taken)
{
    char* base = Cage::base();
    Region& r = region();
    const std::lock_guard guard(r.lock);
    taken = (bytes + kBlock - 1) / kBlock * kBlock;
    if (auto it = r.free.lower_bound(taken); it != r.free.end()) {
        const auto [size, block] = *it;
        r.free.erase(it);
        if (block.warm)
            r.warm -= taken;
        if (size > taken)
            r.free.emplace(size - taken, Region::FreeBlock { block.at + taken, block.warm });
        return block.at;
    }
    if (taken > r.capacity - r.top)
        throw std::bad_alloc();
    char* at = base + r.top;
    if (mprotect(at, taken, PROT_READ | PROT_WRITE) != 0)
        throw std::bad_alloc();
    r.top += taken;
    ASAN_POISON_MEMORY_REGION(at, taken);
    return at;
}

void Cage::give(void* block, size_t bytes)
{
    Region& r = region();
    const std::lock_guard guard(r.lock);
    // Beyond a few warm blocks the pages go back to the system; the addresses stay ours and read as zeros when
    // reused.
    const bool warm = r.warm + bytes <= kWarmLimit;
    if (warm)
        r.warm += bytes;
    else
        madvise(block, bytes, MADV_DONTNEED);
    // Under the address sanitizer a block stays poisoned until the arena hands its parts out, so that a node used
    // after its tree went, or read beyond its end, is caught as it would be in the heap.
    ASAN_POISON_MEMORY_REGION(block, bytes);
    r.free.emplace(bytes, Region::FreeBlock { static_cast<char*>(block), warm });
}

} // namespace xml::detail
