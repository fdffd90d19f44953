#include "SettingsCommands.h"

#include "app/core/AtomicFile.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"

#include <QDir>

namespace cli {

int runSettingsCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 4 || args[0] != QLatin1String("settings") ||
        args[1] != QLatin1String("demo")) {
        err << "usage: motrix-cli settings demo DIR PORT\n";
        return 2;
    }
    QString dir = args[2];
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    app::ProgramSettings settings;
    settings.portName = args[3];
    settings.comAtStart = true;
    settings.readSetupAfterIdentification = true;
    const QString path = app::settingsFilePath(dir);
    if (!QDir().mkpath(dir) || !app::writeFileAtomically(path, app::encodeSettings(settings))) {
        err << "motrix-cli: cannot write " << path << "\n";
        return 2;
    }
    out << "wrote " << path << "\n";
    return 0;
}

}  // namespace cli
