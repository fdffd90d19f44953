// Adapter details of a serial device path through the system's serial port information.
#include "link/PortDetails.h"

#include <QSerialPortInfo>
#include <QStringList>

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

QString portDetails(const QString& path)
{
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() == path)
            return formatPortDetails(info.description(), info.manufacturer(), info.serialNumber());
    }
    return {};
}

}  // namespace devlink
