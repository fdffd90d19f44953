// libFuzzer target: arbitrary bytes as an Intel HEX firmware file, and the notes scan over them.
#include "firmware/FirmwareImage.h"
#include "firmware/HexNotes.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    firmware::FirmwareImage image;
    const firmware::DecodeStatus status = firmware::decodeHex(bytes, image);
    // Never beyond the 1025 blocks, and a ready image is whole blocks of something decoded.
    if (image.blockCount() < 0 || image.blockCount() > firmware::maxBlocks)
        std::abort();
    if (image.bytes().size() != qsizetype(image.blockCount()) * firmware::blockSize)
        std::abort();
    if (status == firmware::DecodeStatus::Ok && !image.ready())
        std::abort();
    // Decoding the same bytes again gives the same image (nothing of a previous run stays).
    firmware::FirmwareImage again;
    again.put(0, 0xAA);
    if (firmware::decodeHex(bytes, again) != status || again.bytes() != image.bytes())
        std::abort();
    for (const firmware::HexNote& note : firmware::inspectHex(bytes))
        if (note.line < 1 || note.text.isEmpty())
            std::abort();
    return 0;
}
