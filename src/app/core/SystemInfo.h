// What the printout's footer says about the computer: processor name and count, physical
// memory, computer name and login name.
#pragma once

#include <QString>
#include <QtGlobal>

namespace app {

struct SystemInfo {
    QString cpuName;  // empty when unknown
    int cpuCount = 1;
    qint64 memoryBytes = 0;
    QString computerName;
    QString loginName;
};

SystemInfo currentSystemInfo();

// "[ CPU: name (countx), RAM: nMB, PC: name, Benutzer: login ]"
QString footerText(const SystemInfo& info);

}  // namespace app
