// "motrix-cli kvt ...": the KVT itself on the command line, for test benches and fleets.
// identify, read, write, live and flash run over the program's own link, setup and firmware
// libraries on a real serial port, with the program's replies, time-outs and messages.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// The usage text of the kvt verbs.
QString kvtUsage();

// args without the program name, starting with "kvt". Exit statuses: 0 done, 1 a failed check
// or a KVT that does not answer, 2 unusable input or port (with a message on err).
int runKvtCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
