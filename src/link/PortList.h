// The list of serial devices offered in the main window's port box.
#pragma once

#include "link/SerialPort.h"

#include <QStringList>

namespace devlink {

// Lists directory (default "/dev/") by "tty.*" (on Linux also "ttyUSB*" and "ttyACM*", the
// names under which USB-serial adapters appear there), skips directories, and keeps each
// entry that a port from factory can open with 1024-byte buffers; the test port is closed at
// once. Returns full paths (directory + name), in name order; empty when the directory cannot
// be listed. The caller selects item 0.
// inUse names the port of the working connection, if one is open: it is listed without a test
// open, which would otherwise reset its line settings and flush a reply in flight.
QStringList refreshPortList(const PortFactory& factory,
                            const QString& directory = QStringLiteral("/dev/"),
                            const QString& inUse = {});

// The same listing with what was seen on the way, for the help the user gets when no port can
// be used: how many entries matched the names, and which of them refused the test open for
// lack of permission.
struct PortScan {
    QStringList ports;
    QStringList refused;
    int candidates = 0;
};
PortScan scanPorts(const PortFactory& factory, const QString& directory = QStringLiteral("/dev/"),
                   const QString& inUse = {});

}  // namespace devlink
