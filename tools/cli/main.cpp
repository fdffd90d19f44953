// motrix-cli: looks into setup files without the program's windows, for people who look after
// many engines ("setup show", "setup diff"), summarises and converts log files ("log show",
// "log csv"), shows lambda logs ("lambda show"), shows or prints power comparison files
// ("power show", "power print"), checks firmware files before an update ("firmware check"),
// prepares preferences ("settings demo") and looks into the setup history ("history ...").
#include "FirmwareCommands.h"
#include "HistoryCommands.h"
#include "LambdaCommands.h"
#include "LogCommands.h"
#include "PowerCommands.h"
#include "SettingsCommands.h"
#include "SetupCommands.h"

#include <QGuiApplication>
#include <QTextStream>
#include <memory>

int main(int argc, char* argv[])
{
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // Printing draws text, which needs the GUI library, though no window is ever shown.
    std::unique_ptr<QCoreApplication> app;
    if (cli::powerCommandNeedsGui(raw)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const QString group = args.value(0);
    const int status = group == QLatin1String("settings")  ? cli::runSettingsCommand(args, out, err)
                       : group == QLatin1String("log")     ? cli::runLogCommand(args, out, err)
                       : group == QLatin1String("lambda")  ? cli::runLambdaCommand(args, out, err)
                       : group == QLatin1String("power")   ? cli::runPowerCommand(args, out, err)
                       : group == QLatin1String("history") ? cli::runHistoryCommand(args, out, err)
                       : group == QLatin1String("firmware")
                           ? cli::runFirmwareCommand(args, out, err)
                           : cli::runCommand(args, out, err);
    out.flush();
    err.flush();
    return status;
}
