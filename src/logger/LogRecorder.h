// LogRecorder: the data logger's state and operations. START and STOPP of a recording, the
// logger tick on timer 10, "Log sichern", "Log laden" and the log path, with their message
// boxes and log lines. The logger window shows what it reports through RecorderView.
//
// Every record line reaches the file as it is recorded (one unbuffered write per line), so a
// crash loses at most the line being written. "Log sichern" writes through a temporary file
// that replaces the old one only when complete.
#pragma once

#include "link/LiveRecord.h"
#include "logger/ChartPyramid.h"
#include "logger/LogFormat.h"
#include "logger/LogTable.h"

#include "app/core/AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace app {
class Dialogs;
class MessageLog;
struct ProgramSettings;
}  // namespace app

namespace logger {

// Columns 1 to 14 of one sample from the live values: speed limited to 16000, throttle,
// temperatures, lambda voltages in V, outputs and inputs, ignition angle - 50, injection time.
std::array<double, 14> sampleColumns(const devlink::LiveRecord& live);

// The logger window's side; every method has a do-nothing default.
class RecorderView {
public:
    virtual ~RecorderView() = default;
    // "Log-Pfad:" (shortened) and "Datei:".
    virtual void showFile(const QString& shownPath, const QString& name)
    {
        Q_UNUSED(shownPath);
        Q_UNUSED(name);
    }
    // "Log_Datum:", "Log_Zeitpunkt:", "Log_HW:", "Log_SW:".
    virtual void showLogInfo(const QString& date, const QString& time, const QString& hw,
                             const QString& sw)
    {
        Q_UNUSED(date);
        Q_UNUSED(time);
        Q_UNUSED(hw);
        Q_UNUSED(sw);
    }
    virtual void showComment(const QString& comment) { Q_UNUSED(comment); }
    // "Datenpunkt:" of the file group; while reading, shown at once (repainted).
    virtual void showDataPoint(const QString& text) { Q_UNUSED(text); }
    virtual void showProgress(qint64 maximum, qint64 value)
    {
        Q_UNUSED(maximum);
        Q_UNUSED(value);
    }
    // Layout and chart again (after start, stop, load, a full table).
    virtual void redraw() {}
    // A new row while recording: the chart may follow.
    virtual void rowRecorded() {}
    // The maximum record count changed (the system window's logger fields follow).
    virtual void capacityChanged(qint64 capacity) { Q_UNUSED(capacity); }
};

class LogRecorder final {
public:
    struct Hooks {
        std::function<qint64()> clockMs;         // the program's millisecond counter
        std::function<QDateTime()> now;          // local date and time
        std::function<void(int ms)> startTimer;  // the main window's logger timer
        std::function<void()> stopTimer;
        std::function<bool()> firmwareBusy;
        std::function<bool()> identified;
        // Columns 1 to 14 from the live values last decoded (index 0 = column 1); without it
        // the tick records what takeLiveRecord was given last.
        std::function<std::array<double, 14>()> liveValues;
        // HW and SW of the identified KVT (empty when none).
        std::function<QString()> hw;
        std::function<QString()> sw;
    };

    LogRecorder(LogTable& table, app::ProgramSettings& settings, app::Dialogs& dialogs,
                app::MessageLog& log, QString logPath, Hooks hooks);
    ~LogRecorder();

    void setView(RecorderView* view) { m_view = view ? view : &m_noView; }

    // --- the window's buttons ---
    void start();
    void stop();
    void save();
    void load();
    void choosePath();
    // Every LiveRecord the link publishes; the tick records the last one, whether or not a poll
    // came since (before the first, an empty record, as the link holds one).
    void takeLiveRecord(const devlink::LiveRecord& live) { m_live = sampleColumns(live); }
    // On every expiry of the logger timer.
    void tick();
    // At the end of the program: a running recording stops and its file is closed.
    void shutDown();
    // The system window set a new maximum record count (the table is already resized).
    void capacityChanged();

    // --- state ---
    bool recording() const { return m_recording; }
    qint64 recordCount() const { return m_recordCount; }
    // Valid rows of the table (never more than the table holds).
    qint64 rowsAvailable() const;
    qint64 cursor() const { return m_cursor; }
    void setCursor(qint64 row) { m_cursor = row; }
    qint64 maxRecords() const;
    const QString& logPath() const { return m_logPath; }
    const QString& logFileName() const { return m_fileName; }
    const QString& comment() const { return m_comment; }
    void setComment(const QString& text) { m_comment = cutComment(text); }
    bool fileOpen() const { return m_file != nullptr || m_saving != nullptr; }

    const LogTable& table() const { return m_table; }
    const ChartPyramid& pyramid() const { return m_pyramid; }

    // Reads a log file into the table (after the load dialog); false when it cannot be opened.
    bool readLogFile(const QString& path);

private:
    enum class Created { Recording, Saving };
    // Opens the file and writes lines 1 to 11; the three checks with their boxes.
    bool createLogFile(Created mode);
    void writeRecordLine(qint64 row);
    void closeFile();
    QString filePath() const;
    void showFileInfo(const LogHeader& header);

    LogTable& m_table;
    ChartPyramid m_pyramid;
    app::ProgramSettings& m_settings;
    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    Hooks m_hooks;
    RecorderView m_noView;
    RecorderView* m_view = &m_noView;

    std::array<double, 14> m_live = sampleColumns(devlink::LiveRecord{});
    bool m_recording = false;
    qint64 m_recordCount = 0;
    qint64 m_rowsAvailable = 0;
    qint64 m_cursor = 1;
    qint64 m_startMs = 0;
    QString m_logPath;
    QString m_fileName;
    QString m_comment;
    std::unique_ptr<QFile> m_file;              // the recording's file
    std::unique_ptr<app::AtomicFile> m_saving;  // "Log sichern" until it is complete
};

}  // namespace logger
