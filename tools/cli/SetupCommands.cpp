// Printing and comparing setup files for motrix-cli.
#include "SetupCommands.h"

#include "SetupText.h"

#include "setup/EntryRules.h"
#include "setup/SetupCompare.h"
#include "setup/SetupFields.h"
#include "setup/SetupFileCodec.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace cli {
namespace {

const char* const usage =
    "Aufruf:\n"
    "  motrix-cli setup show DATEI.kvt [--json]\n"
    "  motrix-cli setup diff A.kvt B.kvt [--json]\n";

using LoadedFile = LoadedSetupFile;

bool isMap(const setup::FieldDescriptor& field)
{
    return field.count == setup::mapCells;
}
bool isCurve(const setup::FieldDescriptor& field)
{
    return field.count == setup::tempPoints;
}

void printTable(const setup::FieldDescriptor& field, const setup::SetupRecord& record,
                QTextStream& out)
{
    out << "\n" << field.germanLabel() << " (" << field.name;
    const QString unit = setup::unitText(field.encoding);
    if (!unit.isEmpty())
        out << ", " << unit;
    out << ")\n";
    if (isCurve(field)) {
        out << QStringLiteral("%1").arg(QStringLiteral("°C"), 8);
        for (int t = 0; t < setup::tempPoints; ++t)
            out << QStringLiteral("%1").arg(setup::temperatureAtIndex(t), 6);
        out << "\n" << QStringLiteral("%1").arg(unit, 8);
        for (int t = 0; t < setup::tempPoints; ++t)
            out << QStringLiteral("%1").arg(
                setup::displayText(field.encoding, field.get(record, t)), 6);
        out << "\n";
        return;
    }
    // Maps: one row per throttle position, full throttle on top as in the views.
    out << QStringLiteral("%1").arg(QStringLiteral("%\\Umin"), 8);
    for (int s = 0; s < setup::speedPoints; ++s)
        out << QStringLiteral("%1").arg(setup::speedAtIndex(s), 6);
    out << "\n";
    for (int t = setup::throttlePoints - 1; t >= 0; --t) {
        out << QStringLiteral("%1").arg(setup::throttleAtIndex(t), 8, 'f', 1);
        for (int s = 0; s < setup::speedPoints; ++s)
            out << QStringLiteral("%1").arg(
                setup::displayText(field.encoding, field.get(record, setup::mapCellIndex(s, t))),
                6);
        out << "\n";
    }
}

void printShow(const LoadedFile& file, QTextStream& out)
{
    const setup::SetupFileContent& c = file.content;
    out << "Datei:        " << file.path << "\n";
    out << "Kopf:         " << c.headerLine << "\n";
    out << "Beschreibung: " << c.description << "\n";
    out << "Gerät:        " << c.origin.deviceType << "\n";
    out << "HW:           " << c.origin.hardware << "\n";
    out << "SW:           " << c.origin.software << "\n";
    out << "BL:           " << c.origin.bootLoader << "\n";
    out << "Neustarts:    " << c.origin.restarts << "\n\n";
    printRecord(c.record, false, out);
}

}  // namespace

void printRecord(const setup::SetupRecord& record, bool deadTimes, QTextStream& out)
{
    for (const setup::FieldDescriptor& field : setup::setupFields()) {
        if ((!field.inFile() && !deadTimes) || isMap(field) || isCurve(field))
            continue;
        for (int i = 0; i < field.count; ++i) {
            QString label = field.germanLabel();
            QString name = field.fieldName();
            if (field.count > 1) {
                label += QLatin1Char(' ') + QString::number(i + 1);
                name += QStringLiteral("[%1]").arg(i + 1);
            }
            out << QStringLiteral("%1  %2  %3\n")
                       .arg(name, -24)
                       .arg(label, -56)
                       .arg(valueText(field, field.get(record, i)));
        }
    }
    for (const setup::FieldDescriptor& field : setup::setupFields())
        if (field.inFile() && (isMap(field) || isCurve(field)))
            printTable(field, record, out);
}

QJsonObject recordJson(const setup::SetupRecord& record, bool deadTimes)
{
    QJsonObject fields;
    for (const setup::FieldDescriptor& field : setup::setupFields()) {
        if (!field.inFile() && !deadTimes)
            continue;
        QJsonObject entry{{QStringLiteral("label"), field.germanLabel()},
                          {QStringLiteral("unit"), setup::unitText(field.encoding)},
                          {QStringLiteral("number"), field.number}};
        if (field.count == 1) {
            entry[QStringLiteral("value")] = jsonNumber(field, field.get(record, 0));
            entry[QStringLiteral("stored")] = field.get(record, 0);
        } else if (isMap(field)) {
            QJsonArray rows;  // rows by throttle index 0..8, columns by speed index 0..16
            for (int t = 0; t < setup::throttlePoints; ++t) {
                QJsonArray row;
                for (int s = 0; s < setup::speedPoints; ++s)
                    row.append(jsonNumber(field, field.get(record, setup::mapCellIndex(s, t))));
                rows.append(row);
            }
            entry[QStringLiteral("value")] = rows;
        } else {
            QJsonArray values;
            for (int i = 0; i < field.count; ++i)
                values.append(jsonNumber(field, field.get(record, i)));
            entry[QStringLiteral("value")] = values;
        }
        fields[field.fieldName()] = entry;
    }
    return fields;
}

int printDifferences(const Compared& a, const Compared& b, setup::CompareScope scope, bool json,
                     QTextStream& out)
{
    const setup::SetupComparison comparison = setup::compareSetups(a.record, b.record, scope);
    QJsonArray differences;
    for (const setup::FieldDifference& d : comparison.fields) {
        const setup::FieldDescriptor& field = *d.field;
        const QString where = setup::differenceName(field, d.element);
        if (json) {
            QJsonObject entry{{QStringLiteral("field"), field.fieldName()},
                              {QStringLiteral("where"), where},
                              {QStringLiteral("label"), field.germanLabel()},
                              {QStringLiteral("unit"), setup::unitText(field.encoding)},
                              {QStringLiteral("a"), jsonNumber(field, d.a)},
                              {QStringLiteral("b"), jsonNumber(field, d.b)}};
            if (field.count > 1)
                entry[QStringLiteral("element")] = d.element;
            differences.append(entry);
        } else {
            out << QStringLiteral("%1  %2: %3 -> %4\n")
                       .arg(where, -36)
                       .arg(field.germanLabel(), valueText(field, d.a), valueText(field, d.b));
        }
    }
    const int count = int(comparison.fields.size());
    const bool descriptionsDiffer = a.description != b.description;
    if (json) {
        QJsonObject result{{QStringLiteral("a"), a.name},
                           {QStringLiteral("b"), b.name},
                           {QStringLiteral("equal"), count == 0},
                           {QStringLiteral("differences"), differences}};
        if (descriptionsDiffer)
            result[QStringLiteral("descriptions")] = QJsonArray{a.description, b.description};
        out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    } else {
        if (descriptionsDiffer)
            out << "Beschreibung: " << a.description << " -> " << b.description << "\n";
        out << (count == 0 ? QStringLiteral("Setups sind gleich.\n")
                           : QStringLiteral("%1 Unterschied(e).\n").arg(count));
    }
    return count == 0 ? ExitOk : ExitDiffer;
}

namespace {

QJsonObject showJson(const LoadedFile& file)
{
    const setup::SetupFileContent& c = file.content;
    return {
        {QStringLiteral("file"), file.path},
        {QStringLiteral("header"), c.headerLine},
        {QStringLiteral("description"), c.description},
        {QStringLiteral("origin"), QJsonObject{{QStringLiteral("deviceType"), c.origin.deviceType},
                                               {QStringLiteral("hw"), c.origin.hardware},
                                               {QStringLiteral("sw"), c.origin.software},
                                               {QStringLiteral("bl"), c.origin.bootLoader},
                                               {QStringLiteral("restarts"), c.origin.restarts}}},
        {QStringLiteral("fields"), recordJson(c.record, false)}};
}

}  // namespace

std::optional<setup::SetupFileContent> readSetupFile(const QString& path, QTextStream& err)
{
    std::optional<LoadedFile> file = loadSetupFile(path, err);
    if (!file)
        return std::nullopt;
    return file->content;
}

namespace {

int diff(const LoadedFile& a, const LoadedFile& b, bool json, QTextStream& out)
{
    return printDifferences({a.path, a.content.description, a.content.record},
                            {b.path, b.content.description, b.content.record},
                            setup::CompareScope::File, json, out);
}

}  // namespace

int runCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList positional;
    bool json = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            out << usage;
            return ExitOk;
        } else
            positional << arg;
    }
    const bool show = positional.size() == 3 && positional[0] == QLatin1String("setup") &&
                      positional[1] == QLatin1String("show");
    const bool compare = positional.size() == 4 && positional[0] == QLatin1String("setup") &&
                         positional[1] == QLatin1String("diff");
    if (!show && !compare) {
        err << usage;
        return ExitError;
    }
    if (show) {
        const std::optional<LoadedFile> file = loadSetupFile(positional[2], err);
        if (!file)
            return ExitError;
        if (json)
            out << QJsonDocument(showJson(*file)).toJson(QJsonDocument::Indented);
        else
            printShow(*file, out);
        return ExitOk;
    }
    const std::optional<LoadedFile> a = loadSetupFile(positional[2], err);
    const std::optional<LoadedFile> b = loadSetupFile(positional[3], err);
    if (!a || !b)
        return ExitError;
    return diff(*a, *b, json, out);
}

}  // namespace cli
