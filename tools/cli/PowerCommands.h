// The "power" commands of motrix-cli: show a comparison file (its texts, parameters, options,
// the stored grid and the grid as this program computes it), and print the comparison page to
// a PDF file without the windows.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// args without the program name, e.g. {"power", "show", "a.klv", "--json"}. Exit status 0, or
// 2 with a message for bad use or an unreadable file. "print" needs a QGuiApplication.
int runPowerCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// True for the commands that draw and so need a QGuiApplication.
bool powerCommandNeedsGui(const QStringList& args);

}  // namespace cli
