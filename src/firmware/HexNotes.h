// What a HEX file holds that the decoder does not act on: load addresses with gaps or jumps
// (the data is packed in file order), extended-address and start-address records (refused as
// status 2), line ends of a single character (the reason of a status 4 at the next record) and
// bytes after the end record. For people who check a firmware file before an update.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace firmware {

struct HexNote {
    enum class Kind { AddressGap, ExtendedAddress, StartAddress, LineFeedOnly, AfterEnd };
    Kind kind;
    int line;      // counted from 1
    QString text;  // German, for the user
};

// At most maxNotes notes; scanning stops at the first line that is not a record.
QVector<HexNote> inspectHex(const QByteArray& bytes, int maxNotes = 50);

}  // namespace firmware
