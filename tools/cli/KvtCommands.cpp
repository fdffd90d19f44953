// The kvt verbs: usage, the checks of the command line before the port is touched, and
// "kvt identify".
#include "KvtCommands.h"

#include "KvtVerbs.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

// Identity texts hold one character per byte, padded with blanks or zero bytes.
QString identityText(const QString& text)
{
    QString t = text;
    while (!t.isEmpty() && (t.back() == QChar(0) || t.back().isSpace()))
        t.chop(1);
    return t.trimmed();
}

bool knownVerb(const QString& verb)
{
    static const QStringList verbs{QStringLiteral("identify"), QStringLiteral("read"),
                                   QStringLiteral("write"), QStringLiteral("live"),
                                   QStringLiteral("flash")};
    return verbs.contains(verb);
}

// What can be judged before the port is opened; an empty text when the line is fine.
QString misuse(const KvtOptions& o)
{
    if (o.port.isEmpty())
        return QStringLiteral("--port PFAD fehlt");
    if (o.verb == QLatin1String("read")) {
        if (o.output.isEmpty())
            return QStringLiteral("-o DATEI.kvt fehlt");
        if (!o.files.isEmpty())
            return QStringLiteral("zu viele Argumente");
    } else if (o.verb == QLatin1String("write") ||
               (o.verb == QLatin1String("flash") && !o.cancel)) {
        if (o.files.size() != 1)
            return o.files.isEmpty() ? QStringLiteral("Datei fehlt")
                                     : QStringLiteral("zu viele Argumente");
    } else if (!o.files.isEmpty()) {
        return QStringLiteral("zu viele Argumente");
    }
    if (o.resume && o.cancel)
        return QStringLiteral("--resume und --cancel schließen sich aus");
    if (o.csv && o.json)
        return QStringLiteral("--csv und --json schließen sich aus");
    return {};
}

}  // namespace

QString kvtUsage()
{
    return QStringLiteral(
        "  motrix-cli kvt identify --port PFAD [--json]\n"
        "  motrix-cli kvt read --port PFAD -o DATEI.kvt [--force]\n"
        "  motrix-cli kvt write --port PFAD DATEI.kvt [--eeprom] [--json]\n"
        "  motrix-cli kvt live --port PFAD [--period MS] [--count N] [--csv | --json]\n"
        "  motrix-cli kvt flash --port PFAD DATEI.hex|DATEI.bin [--resume]\n"
        "  motrix-cli kvt flash --port PFAD --cancel\n"
        "  (jedes kvt-Kommando: -q/--quiet zeigt die Meldungen der Verbindung nur bei einem "
        "Fehler)\n");
}

int kvtIdentify(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream&)
{
    if (const int opened = session.open(); opened != 0)
        return opened;
    const devlink::DeviceIdentity& id = session.link().identity();
    if (options.json) {
        const QJsonObject o{{QStringLiteral("port"), session.portPath()},
                            {QStringLiteral("deviceType"), identityText(id.deviceType)},
                            {QStringLiteral("hw"), identityText(id.hw)},
                            {QStringLiteral("sw"), identityText(id.sw)},
                            {QStringLiteral("bl"), identityText(id.bl)},
                            {QStringLiteral("restarts"), int(id.restartCount)}};
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
    } else {
        out << "Gerät:     " << identityText(id.deviceType) << "\n"
            << "HW:        " << identityText(id.hw) << "\n"
            << "SW:        " << identityText(id.sw) << "\n"
            << "BL:        " << identityText(id.bl) << "\n"
            << "Neustarts: " << id.restartCount << "\n";
    }
    return 0;
}

int runKvtCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const std::optional<KvtOptions> options = parseKvtOptions(args, err);
    if (!options)
        return 2;
    const KvtOptions& o = *options;
    if (o.help || o.verb == QLatin1String("--help") || o.verb == QLatin1String("-h")) {
        out << "Aufruf:\n" << kvtUsage();
        return 0;
    }
    if (!knownVerb(o.verb)) {
        err << "Aufruf:\n" << kvtUsage();
        return 2;
    }
    const QString wrong = misuse(o);
    if (!wrong.isEmpty()) {
        err << "motrix-cli: kvt " << o.verb << ": " << wrong << "\n"
            << "Aufruf:\n"
            << kvtUsage();
        return 2;
    }
    KvtSession session(o.port, err);
    session.setQuiet(o.quiet);
    using Verb = int (*)(KvtSession&, const KvtOptions&, QTextStream&, QTextStream&);
    const Verb verb = o.verb == QLatin1String("identify") ? kvtIdentify
                      : o.verb == QLatin1String("read")   ? kvtRead
                      : o.verb == QLatin1String("write")  ? kvtWrite
                      : o.verb == QLatin1String("live")   ? kvtLive
                                                          : kvtFlash;
    return session.finish(verb(session, o, out, err));
}

}  // namespace cli
