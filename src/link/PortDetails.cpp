// Adapter details of a serial device path through the system's serial port information.
#include "link/PortDetails.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace devlink {

QString formatPortDetails(const QString& description, const QString& manufacturer,
                          const QString& serialNumber)
{
    QStringList parts;
    if (!description.trimmed().isEmpty())
        parts << description.trimmed();
    // Many adapters repeat their maker as their description.
    if (!manufacturer.trimmed().isEmpty() && manufacturer.trimmed() != description.trimmed())
        parts << manufacturer.trimmed();
    if (!serialNumber.trimmed().isEmpty())
        parts << QStringLiteral("Seriennummer ") + serialNumber.trimmed();
    return parts.join(QStringLiteral(", "));
}

QStringList portDetails(const QStringList& paths)
{
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    QStringList details;
    for (const QString& path : paths) {
        const auto info = std::find_if(known.begin(), known.end(), [&](const QSerialPortInfo& i) {
            return i.systemLocation() == path;
        });
        details << (info == known.end()
                        ? QString()
                        : formatPortDetails(info->description(), info->manufacturer(),
                                            info->serialNumber()));
    }
    return details;
}

}  // namespace devlink
