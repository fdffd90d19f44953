// The lambda logger's operations.
#include "lambda/LambdaLogger.h"

#include "app/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lambda {

LambdaLogger::LambdaLogger(LambdaLink& link, app::Dialogs& dialogs, app::MessageLog& log,
                           QString startDirectory)
    : m_link(link), m_dialogs(dialogs), m_log(log), m_directory(std::move(startDirectory))
{
    m_clock = [] { return QDateTime::currentDateTime(); };
    m_doc.comment = cleanComment({});
}

bool LambdaLogger::readFromKvt(bool eeprom)
{
    if (!m_link.identified())
        return false;
    const QString source = eeprom ? QStringLiteral("EEPROM") : QStringLiteral("RAM");
    const auto reply = m_link.readLambdaTable(eeprom);
    bool flag = false;
    if (!reply || !decodeLambdaReply(*reply, m_doc.table, flag)) {
        m_log.logMessage(QStringLiteral("Lambdadaten lesen aus ") + source +
                         QStringLiteral(" fehlgeschlagen"));
        return false;
    }
    if (m_loggingFlag)
        m_loggingFlag(flag);
    m_log.logMessage(QStringLiteral("Lambdadaten aus ") + source + QStringLiteral(" gelesen"));
    return true;
}

void LambdaLogger::clearInKvt(bool eeprom)
{
    if (m_link.identified())
        m_link.clearLambdaTable(eeprom);
}

void LambdaLogger::onLiveRecord(const devlink::LiveRecord& record)
{
    if (m_recording)
        recordLive(m_doc.table, record);
}

QString LambdaLogger::editComment(const QString& text)
{
    m_doc.comment = cleanComment(text);
    return m_doc.comment;
}

QString LambdaLogger::startPath() const
{
    return m_fileName.isEmpty() ? m_directory : QDir(m_directory).filePath(m_fileName);
}

void LambdaLogger::remember(const QString& path)
{
    const QFileInfo info(path);
    m_directory = info.absolutePath();
    m_fileName = info.fileName();
}

bool LambdaLogger::save()
{
    QString path = m_dialogs.saveFile(QStringLiteral("Lambdalogdatei speichern"), startPath(),
                                      QStringLiteral("KLL-Dateien (*.kll)"));
    if (path.isEmpty())
        return false;
    path = withKllExtension(path);
    if (QFileInfo(path).size() > 0 &&
        !m_dialogs.question(QStringLiteral("Speichern"),
                            QStringLiteral("Datei existiert bereits.\rÜberschreiben?")))
        return false;
    remember(path);

    KllDocument doc = m_doc;
    const QDateTime now = m_clock();
    doc.date = now.toString(QStringLiteral("dd.MM.yyyy"));
    doc.time = now.toString(QStringLiteral("hh:mm:ss"));
    doc.hardware = m_link.identified() ? m_link.identity().hw : QString();
    doc.software = m_link.identified() ? m_link.identity().sw : QString();
    // Through a temporary file: a crash or a full disk never destroys the file that was there.
    if (!app::writeFileAtomically(path, encodeKll(doc, m_fileName))) {
        m_dialogs.message(QStringLiteral("Achtung!"),
                          QStringLiteral("Die Lambdalogdatei\rkonnte nicht gespeichert werden."));
        m_log.logMessage(QStringLiteral("Fehler beim Speichrn der KLL-Datei"));
        return false;
    }
    m_log.logMessage(QStringLiteral("KLL-Datei ") + m_fileName + QStringLiteral(" gespeichert"));
    return true;
}

bool LambdaLogger::load()
{
    const QString path =
        m_dialogs.openFile(QStringLiteral("Lambdaloggerdatei laden"), startPath(),
                           QStringLiteral("KLL-Dateien (*.kll);;Alle Dateien (*.*)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix() != QLatin1String("kll")) {
        if (!m_dialogs.question(
                QStringLiteral("Lambdaloggerdatei laden"),
                QStringLiteral("Vermutlich ist die Datei nicht kompatibel.\rWenn sie gelesen "
                               "wurde, könnten die Daten falsch interpretiert worden sein!\r"
                               "Trotzdem Laden?")))
            return false;
        m_log.logMessage(QStringLiteral("Zu ladende KLL-Datei ist ggf. nicht kompatibel"));
    }
    remember(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_log.logMessage(QStringLiteral("KLL-Datei laden fehlerhaft"));
        return false;
    }
    // A lambda log is a few kB; a huge file of another kind must not exhaust the memory.
    m_doc = decodeKll(file.read(1 << 20));
    m_log.logMessage(QStringLiteral("KLL-Datei ") + m_fileName + QStringLiteral(" geladen"));
    return true;
}

}  // namespace lambda
