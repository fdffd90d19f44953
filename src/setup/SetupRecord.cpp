// Cell access of the setup record's maps and curves.
#include "setup/SetupRecord.h"

namespace setup {
namespace {

bool onMap(int speedIndex, int throttleIndex)
{
    return speedIndex >= 0 && speedIndex < speedPoints && throttleIndex >= 0 &&
           throttleIndex < throttlePoints;
}

bool onCurve(int tempIndex)
{
    return tempIndex >= 0 && tempIndex < tempPoints;
}

size_t cell(int speedIndex, int throttleIndex)
{
    return static_cast<size_t>(mapCellIndex(speedIndex, throttleIndex));
}

}  // namespace

quint16 SetupRecord::injectionCell(int speedIndex, int throttleIndex) const
{
    return onMap(speedIndex, throttleIndex) ? injectionMap[cell(speedIndex, throttleIndex)] : 0;
}

void SetupRecord::setInjectionCell(int speedIndex, int throttleIndex, quint16 value)
{
    if (onMap(speedIndex, throttleIndex))
        injectionMap[cell(speedIndex, throttleIndex)] = value;
}

quint8 SetupRecord::ignitionCell(int speedIndex, int throttleIndex) const
{
    return onMap(speedIndex, throttleIndex) ? ignitionMap[cell(speedIndex, throttleIndex)] : 0;
}

void SetupRecord::setIgnitionCell(int speedIndex, int throttleIndex, quint8 value)
{
    if (onMap(speedIndex, throttleIndex))
        ignitionMap[cell(speedIndex, throttleIndex)] = value;
}

quint8 SetupRecord::ignitionCellInUse(int speedIndex, int throttleIndex) const
{
    // A file or a KVT may carry any byte in the switch; everything but 0 means "map on", so a
    // stray value cannot push the row index off the map.
    return ignitionCell(speedIndex, ignitionMapEnabled != 0 ? throttleIndex : 0);
}

quint8 SetupRecord::airTempCell(int tempIndex) const
{
    return onCurve(tempIndex) ? airTempCorrection[static_cast<size_t>(tempIndex)] : 0;
}

void SetupRecord::setAirTempCell(int tempIndex, quint8 value)
{
    if (onCurve(tempIndex))
        airTempCorrection[static_cast<size_t>(tempIndex)] = value;
}

quint8 SetupRecord::engineTempCell(int tempIndex) const
{
    return onCurve(tempIndex) ? engineTempCorrection[static_cast<size_t>(tempIndex)] : 0;
}

void SetupRecord::setEngineTempCell(int tempIndex, quint8 value)
{
    if (onCurve(tempIndex))
        engineTempCorrection[static_cast<size_t>(tempIndex)] = value;
}

}  // namespace setup
