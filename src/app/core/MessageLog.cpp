#include "app/core/MessageLog.h"

#include <QFile>

namespace app {

namespace {
const QString protocolError = QStringLiteral("Protokollfehler");
}

MessageLog::MessageLog(QString programDirectory)
    : m_clock([] { return QDateTime::currentDateTime(); })
{
    setProgramDirectory(programDirectory);
}

void MessageLog::setProgramDirectory(const QString& dir)
{
    m_filePath = dir + QStringLiteral("KVT-Meldungen.txt");
}

void MessageLog::logMessage(const QString& message)
{
    QString text = message;
    // A link that keeps failing would otherwise flood the status line and the file.
    if (text == protocolError) {
        ++m_protocolErrorRun;
        if (m_protocolErrorRun > 2)
            text = QStringLiteral("Verbindungsversuch...");
    } else {
        m_protocolErrorRun = 0;
    }
    if (m_protocolErrorRun >= 4)
        return;
    if (text == protocolError && m_firmwareBusy)
        return;

    m_statusText = text;
    if (m_statusSink)
        m_statusSink(text);
    if (m_fileEnabled)
        appendToFile(text);
}

void MessageLog::showStatus(const QString& text)
{
    m_statusText = text;
    if (m_statusSink)
        m_statusSink(text);
}

void MessageLog::appendToFile(const QString& text) const
{
    if (m_filePath.isEmpty())
        return;
    QFile file(m_filePath);
    // Opened and closed per message so that the file may be read or deleted at any time.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString line = m_clock().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")) +
                         QStringLiteral(" : ") + text + QLatin1Char('\n');
    file.write(line.toUtf8());
    file.close();
}

}  // namespace app
