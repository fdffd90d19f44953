// The marker file of a running firmware update in the program directory. It is written when an
// update starts and removed when the boot loader no longer waits, so that a program that died
// in between finds at its next start that the KVT may still wait in its boot loader, and with
// which firmware file. Two text lines: the file's path and its size in bytes.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace firmware {

struct UpdateMark {
    QString path;
    qint64 size = -1;  // -1: not readable from the marker
};

class UpdateMarker final {
public:
    explicit UpdateMarker(QString programDirectory);

    static QString fileName() { return QStringLiteral("firmware-update.offen"); }
    QString filePath() const;

    // Written atomically; false when the file could not be written.
    bool write(const UpdateMark& mark) const;
    void remove() const;
    // The marker left by an earlier run, if any. A damaged marker still counts (an update was
    // cut off), with whatever of it could be read.
    std::optional<UpdateMark> read() const;

private:
    QString m_directory;
};

}  // namespace firmware
