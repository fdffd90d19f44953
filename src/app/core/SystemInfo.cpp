// The computer's facts for printout footers, from /proc and the C library.
#include "app/core/SystemInfo.h"

#include <QFile>
#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

namespace app {
namespace {

QString processorName()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Small and bounded: never read more than the first 256 kB.
    const QList<QByteArray> lines = cpuinfo.read(256 * 1024).split('\n');
    for (const QByteArray& line : lines) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed() == "model name")
            return QString::fromUtf8(line.mid(colon + 1).trimmed());
    }
    return {};
}

QString loginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

}  // namespace

SystemInfo currentSystemInfo()
{
    SystemInfo info;
    info.cpuName = processorName();
    info.cpuCount = int(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    info.memoryBytes = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    info.computerName = QSysInfo::machineHostName();
    info.loginName = loginName();
    return info;
}

QString footerText(const SystemInfo& info)
{
    const QString cpu = info.cpuName.isEmpty() ? QStringLiteral("Unknown CPU") : info.cpuName;
    return QStringLiteral("[ CPU: ") + cpu + QStringLiteral(" (") + QString::number(info.cpuCount) +
           QStringLiteral("x), RAM: ") + QString::number(info.memoryBytes >> 20) +
           QStringLiteral("MB, PC: ") + info.computerName + QStringLiteral(", Benutzer: ") +
           info.loginName + QStringLiteral(" ]");
}

}  // namespace app
