// libFuzzer target: decoding arbitrary bytes as a setup file, and writing the result back.
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const setup::SetupFileContent content = setup::decodeSetupFile(bytes);
    // Whatever was read must write back to a file of the fixed size and read back the same.
    const QByteArray again =
        setup::encodeSetupFile(content.record, content.description, content.origin, QDateTime());
    if (again.size() != setup::setupFileSize)
        std::abort();
    if (!(setup::decodeSetupFile(again).record == content.record))
        std::abort();
    return 0;
}
