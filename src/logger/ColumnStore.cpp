#include "logger/ColumnStore.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace logger::columnmemory {

void* grow(void* old, std::size_t oldBytes, std::size_t keepBytes, std::size_t newBytes,
           bool& mapped)
{
#ifdef __linux__
    if (mapped || newBytes >= mappedBytes) {
        void* p = mapped ? mremap(old, oldBytes, newBytes, MREMAP_MAYMOVE)
                         : mmap(nullptr, newBytes, PROT_READ | PROT_WRITE,
                                MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            return nullptr;
        if (!mapped) {
            if (keepBytes > 0)
                std::memcpy(p, old, keepBytes);
            std::free(old);
            mapped = true;
        }
        return p;
    }
#else
    Q_UNUSED(oldBytes);
    Q_UNUSED(keepBytes);
#endif
    mapped = false;
    return std::realloc(old, newBytes);
}

void prefault(void* begin, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // madvise wants a page-aligned start; the page holding begin is in use already.
    const std::size_t page = 4096;
    const auto first = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(begin) + bytes;
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
#endif
}

void release(void* p, std::size_t bytes, bool mapped)
{
    if (!p)
        return;
#ifdef __linux__
    if (mapped) {
        munmap(p, bytes);
        return;
    }
#else
    Q_UNUSED(bytes);
    Q_UNUSED(mapped);
#endif
    std::free(p);
}

}  // namespace logger::columnmemory
