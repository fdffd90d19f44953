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
    // Writes the letter, pauses 20 ms, writes the bytes.
    virtual void sendPaused(char letter, const QByteArray& bytes) = 0;
};

// A link that is never identified: edits change only the SetupRecord.
class NoCellLink final : public CellLink {
public:
    bool identified() const override { return false; }
    bool firmwareBusy() const override { return false; }
    void sendPaused(char, const QByteArray&) override {}
};

}  // namespace maps
