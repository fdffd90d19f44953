// Choose, start, step and cancel of the firmware update.
#include "firmware/FirmwareUpdate.h"

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "firmware/BootProtocol.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace firmware {

namespace {
const QString idleButton = QStringLiteral("update KVT");
const QString busyButton = QStringLiteral("Abbruch");

QByteArray oneByte(quint8 b)
{
    return QByteArray(1, char(b));
}
}  // namespace

FirmwareUpdate::FirmwareUpdate(app::Dialogs& dialogs, app::MessageLog& log, BootLine& line)
    : m_dialogs(dialogs), m_log(log), m_line(line)
{
}

void FirmwareUpdate::setView(UpdateView* view)
{
    m_view = view ? view : &m_noView;
}

QString FirmwareUpdate::shortenedFolder(const QString& folder)
{
    if (folder.size() <= 30)
        return folder;
    return folder.left(20) + QStringLiteral(" ... ") + folder.right(20);
}

QString FirmwareUpdate::transferText(int n, int count, qint64 startMs, qint64 nowMs)
{
    const QString head = QStringLiteral("übertrage Datenblock ") + QString::number(n);
    // Before the second block there is nothing to estimate from.
    if (n <= 1)
        return head;
    const double remainingMs = double(nowMs - startMs) / (n - 1) * (count - n);
    // Halves go to the even neighbour, as every rounding in the program.
    const long seconds = std::lrint(remainingMs / 1000.0);
    return head + QStringLiteral("  (") + QString::number(seconds) + QStringLiteral(" sec.)");
}

// ---------------------------------------------------------------- choose

void FirmwareUpdate::choose()
{
    const QString startPath =
        m_folder.isEmpty() ? m_fileName : m_folder + QLatin1Char('/') + m_fileName;
    const QString path =
        m_dialogs.openFile(QStringLiteral("KVT-firmware wählen"), startPath,
                           QStringLiteral("KVT-fimware-Dateien (*.bin *.hex);;Alle Dateien (*.*)"));
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (kindOfFile(info.fileName()) == FileKind::Other) {
        m_view->showFileName(QStringLiteral("Falscher Dateityp"));
        return;
    }
    m_folder = info.absolutePath();
    m_fileName = info.fileName();
    m_view->showFolder(shortenedFolder(m_folder));
    m_view->showFileName(m_fileName);
}

// ---------------------------------------------------------------- start and cancel

void FirmwareUpdate::updateClicked()
{
    m_view->setProgress(0);
    if (m_busy)
        cancel();
    else
        start();
}

void FirmwareUpdate::start()
{
    if (m_fileName.isEmpty() || kindOfFile(m_fileName) == FileKind::Other) {
        m_dialogs.message(QStringLiteral("firmweare update"),
                          QStringLiteral("Passende Firmwaredatei wählen !"));
        return;
    }
    m_dialogs.message(
        QStringLiteral("KVT-firmware update"),
        QStringLiteral("Setup aus der KVT gesichert?\rAktuelle firmware als Datei verfügbar?\r\r"
                       "EEPROM gelöscht (bei einigen firmware-updates erforderlich) ?\r\r"
                       "Motor im Stillstand?\rZündkerzenstecker gezogen?\r"
                       "Einspritzpumpe ausser Funktion?"));
    if (!decodeChosenFile() || !portUsable())
        return;
    beginTransfer(m_line.identified());
}

bool FirmwareUpdate::resume()
{
    m_view->setProgress(0);
    if (m_busy)
        return false;
    if (m_fileName.isEmpty() || kindOfFile(m_fileName) == FileKind::Other) {
        m_dialogs.message(QStringLiteral("firmweare update"),
                          QStringLiteral("Passende Firmwaredatei wählen !"));
        return false;
    }
    if (!decodeChosenFile() || !portUsable())
        return false;
    m_log.logMessage(QStringLiteral("Update ab Block 1 fortsetzen"));
    // The boot loader runs already: "U" is a command of the KVT's firmware.
    beginTransfer(false);
    return true;
}

void FirmwareUpdate::setChosenFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || kindOfFile(info.fileName()) == FileKind::Other)
        return;
    m_folder = info.absolutePath();
    m_fileName = info.fileName();
    m_view->showFolder(shortenedFolder(m_folder));
    m_view->showFileName(m_fileName);
}

QString FirmwareUpdate::chosenPath() const
{
    return m_fileName.isEmpty() ? QString() : m_folder + QLatin1Char('/') + m_fileName;
}

bool FirmwareUpdate::portUsable()
{
    if (m_line.portOpen() && !m_line.failed())
        return true;
    m_dialogs.message(QStringLiteral("update"), QStringLiteral("com-port nicht verfügbar"));
    m_log.logMessage(QStringLiteral("Update com-port nicht verfügbar"));
    return false;
}

void FirmwareUpdate::beginTransfer(bool sendBootCommand)
{
    m_blockCount = m_image.blockCount();
    m_busy = true;
    m_line.setFirmwareBusy(true);
    m_view->showUpdateButton(busyButton);
    m_log.logMessage(QStringLiteral("Update innitialisieren"));
    if (m_tracker)
        m_tracker->updateStarted(chosenPath(), QFileInfo(chosenPath()).size());
    if (sendBootCommand)
        m_line.sendBootCommand();
    m_view->setProgressMaximum(m_blockCount);
    m_view->showStatus(QStringLiteral("update wird gestartet ..."));
    m_log.logMessage(QStringLiteral("Update ..."));
    m_current = 0;
}

bool FirmwareUpdate::decodeChosenFile()
{
    const FileKind kind = kindOfFile(m_fileName);
    QFile file(m_folder + QLatin1Char('/') + m_fileName);
    // A binary longer than the image is refused by its size, without reading it.
    const qint64 limit = kind == FileKind::Binary ? qint64(maxImageBytes) : maxHexFileBytes;
    QByteArray bytes;
    bool readable = file.open(QIODevice::ReadOnly);
    if (readable) {
        bytes = file.read(limit + 1);
        readable = file.error() == QFileDevice::NoError;
    }
    if (!readable) {
        m_blockCount = 0;
        m_image.clear();
        m_dialogs.message(QStringLiteral("firmweare update"),
                          QStringLiteral("Konnte firmare-Datei nicht öffnen :-("));
        m_log.logMessage(QStringLiteral("firmware-Datei konnte nicht geöffnet werden"));
        return false;
    }
    m_log.logMessage(QStringLiteral("firmware ") + m_fileName + QStringLiteral(" gewählt"));
    m_log.logMessage(kind == FileKind::Binary ? QStringLiteral("firmware-Datei decodieren(bin)")
                                              : QStringLiteral("firmware-Datei decodieren(hex)"));
    file.close();
    DecodeStatus status = DecodeStatus::TooLarge;
    if (bytes.size() <= limit)
        status = decodeFirmware(bytes, kind, m_image, [this](int b) {
            m_view->showStatus(QStringLiteral("decodiere... ") + QString::number(b));
        });
    else
        m_image.clear();
    if (status == DecodeStatus::Ok)
        return true;
    const QString code = QString::number(int(status));
    m_dialogs.message(QStringLiteral("firmware"),
                      QStringLiteral(" Formatfehler (") + code + QStringLiteral(")"));
    m_log.logMessage(QStringLiteral("firmware: Formatfehler (") + code + QStringLiteral(") ") +
                     statusText(status));
    m_dialogs.message(QStringLiteral("update"), QStringLiteral("firmware-Datei fehlerhaft"));
    m_log.logMessage(QStringLiteral("firmware-Datei fehlerhaft"));
    return false;
}

void FirmwareUpdate::cancel()
{
    m_view->showUpdateButton(idleButton);
    m_blockCount = 0;
    m_view->showStatus(QStringLiteral("update abgebrochen!!!"));
    m_log.logMessage(QStringLiteral("Update abgebrochen"));
}

void FirmwareUpdate::abortForQuit()
{
    if (!m_busy)
        return;
    // With the port lost the boot loader keeps waiting, and the tracker's record says so at
    // the next start.
    if (!lineLost()) {
        m_line.write(oneByte(boot::cancel));
        if (m_tracker)
            m_tracker->updateEnded();
    }
    becomeIdle();
    m_view->showStatus(QStringLiteral("update durch Benutzer abgebrochen!"));
    m_log.logMessage(QStringLiteral("update durch Benutzer abgebrochen"));
}

// ---------------------------------------------------------------- the steps

void FirmwareUpdate::step()
{
    runStep(true);
}

void FirmwareUpdate::byteWaiting()
{
    runStep(false);
}

bool FirmwareUpdate::lineLost() const
{
    return !m_line.portOpen() || m_line.failed();
}

void FirmwareUpdate::runStep(bool fromTick)
{
    if (!m_busy)
        return;
    if (lineLost()) {
        endOnLostPort();
        return;
    }
    if (m_blockCount == 0) {
        finishCancel();
        return;
    }
    if (m_current == 0 && fromTick)
        m_line.write(oneByte(boot::attention));
    if (m_line.bytesWaiting() > 0) {
        if (const auto byte = m_line.readByte())
            handleByte(*byte);
    }
    if (m_busy && lineLost())
        endOnLostPort();
}

void FirmwareUpdate::handleByte(quint8 byte)
{
    switch (byte) {
    case boot::attention:
        m_line.write(oneByte(boot::start));
        m_current = 1;
        break;
    case boot::ack:
        if (m_current < m_blockCount) {
            ++m_current;
            sendFrame();
        } else {
            finish();
        }
        break;
    case boot::nak:
        // Before the boot loader answered there is no current block to send.
        if (m_current >= 1)
            sendFrame();
        break;
    default: break;
    }
}

void FirmwareUpdate::sendFrame()
{
    // With bytes still coming in or going out the frame would collide; the boot loader's
    // next NAK asks for it again.
    if (m_line.bytesWaiting() > 0 || m_line.bytesToWrite() > 0)
        return;
    m_line.write(frameFor(m_image, m_current));
    m_view->setProgress(m_current);
    const qint64 now = m_line.nowMs();
    if (m_current == 1)
        m_firstFrameMs = now;
    m_view->showStatus(transferText(m_current, m_blockCount, m_firstFrameMs, now));
}

void FirmwareUpdate::finish()
{
    m_line.write(oneByte(boot::endOfTransfer));
    if (m_tracker)
        m_tracker->updateEnded();
    m_line.pause(100);
    becomeIdle();
    m_view->showStatus(QStringLiteral("update erfolgreich beendet"));
    m_log.logMessage(QStringLiteral("update erfolgreich"));
    m_line.discardInput();
}

void FirmwareUpdate::finishCancel()
{
    m_line.write(oneByte(boot::cancel));
    if (m_tracker)
        m_tracker->updateEnded();
    becomeIdle();
    m_view->showStatus(QStringLiteral("update durch Benutzer abgebrochen!"));
    m_log.logMessage(QStringLiteral("update durch Benutzer abgebrochen"));
}

void FirmwareUpdate::endOnLostPort()
{
    // Nothing more is written: the port is gone. The link reports and closes it at its next
    // connectStep and identifies the KVT anew once the port is back; the tracker is not told
    // of an end, as the boot loader still waits for the rest of the image.
    becomeIdle();
    m_view->showStatus(QStringLiteral("update abgebrochen - com-port nicht verfügbar"));
    m_log.logMessage(QStringLiteral("Update abgebrochen - com-port nicht verfügbar"));
}

void FirmwareUpdate::becomeIdle()
{
    m_busy = false;
    m_blockCount = 0;
    m_current = 0;
    m_line.setFirmwareBusy(false);
    m_line.forgetIdentification();
    m_view->showUpdateButton(idleButton);
    m_view->setProgress(0);
}

}  // namespace firmware
