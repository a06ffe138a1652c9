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

    // Pages of ranges given back that are kept for the next tree rather than released: loading one file after
    // another would otherwise fault every page in again.
    constexpr size_t kWarmLimit = size_t(64) << 20;

    struct FreeRange {
        size_t size;
        bool warm; // its pages were kept
    };

    struct Region {
        std::mutex lock;
        size_t capacity = 0;
        size_t top = kBlock; // the first block stays unused, so that no link is offset 0
        // Ranges given back, by address: neighbours are joined, so what is free can be taken again whole.
        std::map<char*, FreeRange> free;
        size_t warm = 0; // bytes of warm free ranges

        // Releases the pages of a warm range: a range is warm only when all of it is.
        void cool(char* at, FreeRange& range)
        {
            if (!range.warm)
                return;
            madvise(at, range.size, MADV_DONTNEED);
            warm -= range.size;
            range.warm = false;
        }

        // Joins the free range at `it` with the one that ends where it starts, if there is one. Ranges of different
        // warmth are joined only when `cooling` allows it, and then lose their pages.
        std::map<char*, FreeRange>::iterator joinBefore(std::map<char*, FreeRange>::iterator it, bool cooling)
        {
            if (it == free.begin())
                return it;
            auto before = std::prev(it);
            if (before->first + before->second.size != it->first)
                return it;
            if (before->second.warm != it->second.warm) {
                if (!cooling)
                    return it;
                cool(before->first, before->second);
                cool(it->first, it->second);
            }
            before->second.size += it->second.size;
            free.erase(it);
            return before;
        }

        // The first free range that fits, taken; null when none does.
        char* takeFree(size_t taken)
        {
            for (auto it = free.begin(); it != free.end(); ++it) {
                if (it->second.size < taken)
                    continue;
                char* at = it->first;
                const FreeRange range = it->second;
                free.erase(it);
                if (range.warm)
                    warm -= taken;
                if (range.size > taken)
                    free.emplace(at + taken, FreeRange { range.size - taken, range.warm });
                return at;
            }
            return nullptr;
        }
    };

    // Never destroyed: a tree held by a static may be freed after every other static is gone.
    Region& region()
    {
        static Region* r = new Region;
        return *r;
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
    // Free ranges first (there are few, as neighbours are joined); warm and cold neighbours are joined only when
    // that is the only way to find room.
    if (char* at = r.takeFree(taken))
        return at;
    for (auto it = r.free.begin(); it != r.free.end() && std::next(it) != r.free.end();)
        it = r.joinBefore(std::next(it), true);
    if (char* at = r.takeFree(taken))
        return at;
    if (taken > r.capacity - r.top)
        throw std::bad_alloc();
    char* at = base + r.top;
    if (mprotect(at, taken, PROT_READ | PROT_WRITE) != 0)
        throw std::bad_alloc();
    r.top += taken;
    ASAN_POISON_MEMORY_REGION(at, taken);
    return at;
}

size_t Cage::used()
{
    Region& r = region();
    const std::lock_guard guard(r.lock);
    return r.top;
}

void Cage::give(void* block, size_t bytes)
{
    Region& r = region();
    const std::lock_guard guard(r.lock);
    char* at = static_cast<char*>(block);
    // Beyond a few warm ranges the pages go back to the system; the addresses stay ours and read as zeros when
    // reused.
    const bool warm = r.warm + bytes <= kWarmLimit;
    if (warm)
        r.warm += bytes;
    else
        madvise(at, bytes, MADV_DONTNEED);
    // Under the address sanitizer a block stays poisoned until the arena hands its parts out, so that a node used
    // after its tree went, or read beyond its end, is caught as it would be in the heap.
    ASAN_POISON_MEMORY_REGION(at, bytes);
    auto it = r.free.emplace(at, FreeRange { bytes, warm }).first;
    it = r.joinBefore(it, false);
    if (auto after = std::next(it); after != r.free.end())
        r.joinBefore(after, false);
}

} // namespace xml::detail
