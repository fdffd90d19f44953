// libFuzzer target: decoding arbitrary bytes as the KVT's setup block and its file form.
#include "setup/SetupBlock.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const setup::SetupRecord record = setup::decodeSetupBlock(bytes);
    const QByteArray block = setup::encodeSetupBlock(record);
    if (block.size() != setup::setupBlockSize)
        std::abort();
    // A whole block survives the round trip byte for byte.
    if (size >= static_cast<size_t>(setup::setupBlockSize) &&
        block != bytes.first(setup::setupBlockSize))
        std::abort();
    setup::SetupRecord fromFile = record;
    setup::decodeSetupFileForm(bytes, fromFile);
    if (setup::encodeSetupFileForm(fromFile).size() != setup::setupFileFormSize)
        std::abort();
    return 0;
}
