// What the map editor needs of the device link: whether edited cells may be sent, and the
// sending of one short command (letter, 20 ms pause, bytes; the KVT does not reply).
#pragma once

#include <QByteArray>

namespace maps {

class CellLink {
public:
    virtual ~CellLink() = default;
    virtual bool identified() const = 0;
    virtual bool firmwareBusy() const = 0;
    // Writes the letter, pauses 20 ms, writes the bytes. False when the line did not take
    // them all (it stood still past its write time-out, or the port went away).
    virtual bool sendPaused(char letter, const QByteArray& bytes) = 0;
};

// A link that is never identified: edits change only the SetupRecord.
class NoCellLink final : public CellLink {
public:
    bool identified() const override { return false; }
    bool firmwareBusy() const override { return false; }
    bool sendPaused(char, const QByteArray&) override { return false; }
};

}  // namespace maps
