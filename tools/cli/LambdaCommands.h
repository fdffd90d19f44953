// The "lambda" command of motrix-cli: shows a ".kll" lambda log (header, comment, the three
// tables in V and how many cells of each probe fall in each judgement class).
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// args without the program name, e.g. {"lambda", "show", "a.kll", "--json"}. Returns 0, or 2
// with a message on err for bad use or a file that is not a lambda log.
int runLambdaCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
