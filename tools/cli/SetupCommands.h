// The "setup" commands of motrix-cli: show one setup file, or compare two, in engineering
// units. Kept apart from main() so the commands can be run in-process as well.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// Exit statuses: 0 done (or files equal), 1 files differ, 2 bad use or unreadable input.
enum ExitStatus { ExitOk = 0, ExitDiffer = 1, ExitError = 2 };

// args without the program name, e.g. {"setup", "show", "a.kvt", "--json"}.
int runCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
