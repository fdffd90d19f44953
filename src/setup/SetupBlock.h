// The binary forms of the setup record: the 578-byte block exchanged with the KVT and the
// 572-byte form inside setup files (the same entries without the injector dead times).
#pragma once

#include "setup/SetupRecord.h"

#include <QByteArray>
#include <QByteArrayView>

namespace setup {

inline constexpr int setupBlockSize = 578;
inline constexpr int setupFileFormSize = 572;

// Bytes as one byte each, 16-bit values low byte first, maps row by row over throttle.
QByteArray encodeSetupBlock(const SetupRecord& record);
QByteArray encodeSetupFileForm(const SetupRecord& record);

// Decoding never reads past the data: bytes missing at the end read as 0, surplus bytes are
// ignored. The file form leaves the record's dead times as they are.
SetupRecord decodeSetupBlock(QByteArrayView bytes);
void decodeSetupFileForm(QByteArrayView bytes, SetupRecord& record);

}  // namespace setup
