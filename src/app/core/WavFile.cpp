#include "app/core/WavFile.h"

#include <QtEndian>

namespace app {

qint64 wavDurationMs(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return 0;
    quint32 byteRate = 0;
    qint64 pos = 12;
    // Walk the chunks; "fmt " gives the byte rate, "data" the length.
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        const qint64 body = pos + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            byteRate = qFromLittleEndian<quint32>(bytes.constData() + body + 8);
        } else if (id == "data") {
            if (byteRate == 0)
                return 0;
            // A header may claim more data than the file holds; count what is there.
            const qint64 available = qMin<qint64>(size, bytes.size() - body);
            return available * 1000 / byteRate;
        }
        pos = body + size + (size & 1);
    }
    return 0;
}

}  // namespace app
