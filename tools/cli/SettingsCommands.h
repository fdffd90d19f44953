// "motrix-cli settings ...": prepares a program directory's preferences file.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// "settings demo DIR PORT": writes DIR/Motrix.cfg with the default preferences, PORT as the
// stored port, "COM beim Start aktivieren" and "Setup automatisch von KVT einlesen" ticked,
// so that the program connects at start and shows the KVT's setup.
// Returns 0 on success, 2 on bad use or a file that cannot be written.
int runSettingsCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace cli
