// Length of a WAV sound from its header, so the start window knows how long to stay.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace app {

// Duration in ms of a PCM WAV file's data, or 0 when the bytes are not a usable WAV file.
qint64 wavDurationMs(const QByteArray& bytes);

// How long the start window stays: the sound's length capped at 2000 ms, 1000 ms without one.
inline qint64 startWindowDuration(qint64 soundMs)
{
    return soundMs > 0 ? qMin<qint64>(soundMs, 2000) : 1000;
}

}  // namespace app
