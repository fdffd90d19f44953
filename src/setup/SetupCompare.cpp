// Comparing two setup records over the field table.
#include "setup/SetupCompare.h"

#include "setup/EntryRules.h"

namespace setup {

bool isMapField(const FieldDescriptor& field)
{
    return field.count == mapCells;
}

bool isCurveField(const FieldDescriptor& field)
{
    return field.count == tempPoints;
}

SetupComparison compareSetups(const SetupRecord& a, const SetupRecord& b, CompareScope scope)
{
    SetupComparison out;
    for (const FieldDescriptor& field : setupFields()) {
        if (scope == CompareScope::File && !field.inFile())
            continue;
        int differing = 0;
        for (int i = 0; i < field.count; ++i) {
            const int va = field.get(a, i);
            const int vb = field.get(b, i);
            if (va == vb)
                continue;
            out.fields.push_back({&field, i, va, vb});
            ++differing;
        }
        if (isMapField(field) || isCurveField(field))
            out.maps.push_back({&field, differing});
    }
    return out;
}

QString differenceName(const FieldDescriptor& field, int element)
{
    QString name = field.fieldName();
    if (isMapField(field))
        return name + QStringLiteral("[%1 Umin, %2 %]")
                          .arg(speedAtIndex(element % speedPoints))
                          .arg(throttleAtIndex(element / speedPoints));
    if (isCurveField(field))
        return name + QStringLiteral("[%1 °C]").arg(temperatureAtIndex(element));
    if (field.count > 1)
        return name + QStringLiteral("[%1]").arg(element + 1);
    return name;
}

QString valueWithUnit(const FieldDescriptor& field, int stored)
{
    const QString text = displayText(field.encoding, stored);
    const QString unit = unitText(field.encoding);
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

}  // namespace setup
