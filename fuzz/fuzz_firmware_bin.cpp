// libFuzzer target: arbitrary bytes as a raw binary firmware file.
#include "firmware/BootProtocol.h"
#include "firmware/FirmwareImage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    firmware::FirmwareImage image;
    const firmware::DecodeStatus status = firmware::decodeBinary(bytes, image);
    const qsizetype expectedBlocks = bytes.size() / firmware::blockSize + 1;
    if (expectedBlocks > firmware::maxBlocks) {
        if (status != firmware::DecodeStatus::TooLarge || image.ready())
            std::abort();
        return 0;
    }
    if (status != firmware::DecodeStatus::Ok || image.blockCount() != expectedBlocks)
        std::abort();
    // The file's bytes, then zeros up to the end of the last block.
    const QByteArray sent = image.bytes();
    if (sent.left(bytes.size()) != bytes ||
        sent.mid(bytes.size()).count('\0') != sent.size() - bytes.size())
        std::abort();
    // Every frame carries its block and a checksum that adds up.
    for (int n = 1; n <= image.blockCount(); ++n) {
        const QByteArray frame = firmware::frameFor(image, n);
        quint8 sum = 0;
        for (int i = 0; i < frame.size() - 1; ++i)
            sum = quint8(sum + quint8(frame.at(i)));
        if (frame.size() != firmware::boot::frameLength || quint8(frame.back()) != sum ||
            frame.mid(3, firmware::blockSize) != image.block(n - 1))
            std::abort();
    }
    return 0;
}
