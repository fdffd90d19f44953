// The simulated KVT's boot loader, started by "U": it answers the attention byte 0x7B at any
// time between frames, asks for frame 1 with a NAK after 0x00 (starting the transfer anew when
// an attention came before), keeps waiting when the link drops, checks every frame (0x01, n, n + 1,
// 128 data bytes, additive checksum over the 131 bytes before it) and ACKs or NAKs it, and ends on
// 0x04 (the new firmware is in place) or 0x18 (cancelled). It keeps the received image, can write
// it to a file, and injects faults on request.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kvtsim {

struct BootFaults {
    int nakFrame = 0;            // the k-th frame received (from 1) is refused once; 0 for never
    bool wrongChecksum = false;  // the boot loader's checksum test is broken: every frame NAKed
    bool silent = false;         // the boot loader never answers
    int dropAfterFrames = 0;     // the link drops after this many accepted frames; 0 for never
    // The ACK of this accepted frame (from 1) is held back, as if the program had gone before
    // it was sent; the boot loader keeps waiting. 0 for never.
    int holdAckOfFrame = 0;
};

class BootLoader {
public:
    enum class Outcome { Running, Completed, Cancelled };

    // "U" arrived: the boot loader starts afresh.
    void begin();
    bool active() const { return m_active; }
    Outcome outcome() const { return m_outcome; }

    // One byte from the program; returns the answer (may be empty).
    QByteArray receive(quint8 byte);

    void setFaults(const BootFaults& faults) { m_faults = faults; }
    const BootFaults& faults() const { return m_faults; }
    // Where a completed image is written; empty for nowhere.
    void setImageFile(const QString& path) { m_imageFile = path; }
    QString imageFile() const { return m_imageFile; }
    // The link dropped: a frame cut off by it is forgotten; the boot loader keeps waiting.
    void lineDropped();
    // True once after the frame that triggers a dropAfterFrames fault was accepted.
    bool takeDropRequest();

    int framesAccepted() const { return m_accepted; }
    int framesRefused() const { return m_refused; }
    // The data bytes of the accepted frames, in block order.
    const QByteArray& image() const { return m_image; }
    // What the boot loader saw: "7B", "00", "04", "18", "F<n>" for a good frame n, "F<n>!"
    // for a refused one; for tests and the console.
    const QStringList& events() const { return m_events; }
    // A version text found in the image as "SWV=" + 3 characters, else empty.
    QByteArray versionInImage() const;

private:
    QByteArray frameComplete();
    void end(Outcome outcome);

    BootFaults m_faults;
    QString m_imageFile;
    bool m_active = false;
    bool m_started = false;
    bool m_attentionHeard = false;
    Outcome m_outcome = Outcome::Running;
    QByteArray m_frame;
    int m_received = 0;
    int m_accepted = 0;
    int m_refused = 0;
    bool m_dropRequest = false;
    QByteArray m_image;
    QStringList m_events;
};

}  // namespace kvtsim
