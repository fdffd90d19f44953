// Setup values and differences in the units the user knows.
#include "SetupText.h"

#include "setup/EntryRules.h"
#include "setup/SetupCompare.h"

#include <QFile>

namespace cli {
namespace {

// Setup files are under a kilobyte; anything beyond this cannot be one.
constexpr qint64 readLimit = 1 << 20;

}  // namespace

std::optional<LoadedSetupFile> loadSetupFile(const QString& path, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "motrix-cli: " << path << ": Datei kann nicht geöffnet werden ("
            << file.errorString() << ")\n";
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size > readLimit) {
        err << "motrix-cli: " << path << ": keine Setup-Datei (" << size << " Bytes)\n";
        return std::nullopt;
    }
    const QByteArray bytes = file.read(readLimit);
    if (file.error() != QFileDevice::NoError) {
        err << "motrix-cli: " << path << ": Lesefehler (" << file.errorString() << ")\n";
        return std::nullopt;
    }
    LoadedSetupFile loaded{path, setup::decodeSetupFile(bytes)};
    if (!loaded.content.wellFormed) {
        err << "motrix-cli: " << path << ": keine gültige Setup-Datei (" << bytes.size()
            << " Bytes, Kopfzeile oder Datenteil fehlt)\n";
        return std::nullopt;
    }
    if (bytes.size() != setup::setupFileSize)
        err << "motrix-cli: " << path << ": Hinweis: " << bytes.size() << " statt "
            << setup::setupFileSize << " Bytes\n";
    return loaded;
}

QString valueText(const setup::FieldDescriptor& field, int stored)
{
    return setup::valueWithUnit(field, stored);
}

QJsonValue jsonNumber(const setup::FieldDescriptor& field, int stored)
{
    return setup::engineeringValue(field.encoding, stored);
}

QString elementName(const setup::FieldDescriptor& field, int element)
{
    if (field.count == setup::mapCells)
        return QStringLiteral("%1 Umin, %2 %")
            .arg(setup::speedAtIndex(element % setup::speedPoints))
            .arg(setup::throttleAtIndex(element / setup::speedPoints));
    if (field.count == setup::tempPoints)
        return QStringLiteral("%1 °C").arg(setup::temperatureAtIndex(element));
    return QString::number(element + 1);
}

QString FieldDifference::where() const
{
    QString text = field->fieldName();
    if (field->count > 1)
        text += QStringLiteral("[%1]").arg(elementName(*field, element));
    return text;
}

QString FieldDifference::line() const
{
    return QStringLiteral("%1  %2: %3 -> %4")
        .arg(where(), -36)
        .arg(field->germanLabel(), valueText(*field, a), valueText(*field, b));
}

QJsonObject FieldDifference::json(const QString& keyA, const QString& keyB) const
{
    QJsonObject entry{{QStringLiteral("field"), field->fieldName()},
                      {QStringLiteral("where"), where()},
                      {QStringLiteral("label"), field->germanLabel()},
                      {QStringLiteral("unit"), setup::unitText(field->encoding)},
                      {keyA, jsonNumber(*field, a)},
                      {keyB, jsonNumber(*field, b)}};
    if (field->count > 1)
        entry[QStringLiteral("element")] = element;
    return entry;
}

QList<FieldDifference> fieldDifferences(const setup::SetupRecord& a, const setup::SetupRecord& b,
                                        bool withDeadTimes)
{
    QList<FieldDifference> differences;
    for (const setup::FieldDescriptor& field : setup::setupFields()) {
        if (!field.inFile() && !withDeadTimes)
            continue;
        for (int i = 0; i < field.count; ++i) {
            const int va = field.get(a, i);
            const int vb = field.get(b, i);
            if (va != vb)
                differences.append({&field, i, va, vb});
        }
    }
    return differences;
}

}  // namespace cli
