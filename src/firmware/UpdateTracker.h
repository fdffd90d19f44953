// Told when a firmware update starts and when it ends for the KVT (completed, or cancelled
// with the cancel byte), so that an update cut off in between (a pulled cable, a program that
// died) is known afterwards: the KVT then still waits in its boot loader.
#pragma once

#include <QString>
#include <QtGlobal>

namespace firmware {

class UpdateTracker {
public:
    virtual ~UpdateTracker() = default;
    // The transfer of the file at path (size bytes) begins.
    virtual void updateStarted(const QString& path, qint64 size) = 0;
    // The boot loader got the end or the cancel byte: it no longer waits.
    virtual void updateEnded() = 0;
};

}  // namespace firmware
