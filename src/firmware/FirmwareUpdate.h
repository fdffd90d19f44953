// The firmware update of the system window's "Firmware" area: choosing the file, the start
// with its checks and boxes, the transfer to the KVT's boot loader as a state machine that
// advances one step at a time, and the cancel. (The area's "EEPROM löschen" is the system
// window's own.)
//
// The program calls step() at every tick of the COM timer while busy() (instead of the polling
// cycle) and byteWaiting() as soon as a byte from the boot loader is there, so that a frame
// follows its ACK without waiting for the next tick. Both handle at most one received byte; only
// the tick sends the attention byte, so the boot loader sees one 0x7B per tick until it answers.
#pragma once

#include "firmware/BootLine.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpdateTracker.h"
#include "firmware/UpdateView.h"

#include <QString>

namespace app {
class Dialogs;
class MessageLog;
}  // namespace app

namespace firmware {

class FirmwareUpdate final {
public:
    FirmwareUpdate(app::Dialogs& dialogs, app::MessageLog& log, BootLine& line);
    FirmwareUpdate(const FirmwareUpdate&) = delete;
    FirmwareUpdate& operator=(const FirmwareUpdate&) = delete;

    // nullptr: no window.
    void setView(UpdateView* view);
    // Told of every start and end of a transfer; nullptr for nobody.
    void setTracker(UpdateTracker* tracker) { m_tracker = tracker; }

    // "firmware wählen".
    void choose();
    // "update KVT" / "Abbruch".
    void updateClicked();
    // The KVT already waits in its boot loader (an update was cut off): the chosen file is
    // sent from block 1, without "U" and without the start's checklist. False, after its
    // message, when the file or the port does not allow it.
    bool resume();
    // The file of an update cut off in an earlier run becomes the current choice.
    void setChosenFile(const QString& path);
    // Folder and name of the current choice; empty when none.
    QString chosenPath() const;

    // One update step per COM-timer tick while busy.
    void step();
    // A byte from the boot loader is waiting (the port's notifier).
    void byteWaiting();
    // The program ends during an update: the boot loader gets the cancel byte now, while the
    // port is still open.
    void abortForQuit();

    bool busy() const { return m_busy; }
    QString folder() const { return m_folder; }
    QString fileName() const { return m_fileName; }
    const FirmwareImage& image() const { return m_image; }
    // Blocks to send; 0 when idle or cancelled.
    int blockCount() const { return m_blockCount; }
    int currentBlock() const { return m_current; }

    // Folder text of the area: longer than 30 characters → first 20, " ... ", last 20.
    static QString shortenedFolder(const QString& folder);
    // The status line while block n of count is sent; startMs is when block 1 was sent.
    static QString transferText(int n, int count, qint64 startMs, qint64 nowMs);

private:
    void start();
    bool portUsable();
    void beginTransfer(bool sendBootCommand);
    void cancel();
    bool decodeChosenFile();
    void runStep(bool fromTick);
    void handleByte(quint8 byte);
    void sendFrame();
    void finish();
    void finishCancel();
    void endOnLostPort();
    void becomeIdle();
    bool lineLost() const;

    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    BootLine& m_line;
    UpdateView m_noView;
    UpdateView* m_view = &m_noView;
    UpdateTracker* m_tracker = nullptr;

    QString m_folder;
    QString m_fileName;
    FirmwareImage m_image;
    int m_blockCount = 0;
    int m_current = 0;
    bool m_busy = false;
    qint64 m_firstFrameMs = 0;
};

}  // namespace firmware
