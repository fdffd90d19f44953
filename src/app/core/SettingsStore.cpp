#include "app/core/SettingsStore.h"

#include "app/core/AtomicFile.h"
#include "app/core/SettingsCodec.h"

#include <QFile>

namespace app {

QString settingsFilePath(const QString& programDirectory)
{
    return programDirectory + programName + QStringLiteral(".cfg");
}

SettingsSource readSettingsFile(const QString& programDirectory, ProgramSettings& settings,
                                Dialogs& dialogs, MessageLog& log)
{
    settings = ProgramSettings{};
    QFile file(settingsFilePath(programDirectory));
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs.message(programName,
                        QStringLiteral("Keine Einstellungsdatei im Programmverzeichnis gefunden."
                                       "\r\rStandardeinstellungen werden verwendet."));
        log.logMessage(QStringLiteral(
            "Einstellungsdatei nicht gefunden. Standardeinstellungen werden verwendet"));
        return SettingsSource::Defaults;
    }
    // The file is tiny; a damaged giant one is cut rather than read whole.
    const QByteArray bytes = file.read(1 << 20);
    file.close();

    ProgramSettings fromFile;
    const SettingsDecodeResult result = decodeSettings(bytes, fromFile);
    if (result.status == SettingsDecode::WrongVersion) {
        dialogs.message(programName,
                        QStringLiteral("Die Einstellungsdatei (für ") + result.versionLine +
                            QStringLiteral(") im Programmverzeichnis\rpasst nicht zu dieser "
                                           "Programmersion (") +
                            programName + versionText +
                            QStringLiteral(").\r\rStandardeinstellungen werden verwendet."));
        log.logMessage(QStringLiteral(
            "Einstellungsdfatei: falscher Typ. Standardeinstellungen werden verwendet"));
        return SettingsSource::Defaults;
    }
    settings = fromFile;
    return SettingsSource::File;
}

void logSettingsRead(MessageLog& log)
{
    log.logMessage(QString());
    log.logMessage(QStringLiteral("KVT ") + programName + versionText +
                   QStringLiteral(" gestartet"));
    log.logMessage(QStringLiteral("KVT Einstellungsdatei gelesen"));
}

bool writeSettingsFile(const QString& programDirectory, const ProgramSettings& settings,
                       Dialogs& dialogs, MessageLog& log)
{
    if (!writeFileAtomically(settingsFilePath(programDirectory), encodeSettings(settings))) {
        dialogs.message(QStringLiteral("Info"),
                        QStringLiteral(" Einstellungsdatei konnte im Programmverzeichnis nicht "
                                       "geschrieben werden."));
        log.logMessage(QStringLiteral("Einstellungsdatei konnte nicht geschrieben werden"));
        return false;
    }
    log.logMessage(QStringLiteral("Einstellungsdatei geschrieben"));
    return true;
}

}  // namespace app
