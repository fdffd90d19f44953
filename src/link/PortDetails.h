// What the system knows of the adapter behind a serial device path (its description, maker and
// serial number), shown as a tool tip beside the path in the main window's port box so a user
// with several adapters plugged in can tell them apart.
#pragma once

#include <QString>
#include <QStringList>

namespace devlink {

// For each path, the adapter's description, maker and serial number as one line ("FT232R USB
// UART, FTDI, Seriennummer A10K3"), leaving out what the system does not know; empty for a
// path it knows nothing of (a pseudo-terminal, a device that went away). The system's ports
// are listed once for all paths.
QStringList portDetails(const QStringList& paths);

// The line of portDetails from its three parts; empty parts are left out.
QString formatPortDetails(const QString& description, const QString& manufacturer,
                          const QString& serialNumber);

}  // namespace devlink
