// The "log" commands of motrix-cli: a summary of a log file (".klg"), and its conversion to a
// comma-separated table. Both stream the file, so logs of any length take little memory.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// args without the program name, e.g. {"log", "csv", "a.klg", "-o", "a.csv"}.
// Exit status 0, or 2 with a message for bad use or an unreadable file.
int runLogCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
