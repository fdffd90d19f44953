// Listing, showing, comparing and exporting the setup history for motrix-cli.
#include "HistoryCommands.h"

#include "SetupCommands.h"
#include "app/core/AtomicFile.h"
#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace cli {
namespace {

const char* const usage =
    "Aufruf:\n"
    "  motrix-cli history list [--json] [--dir VERZEICHNIS]\n"
    "  motrix-cli history show NR [--json] [--dir VERZEICHNIS]\n"
    "  motrix-cli history diff NR NR|DATEI.kvt [--json] [--dir VERZEICHNIS]\n"
    "  motrix-cli history export NR -o DATEI.kvt [--dir VERZEICHNIS]\n";

QString timeText(const QDateTime& t)
{
    return t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString kvtText(const history::KvtIdentity& k)
{
    if (!k.identified())
        return QStringLiteral("kein KVT");
    return QStringLiteral("%1 HW %2 SW %3 BL %4")
        .arg(k.deviceType.trimmed(), k.hw.trimmed(), k.sw.trimmed(), k.bl.trimmed());
}

QJsonObject entryJson(const history::Entry& e)
{
    return {{QStringLiteral("id"), e.id},
            {QStringLiteral("time"), e.at.toString(Qt::ISODate)},
            {QStringLiteral("lastTime"), e.lastAt.toString(Qt::ISODate)},
            {QStringLiteral("repeats"), e.repeats},
            {QStringLiteral("event"), history::eventCode(e.event)},
            {QStringLiteral("kvt"), QJsonObject{{QStringLiteral("deviceType"), e.kvt.deviceType},
                                                {QStringLiteral("hw"), e.kvt.hw},
                                                {QStringLiteral("sw"), e.kvt.sw},
                                                {QStringLiteral("bl"), e.kvt.bl},
                                                {QStringLiteral("restarts"), e.kvt.restarts}}},
            {QStringLiteral("path"), e.path},
            {QStringLiteral("description"), e.description}};
}

std::optional<history::Entry> entryById(const history::SetupHistory& h, const QString& text,
                                        QTextStream& err)
{
    bool number = false;
    const qint64 id = text.toLongLong(&number);
    std::optional<history::Entry> e = number ? h.get(id) : std::nullopt;
    if (!e)
        err << "motrix-cli: kein Eintrag Nr. " << text << " in der Setup-Historie\n";
    else if (e->block.size() != setup::setupBlockSize)
        err << "motrix-cli: Eintrag Nr. " << text << ": Hinweis: " << e->block.size() << " statt "
            << setup::setupBlockSize << " Bytes\n";
    return e;
}

int list(const history::SetupHistory& h, bool json, QTextStream& out)
{
    const std::vector<history::Entry> entries = h.list();
    if (json) {
        QJsonArray all;
        for (const history::Entry& e : entries)
            all.append(entryJson(e));
        out << QJsonDocument(all).toJson(QJsonDocument::Indented);
        return ExitOk;
    }
    for (const history::Entry& e : entries) {
        out << QStringLiteral("%1  %2  %3  %4")
                   .arg(e.id, 5)
                   .arg(timeText(e.at))
                   .arg(history::eventText(e.event), -34)
                   .arg(kvtText(e.kvt));
        if (e.repeats > 0)
            out << QStringLiteral("  (%1 x wiederholt)").arg(e.repeats);
        if (!e.path.isEmpty())
            out << "  " << e.path;
        if (!e.description.isEmpty())
            out << "  \"" << e.description << "\"";
        out << "\n";
    }
    out << entries.size() << " Eintrag/Einträge.\n";
    return ExitOk;
}

int show(const history::Entry& e, bool json, QTextStream& out)
{
    const setup::SetupRecord record = setup::decodeSetupBlock(e.block);
    if (json) {
        QJsonObject o = entryJson(e);
        o[QStringLiteral("fields")] = recordJson(record, true);
        out << QJsonDocument(o).toJson(QJsonDocument::Indented);
        return ExitOk;
    }
    out << "Nr.:          " << e.id << "\n";
    out << "Zeit:         " << timeText(e.at) << "\n";
    if (e.repeats > 0)
        out << "Wiederholt:   " << e.repeats << " x, zuletzt " << timeText(e.lastAt) << "\n";
    out << "Vorgang:      " << history::eventText(e.event) << "\n";
    out << "Gerät:        " << e.kvt.deviceType << "\n";
    out << "HW:           " << e.kvt.hw << "\n";
    out << "SW:           " << e.kvt.sw << "\n";
    out << "BL:           " << e.kvt.bl << "\n";
    out << "Neustarts:    " << e.kvt.restarts << "\n";
    out << "Datei:        " << e.path << "\n";
    out << "Beschreibung: " << e.description << "\n\n";
    printRecord(record, true, out);
    return ExitOk;
}

int exportEntry(const history::Entry& e, const QString& path, QTextStream& out, QTextStream& err)
{
    const setup::SetupOrigin origin =
        setup::makeSetupOrigin(e.kvt.deviceType, e.kvt.hw, e.kvt.sw, e.kvt.bl, e.kvt.restarts);
    // The header keeps the time of the entry, so the file says when the setup was in use.
    const QByteArray bytes =
        setup::encodeSetupFile(setup::decodeSetupBlock(e.block), e.description, origin, e.at);
    if (!app::writeFileAtomically(path, bytes)) {
        err << "motrix-cli: " << path << ": Datei kann nicht geschrieben werden\n";
        return ExitError;
    }
    out << "Eintrag Nr. " << e.id << " nach " << path << " geschrieben (" << bytes.size()
        << " Bytes)\n";
    return ExitOk;
}

}  // namespace

QString historyDirectory(const QString& dir)
{
    if (!dir.isEmpty())
        return dir;
    // The program keeps its directory in the per-user data folder under its own name.
    const QString saved = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Motrix"));
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(saved);
    return own;
}

void recordInHistory(history::Event event, const history::KvtIdentity& kvt, const QString& path,
                     const QString& description, const QByteArray& block, const QString& dir,
                     QTextStream& err)
{
    const QString directory = historyDirectory(dir);
    QDir().mkpath(directory);
    history::SetupHistory h;
    const history::OpenResult opened = h.open(directory);
    if (!opened.message.isEmpty())
        err << "motrix-cli: "
            << QString(opened.message).replace(QLatin1Char('\r'), QLatin1Char(' ')) << "\n";
    if (opened.ok && h.record(event, kvt, path, description, block) == 0)
        err << "motrix-cli: Setup-Historie: Eintrag nicht gespeichert (" << h.lastError() << ")\n";
}

int runHistoryCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList positional;
    bool json = false;
    QString dir;
    QString output;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg == QLatin1String("--dir") && i + 1 < args.size())
            dir = args[++i];
        else if (arg == QLatin1String("-o") && i + 1 < args.size())
            output = args[++i];
        else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            out << usage;
            return ExitOk;
        } else
            positional << arg;
    }
    const QString verb = positional.value(1);
    const bool valid =
        (verb == QLatin1String("list") && positional.size() == 2) ||
        (verb == QLatin1String("show") && positional.size() == 3) ||
        (verb == QLatin1String("diff") && positional.size() == 4) ||
        (verb == QLatin1String("export") && positional.size() == 3 && !output.isEmpty());
    if (!valid) {
        err << usage;
        return ExitError;
    }
    // Only looks: a missing or damaged database is reported and left as it is for the program.
    history::SetupHistory h;
    const history::OpenResult opened = h.open(historyDirectory(dir), false);
    if (!opened.ok) {
        err << "motrix-cli: "
            << QString(opened.message).replace(QLatin1Char('\r'), QLatin1Char(' ')) << "\n";
        return ExitError;
    }
    if (verb == QLatin1String("list"))
        return list(h, json, out);
    const std::optional<history::Entry> a = entryById(h, positional[2], err);
    if (!a)
        return ExitError;
    if (verb == QLatin1String("show"))
        return show(*a, json, out);
    if (verb == QLatin1String("export"))
        return exportEntry(*a, output, out, err);

    const Compared left{QStringLiteral("Nr. %1").arg(a->id), a->description,
                        setup::decodeSetupBlock(a->block)};
    const QString other = positional[3];
    if (other.endsWith(QLatin1String(".kvt"))) {
        const std::optional<setup::SetupFileContent> file = readSetupFile(other, err);
        if (!file)
            return ExitError;
        return printDifferences(left, {other, file->description, file->record},
                                setup::CompareScope::File, json, out);
    }
    const std::optional<history::Entry> b = entryById(h, other, err);
    if (!b)
        return ExitError;
    return printDifferences(
        left,
        {QStringLiteral("Nr. %1").arg(b->id), b->description, setup::decodeSetupBlock(b->block)},
        setup::CompareScope::Block, json, out);
}

}  // namespace cli
