// logMessage: the status line and, when enabled, the message file "KVT-Meldungen.txt".
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace app {

class MessageLog final {
public:
    using StatusSink = std::function<void(const QString&)>;
    using Clock = std::function<QDateTime()>;

    explicit MessageLog(QString programDirectory = {});

    // Where shown messages go (the main window's status line).
    void setStatusSink(StatusSink sink) { m_statusSink = std::move(sink); }
    // "KVT Meldungen mitschreiben".
    void setFileEnabled(bool on) { m_fileEnabled = on; }
    bool fileEnabled() const { return m_fileEnabled; }
    // While a firmware update owns the line, "Protokollfehler" is not shown.
    void setFirmwareBusy(bool busy) { m_firmwareBusy = busy; }
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setProgramDirectory(const QString& dir);

    void logMessage(const QString& text);
    // Only the status line, not the file: progress that changes many times a second.
    void showStatus(const QString& text);

    QString filePath() const { return m_filePath; }
    // The text last shown in the status line.
    const QString& statusText() const { return m_statusText; }
    int protocolErrorRun() const { return m_protocolErrorRun; }

private:
    void appendToFile(const QString& text) const;

    StatusSink m_statusSink;
    Clock m_clock;
    QString m_filePath;
    QString m_statusText;
    int m_protocolErrorRun = 0;
    bool m_fileEnabled = false;
    bool m_firmwareBusy = false;
};

}  // namespace app
