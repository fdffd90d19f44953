// motrix-cli: looks into setup files without the program's windows, for people who look after
// many engines ("setup show", "setup diff"), summarises and converts log files ("log show",
// "log csv"), shows lambda logs ("lambda show"), shows or prints power comparison files
// ("power show", "power print"), checks firmware files before an update ("firmware check"),
// prepares preferences ("settings demo"), looks into the setup history ("history ...") and
// talks to the KVT itself ("kvt identify", "read", "write", "live", "flash").
#include "FirmwareCommands.h"
#include "HistoryCommands.h"
#include "KvtCommands.h"
#include "LambdaCommands.h"
#include "LogCommands.h"
#include "PowerCommands.h"
#include "SettingsCommands.h"
#include "SetupCommands.h"
#include "ToolUsage.h"

#include <QGuiApplication>
#include <QTextStream>
#include <memory>

namespace {

using Command = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

// Each area's first word and the function that runs its verbs.
struct Area {
    const char* name;
    Command run;
};
const Area areas[] = {
    {"setup", cli::runCommand},      {"settings", cli::runSettingsCommand},
    {"log", cli::runLogCommand},     {"lambda", cli::runLambdaCommand},
    {"power", cli::runPowerCommand}, {"firmware", cli::runFirmwareCommand},
    {"history", cli::runHistoryCommand}, {"kvt", cli::runKvtCommand},
};

}  // namespace

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
    int status = 2;
    if (group == QLatin1String("--help") || group == QLatin1String("-h")) {
        out << cli::toolUsage();
        status = 0;
    } else {
        const auto area = std::find_if(std::begin(areas), std::end(areas), [&](const Area& a) {
            return group == QLatin1String(a.name);
        });
        if (area != std::end(areas))
            status = area->run(args, out, err);
        else
            err << cli::toolUsage();
    }
    out.flush();
    err.flush();
    return status;
}
