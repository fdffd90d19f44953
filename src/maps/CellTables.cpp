// The four tables by view, their shown ranges and their cell commands.
#include "maps/CellTables.h"

#include <QRegularExpression>
#include <algorithm>

namespace maps {

bool holdsNumber(const QString& typed)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d|\\.\\d)"));
    return number.match(typed).hasMatch();
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

CellRect CellRect::spanning(CellAt a, CellAt b)
{
    return {std::min(a.column, b.column), std::min(a.row, b.row), std::max(a.column, b.column),
            std::max(a.row, b.row)};
}

int columnCount(View)
{
    return setup::speedPoints;
}

int rowCount(View view, const setup::SetupRecord& record)
{
    if (view == View::Injection)
        return setup::throttlePoints;
    if (view == View::Ignition)
        return record.ignitionMapEnabled ? setup::throttlePoints : 1;
    return 1;
}

int shownOffset(View view)
{
    return isMapView(view) ? 0 : 85;
}

ShownRange shownRange(View view)
{
    // The limits of the "+" and "-" keys: injection cells stay below 60000, the ignition
    // angle at most 50, a correction at most 150 above its 85 %.
    switch (view) {
    case View::Injection: return {0, 59999};
    case View::Ignition: return {0, 50};
    case View::AirTemp:
    case View::EngineTemp: return {85, 235};
    }
    return {};
}

int storedCell(const setup::SetupRecord& record, View view, CellAt cell)
{
    switch (view) {
    case View::Injection: return record.injectionCell(cell.column, cell.row);
    case View::Ignition: return record.ignitionCell(cell.column, cell.row);
    case View::AirTemp: return record.airTempCell(cell.column);
    case View::EngineTemp: return record.engineTempCell(cell.column);
    }
    return 0;
}

void setStoredCell(setup::SetupRecord& record, View view, CellAt cell, int stored)
{
    switch (view) {
    case View::Injection: record.setInjectionCell(cell.column, cell.row, quint16(stored)); break;
    case View::Ignition: record.setIgnitionCell(cell.column, cell.row, quint8(stored)); break;
    case View::AirTemp: record.setAirTempCell(cell.column, quint8(stored)); break;
    case View::EngineTemp: record.setEngineTempCell(cell.column, quint8(stored)); break;
    }
}

CellCommand cellCommand(View view, CellAt cell, int stored, bool blockLogLine)
{
    CellCommand c;
    c.view = view;
    c.cell = cell;
    c.value = stored;
    const int column = cell.column + 1;
    const int row = cell.row + 1;
    switch (view) {
    case View::Injection:
        c.letter = 'K';
        c.bytes = bytes({column, row, stored & 0xff, (stored >> 8) & 0xff});
        c.logLine = blockLogLine ? QStringLiteral("Einspritzkennfeld aktualisiert (") +
                                       QString::number(cell.column) + u':' +
                                       QString::number(cell.row) + u')'
                                 : QStringLiteral("Einspritzkennfeld aktualisiert");
        break;
    case View::Ignition:
        c.letter = 'Z';
        c.bytes = bytes({column, row, stored});
        c.logLine = QStringLiteral("Zündkennkeld/-linie aktualisiert");
        break;
    case View::AirTemp:
        c.letter = 'T';
        c.bytes = bytes({column, stored});
        c.logLine = QStringLiteral("Einspritzkorrekturkennlinie(ASLT) aktualisiert");
        break;
    case View::EngineTemp:
        c.letter = 'M';
        c.bytes = bytes({column, stored});
        c.logLine = QStringLiteral("Einspritzkorrekturkennlinie(MT) aktualisiert");
        break;
    }
    return c;
}

QString cellName(View view, CellAt cell)
{
    if (isMapView(view))
        return u'(' + QString::number(cell.column) + u':' + QString::number(cell.row) + u')';
    return u'(' + QString::number(cell.column) + u')';
}

}  // namespace maps
