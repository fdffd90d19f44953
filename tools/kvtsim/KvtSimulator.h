// KvtSimulator: the KVT as a pure byte-in/byte-out state machine. Feed it what the program
// sends with receive(); it returns what the KVT answers. It keeps a working setup and an
// EEPROM copy, the lambda log in RAM and EEPROM, its identity and restart count, and a
// running engine. Faults can be switched on to test how the program copes.
//
// Commands: I, D, G, A, P, L (replies); S, E, K, T, Z, M, W, X, N, V, C (no reply); B (reply);
// U starts the boot loader (BootLoader.h); on 0x04 or 0x18 the KVT restarts, after a
// completed update with the new firmware's version text. Not thread-safe; PtyHost serialises
// access.
#pragma once

#include "BootLoader.h"
#include "DynoRun.h"
#include "EngineModel.h"
#include "LiveFrame.h"
#include "TriggerSpoil.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace kvtsim {

enum class Fault {
    None,
    Silence,      // no reply at all
    WrongLetter,  // the reply starts with another letter
    ShortReply,   // the last byte is missing
    LongReply,    // one byte too many
    CutReply,     // the reply ends after FaultPlan::length bytes
    AlteredByte,  // the reply byte at FaultPlan::length (1 = first after the letter) is changed
};

struct FaultPlan {
    Fault fault = Fault::None;
    char onlyFor = 0;  // a command letter, or 0 for every command with a reply
    int count = -1;    // replies affected, -1 for all until cleared
    int length = 0;    // CutReply: bytes sent of each reply; AlteredByte: the byte's index
};

class KvtSimulator {
public:
    KvtSimulator();

    // Bytes received at ms since the KVT started; returns the reply bytes (may be empty).
    QByteArray receive(const QByteArray& bytes, qint64 nowMs);

    // --- faults ---
    void setFault(const FaultPlan& plan) { m_fault = plan; }
    void clearFault() { m_fault = FaultPlan{}; }
    const FaultPlan& fault() const { return m_fault; }

    // --- engine ---
    void setEmergency(bool on) { m_engine.setEmergency(on); }
    bool emergency() const { return m_engine.emergency(); }
    // Every "D" answers exactly this frame until cleared (tests use known values).
    void setFrozenFrame(std::optional<LiveFrame> frame) { m_frozen = std::move(frame); }
    int ignitionMode() const { return m_engine.ignitionMode(); }
    // A run on the roller dynamometer ("dyno" on the console, --dyno-every).
    DynoRun& dynoRun() { return m_dyno; }

    // --- inner state, for tests and the console ---
    QByteArray& setup() { return m_setup; }
    const QByteArray& eeprom() const { return m_eeprom; }
    bool eepromErased() const { return m_eepromErased; }
    void setIdentity(const QByteArray& deviceType12, const QByteArray& hw3, const QByteArray& sw3,
                     const QByteArray& bl3);
    quint16 restartCount() const { return m_restartCount; }
    void setRestartCount(quint16 n) { m_restartCount = n; }
    quint8 calibrationByte() const { return m_calibrationByte; }
    bool inBootLoader() const { return m_boot.active(); }
    int bootFramesAccepted() const { return m_boot.framesAccepted(); }
    BootLoader& bootLoader() { return m_boot; }
    // The SW version of the identity (3 characters).
    QByteArray softwareVersion() const { return m_identity.mid(15, 3); }
    // Last value sent to each test output 1-10 ("V").
    quint16 testOutput(int number) const;
    // Every "V" received, oldest first (the console prints and clears them).
    const std::vector<OutputEvent>& outputEvents() const { return m_outputEvents; }
    std::vector<OutputEvent> takeOutputEvents() { return std::exchange(m_outputEvents, {}); }
    // Spoils the trigger fields of every "D" until set back to None.
    void setTriggerSpoil(TriggerSpoil spoil) { m_triggerSpoil = spoil; }
    TriggerSpoil triggerSpoil() const { return m_triggerSpoil; }
    const LambdaLog& lambdaRam() const { return m_lambdaRam; }
    const LambdaLog& lambdaEeprom() const { return m_lambdaEeprom; }
    // Commands received so far, one letter per command (for tests).
    const QByteArray& commandLog() const { return m_commandLog; }
    // Bytes the firmware took for noise (neither a command letter nor a parameter).
    int noiseBytes() const { return m_noiseBytes; }

private:
    QByteArray handleByte(quint8 byte, qint64 nowMs);
    QByteArray bootLoaderByte(quint8 byte, qint64 nowMs);
    QByteArray reply(char letter, qint64 nowMs);
    void command(char letter, const QByteArray& params, qint64 nowMs);
    int parameterCount(char letter, const QByteArray& soFar) const;
    QByteArray applyFault(char letter, QByteArray reply);
    void restart(qint64 nowMs);
    QByteArray lambdaReply(bool fromEeprom) const;

    EngineModel m_engine;
    DynoRun m_dyno;
    std::optional<LiveFrame> m_frozen;
    QByteArray m_setup;
    QByteArray m_eeprom;
    bool m_eepromErased = false;
    LambdaLog m_lambdaRam{};
    LambdaLog m_lambdaEeprom{};
    QByteArray m_identity;  // 21 characters
    quint16 m_restartCount = 17;
    quint8 m_calibrationByte = 128;
    std::array<quint16, 11> m_testOutputs{};
    std::vector<OutputEvent> m_outputEvents;
    TriggerSpoil m_triggerSpoil = TriggerSpoil::None;
    FaultPlan m_fault;

    char m_pending = 0;  // command waiting for its parameter bytes
    QByteArray m_params;
    QByteArray m_commandLog;
    int m_noiseBytes = 0;

    BootLoader m_boot;
};

}  // namespace kvtsim
