// The probe for a waiting boot loader and the two ways out of it.
#include "firmware/BootRecovery.h"

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "firmware/BootProtocol.h"

#include <QFileInfo>

namespace firmware {

BootRecovery::BootRecovery(app::Dialogs& dialogs, app::MessageLog& log, BootLine& line,
                           FirmwareUpdate& update, const QString& programDirectory)
    : m_dialogs(dialogs), m_log(log), m_line(line), m_update(update), m_marker(programDirectory)
{
}

void BootRecovery::setView(UpdateView* view)
{
    m_view = view ? view : &m_noView;
}

bool BootRecovery::lineUsable() const
{
    return m_line.portOpen() && !m_line.failed();
}

// ---------------------------------------------------------------- what starts a probe

void BootRecovery::updateStarted(const QString& path, qint64 size)
{
    m_interrupted = true;
    // An answer to a probe still under way is the update's now: its attention byte's answer.
    m_probeSent = false;
    m_waiting = false;
    m_mark = {path, size};
    if (!m_marker.write(m_mark))
        m_log.logMessage(QStringLiteral("Update-Markierung konnte nicht geschrieben werden"));
}

void BootRecovery::updateEnded()
{
    forgetInterruption();
}

void BootRecovery::forgetInterruption()
{
    m_interrupted = false;
    m_requested = false;
    m_marker.remove();
}

void BootRecovery::takeOverMarker()
{
    const std::optional<UpdateMark> mark = m_marker.read();
    if (!mark)
        return;
    m_interrupted = true;
    m_mark = *mark;
    m_update.setChosenFile(mark->path);
    m_log.logMessage(QStringLiteral("Letztes firmware-update wurde nicht beendet"));
}

void BootRecovery::searchRequested()
{
    if (m_update.busy() || m_waiting)
        return;
    if (!lineUsable()) {
        m_view->showStatus(QStringLiteral("com-port nicht verfügbar"));
        return;
    }
    if (m_line.identified()) {
        m_view->showStatus(QStringLiteral("KVT ist identifiziert - kein Bootloader aktiv"));
        return;
    }
    m_requested = true;
    m_view->showStatus(QStringLiteral("suche Bootloader ..."));
}

// ---------------------------------------------------------------- the probe

void BootRecovery::afterConnectStep()
{
    if (m_waiting) {
        // The cable was pulled again: once it is back the boot loader is looked for anew.
        if (!lineUsable()) {
            m_waiting = false;
            m_line.setFirmwareBusy(false);
            m_view->showUpdateButton(QStringLiteral("update KVT"));
        }
        return;
    }
    if (m_line.identified()) {
        // The KVT's firmware answers "I": no boot loader waits (any more).
        if (m_interrupted) {
            m_log.logMessage(
                QStringLiteral("KVT meldet sich mit firmware - kein Bootloader wartet"));
            forgetInterruption();
        }
        m_requested = false;
        return;
    }
    // Only right after an unanswered "I", and only once its answer was looked at: one probe
    // per identification, never more.
    if ((!m_interrupted && !m_requested) || m_probeSent || !lineUsable())
        return;
    // Whatever came late to "I" must not be taken for the answer.
    m_line.discardInput();
    m_line.write(QByteArray(1, char(boot::attention)));
    m_probeSent = true;
}

void BootRecovery::beforeConnectStep()
{
    if (!m_probeSent)
        return;
    m_probeSent = false;
    // The boot loader answers the attention byte with the same byte and nothing else.
    int answers = 0;
    int others = 0;
    while (m_line.bytesWaiting() > 0) {
        const std::optional<quint8> byte = m_line.readByte();
        if (!byte)
            break;
        ++(*byte == boot::attention ? answers : others);
    }
    if (answers > 0 && others == 0 && lineUsable()) {
        m_requested = false;
        bootLoaderFound();
        return;
    }
    if (m_requested) {
        m_requested = false;
        m_view->showStatus(QStringLiteral("kein wartender Bootloader gefunden"));
        m_log.logMessage(QStringLiteral("kein wartender Bootloader gefunden"));
    }
}

// ---------------------------------------------------------------- the ways out

void BootRecovery::bootLoaderFound()
{
    m_waiting = true;
    // The line is the boot loader's until the user has chosen: no "I" every tick meanwhile.
    m_line.setFirmwareBusy(true);
    m_view->showUpdateButton(QStringLiteral("Abbruch"));
    m_view->showStatus(QStringLiteral("KVT wartet im Bootloader"));
    m_log.logMessage(QStringLiteral("KVT wartet im Bootloader auf firmware"));
    offerChoice();
}

void BootRecovery::offerChoice()
{
    if (!m_waiting)
        return;
    const QString path = m_update.chosenPath();
    const QString file =
        path.isEmpty() ? QStringLiteral("(keine Datei gewählt)") : QFileInfo(path).fileName();
    const bool resumeIt = m_dialogs.question(
        QStringLiteral("firmware update"),
        QStringLiteral("Die KVT wartet in ihrem Bootloader auf den Rest eines abgebrochenen "
                       "firmware-updates.\r\rJa: update mit ") +
            file +
            QStringLiteral(" fortsetzen (von Block 1 an)\rNein: update abbrechen, die KVT "
                           "startet ihre bisherige firmware (falls vorhanden)"));
    if (resumeIt)
        resume();
    else
        cancel();
}

void BootRecovery::resume()
{
    const QString path = m_update.chosenPath();
    if (!path.isEmpty() && path == m_mark.path && m_mark.size >= 0 &&
        QFileInfo(path).size() != m_mark.size) {
        m_dialogs.message(QStringLiteral("firmware update"),
                          QStringLiteral("Die firmware-Datei hat sich seit dem Start des "
                                         "updates geändert.\rBitte Datei prüfen und neu wählen."));
        return;
    }
    if (m_update.resume()) {
        m_waiting = false;
        return;
    }
    // The refusal's message was shown; the KVT waits on for "Abbruch" or a newly chosen file.
    m_view->showUpdateButton(QStringLiteral("Abbruch"));
    m_view->showStatus(QStringLiteral("KVT wartet im Bootloader"));
}

void BootRecovery::cancel()
{
    if (!m_waiting)
        return;
    if (!lineUsable()) {
        // The boot loader cannot hear it; once the port is back it is looked for anew.
        m_view->showStatus(QStringLiteral("com-port nicht verfügbar"));
        return;
    }
    m_waiting = false;
    m_line.write(QByteArray(1, char(boot::cancel)));
    forgetInterruption();
    m_line.setFirmwareBusy(false);
    // The KVT restarts its old firmware: the next tick identifies it.
    m_line.forgetIdentification();
    m_view->showUpdateButton(QStringLiteral("update KVT"));
    m_view->setProgress(0);
    m_view->showStatus(QStringLiteral("update durch Benutzer abgebrochen!"));
    m_log.logMessage(QStringLiteral("update durch Benutzer abgebrochen"));
}

}  // namespace firmware
