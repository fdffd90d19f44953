// motrix-cli: looks into setup files without the program's windows, for people who look after
// many engines ("setup show", "setup diff"), summarises and converts log files ("log show",
// "log csv"), shows lambda logs ("lambda show"), checks firmware files before an update
// ("firmware check") and prepares preferences ("settings demo").
#include "FirmwareCommands.h"
#include "LambdaCommands.h"
#include "LogCommands.h"
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
    const QString command = args.isEmpty() ? QString() : args.first();
    const int status = command == QLatin1String("settings")   ? cli::runSettingsCommand(args, out, err)
                       : command == QLatin1String("log")      ? cli::runLogCommand(args, out, err)
                       : command == QLatin1String("lambda")   ? cli::runLambdaCommand(args, out, err)
                       : command == QLatin1String("firmware") ? cli::runFirmwareCommand(args, out, err)
                                                              : cli::runCommand(args, out, err);
    out.flush();
    err.flush();
    return status;
}
