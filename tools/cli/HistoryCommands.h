// The "history" commands of motrix-cli: list the setup history, show one entry, compare an
// entry with another or with a setup file, and export an entry as a setup file.
#pragma once

#include "history/SetupHistory.h"

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

namespace cli {

// args without the program name, e.g. {"history", "list", "--json"}. "--dir DIR" names the
// program directory; by default it is the program's own (per-user data folder "Motrix").
int runHistoryCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The program directory the history lives in: dir when given, otherwise the program's own.
QString historyDirectory(const QString& dir);

// Records a setup the command line read from or wrote to the KVT (history::Event::CliRead or
// CliWrite) in the history of the program directory dir (empty: the program's own), as the
// program does: created when missing, a damaged one moved aside with a message on err. A
// history that cannot be written is reported on err and never fails the transfer itself.
void recordInHistory(history::Event event, const history::KvtIdentity& kvt, const QString& path,
                     const QString& description, const QByteArray& block, const QString& dir,
                     QTextStream& err);

}  // namespace cli
