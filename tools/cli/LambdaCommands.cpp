// motrix-cli lambda show.
#include "LambdaCommands.h"

#include "lambda/KllFile.h"
#include "app/core/LambdaClass.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace cli {

namespace {

using lambda::kProbes;
using lambda::kSpeedCells;
using lambda::kThrottleCells;

const char* const kClassKeys[] = {"sehr mager", "mager", "richtig", "fett", "sehr fett"};

// Cells per class with the default thresholds; empty cells (0 mV) and values outside every
// class are counted apart so that an unused table does not look "very lean".
struct ClassCount {
    std::array<int, 5> perClass{};
    int empty = 0;
    int outside = 0;
};

ClassCount countClasses(const lambda::LambdaTable& table, int k)
{
    ClassCount c;
    for (int i = 1; i <= kSpeedCells; ++i)
        for (int j = 1; j <= kThrottleCells; ++j) {
            const int mv = table.at(i, j, k);
            if (mv == 0) {
                ++c.empty;
                continue;
            }
            const auto cls = lambda::classify(mv, lambda::Thresholds{});
            if (cls)
                ++c.perClass[int(*cls)];
            else
                ++c.outside;
        }
    return c;
}

int throttleLabel(int j)
{
    return int(std::nearbyint((j - 1) * 12.5));
}

void showText(const lambda::KllDocument& doc, QTextStream& out)
{
    out << "Datum: " << doc.date << "\nUhrzeit: " << doc.time << "\nKVT HW: " << doc.hardware
        << "\nKVT SW: " << doc.software << "\nKommentar: " << doc.comment << "\n";
    for (int k = 1; k <= kProbes; ++k) {
        out << "\nLambda " << k << " [V]\n";
        for (int j = kThrottleCells; j >= 1; --j) {
            out << QString::number(throttleLabel(j)).rightJustified(4) << " %";
            for (int i = 1; i <= kSpeedCells; ++i)
                out << ' ' << lambda::kllNumber(doc.table.at(i, j, k));
            out << "\n";
        }
        out << "Umin x1000";
        for (int i = 0; i < kSpeedCells; ++i)
            out << QString::number(i).rightJustified(5);
        out << "\n";
        const ClassCount c = countClasses(doc.table, k);
        out << "Zellen:";
        for (int n = 0; n < 5; ++n)
            out << ' ' << kClassKeys[n] << ' ' << c.perClass[n] << ',';
        out << " leer " << c.empty << ", ausserhalb " << c.outside << "\n";
    }
}

void showJson(const lambda::KllDocument& doc, QTextStream& out)
{
    QJsonObject root{{"date", doc.date},
                     {"time", doc.time},
                     {"hw", doc.hardware},
                     {"sw", doc.software},
                     {"comment", doc.comment}};
    QJsonArray probes;
    for (int k = 1; k <= kProbes; ++k) {
        QJsonArray rows;  // throttle rows from 0 % up, each over speed from 0 rpm
        for (int j = 1; j <= kThrottleCells; ++j) {
            QJsonArray row;
            for (int i = 1; i <= kSpeedCells; ++i)
                row.append(doc.table.at(i, j, k) / 1000.0);
            rows.append(row);
        }
        const ClassCount c = countClasses(doc.table, k);
        QJsonObject classes;
        for (int n = 0; n < 5; ++n)
            classes[kClassKeys[n]] = c.perClass[n];
        classes["leer"] = c.empty;
        classes["ausserhalb"] = c.outside;
        probes.append(QJsonObject{{"probe", k}, {"volts", rows}, {"classes", classes}});
    }
    root["probes"] = probes;
    out << QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace

int runLambdaCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList rest = args;
    rest.removeAll(QStringLiteral("--json"));
    if (rest.size() != 3 || rest[1] != QLatin1String("show")) {
        err << "Aufruf: motrix-cli lambda show DATEI.kll [--json]\n";
        return 2;
    }
    const QString path = rest[2];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "motrix-cli: " << path << ": Datei kann nicht geöffnet werden ("
            << file.errorString() << ")\n";
        return 2;
    }
    const QByteArray bytes = file.read(1 << 20);
    if (file.error() != QFileDevice::NoError) {
        err << "motrix-cli: " << path << ": Lesefehler (" << file.errorString() << ")\n";
        return 2;
    }
    if (!bytes.startsWith("KVT-Lambdalog")) {
        err << "motrix-cli: " << path << ": keine Lambdalogdatei\n";
        return 2;
    }
    const lambda::KllDocument doc = lambda::decodeKll(bytes);
    if (json)
        showJson(doc, out);
    else
        showText(doc, out);
    return 0;
}

}  // namespace cli
