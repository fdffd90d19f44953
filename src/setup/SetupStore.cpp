// The save and load procedures of setup files.
#include "setup/SetupStore.h"

#include "app/core/AtomicFile.h"
#include "setup/SetupWarnings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace setup {
namespace {

// Nothing in a setup file lies beyond its first kilobyte; a larger file is read only this far
// so that picking a huge file by mistake cannot exhaust memory.
constexpr qint64 readLimit = 1 << 20;

qint64 sizeOnDisk(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

}  // namespace

SetupStore::SetupStore(app::Dialogs& dialogs, app::MessageLog& log, QString startDirectory)
    : m_dialogs(dialogs), m_log(log), m_directory(std::move(startDirectory)),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_random([] { return static_cast<int>(QRandomGenerator::global()->bounded(1001)); })
{
}

QString SetupStore::startPath() const
{
    if (m_fileName.isEmpty())
        return m_directory;
    return QDir(m_directory).filePath(m_fileName);
}

void SetupStore::remember(const QString& path)
{
    const QFileInfo info(path);
    m_directory = info.absolutePath();
    m_fileName = info.fileName();
}

SetupStore::Outcome SetupStore::save(const SetupDocument& document, const SetupOrigin& connected)
{
    QString path = m_dialogs.saveFile(QStringLiteral("Setup speichern"), startPath(),
                                      QStringLiteral("KVT-Dateien (*.kvt)"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    // Case matters: "a.KVT" is not taken as a setup file name and becomes "a.KVT.kvt".
    if (QFileInfo(path).suffix() != QLatin1String("kvt"))
        path += QStringLiteral(".kvt");
    if (sizeOnDisk(path) > 0 &&
        !m_dialogs.question(QStringLiteral("Speichern"),
                            QStringLiteral("Datei existiert bereits.\rÜberschreiben?")))
        return Outcome::Refused;
    remember(path);

    const QByteArray bytes =
        encodeSetupFile(document.record, document.description, connected, m_clock());
    // Through a temporary file: a crash or a full disk never destroys the file that was there.
    // A failed save is never logged as saved: the status line would show the old file's size.
    if (!app::writeFileAtomically(path, bytes)) {
        m_log.logMessage(QStringLiteral("Setup ") + path + QStringLiteral(" nicht gespeichert"));
        m_dialogs.message(QStringLiteral("Speichern"),
                          QStringLiteral("Setup konnte nicht gespeichert werden:\r") + path);
        return Outcome::Failed;
    }
    m_log.logMessage(QStringLiteral("Setup ") + path + QStringLiteral(" gespeichert (") +
                     QString::number(sizeOnDisk(path)) + QStringLiteral(")"));
    return Outcome::Done;
}

FileToCompare readFileToCompare(const QString& path, const SetupRecord& base)
{
    FileToCompare out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    const QByteArray bytes = file.read(readLimit);
    out.readable = file.error() == QFileDevice::NoError;
    if (!out.readable)
        return out;
    SetupFileContent content = decodeSetupFile(bytes, base);
    if (content.wellFormed)
        out.content = std::move(content);
    return out;
}

SetupStore::Outcome SetupStore::load(SetupDocument& document)
{
    const QString path =
        m_dialogs.openFile(QStringLiteral("Setup laden"), startPath(),
                           QStringLiteral("KVT-Dateien (*.kvt);;Alle Dateien (*.*)"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    if (QFileInfo(path).suffix() != QLatin1String("kvt")) {
        // The number only makes repeated messages look different in the status line.
        m_log.logMessage(QStringLiteral("Falscher Dateityp (#") + QString::number(m_random()) +
                         QStringLiteral(")"));
        return Outcome::Refused;
    }

    // Read everything before touching the record, so a file that cannot be read leaves the
    // setup and the description as they were.
    QFile file(path);
    QByteArray bytes;
    qint64 size = -1;
    bool readable = file.open(QIODevice::ReadOnly);
    if (readable) {
        size = file.size();
        bytes = file.read(readLimit);
        readable =
            file.error() == QFileDevice::NoError && bytes.size() == std::min(size, readLimit);
    }
    if (!readable) {
        m_log.logMessage(QStringLiteral("Setup ") + path + QStringLiteral(" nicht gelesen"));
        m_dialogs.message(QStringLiteral("Setup laden"),
                          QStringLiteral("Setup konnte nicht gelesen werden:\r") + path);
        return Outcome::Failed;
    }

    if (size != setupFileSize) {
        if (!m_dialogs.question(
                QStringLiteral("Setup laden"),
                QStringLiteral("Vermutlich ist die Datei nicht kompatibel.(") +
                    QString::number(size) +
                    QStringLiteral(")\rWenn sie gelesen wurde, bitte alle Einstellungen "
                                   "kontrollieren!\rTrotzdem Laden?")))
            return Outcome::Refused;
        m_log.logMessage(QStringLiteral("Setup ggf. nicht kompatibel"));
    }
    remember(path);

    const SetupFileContent content = decodeSetupFile(bytes, document.record);
    document.record = content.record;
    document.description = content.description;
    document.loadedOrigin = content.origin;
    document.loadedFileName = path;
    m_log.logMessage(QStringLiteral("Setup ") + path + QStringLiteral(" gelesen"));
    if (m_replaced)
        m_replaced();
    showSetupWarnings(document.record, m_dialogs);
    return Outcome::Done;
}

}  // namespace setup
