// The ".kvt" setup file as bytes: ten header lines (the second one UTF-16LE) followed by the
// 572-byte file form of the setup record. Pure functions, so they can be tested and fuzzed.
#pragma once

#include "setup/SetupRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace setup {

inline constexpr int setupFileSize = 858;
inline constexpr int descriptionLength = 100;

// The identification of the KVT that was connected when a setup was saved.
struct SetupOrigin {
    QString deviceType;  // 12 characters
    QString hardware;    // 3 characters each
    QString software;
    QString bootLoader;
    QString restarts;  // the restart count as text, as the file keeps it
    bool operator==(const SetupOrigin&) const = default;
};

// Origin of a restart count read from the KVT.
SetupOrigin makeSetupOrigin(const QString& deviceType, const QString& hardware,
                            const QString& software, const QString& bootLoader, int restarts);

struct SetupFileContent {
    QString headerLine;   // "KVT-Setup yyyy.mm.dd hh:mm"
    QString description;  // blanks at both ends removed
    SetupOrigin origin;
    SetupRecord record;
    // True when the first line carries the setup file mark and the binary part is whole.
    bool wellFormed = false;
    int binaryBytes = 0;  // bytes of the binary part present (at most 572)
};

// The description is cut after 100 characters and padded with spaces; the identity texts are
// fitted to their widths one byte per character, so the file keeps its fixed layout.
QByteArray encodeSetupFile(const SetupRecord& record, const QString& description,
                           const SetupOrigin& origin, const QDateTime& savedAt);

// Lines may end in CR LF, LF or CR. Missing lines read empty and missing binary bytes as 0.
// The record's dead times are taken from base, which the file does not carry.
SetupFileContent decodeSetupFile(QByteArrayView bytes, const SetupRecord& base = {});

}  // namespace setup
