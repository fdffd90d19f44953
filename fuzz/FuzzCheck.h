// The invariant check of the fuzz targets: a violated invariant names itself and aborts, so
// libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) fuzzcheck::checkAt((condition), #condition, __FILE__, __LINE__)

namespace fuzzcheck {

inline void checkAt(bool ok, const char* what, const char* file, int line)
{
    if (ok)
        return;
    std::fprintf(stderr, "%s:%d: invariant violated: %s\n", file, line, what);
    std::abort();
}

}  // namespace fuzzcheck
