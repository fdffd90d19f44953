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
