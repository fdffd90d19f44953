// Intel-HEX text for the firmware tests: data records with a correct checksum and whole files.
#pragma once

#include <QByteArray>

namespace firmwaretest {

// A data record of the given bytes at a 16-bit address.
inline QByteArray dataRecord(int address, const QByteArray& data)
{
    QByteArray body;
    body.append(char(data.size()));
    body.append(char((address >> 8) & 0xFF));
    body.append(char(address & 0xFF));
    body.append('\0');
    body += data;
    quint8 sum = 0;
    for (char c : body)
        sum = quint8(sum + quint8(c));
    body.append(char(quint8(-sum)));
    return ":" + body.toHex().toUpper() + "\r\n";
}

inline const QByteArray endRecord = ":00000001FF\r\n";

// The data from address 0 in records of recordBytes each, then the end record.
inline QByteArray hexFile(const QByteArray& data, int recordBytes)
{
    QByteArray out;
    for (int at = 0; at < data.size(); at += recordBytes)
        out += dataRecord(at, data.mid(at, recordBytes));
    return out + endRecord;
}

}  // namespace firmwaretest
