// Console and option commands of the simulator.
#include "ConsoleCommands.h"

#include "BootCommands.h"

#include <QStringList>

namespace kvtsim {

bool parseFault(const QString& text, FaultPlan* plan)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    const QString kind = parts.value(0).toLower();
    FaultPlan p;
    if (kind == QLatin1String("silence"))
        p.fault = Fault::Silence;
    else if (kind == QLatin1String("wrong"))
        p.fault = Fault::WrongLetter;
    else if (kind == QLatin1String("short"))
        p.fault = Fault::ShortReply;
    else if (kind == QLatin1String("long"))
        p.fault = Fault::LongReply;
    else if (kind.startsWith(QLatin1String("alter")) && kind.mid(5).toInt() > 0) {
        // "alter17": the 17th byte after the letter arrives changed (a read-back that differs).
        p.fault = Fault::AlteredByte;
        p.length = kind.mid(5).toInt();
    } else if (kind == QLatin1String("none") || kind == QLatin1String("ok"))
        p.fault = Fault::None;
    else
        return false;
    if (parts.size() > 1 && !parts[1].isEmpty()) {
        const QString letter = parts[1].toUpper();
        if (letter.size() != 1 || !QStringLiteral("IDGAPLB").contains(letter))
            return false;
        p.onlyFor = letter.at(0).toLatin1();
    }
    if (parts.size() > 2) {
        bool ok = false;
        p.count = parts[2].toInt(&ok);
        if (!ok || p.count < 1)
            return false;
    }
    *plan = p;
    return true;
}

QString consoleHelp()
{
    return QStringLiteral(
        "Commands:\n"
        "  silence|wrong|short|long|alterN[:LETTER[:COUNT]]  fault on replies (LETTER one of\n"
        "                        IDGAPLB; alterN changes the Nth byte after the letter)\n"
        "  ok                    no more faults\n"
        "  stray [BYTES]         put a few stray bytes on the line now\n"
        "  noise MS              stray bytes every MS milliseconds (0 = off)\n"
        "  drop [MS]             drop the link; back after MS (default: until 'back')\n"
        "  back                  bring a dropped link back\n"
        "  emergency on|off      the KVT's emergency program\n"
        "  instant on|off        answer at once or at the line rate\n"
        "  trigger none|nosignal|teeth|gap  spoil the crank sensor signal\n"
        "  outputs               the last value of every test output (\"V\")\n"
        "  dyno [every S|off]    a run on the roller dynamometer now (or every S seconds)\n"
        "  status                what the simulator is doing\n"
        "  boot nak:K|checksum|silence|drop:K|ok   boot-loader faults (refuse frame K once,\n"
        "                        refuse every frame, never answer, drop after K frames)\n"
        "  boot image PATH       write each completed firmware image to PATH\n"
        "  boot status           what the boot loader received\n"
        "  quit                  end the simulator\n");
}

// "dyno": a run now; "dyno every S": runs repeated S seconds apart; "dyno off": no repeats.
static QString dynoCommand(PtyHost& host, const QStringList& args)
{
    const QString what = args.value(0).toLower();
    return host.withSimulator([&](KvtSimulator& sim) {
        DynoRun& dyno = sim.dynoRun();
        if (what == QLatin1String("off")) {
            dyno.setRepeatEvery(0);
            return QStringLiteral("dyno repeats off");
        }
        if (what == QLatin1String("every")) {
            dyno.setRepeatEvery(args.value(1).toInt());
            return QStringLiteral("dyno run every %1 s").arg(dyno.repeatEvery());
        }
        dyno.request();
        return QStringLiteral("dyno run: 3000 to 12000 rpm and down");
    });
}

QString runConsoleCommand(PtyHost& host, const QString& line, bool* quit)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString cmd = words[0].toLower();
    const QString arg = words.value(1);
    FaultPlan plan;
    if (cmd == QLatin1String("quit") || cmd == QLatin1String("exit")) {
        *quit = true;
        return QStringLiteral("bye");
    }
    if (cmd == QLatin1String("help"))
        return consoleHelp();
    if (cmd == QLatin1String("boot"))
        return runBootCommand(host, line.simplified().section(QLatin1Char(' '), 1));
    if (parseFault(words.join(QLatin1Char(':')).section(QLatin1Char(':'), 0, 2), &plan) ||
        parseFault(words[0], &plan)) {
        host.withSimulator([&](KvtSimulator& sim) { sim.setFault(plan); });
        return plan.fault == Fault::None ? QStringLiteral("faults off")
                                         : QStringLiteral("fault set: ") + line.trimmed();
    }
    if (cmd == QLatin1String("stray")) {
        const QByteArray bytes = arg.isEmpty() ? QByteArray("\x55\xAA?", 3) : arg.toLatin1();
        host.injectStray(bytes);
        return QStringLiteral("%1 stray bytes sent").arg(bytes.size());
    }
    if (cmd == QLatin1String("noise")) {
        host.setStrayEvery(qMax(0, arg.toInt()));
        return QStringLiteral("noise every %1 ms").arg(qMax(0, arg.toInt()));
    }
    if (cmd == QLatin1String("drop")) {
        bool ok = false;
        const int ms = arg.toInt(&ok);
        host.dropLink(ok ? qMax(0, ms) : -1);
        return ok ? QStringLiteral("link dropped for %1 ms").arg(ms)
                  : QStringLiteral("link dropped until 'back'");
    }
    if (cmd == QLatin1String("back")) {
        host.reconnect();
        return QStringLiteral("link back at ") + host.portPath();
    }
    if (cmd == QLatin1String("emergency") || cmd == QLatin1String("instant")) {
        const bool on = arg.toLower() != QLatin1String("off");
        if (cmd == QLatin1String("instant"))
            host.setInstant(on);
        else
            host.withSimulator([&](KvtSimulator& sim) { sim.setEmergency(on); });
        return cmd + (on ? QStringLiteral(" on") : QStringLiteral(" off"));
    }
    if (cmd == QLatin1String("trigger") || cmd == QLatin1String("outputs"))
        return runTestConsoleCommand(host, cmd, arg);
    if (cmd == QLatin1String("dyno"))
        return dynoCommand(host, words.mid(1));
    if (cmd == QLatin1String("status")) {
        // The paths take the host's lock themselves: read them outside withSimulator.
        const QString port = host.portPath();
        const QString terminal = host.terminalPath();
        return host.withSimulator([&](KvtSimulator& sim) {
            return QStringLiteral(
                       "port %1 (%2), link %3, restarts %4, emergency %5, "
                       "received %6 bytes, sent %7 bytes")
                .arg(port, terminal, host.linkUp() ? QStringLiteral("up") : QStringLiteral("down"))
                .arg(sim.restartCount())
                .arg(sim.emergency() ? QStringLiteral("on") : QStringLiteral("off"))
                .arg(host.bytesReceived())
                .arg(host.bytesSent());
        });
    }
    return QStringLiteral("unknown command; 'help' lists them");
}

}  // namespace kvtsim
