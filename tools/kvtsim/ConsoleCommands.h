// Text commands that steer a running simulator (the --fault option and the console of
// the kvtsim program share them).
#pragma once

#include "PtyHost.h"

#include <QString>

namespace kvtsim {

// Parses a fault like "silence", "wrong:D", "short:I:3" into a plan; false when unknown.
bool parseFault(const QString& text, FaultPlan* plan);

// Runs one console command on host; returns the answer to print. Sets *quit on "quit".
QString runConsoleCommand(PtyHost& host, const QString& line, bool* quit);

// "trigger SPOIL" and "outputs": the test window's side of the KVT.
QString runTestConsoleCommand(PtyHost& host, const QString& cmd, const QString& arg);

// The console's help text.
QString consoleHelp();

}  // namespace kvtsim
