// Summaries and CSV conversion of log files for motrix-cli.
#include "LogCommands.h"

#include "app/core/AtomicFile.h"
#include "logger/ChartGeometry.h"
#include "logger/KlgReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace cli {
namespace {

const char* const usage =
    "Aufruf:\n"
    "  motrix-cli log show DATEI.klg [--json]\n"
    "  motrix-cli log csv DATEI.klg [-o AUSGABE.csv]\n";

struct ChannelStats {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    double sum = 0;
};

bool openLog(QFile& file, QTextStream& err)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        err << "motrix-cli: " << file.fileName() << ": Datei kann nicht geöffnet werden ("
            << file.errorString() << ")\n";
        return false;
    }
    return true;
}

// A log file starts with its name line and has all eleven header lines; anything else is not
// one.
bool checkHeader(const QFile& file, const logger::KlgHeaderText& header, QTextStream& err)
{
    if (header.lines < 11 || !header.title.startsWith(QLatin1String("KVT-Log-Datei,"))) {
        err << "motrix-cli: " << file.fileName()
            << ": keine Log-Datei (Kopfzeilen fehlen oder \"KVT-Log-Datei\" fehlt)\n";
        return false;
    }
    return true;
}

QString timeText(double ms)
{
    QString t = logger::cursorTimeText(ms);
    return t.mid(1, t.size() - 2);
}

int show(const QString& path, bool json, QTextStream& out, QTextStream& err)
{
    QFile file(path);
    if (!openLog(file, err))
        return 2;
    logger::KlgReader reader(file);
    const logger::KlgHeaderText header = reader.readHeader();
    if (!checkHeader(file, header, err))
        return 2;
    std::array<ChannelStats, 14> stats;
    qint64 rows = 0;
    double firstTime = 0;
    double lastTime = 0;
    logger::RecordFields f;
    while (reader.nextRecord(f)) {
        if (rows++ == 0)
            firstTime = f[0];
        lastTime = f[0];
        for (int c = 0; c < 14; ++c) {
            const double v = double(float(f[std::size_t(c + 1)]));
            stats[std::size_t(c)].min = std::min(stats[std::size_t(c)].min, v);
            stats[std::size_t(c)].max = std::max(stats[std::size_t(c)].max, v);
            stats[std::size_t(c)].sum += v;
        }
    }
    if (reader.readFailed()) {
        err << "motrix-cli: " << path << ": Lesefehler (" << file.errorString() << ")\n";
        return 2;
    }
    const double duration = rows > 0 ? lastTime - firstTime : 0;
    auto name = [](int c) { return QString::fromUtf8(logger::channelInfo[std::size_t(c)].name); };
    if (json) {
        QJsonArray channels;
        for (int c = 0; c < 14; ++c) {
            const ChannelStats& s = stats[std::size_t(c)];
            QJsonObject o{{QStringLiteral("channel"), c + 1}, {QStringLiteral("name"), name(c)}};
            if (rows > 0) {
                o.insert(QStringLiteral("min"), s.min);
                o.insert(QStringLiteral("max"), s.max);
                o.insert(QStringLiteral("mean"), s.sum / double(rows));
            }
            channels.append(o);
        }
        const QJsonObject result{
            {QStringLiteral("file"), path},        {QStringLiteral("date"), header.date},
            {QStringLiteral("time"), header.time}, {QStringLiteral("hw"), header.hw},
            {QStringLiteral("sw"), header.sw},     {QStringLiteral("comment"), header.comment},
            {QStringLiteral("rows"), rows},        {QStringLiteral("firstMs"), firstTime},
            {QStringLiteral("lastMs"), lastTime},  {QStringLiteral("durationMs"), duration},
            {QStringLiteral("channels"), channels}};
        out << QJsonDocument(result).toJson(QJsonDocument::Indented);
        return 0;
    }
    out << "Datei: " << path << "\n";
    out << "Datum: " << header.date << "  Uhrzeit: " << header.time << "\n";
    out << "KVT HW: " << header.hw << "  KVT SW: " << header.sw << "\n";
    out << "Kommentar: " << header.comment << "\n";
    out << "Datensätze: " << rows << "\n";
    out << "Dauer: " << timeText(duration) << " (" << QString::number(duration, 'f', 0) << " ms)\n";
    if (rows == 0)
        return 0;
    out << QStringLiteral("%1 %2 %3 %4\n")
               .arg(QStringLiteral("Kanal"), -24)
               .arg(QStringLiteral("min"), 12)
               .arg(QStringLiteral("max"), 12)
               .arg(QStringLiteral("Mittel"), 12);
    for (int c = 0; c < 14; ++c) {
        const ChannelStats& s = stats[std::size_t(c)];
        out << QStringLiteral("%1 %2 %3 %4\n")
                   .arg(name(c), -24)
                   .arg(s.min, 12, 'g', 7)
                   .arg(s.max, 12, 'g', 7)
                   .arg(s.sum / double(rows), 12, 'f', 3);
    }
    return 0;
}

// Values as the table holds them: the time as a double, the channels as floats, each in its
// shortest exact form.
char* number(char* p, double v)
{
    return std::to_chars(p, p + 32, v).ptr;
}
char* number(char* p, float v)
{
    return std::to_chars(p, p + 32, v).ptr;
}

int csv(const QString& path, const QString& outPath, QTextStream& out, QTextStream& err)
{
    QFile file(path);
    if (!openLog(file, err))
        return 2;
    logger::KlgReader reader(file);
    const logger::KlgHeaderText header = reader.readHeader();
    if (!checkHeader(file, header, err))
        return 2;

    // The output goes to a temporary file that replaces OUT.csv only when complete.
    app::AtomicFile saved(outPath);
    QFile console;
    if (outPath.isEmpty()) {
        out.flush();
        console.open(stdout, QIODevice::WriteOnly);
    } else if (!saved.open()) {
        err << "motrix-cli: " << outPath << ": kann nicht geschrieben werden ("
            << QString::fromLocal8Bit(std::strerror(saved.error())) << ")\n";
        return 2;
    }
    const auto write = [&](const QByteArray& bytes) {
        return outPath.isEmpty() ? console.write(bytes) == bytes.size() : saved.write(bytes);
    };
    QByteArray block = "Log-Zeitpunkt(ms)";
    for (const logger::ChannelInfo& c : logger::channelInfo)
        block += QByteArray(",") + c.name;
    block += '\n';
    constexpr qsizetype flushAt = 1 << 20;
    block.reserve(flushAt + 1024);
    bool ok = true;
    logger::RecordFields f;
    char line[15 * 40];
    while (ok && reader.nextRecord(f)) {
        char* p = number(line, f[0]);
        for (int c = 1; c < 15; ++c) {
            *p++ = ',';
            p = number(p, float(f[std::size_t(c)]));
        }
        *p++ = '\n';
        block.append(line, p - line);
        if (block.size() >= flushAt) {
            ok = write(block);
            block.clear();
        }
    }
    ok = ok && write(block);
    if (reader.readFailed()) {
        err << "motrix-cli: " << path << ": Lesefehler (" << file.errorString() << ")\n";
        ok = false;
    }
    if (!outPath.isEmpty()) {
        if (!ok) {
            saved.cancel();
            err << "motrix-cli: " << outPath << ": Schreibfehler\n";
            return 2;
        }
        if (!saved.commit()) {
            err << "motrix-cli: " << outPath << ": kann nicht geschrieben werden ("
                << QString::fromLocal8Bit(std::strerror(saved.error())) << ")\n";
            return 2;
        }
        return 0;
    }
    console.flush();
    return ok ? 0 : 2;
}

}  // namespace

int runLogCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() >= 3 && args[1] == QLatin1String("show")) {
        const bool json = args.size() == 4 && args[3] == QLatin1String("--json");
        if (args.size() == 3 || json)
            return show(args[2], json, out, err);
    }
    if (args.size() >= 3 && args[1] == QLatin1String("csv")) {
        if (args.size() == 3)
            return csv(args[2], {}, out, err);
        if (args.size() == 5 && args[3] == QLatin1String("-o"))
            return csv(args[2], args[4], out, err);
    }
    err << usage;
    return 2;
}

}  // namespace cli
