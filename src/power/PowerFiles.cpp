// The save and load procedures of comparison files.
#include "power/PowerFiles.h"

#include "app/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace power {
namespace {

// A comparison file is about 40 kB; a larger file is read only this far, so that picking a
// huge file by mistake cannot exhaust memory.
constexpr qint64 readLimit = 4 << 20;

const QString openTitle = QStringLiteral("Leistungsvergleichsdatei laden");
const QString openFilter = QStringLiteral("KLV-Dateien (*.klv);;Alle Dateien (*.*)");

}  // namespace

std::optional<QByteArray> readPowerFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    QByteArray bytes = file.read(readLimit);
    if (file.error() != QFileDevice::NoError || bytes.size() != std::min(size, readLimit))
        return std::nullopt;
    return bytes;
}

PowerFiles::PowerFiles(app::Dialogs& dialogs, app::MessageLog& log)
    : m_dialogs(dialogs), m_log(log), m_clock([] { return QDateTime::currentDateTime(); })
{
}

QString PowerFiles::shortFolder(const QString& folder)
{
    // Only a long folder is cut; a short one would otherwise show its middle twice.
    if (folder.size() <= 55)
        return folder;
    return folder.left(25) + QStringLiteral(" ... ") + folder.right(25);
}

QString PowerFiles::startPath() const
{
    if (m_fileName.isEmpty())
        return m_directory;
    return QDir(m_directory).filePath(m_fileName);
}

PowerFiles::Outcome PowerFiles::save(PowerDocument& document, const QString& hardware,
                                     const QString& software)
{
    QString path = m_dialogs.saveFile(QStringLiteral("Leistungsvergleich speichern"), startPath(),
                                      QStringLiteral("KLV-Dateien (*.klv)"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    // Case matters: "lauf1.KLV" becomes "lauf1.KLV.klv".
    if (QFileInfo(path).suffix() != QLatin1String("klv"))
        path += QStringLiteral(".klv");
    const QFileInfo target(path);
    if (target.exists() && target.size() > 0 &&
        !m_dialogs.question(QStringLiteral("Speichern"),
                            QStringLiteral("Datei existiert bereits.\rÜberschreiben?")))
        return Outcome::Refused;

    PowerFileContent content;
    content.fileName = target.fileName();
    const QDateTime now = m_clock();
    content.info = document.info;
    content.info.date = now.toString(QStringLiteral("dd.MM.yyyy"));
    content.info.time = now.toString(QStringLiteral("hh:mm:ss"));
    content.info.hardware = cleanVersionText(hardware);
    content.info.software = cleanVersionText(software);
    content.info.description = cleanDescription(document.info.description);
    content.parameters = document.parameters;
    content.options = document.options;
    content.samples = document.samples;
    content.curve = document.curve;

    // Through a temporary file: a failed save leaves the old file, the folder and the name.
    if (!app::writeFileAtomically(path, encodePowerFile(content))) {
        m_dialogs.message(QStringLiteral("Achtung!"),
                          QStringLiteral("Die Leistungsvergleichsdatei\rkonnte nicht "
                                         "gespeichert werden."));
        m_log.logMessage(QStringLiteral("Fehler beim Speichrn der LV-Datei"));
        return Outcome::Failed;
    }
    m_directory = target.absolutePath();
    m_fileName = target.fileName();
    document.info = content.info;
    m_log.logMessage(QStringLiteral("LV-Datei ") + m_fileName + QStringLiteral(" gespeichert"));
    return Outcome::Done;
}

std::optional<QString> PowerFiles::askOpen(const QString& refusedLog, Outcome* outcome)
{
    const QString path = m_dialogs.openFile(openTitle, startPath(), openFilter);
    if (path.isEmpty()) {
        *outcome = Outcome::Cancelled;
        return std::nullopt;
    }
    if (QFileInfo(path).suffix() != QLatin1String("klv")) {
        if (!m_dialogs.question(
                QStringLiteral("Setup laden"),
                QStringLiteral("Vermutlich ist die Datei nicht kompatibel.\rWenn sie gelesen "
                               "wurde, könnten die daten falsch interpretiert worden "
                               "sein!\rTrotzdem Laden?"))) {
            *outcome = Outcome::Refused;
            return std::nullopt;
        }
        m_log.logMessage(refusedLog);
    }
    return path;
}

PowerFiles::Outcome PowerFiles::loadMeasurement(PowerDocument& document)
{
    Outcome outcome = Outcome::Done;
    const auto path =
        askOpen(QStringLiteral("Geladene LV-Datei 1 ggf. nicht kompatibel"), &outcome);
    if (!path)
        return outcome;
    // Read everything first: a file that cannot be read leaves the measurement as it was.
    const auto bytes = readPowerFile(*path);
    if (!bytes) {
        m_log.logMessage(QStringLiteral("LV-Datei 1 laden fehlerhaft"));
        return Outcome::Failed;
    }
    const QFileInfo info(*path);
    m_directory = info.absolutePath();
    m_fileName = info.fileName();
    const PowerFileContent content = decodePowerFile(*bytes);
    document.info = content.info;
    document.parameters = content.parameters;
    document.options = content.options;
    document.samples = content.samples;
    document.curve = {};  // the stored grid is not taken: the caller computes it anew
    m_log.logMessage(QStringLiteral("LV-Datei ") + m_fileName + QStringLiteral(" geladen"));
    return Outcome::Done;
}

PowerFiles::Outcome PowerFiles::loadComparison(int slot, PowerCurve& curve,
                                               ComparisonLabels& labels)
{
    const QString s = QString::number(slot);
    Outcome outcome = Outcome::Done;
    const auto path = askOpen(
        QStringLiteral("Geladene LV-Auswertung ") + s + QStringLiteral("  ggf. nicht kompatibel"),
        &outcome);
    if (!path)
        return outcome;
    const auto bytes = readPowerFile(*path);
    // An unreadable file leaves the slot empty, with the labels of empty lines.
    const PowerFileContent content = decodePowerFile(bytes.value_or(QByteArray()));
    curve = content.curve;
    labels = comparisonLabels(content);
    labels.fileName = QFileInfo(*path).fileName();
    if (!bytes) {
        m_log.logMessage(QStringLiteral("LV-Auswertung ") + s +
                         QStringLiteral(" laden fehlerhaft"));
        return Outcome::Failed;
    }
    m_log.logMessage(QStringLiteral("LV-Auswertung ") + s + QStringLiteral(" geladen"));
    return Outcome::Done;
}

}  // namespace power
