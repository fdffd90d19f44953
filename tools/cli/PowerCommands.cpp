// Showing and printing comparison files for motrix-cli.
#include "PowerCommands.h"

#include "app/core/ProgramSettings.h"
#include "power/PowerCompute.h"
#include "power/PowerFile.h"
#include "power/PowerFiles.h"
#include "power/PowerPrintout.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace cli {
namespace {

const char* const usage =
    "Aufruf:\n"
    "  motrix-cli power show DATEI.klv [--json]\n"
    "  motrix-cli power print DATEI.klv [--compare B.klv [C.klv]] [--text TEXT] -o AUS.pdf\n";

constexpr int exitOk = 0;
constexpr int exitError = 2;

std::optional<power::PowerFileContent> loadFile(const QString& path, QTextStream& err)
{
    const auto bytes = power::readPowerFile(path);
    if (!bytes) {
        err << "motrix-cli: " << path << ": Datei kann nicht gelesen werden\n";
        return std::nullopt;
    }
    if (!bytes->startsWith("KVT-Leistungsvergleich")) {
        err << "motrix-cli: " << path << ": keine Leistungsvergleichsdatei\n";
        return std::nullopt;
    }
    power::PowerFileContent content = power::decodePowerFile(*bytes);
    content.fileName = QFileInfo(path).fileName();
    return content;
}

QString systemText(const power::PowerOptions& o)
{
    return o.system == power::MeasurementSystem::Roller ? QStringLiteral("rotatorisch")
                                                        : QStringLiteral("linear");
}

QJsonArray gridJson(const power::PowerCurve& curve)
{
    QJsonArray out;
    for (const power::GridPoint& g : curve)
        if (g.speed != 0)
            out.append(QJsonArray{double(g.speed), double(g.torque), double(g.power)});
    return out;
}

void gridText(QTextStream& out, const power::PowerCurve& curve)
{
    out << "  n [U/min]    M [Nm]    P [kW]\n";
    for (const power::GridPoint& g : curve)
        if (g.speed != 0)
            out << QStringLiteral("  %1 %2 %3\n")
                       .arg(double(g.speed), 9, 'f', 0)
                       .arg(double(g.torque), 9, 'f', 2)
                       .arg(double(g.power), 9, 'f', 2);
}

int show(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--json"));
    if (files.size() != 1) {
        err << usage;
        return exitError;
    }
    const auto c = loadFile(files.first(), err);
    if (!c)
        return exitError;
    const power::Evaluation e = power::compute(c->samples, c->parameters, c->options);
    const power::PowerParameters& p = c->parameters;
    int samples = 0;
    for (const power::PowerSample& s : c->samples)
        samples += s.time != 0 || s.speed != 0;

    if (json) {
        QJsonObject o;
        o[QStringLiteral("file")] = c->fileName;
        o[QStringLiteral("date")] = c->info.date;
        o[QStringLiteral("time")] = c->info.time;
        o[QStringLiteral("hardware")] = c->info.hardware;
        o[QStringLiteral("software")] = c->info.software;
        o[QStringLiteral("comment")] = c->info.description;
        o[QStringLiteral("parameters")] =
            QJsonObject{{QStringLiteral("temperature"), p.temperature},
                        {QStringLiteral("pressure"), p.pressure},
                        {QStringLiteral("humidity"), p.humidity},
                        {QStringLiteral("mass"), p.mass},
                        {QStringLiteral("ratio"), double(p.ratio)},
                        {QStringLiteral("wheelCircumference"), p.wheelCircumference},
                        {QStringLiteral("rollerCircumference"), p.rollerCircumference},
                        {QStringLiteral("inertia"), double(p.inertia)},
                        {QStringLiteral("cw"), double(p.cw)},
                        {QStringLiteral("frontalArea"), double(p.frontalArea)}};
        o[QStringLiteral("options")] =
            QJsonObject{{QStringLiteral("system"), systemText(c->options)},
                        {QStringLiteral("ewg"), c->options.ewg},
                        {QStringLiteral("din"), c->options.din},
                        {QStringLiteral("addDrag"), c->options.addDrag}};
        o[QStringLiteral("samples")] = samples;
        o[QStringLiteral("correctionFactor")] = double(e.air.correctionFactor);
        o[QStringLiteral("storedGrid")] = gridJson(c->curve);
        o[QStringLiteral("computedGrid")] = gridJson(e.curve);
        out << QJsonDocument(o).toJson(QJsonDocument::Indented);
        return exitOk;
    }
    out << "Datei:        " << c->fileName << "\n"
        << "Datum:        " << c->info.date << " " << c->info.time << "\n"
        << "KVT HW/SW:    " << c->info.hardware << " / " << c->info.software << "\n"
        << "Kommentar:    " << c->info.description << "\n"
        << "Umwelt:       " << p.temperature << " °C, " << p.pressure << " hPa, " << p.humidity
        << " % rel.\n"
        << "Fahrzeug:     " << p.mass << " kg, Übersetzung " << QString::number(p.ratio, 'f', 2)
        << ", Radumfang " << p.wheelCircumference << " cm, cw " << QString::number(p.cw, 'f', 2)
        << ", Fläche " << QString::number(p.frontalArea, 'f', 2) << " m^2\n"
        << "Prüfstand:    Rollenumfang " << p.rollerCircumference << " cm, Trägheitsmoment "
        << QString::number(p.inertia, 'f', 2) << " kgm^2\n"
        << "Auswertung:   " << systemText(c->options)
        << (c->options.din   ? ", DIN 70200"
            : c->options.ewg ? ", EWG 80/1269"
                             : ", keine Korr.")
        << (c->options.addDrag ? ", Add. Schlepp." : ", ignor. Schlepp.") << "\n"
        << "Messwerte:    " << samples << "\n"
        << "Gespeicherte Auswertung:\n";
    gridText(out, c->curve);
    out << "Neu berechnet (Korrekturfaktor " << QString::number(e.air.correctionFactor, 'f', 4)
        << "):\n";
    gridText(out, e.curve);
    return exitOk;
}

int print(const QStringList& args, QTextStream& err)
{
    QStringList files;
    QString output;
    QString text;
    int compare = -1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-o") && i + 1 < args.size()) {
            output = args[++i];
        } else if (a == QLatin1String("--text") && i + 1 < args.size()) {
            text = args[++i];
        } else if (a == QLatin1String("--compare")) {
            compare = int(files.size());
        } else if (a.startsWith(QLatin1Char('-'))) {
            err << usage;
            return exitError;
        } else {
            files << a;
        }
    }
    const bool compareOk = compare < 0 ? files.size() == 1 : compare == 1 && files.size() <= 3;
    if (output.isEmpty() || files.isEmpty() || !compareOk) {
        err << usage;
        return exitError;
    }
    std::array<std::optional<power::PowerFileContent>, 3> loaded;
    for (int i = 0; i < files.size(); ++i)
        if (!(loaded[i] = loadFile(files[i], err)))
            return exitError;

    const app::ProgramSettings defaults;
    // Slot 1 is evaluated anew as on loading; comparison slots show their stored grids.
    const power::PowerFileContent& first = *loaded[0];
    const power::Evaluation e = power::compute(first.samples, first.parameters, first.options);
    power::PowerCurves curves{};
    curves[0] = e.curve;
    power::PrintContent page;
    page.parameters = first.parameters;
    page.options = first.options;
    page.info = first.info;
    page.fileName = first.fileName;
    for (int slot = 1; slot < 3; ++slot) {
        if (!loaded[slot])
            continue;
        curves[slot] = loaded[slot]->curve;
        page.comparisons[slot - 1] = power::comparisonLabels(*loaded[slot]);
        page.comparisons[slot - 1].fileName = loaded[slot]->fileName;
        page.chart.shown[slot] = true;
    }
    page.chart.curves = &curves;
    page.chart.samples = &e.samples;
    page.chart.minSpeed = int(defaults.powerMinSpeed);
    page.printText = text.left(100);
    page.printedAt = QDateTime::currentDateTime();
    page.system = app::currentSystemInfo();
    if (!power::printPowerPdf(output, page)) {
        err << "motrix-cli: " << output << ": PDF kann nicht geschrieben werden\n";
        return exitError;
    }
    return exitOk;
}

}  // namespace

bool powerCommandNeedsGui(const QStringList& args)
{
    return args.size() >= 2 && args[0] == QLatin1String("power") &&
           args[1] == QLatin1String("print");
}

int runPowerCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString verb = args.value(1);
    if (verb == QLatin1String("show"))
        return show(args.mid(2), out, err);
    if (verb == QLatin1String("print"))
        return print(args.mid(2), err);
    err << usage;
    return exitError;
}

}  // namespace cli
