// Parsing of the boot-loader faults and the console's "boot" commands.
#include "BootCommands.h"

#include "PtyHost.h"

#include <QStringList>

namespace kvtsim {

bool parseBootFault(const QString& text, BootFaults* faults)
{
    const QStringList parts = text.trimmed().toLower().split(QLatin1Char(':'));
    const QString kind = parts.value(0);
    bool ok = true;
    const int k = parts.size() > 1 ? parts[1].toInt(&ok) : 1;
    if (!ok || k < 1)
        return false;
    if (kind == QLatin1String("nak"))
        faults->nakFrame = k;
    else if (kind == QLatin1String("checksum"))
        faults->wrongChecksum = true;
    else if (kind == QLatin1String("silence"))
        faults->silent = true;
    else if (kind == QLatin1String("drop"))
        faults->dropAfterFrames = k;
    else if (kind == QLatin1String("ok") || kind == QLatin1String("none"))
        *faults = BootFaults{};
    else
        return false;
    return true;
}

QString runBootCommand(PtyHost& host, const QString& arguments)
{
    const QStringList words = arguments.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString what = words.value(0).toLower();
    if (what == QLatin1String("image")) {
        const QString path = words.value(1);
        host.withSimulator([&](KvtSimulator& sim) { sim.bootLoader().setImageFile(path); });
        return path.isEmpty() ? QStringLiteral("received images are not written")
                              : QStringLiteral("received images go to ") + path;
    }
    if (what.isEmpty() || what == QLatin1String("status")) {
        return host.withSimulator([](KvtSimulator& sim) {
            BootLoader& boot = sim.bootLoader();
            return QStringLiteral("boot loader %1, %2 frames accepted, %3 refused, SW %4")
                .arg(boot.active() ? QStringLiteral("running") : QStringLiteral("idle"))
                .arg(boot.framesAccepted())
                .arg(boot.framesRefused())
                .arg(QString::fromLatin1(sim.softwareVersion()));
        });
    }
    return host.withSimulator([&](KvtSimulator& sim) {
        BootFaults faults = sim.bootLoader().faults();
        if (!parseBootFault(what, &faults))
            return QStringLiteral("unknown boot command; 'help' lists them");
        sim.bootLoader().setFaults(faults);
        return QStringLiteral("boot loader faults: nak %1, checksum %2, silence %3, drop %4")
            .arg(faults.nakFrame)
            .arg(faults.wrongChecksum ? QStringLiteral("on") : QStringLiteral("off"))
            .arg(faults.silent ? QStringLiteral("on") : QStringLiteral("off"))
            .arg(faults.dropAfterFrames);
    });
}

}  // namespace kvtsim
