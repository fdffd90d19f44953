// The byte form of "Motrix.cfg": text lines and little-endian numbers in a fixed order, with
// no checksum and no end marker.
#pragma once

#include "app/core/ProgramSettings.h"

#include <QByteArray>

namespace app {

QByteArray encodeSettings(const ProgramSettings& settings);

enum class SettingsDecode {
    Ok,            // every field read
    Truncated,     // version matched, but the file ended early; the missing fields kept defaults
    WrongVersion,  // first line is not this program's version text; nothing applied
};

struct SettingsDecodeResult {
    SettingsDecode status = SettingsDecode::Ok;
    QString versionLine;  // the file's first line, as read
};

// Fills settings from bytes. Fields that are not wholly present keep the values settings had
// (the defaults, as the caller passes them); values outside their ranges are clamped.
SettingsDecodeResult decodeSettings(const QByteArray& bytes, ProgramSettings& settings);

}  // namespace app
