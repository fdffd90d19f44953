// A stand-in for the device link in editor tests: records every command as the bytes that
// would go on the line (letter first; the 20 ms pause is counted, not waited).
#pragma once

#include "maps/CellLink.h"

#include <QByteArray>
#include <QList>

namespace testsupport {

class FakeCellLink final : public maps::CellLink {
public:
    bool identified() const override { return isIdentified; }
    bool firmwareBusy() const override { return isFirmwareBusy; }
    bool sendPaused(char letter, const QByteArray& bytes) override
    {
        if (failFrom >= 0 && sent.size() >= failFrom)
            return false;
        sent.append(QByteArray(1, letter) + bytes);
        ++pauses;
        return true;
    }

    bool isIdentified = true;
    bool isFirmwareBusy = false;
    QList<QByteArray> sent;
    int pauses = 0;
    // From this many sent commands on, the line takes nothing more (-1: never).
    int failFrom = -1;
};

}  // namespace testsupport
