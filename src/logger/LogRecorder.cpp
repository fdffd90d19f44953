#include "logger/LogRecorder.h"

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "logger/KlgReader.h"
#include "logger/LogLoader.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace logger {

namespace {
const QString attention = QStringLiteral("Achtung");

QString dataPointText(qint64 row, qint64 max)
{
    return QString::number(row) + QStringLiteral(" / ") + QString::number(max);
}
}  // namespace

std::array<double, 14> sampleColumns(const devlink::LiveRecord& live)
{
    return {double(live.rpmForMaps),
            double(live.throttle),
            live.engineTemp,
            live.airTemp,
            live.lambda[0] / 1000.0,
            live.lambda[1] / 1000.0,
            live.lambda[2] / 1000.0,
            double(live.output1),
            double(live.output2),
            double(live.input1),
            double(live.input2),
            double(live.input3),
            double(live.ignitionAngle - 50),
            double(live.injectionTime)};
}

LogRecorder::LogRecorder(LogTable& table, app::ProgramSettings& settings, app::Dialogs& dialogs,
                         app::MessageLog& log, QString logPath, Hooks hooks)
    : m_table(table), m_settings(settings), m_dialogs(dialogs), m_log(log),
      m_hooks(std::move(hooks)), m_logPath(std::move(logPath))
{
}

LogRecorder::~LogRecorder() = default;

qint64 LogRecorder::maxRecords() const
{
    return m_settings.loggerCapacity;
}

qint64 LogRecorder::rowsAvailable() const
{
    // The system window may have made the table smaller than the rows once held.
    return std::clamp<qint64>(m_rowsAvailable, 0, std::max<qint64>(m_table.rows() - 1, 0));
}

QString LogRecorder::filePath() const
{
    return QDir(m_logPath).filePath(m_fileName);
}

void LogRecorder::showFileInfo(const LogHeader& h)
{
    m_view->showFile(shortenedPath(m_logPath), m_fileName);
    m_view->showLogInfo(h.created.toString(QStringLiteral("dd.MM.yyyy")),
                        h.created.toString(QStringLiteral("HH:mm:ss")), h.hw, h.sw);
}

bool LogRecorder::createLogFile(Created mode)
{
    if (m_logPath.isEmpty()) {
        m_dialogs.message(attention, QStringLiteral("\rDer Logdateipfad ist ungültig.\r\rLoggen/"
                                                    "Sichern nicht möglich."));
        m_log.logMessage(QStringLiteral("Log-Dateipfad ungültig"));
        return false;
    }
    if (m_fileName.isEmpty()) {
        m_dialogs.message(attention, QStringLiteral("\rDer Logdateiname ist ungültig.\r\rLoggen/"
                                                    "Sichern nicht möglich."));
        m_log.logMessage(QStringLiteral("Log-Dateiname ungültig"));
        return false;
    }
    LogHeader header;
    header.fileName = m_fileName;
    header.created = m_hooks.now ? m_hooks.now() : QDateTime::currentDateTime();
    if (!m_hooks.identified || m_hooks.identified()) {
        header.hw = m_hooks.hw ? m_hooks.hw() : QString();
        header.sw = m_hooks.sw ? m_hooks.sw() : QString();
    }
    header.comment = m_comment;
    const QByteArray head = headerBytes(header);
    bool opened = false;
    if (mode == Created::Saving) {
        m_saving = std::make_unique<app::AtomicFile>(filePath());
        opened = m_saving->open() && m_saving->write(head);
        if (!opened)
            m_saving.reset();
    } else {
        // Unbuffered: every write goes to the system at once, line by line. A recording never
        // replaces a file that is there already.
        auto file = std::make_unique<QFile>(filePath());
        opened = file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
                 file->write(head) == head.size();
        if (opened)
            m_file = std::move(file);
    }
    if (!opened) {
        m_dialogs.message(attention, QStringLiteral("\rLogdatei konnte nicht angelegt werden.\r\r"
                                                    "Loggen/Sichern nicht möglich."));
        m_log.logMessage(QStringLiteral("Log-Datei konnte nicht angelegt werden"));
        return false;
    }
    showFileInfo(header);
    m_startMs = m_hooks.clockMs ? m_hooks.clockMs() : 0;
    m_recording = true;
    if (m_hooks.startTimer)
        m_hooks.startTimer(int(m_settings.loggerPeriod));
    m_log.logMessage(QStringLiteral("Logger-Datei ") + m_fileName + QStringLiteral(" angelegt"));
    return true;
}

void LogRecorder::writeRecordLine(qint64 row)
{
    char line[recordLineCapacity];
    const int n = formatRecordLine(m_table, row, line);
    if (m_file)
        m_file->write(line, n);
    m_view->showDataPoint(dataPointText(row, maxRecords()));
}

void LogRecorder::closeFile()
{
    // An unfinished save is discarded; the old file stays.
    m_saving.reset();
    if (!m_file)
        return;
    m_file->close();
    m_file.reset();
}

void LogRecorder::start()
{
    if (m_recording)
        return;
    m_recordCount = 0;
    m_rowsAvailable = 0;
    m_table.startOver();
    m_pyramid.reset();
    // Two recordings started in the same second, or in the hour the clocks go back, would get
    // the same name; the later one is numbered instead of overwriting the earlier.
    const QDateTime now = m_hooks.now ? m_hooks.now() : QDateTime::currentDateTime();
    m_fileName = logger::logFileName(now);
    for (int n = 2; n < 1000 && QFileInfo::exists(filePath()); ++n)
        m_fileName = logger::logFileName(now, n);
    if (!createLogFile(Created::Recording))
        return;
    m_view->showProgress(maxRecords(), 0);
    m_view->redraw();
}

void LogRecorder::stop()
{
    if (!m_recording)
        return;
    if (m_hooks.stopTimer)
        m_hooks.stopTimer();
    m_recording = false;
    closeFile();
    m_view->redraw();
}

void LogRecorder::shutDown()
{
    stop();
    closeFile();
}

void LogRecorder::tick()
{
    if (!m_recording || (m_hooks.firmwareBusy && m_hooks.firmwareBusy()))
        return;
    if (m_recordCount < maxRecords() && m_recordCount + 1 < m_table.rows()) {
        const qint64 row = ++m_recordCount;
        const qint64 now = m_hooks.clockMs ? m_hooks.clockMs() : 0;
        m_table.setTime(row, double(now - m_startMs));
        const std::array<double, 14> values = m_hooks.liveValues ? m_hooks.liveValues() : m_live;
        for (int c = 1; c <= LogTable::channels; ++c)
            m_table.setChannel(row, c, float(values[std::size_t(c - 1)]));
        m_rowsAvailable = m_recordCount;
        m_pyramid.update(m_table, m_rowsAvailable);
        if (m_file)
            writeRecordLine(row);
        m_view->rowRecorded();
    } else {
        if (m_hooks.stopTimer)
            m_hooks.stopTimer();
        m_recording = false;
        closeFile();
        m_cursor = 1;
        m_view->redraw();
        m_log.logMessage(QStringLiteral("Logger-Datei geschlossen"));
    }
    m_view->showProgress(maxRecords(), m_recordCount);
}

void LogRecorder::save()
{
    if (m_recording)
        return;
    if (!createLogFile(Created::Saving))
        return;
    m_recording = false;
    // Rows go out in large blocks; the file only replaces the old one once it is complete.
    const qint64 rows = rowsAvailable();
    QByteArray block;
    block.reserve(1 << 20);
    char line[recordLineCapacity];
    bool ok = true;
    for (qint64 row = 1; row <= rows && ok; ++row) {
        block.append(line, formatRecordLine(m_table, row, line));
        if (block.size() > (1 << 20) - recordLineCapacity || row == rows) {
            ok = m_saving->write(block);
            block.clear();
        }
    }
    if (rows > 0)
        m_view->showDataPoint(dataPointText(rows, maxRecords()));
    ok = ok && m_saving->commit();
    m_saving.reset();
    if (!ok) {
        m_dialogs.message(attention, QStringLiteral("\rLogdatei konnte nicht angelegt werden.\r\r"
                                                    "Loggen/Sichern nicht möglich."));
        m_log.logMessage(QStringLiteral("Log-Datei konnte nicht angelegt werden"));
        return;
    }
    m_log.logMessage(QStringLiteral("Logger-Datei ") + m_fileName + QStringLiteral(" gesichert"));
}

void LogRecorder::choosePath()
{
    if (m_recording)
        return;
    const QString folder = m_dialogs.folder(QStringLiteral("Log-Datei-Pfad wählen"), m_logPath);
    if (folder.isEmpty())
        return;
    m_logPath = folder;
    m_view->showFile(shortenedPath(m_logPath), m_fileName);
}

void LogRecorder::load()
{
    if (m_recording)
        return;
    const QString chosen = m_dialogs.openFile(QStringLiteral("Log-Datei laden"), filePath(),
                                              QStringLiteral("klg (*.klg);;Alle Dateien (*.*)"));
    if (chosen.isEmpty()) {
        m_dialogs.message(attention, QStringLiteral("Log-Datei laden abgebrochen."));
        m_log.logMessage(QStringLiteral("Log-datei laden abgebrochen"));
        return;
    }
    if (!readLogFile(chosen)) {
        m_dialogs.message(attention, QStringLiteral("Log-Datei laden nicht möglich."));
        m_log.logMessage(QStringLiteral("Log-Datei konnte nicht geladen werden"));
        return;
    }
    m_view->capacityChanged(maxRecords());
    m_view->redraw();
}

bool LogRecorder::readLogFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QFileInfo info(path);
    m_fileName = info.fileName();
    m_logPath = info.absolutePath();

    if (m_hooks.stopTimer)
        m_hooks.stopTimer();
    KlgReader reader(file);
    const KlgHeaderText header = reader.readHeader();
    m_view->showFile(shortenedPath(m_logPath), m_fileName);
    const QDate date = QDate::fromString(header.date.trimmed(), QStringLiteral("dd.MM.yyyy"));
    const QTime time = QTime::fromString(header.time.trimmed(), QStringLiteral("HH:mm:ss"));
    m_view->showLogInfo(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
                        time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString(),
                        header.hw, header.sw);
    setComment(header.comment);
    m_view->showComment(m_comment);

    const qint64 estimate = file.size() / reckonedLineBytes;
    if (maxRecords() < estimate) {
        const qint64 former = maxRecords();
        m_settings.loggerCapacity = estimate;
        if (!m_table.resize(estimate + 1)) {
            m_settings.loggerCapacity = former;
            m_table.resize(former + 1);
            m_dialogs.message(
                attention,
                QStringLiteral(" Es steht nicht genügend Arbeitsspeicher für die geschätzte "
                               "Datenfeldgröße (") +
                    QString::number(estimate) +
                    QStringLiteral(") zur Verfügung.\r\rGgf. ist der Arbeitsspeicher zu klein."
                                   "\r\r\rDie Datei wird schrittweise eingelesen, bis der Speicher "
                                   "voll ist."));
            m_log.logMessage(
                QStringLiteral("Nicht genügend Arbeitsspeicher für Log-datei "
                               "verfügbar. Lesen erfolgt, bis Speicher voll ist"));
        }
    }
    m_view->showProgress(maxRecords(), 0);
    m_table.startOver();
    m_rowsAvailable = 0;
    qint64 max = maxRecords();
    const LoadResult result =
        loadRecords(reader, m_table, m_pyramid, max, estimate, [&](qint64 rows, int percent) {
            m_view->showDataPoint(QString::number(rows) + QStringLiteral("   (~") +
                                  QString::number(percent) + QStringLiteral("%)"));
            m_view->showProgress(max, rows);
        });
    m_settings.loggerCapacity = max;
    m_rowsAvailable = result.rows;
    if (result.memoryShort) {
        m_dialogs.message(attention, QStringLiteral(" Die Log-Datei konnte mangels Speicherplatz "
                                                    "nicht vollständig eingelesen werden."));
        m_log.logMessage(
            QStringLiteral("Log-Datei konnte mangels Speicherplatz nicht "
                           "vollständig gelesen werden"));
    }
    m_view->showProgress(maxRecords(), result.rows);
    m_view->showDataPoint(dataPointText(result.rows, maxRecords()));
    m_log.logMessage(QStringLiteral("Logger-Datei ") + m_fileName + QStringLiteral(" gelesen"));
    m_cursor = 1;
    if (m_hooks.startTimer)
        m_hooks.startTimer(int(m_settings.loggerPeriod));
    return true;
}

void LogRecorder::capacityChanged()
{
    m_cursor = 1;
    if (m_pyramid.rowsCovered() > rowsAvailable())
        m_pyramid.reset();
    m_pyramid.update(m_table, rowsAvailable());
    m_view->showDataPoint(dataPointText(1, maxRecords()));
    m_view->showProgress(maxRecords(), 0);
    m_view->redraw();
}

}  // namespace logger
