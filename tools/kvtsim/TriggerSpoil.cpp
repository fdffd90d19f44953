// Spoiled trigger signals and the console texts of the test outputs.
#include "TriggerSpoil.h"

#include "ConsoleCommands.h"
#include "KvtSimulator.h"

#include <QStringList>
#include <algorithm>

namespace kvtsim {

void spoilTrigger(LiveFrame& f, TriggerSpoil spoil)
{
    switch (spoil) {
    case TriggerSpoil::None: break;
    case TriggerSpoil::NoSignal:
        // The engine still turns (the speed comes from elsewhere), but no tooth is recognised.
        f.signalDetected = 0;
        f.teethSeen = 0;
        f.teethPerRevolution = 0;
        break;
    case TriggerSpoil::WrongTeeth:
        // Two teeth are lost per revolution: the counted teeth match neither the set wheel nor
        // what the KVT believes a revolution has.
        if (f.teethSeen > 2)
            f.teethSeen = quint8(f.teethSeen - 2);
        break;
    case TriggerSpoil::GapOff:
        // The gap lasts one tooth period more than the set gaps explain.
        f.gapPeriod = quint16(std::min(65535, f.gapPeriod + f.toothPeriod));
        break;
    }
}

bool parseTriggerSpoil(const QString& text, TriggerSpoil* spoil)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("none") || t == QLatin1String("ok"))
        *spoil = TriggerSpoil::None;
    else if (t == QLatin1String("nosignal"))
        *spoil = TriggerSpoil::NoSignal;
    else if (t == QLatin1String("teeth"))
        *spoil = TriggerSpoil::WrongTeeth;
    else if (t == QLatin1String("gap"))
        *spoil = TriggerSpoil::GapOff;
    else
        return false;
    return true;
}

QString triggerSpoilName(TriggerSpoil spoil)
{
    switch (spoil) {
    case TriggerSpoil::NoSignal: return QStringLiteral("nosignal");
    case TriggerSpoil::WrongTeeth: return QStringLiteral("teeth");
    case TriggerSpoil::GapOff: return QStringLiteral("gap");
    case TriggerSpoil::None: break;
    }
    return QStringLiteral("none");
}

QString describeOutput(int output, quint16 value)
{
    QString what;
    if (output == 1)
        what = value ? QStringLiteral("fuel pump on") : QStringLiteral("fuel pump off");
    else if (output == 2 || output == 3)
        what = QStringLiteral("switch output %1, %2 times").arg(output - 1).arg(value);
    else if (output >= 4 && output <= 6)
        what = QStringLiteral("coil %1 charged %2 ms")
                   .arg(output - 3)
                   .arg(value * 524.0 / 65536, 0, 'f', 2);
    else if (output >= 7 && output <= 9)
        what = QStringLiteral("injector %1 open %2 ms")
                   .arg(output - 6)
                   .arg(value * 131.0 / 65536, 0, 'f', 2);
    else if (output == 10)
        what = QStringLiteral("tachometer at %1 rpm").arg(value);
    else
        what = QStringLiteral("unknown output");
    return QStringLiteral("V %1 = %2 (%3)").arg(output).arg(value).arg(what);
}

QString runTestConsoleCommand(PtyHost& host, const QString& cmd, const QString& arg)
{
    if (cmd == QLatin1String("trigger")) {
        TriggerSpoil spoil;
        if (!parseTriggerSpoil(arg, &spoil))
            return QStringLiteral("trigger: none, nosignal, teeth or gap");
        host.withSimulator([&](KvtSimulator& sim) { sim.setTriggerSpoil(spoil); });
        return QStringLiteral("trigger ") + triggerSpoilName(spoil);
    }
    return host.withSimulator([](KvtSimulator& sim) {
        QStringList lines;
        for (int n = 1; n <= 10; ++n)
            lines << describeOutput(n, sim.testOutput(n));
        return lines.join(QLatin1Char('\n'));
    });
}

}  // namespace kvtsim
