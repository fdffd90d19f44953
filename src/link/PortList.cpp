// Builds the port list by listing a device directory and test-opening each candidate.
#include "link/PortList.h"

#include "link/PortHelp.h"

#include <QDir>
#include <QFileInfo>

namespace devlink {

QStringList refreshPortList(const PortFactory& factory, const QString& directory,
                            const QString& inUse)
{
    return scanPorts(factory, directory, inUse).ports;
}

PortScan scanPorts(const PortFactory& factory, const QString& directory, const QString& inUse)
{
    PortScan scan;
    QString dirPath = directory;
    if (!dirPath.endsWith(QLatin1Char('/')))
        dirPath += QLatin1Char('/');
    QDir dir(dirPath);
    if (!dir.exists())
        return scan;

    QStringList patterns{QStringLiteral("tty.*")};
#ifdef __linux__
    patterns << QStringLiteral("ttyUSB*") << QStringLiteral("ttyACM*");
#endif
    // Device nodes and links to them count as "system" entries for QDir.
    const QStringList names = dir.entryList(
        patterns, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString path = dirPath + name;
        if (QFileInfo(path).isDir())
            continue;
        ++scan.candidates;
        if (!inUse.isEmpty() && path == inUse) {
            scan.ports << path;
            continue;
        }
        std::unique_ptr<SerialPort> port = factory ? factory() : nullptr;
        if (!port)
            continue;
        if (port->open(path, 1024)) {
            scan.ports << path;
            port->close();
        } else if (isPermissionError(port->openError())) {
            scan.refused << path;
        }
    }
    return scan;
}

}  // namespace devlink
