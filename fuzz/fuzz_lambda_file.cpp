// libFuzzer target: reading arbitrary bytes as a lambda log, and writing the result back.
#include "lambda/KllFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const lambda::KllDocument doc = lambda::decodeKll(bytes);
    // Once written, a table holds whole hundredths of a volt and must survive another round.
    const lambda::KllDocument once = lambda::decodeKll(lambda::encodeKll(doc, "f.kll"));
    const lambda::KllDocument twice = lambda::decodeKll(lambda::encodeKll(once, "f.kll"));
    if (!(once.table == twice.table) || once.comment != twice.comment)
        std::abort();
    for (int i = 1; i <= lambda::kSpeedCells; ++i)
        for (int j = 1; j <= lambda::kThrottleCells; ++j)
            for (int k = 1; k <= lambda::kProbes; ++k)
                if (once.table.at(i, j, k) % 10 != 0)
                    std::abort();
    return 0;
}
