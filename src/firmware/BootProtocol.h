// The boot loader's byte protocol: the control bytes and the data frame of one block.
#pragma once

#include "firmware/FirmwareImage.h"

#include <QByteArray>
#include <QtGlobal>

namespace firmware {

namespace boot {
constexpr quint8 attention = 0x7B;  // "{": asked by the program, answered by the boot loader
constexpr quint8 start = 0x00;      // the program's answer to each attention byte
constexpr quint8 frameStart = 0x01;
constexpr quint8 endOfTransfer = 0x04;
constexpr quint8 ack = 0x06;
constexpr quint8 nak = 0x15;
constexpr quint8 cancel = 0x18;
// 0x01, n mod 256, (n + 1) mod 256, 128 data bytes and the checksum over the 131 bytes
// before it: 132 bytes on the line.
constexpr int frameLength = 3 + blockSize + 1;
}  // namespace boot

// The frame of block n (n ≥ 1), which carries image block n − 1.
QByteArray frameFor(const FirmwareImage& image, int n);

}  // namespace firmware
