// Buttons and displays of the system window's "Firmware" area.
#include "app/FirmwareArea.h"

#include "app/core/Dialogs.h"
#include "forms/systemdialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace app {

FirmwareArea::FirmwareArea(forms::Systemdialog& form, devlink::DeviceLink& link, Dialogs& dialogs,
                           MessageLog& log, const QString& programDirectory, QObject* parent)
    : QObject(parent), m_form(form), m_line(link), m_update(dialogs, log, m_line),
      m_recovery(dialogs, log, m_line, m_update, programDirectory),
      m_watch(m_update, m_line, [&dialogs] { return dialogs.gate().held(); })
{
    m_update.setView(this);
    m_update.setTracker(&m_recovery);
    m_recovery.setView(this);
    m_form.chooseFirmware->setEnabled(true);
    m_form.updateFirmware->setEnabled(true);
    m_form.findBootLoader->setEnabled(true);
    connect(m_form.chooseFirmware, &QPushButton::clicked, this, [this] {
        const QString before = m_update.chosenPath();
        m_update.choose();
        // A boot loader waits: the new file may be what lets the update go on.
        if (m_update.chosenPath() != before)
            m_recovery.offerChoice();
        m_watch.follow();
    });
    connect(m_form.updateFirmware, &QPushButton::clicked, this, [this] {
        // "Abbruch" while a boot loader waits for the user cancels it.
        if (m_recovery.waiting())
            m_recovery.cancel();
        else
            m_update.updateClicked();
        m_watch.follow();
    });
    connect(m_form.findBootLoader, &QPushButton::clicked, this,
            [this] { m_recovery.searchRequested(); });
}

void FirmwareArea::startUp()
{
    m_recovery.takeOverMarker();
}

void FirmwareArea::beforeConnectStep()
{
    if (m_update.busy())
        return;
    m_recovery.beforeConnectStep();
    m_watch.follow();
}

void FirmwareArea::afterConnectStep()
{
    if (!m_update.busy())
        m_recovery.afterConnectStep();
}

void FirmwareArea::step()
{
    m_update.step();
    m_watch.follow();
}

void FirmwareArea::quitting()
{
    m_update.abortForQuit();
    m_watch.follow();
}

void FirmwareArea::showFolder(const QString& text)
{
    m_form.firmwareFolder->setText(text);
}

void FirmwareArea::showFileName(const QString& text)
{
    m_form.firmwareFile->setText(text);
}

void FirmwareArea::showUpdateButton(const QString& text)
{
    m_form.updateFirmware->setText(text);
}

void FirmwareArea::setProgressMaximum(int maximum)
{
    m_form.firmwareProgress->setRange(0, qMax(maximum, 1));
}

void FirmwareArea::setProgress(int value)
{
    m_form.firmwareProgress->setValue(value);
}

void FirmwareArea::showStatus(const QString& text)
{
    m_form.firmwareStatus->setText(text);
}

}  // namespace app
