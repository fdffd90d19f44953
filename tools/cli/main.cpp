// motrix-cli: looks into setup files without the program's windows, for people who look after
// many engines ("setup show", "setup diff"), and prepares preferences ("settings demo").
#include "SettingsCommands.h"
#include "SetupCommands.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const bool settings = !args.isEmpty() && args.first() == QLatin1String("settings");
    const int status =
        settings ? cli::runSettingsCommand(args, out, err) : cli::runCommand(args, out, err);
    out.flush();
    err.flush();
    return status;
}
