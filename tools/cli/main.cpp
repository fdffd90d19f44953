// motrix-cli: looks into setup files without the program's windows, for people who look after
// many engines ("setup show", "setup diff"), prepares preferences ("settings demo") and checks
// firmware files before an update ("firmware check").
#include "FirmwareCommands.h"
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
    const bool firmware = !args.isEmpty() && args.first() == QLatin1String("firmware");
    const int status = settings   ? cli::runSettingsCommand(args, out, err)
                       : firmware ? cli::runFirmwareCommand(args, out, err)
                                  : cli::runCommand(args, out, err);
    out.flush();
    err.flush();
    return status;
}
