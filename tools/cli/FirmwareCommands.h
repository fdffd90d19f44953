// "motrix-cli firmware check FILE [--json]": what the program would send to the KVT's boot
// loader from a firmware file, before anyone stands beside an engine with it.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// Exit status 0 when the image is ready to send, 1 for a decode status other than 0, 2 for an
// unreadable file, a file that is neither ".bin" nor ".hex", or bad use.
int runFirmwareCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
