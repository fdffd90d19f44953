// Program name, version text and the program directory shared by every subsystem.
#pragma once

#include <QString>

namespace app {

inline const QString programName = QStringLiteral("Motrix");
inline const QString versionText = QStringLiteral("1.G");

// The per-user program directory (settings file, message file, start sound, default log
// folder), always ending in "/". Created when missing.
QString programDirectory();

// The title of a window: program name, version text and the window's own text, joined.
inline QString windowTitle(const QString& suffix)
{
    return programName + versionText + suffix;
}

}  // namespace app
