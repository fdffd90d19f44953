// libFuzzer target: arbitrary typed text through the entry rules of every setup field.
#include "setup/EntryRules.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const setup::FieldDescriptor& field : setup::setupFields()) {
        const int stored = setup::entryValue(field, text);
        if (stored < field.minimum || stored > field.maximum)
            std::abort();
        // What is shown for a stored value reads back as the same value.
        if (setup::entryValue(field, setup::displayText(field.encoding, stored)) != stored)
            std::abort();
    }
    return 0;
}
