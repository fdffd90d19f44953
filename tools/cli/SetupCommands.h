// The "setup" commands of motrix-cli: show one setup file, or compare two, in engineering
// units. Kept apart from main() so the commands can be run in-process as well.
#pragma once

#include "setup/SetupCompare.h"
#include "setup/SetupFileCodec.h"
#include "setup/SetupRecord.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace cli {

// Exit statuses: 0 done (or files equal), 1 files differ, 2 bad use or unreadable input.
enum ExitStatus { ExitOk = 0, ExitDiffer = 1, ExitError = 2 };

// args without the program name, e.g. {"setup", "show", "a.kvt", "--json"}.
int runCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// Every field in engineering units, maps and curves as tables; the dead times only on request
// (setup files do not carry them).
void printRecord(const setup::SetupRecord& record, bool deadTimes, QTextStream& out);
QJsonObject recordJson(const setup::SetupRecord& record, bool deadTimes);

// A setup file read and checked as "setup show" does; a message on err and nothing when it
// cannot be read or is no setup file.
std::optional<setup::SetupFileContent> readSetupFile(const QString& path, QTextStream& err);

// One side of a comparison: what it is called in the output, its description and record.
struct Compared {
    QString name;
    QString description;
    setup::SetupRecord record;
};
// Every differing field and cell, as "setup diff" prints them; ExitOk when equal, else ExitDiffer.
int printDifferences(const Compared& a, const Compared& b, setup::CompareScope scope, bool json,
                     QTextStream& out);

}  // namespace cli
