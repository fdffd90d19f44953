// Finds a KVT that waits in its boot loader for the rest of a firmware update that was cut off
// (a pulled cable, a program that died), and offers the two ways out: resume the update with
// the file last chosen, or cancel it so that the KVT restarts its old firmware.
//
// The probe is the boot loader's own: the attention byte 0x7B, which the boot loader answers
// with 0x7B and the KVT's firmware ignores. It is sent only after an "I" went unanswered, and
// only while an update is known to be cut off (started and not ended, in this run or, by the
// marker file, in an earlier one) or the user asked for it, so a KVT that is silent for another
// reason never gets a boot-loader byte. It is sent at the end of the tick whose identification
// failed and its answer is read at the start of the next tick, before the link flushes the
// line for "I": a probe costs no wait and follows the identification's own pace.
//
// Resuming starts from block 1: a NAK does not name the block the boot loader wants, but after
// the attention and the start byte the boot loader asks for frame 1, so only that is certain.
#pragma once

#include "firmware/BootLine.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/UpdateMarker.h"
#include "firmware/UpdateTracker.h"
#include "firmware/UpdateView.h"

namespace app {
class Dialogs;
class MessageLog;
}  // namespace app

namespace firmware {

class BootRecovery final : public UpdateTracker {
public:
    BootRecovery(app::Dialogs& dialogs, app::MessageLog& log, BootLine& line,
                 FirmwareUpdate& update, const QString& programDirectory);
    BootRecovery(const BootRecovery&) = delete;
    BootRecovery& operator=(const BootRecovery&) = delete;

    void setView(UpdateView* view);

    // Start-up: a marker file left by an earlier run makes its update a cut-off one.
    void takeOverMarker();
    // "Bootloader suchen": one probe after the next unanswered "I".
    void searchRequested();
    // Around the link's connectStep of every tick in which no update runs.
    void beforeConnectStep();
    void afterConnectStep();

    // The boot loader was found and waits for the user: "Abbruch" cancels it.
    bool waiting() const { return m_waiting; }
    // The box with resume (Ja) or cancel (Nein), again after a new file was chosen.
    void offerChoice();
    // Sends the cancel byte; the KVT restarts and is identified anew.
    void cancel();
    // An update was cut off and the boot loader may still wait for it.
    bool interrupted() const { return m_interrupted; }

    void updateStarted(const QString& path, qint64 size) override;
    void updateEnded() override;

private:
    bool lineUsable() const;
    void bootLoaderFound();
    void resume();
    void forgetInterruption();

    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    BootLine& m_line;
    FirmwareUpdate& m_update;
    UpdateMarker m_marker;
    UpdateView m_noView;
    UpdateView* m_view = &m_noView;

    bool m_interrupted = false;
    bool m_requested = false;
    bool m_probeSent = false;
    bool m_waiting = false;
    // The file of the cut-off update, to tell whether it changed since.
    UpdateMark m_mark;
};

}  // namespace firmware
