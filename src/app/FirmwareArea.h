// The "Firmware" area of the system window wired to the firmware update: its buttons, labels,
// progress bar and status line, the update step of the COM-timer tick, the port notifier that
// lets a frame follow its ACK at once, the cancel byte when the program ends mid-update, and the
// search for a boot loader left waiting by a cut-off update ("Bootloader suchen").
#pragma once

#include "firmware/BootRecovery.h"
#include "firmware/ByteWatch.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/LinkBootLine.h"
#include "firmware/UpdateView.h"

#include <QObject>

namespace devlink {
class DeviceLink;
}
namespace forms {
class Systemdialog;
}

namespace app {

class Dialogs;
class MessageLog;

class FirmwareArea final : public QObject, private firmware::UpdateView {
    Q_OBJECT
public:
    FirmwareArea(forms::Systemdialog& form, devlink::DeviceLink& link, Dialogs& dialogs,
                 MessageLog& log, const QString& programDirectory, QObject* parent = nullptr);

    firmware::FirmwareUpdate& update() { return m_update; }
    firmware::BootRecovery& recovery() { return m_recovery; }

    // Start-up, after the settings: an update cut off in an earlier run is looked for.
    void startUp();
    // Around the link's connectStep of every tick: the boot loader probe.
    void beforeConnectStep();
    void afterConnectStep();
    bool watching() const { return m_watch.watching(); }

    // The tick's step while an update runs.
    void step();
    // The program ends: a running update is cancelled while the port is still open.
    void quitting();

private:
    void showFolder(const QString& text) override;
    void showFileName(const QString& text) override;
    void showUpdateButton(const QString& text) override;
    void setProgressMaximum(int maximum) override;
    void setProgress(int value) override;
    void showStatus(const QString& text) override;

    forms::Systemdialog& m_form;
    firmware::LinkBootLine m_line;
    firmware::FirmwareUpdate m_update;
    firmware::BootRecovery m_recovery;
    firmware::ByteWatch m_watch;
};

}  // namespace app
