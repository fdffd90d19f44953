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
    void sendPaused(char letter, const QByteArray& bytes) override
    {
        sent.append(QByteArray(1, letter) + bytes);
        ++pauses;
    }

    bool isIdentified = true;
    bool isFirmwareBusy = false;
    QList<QByteArray> sent;
    int pauses = 0;
};

}  // namespace testsupport
