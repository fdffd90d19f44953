// Reading and writing "Motrix.cfg" in the program directory, with the program's boxes and
// log lines for a missing, foreign or unwritable file.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"

namespace app {

enum class SettingsSource {
    Defaults,  // no file, or one of another version: defaults in use
    File,      // read from the file (a truncated file leaves its missing fields at defaults)
};

QString settingsFilePath(const QString& programDirectory);

// Sets defaults, then reads the file. For a missing or foreign file shows its box and logs.
// After Source::File the caller applies the values and then calls logSettingsRead.
SettingsSource readSettingsFile(const QString& programDirectory, ProgramSettings& settings,
                                Dialogs& dialogs, MessageLog& log);
void logSettingsRead(MessageLog& log);

// Writes every field atomically; a failure shows the "Info" box and logs.
bool writeSettingsFile(const QString& programDirectory, const ProgramSettings& settings,
                       Dialogs& dialogs, MessageLog& log);

}  // namespace app
