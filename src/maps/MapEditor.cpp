// The map editor's key rules and the cell commands "K", "T", "Z", "M" and "X" 5.
#include "maps/MapEditor.h"

#include "maps/ViewGeometry.h"
#include "setup/EntryRules.h"

#include <algorithm>

namespace maps {

EditMode editModeOf(View view)
{
    switch (view) {
    case View::Injection: return EditMode::InjectionMap;
    case View::AirTemp: return EditMode::AirTempCurve;
    case View::EngineTemp: return EditMode::EngineTempCurve;
    case View::Ignition: return EditMode::Ignition;
    }
    return EditMode::None;
}

std::optional<View> viewOf(EditMode mode)
{
    switch (mode) {
    case EditMode::InjectionMap: return View::Injection;
    case EditMode::AirTempCurve: return View::AirTemp;
    case EditMode::EngineTempCurve: return View::EngineTemp;
    case EditMode::Ignition: return View::Ignition;
    case EditMode::None: break;
    }
    return std::nullopt;
}

MapEditor::MapEditor(setup::SetupRecord& record, CellLink& link, app::MessageLog& log)
    : m_record(record), m_link(link), m_log(log), m_sender(link, log)
{
}

void MapEditor::select(EditMode mode)
{
    switch (mode) {
    case EditMode::InjectionMap:
        m_log.logMessage(QStringLiteral("Einspritzung zu Drehzahl und Drosselklappe bearbeiten"));
        break;
    case EditMode::AirTempCurve:
        m_log.logMessage(QStringLiteral("Einspritzkorrektur nach Ansauglufttemperatur bearbeiten"));
        break;
    case EditMode::EngineTempCurve:
        m_log.logMessage(QStringLiteral("Einspritzkorrektur nach Motortemperatur bearbeiten"));
        break;
    case EditMode::Ignition:
        m_log.logMessage(QStringLiteral("Zündung zu Drehzahl bearbeiten"));
        break;
    case EditMode::None: endEditing(); return;
    }
    m_mode = mode;
}

void MapEditor::endEditing()
{
    m_log.logMessage(QStringLiteral("Kennfeld bearbeiten beendet"));
    m_mode = EditMode::None;
}

int MapEditor::speedIndex(View view) const
{
    return view == View::Ignition ? m_ignS : view == View::Injection ? m_injS : 0;
}

int MapEditor::throttleIndex(View view) const
{
    return view == View::Ignition ? m_ignT : view == View::Injection ? m_injT : 0;
}

int MapEditor::tempIndex(View view) const
{
    return view == View::AirTemp ? m_airI : view == View::EngineTemp ? m_engI : 0;
}

void MapEditor::setCursor(View view, int first, int second)
{
    first = std::clamp(first, 0, 16);
    second = std::clamp(second, 0, 8);
    switch (view) {
    case View::Injection:
        m_injS = first;
        m_injT = second;
        break;
    case View::Ignition:
        m_ignS = first;
        m_ignT = second;
        break;
    case View::AirTemp: m_airI = first; break;
    case View::EngineTemp: m_engI = first; break;
    }
}

ViewCursor MapEditor::viewCursor(View view) const
{
    ViewCursor c;
    c.shown = viewOf(m_mode) == view;
    switch (view) {
    case View::Injection:
        c.speedIndex = m_injS;
        c.throttleIndex = m_injT;
        break;
    case View::Ignition:
        c.speedIndex = m_ignS;
        c.throttleIndex = ignitionRow();
        break;
    case View::AirTemp: c.speedIndex = m_airI; break;
    case View::EngineTemp: c.speedIndex = m_engI; break;
    }
    return c;
}

Readouts MapEditor::readouts(View view) const
{
    if (viewOf(m_mode) != view)
        return {};
    switch (view) {
    case View::Injection:
        return {QString::number(speedReadout(m_injS)), QString::number(throttleReadout(m_injT)),
                QString::number(m_record.injectionCell(m_injS, m_injT))};
    case View::Ignition:
        return {QString::number(speedReadout(m_ignS)),
                QString::number(throttleReadout(ignitionRow())),
                QString::number(m_record.ignitionCell(m_ignS, ignitionRow()))};
    case View::AirTemp:
        return {QString::number(temperatureReadout(m_airI)),
                QString::number(correctionReadout(m_record.airTempCell(m_airI))),
                {}};
    case View::EngineTemp:
        return {QString::number(temperatureReadout(m_engI)),
                QString::number(correctionReadout(m_record.engineTempCell(m_engI))),
                {}};
    }
    return {};
}

int MapEditor::stepWidth(bool shift) const
{
    const int base = shift ? 10 : 1;
    if (m_mode == EditMode::InjectionMap && boxes(View::Injection).x100)
        return base * 100;
    return base;
}

bool MapEditor::moveCursor(Arrow arrow)
{
    const auto view = viewOf(m_mode);
    if (!view || boxes(*view).autoFollow)
        return false;
    const bool isMap = *view == View::Injection || *view == View::Ignition;
    int* first = nullptr;
    int* row = nullptr;
    switch (*view) {
    case View::Injection:
        first = &m_injS;
        row = &m_injT;
        break;
    case View::Ignition:
        first = &m_ignS;
        row = ignitionMapOn() ? &m_ignT : nullptr;
        break;
    case View::AirTemp: first = &m_airI; break;
    case View::EngineTemp: first = &m_engI; break;
    }
    switch (arrow) {
    case Arrow::Left:
        if (*first > 0) {
            --*first;
            return true;
        }
        return false;
    case Arrow::Right:
        if (*first < 16) {
            ++*first;
            return true;
        }
        return false;
    case Arrow::Up:
        if (isMap && row && *row < 8) {
            ++*row;
            return true;
        }
        return false;
    case Arrow::Down:
        if (isMap && row && *row > 0) {
            --*row;
            return true;
        }
        return false;
    }
    return false;
}

bool MapEditor::stepCell(bool increase, bool shift)
{
    const auto view = viewOf(m_mode);
    if (!view)
        return false;
    const int w = stepWidth(shift);
    const CellAt cell = cursorCell(*view);
    const int value = storedCell(m_record, *view, cell);
    // Upper limits: the + condition is "value + w below 60000" for the injection map and
    // "value + w at most the maximum" for the curves and the ignition cells.
    const int limit = shownRange(*view).maximum - shownOffset(*view);
    int next = value;
    if (increase && value + w <= limit)
        next = value + w;
    else if (!increase && value >= w)
        next = value - w;
    else
        return false;
    commit({*view, increase ? QStringLiteral("Taste +") : QStringLiteral("Taste -"),
            {{cell, value, next}}, false});
    return true;
}

int MapEditor::blockChange(bool increase)
{
    if (m_mode != EditMode::InjectionMap || !boxes(View::Injection).start)
        return 0;
    const int step = boxes(View::Injection).x100 ? 100 : 10;
    EditStep edit{View::Injection, increase ? QStringLiteral("Taste F3") : QStringLiteral("Taste F4"), {}};
    for (int s = 0; s <= m_injS; ++s) {
        for (int t = 0; t <= m_injT; ++t) {
            const int v = m_record.injectionCell(s, t);
            const int next = increase ? (v < 65000 - step ? v + step : 65000)
                                      : (v > step ? v - step : 0);
            edit.cells.push_back({{s, t}, v, next});
        }
    }
    const int cells = int(edit.cells.size());
    // Cells are sent even when their value did not change.
    commit(std::move(edit), true);
    return cells;
}

void MapEditor::commit(EditStep step, bool sendUnchanged)
{
    writeAndSend(step, true, sendUnchanged);
    bool changed = false;
    for (const CellEdit& e : step.cells)
        changed = changed || e.before != e.after;
    if (changed)
        m_history.push(std::move(step));
}

void MapEditor::writeAndSend(const EditStep& step, bool toAfter, bool sendUnchanged)
{
    std::vector<CellCommand> commands;
    for (const CellEdit& e : step.cells) {
        const int now = storedCell(m_record, step.view, e.cell);
        const int value = toAfter ? e.after : e.before;
        setStoredCell(m_record, step.view, e.cell, value);
        if (sendUnchanged || now != value)
            commands.push_back(cellCommand(step.view, e.cell, value, step.blockLogLine));
    }
    if (canSend())
        m_sender.send(std::move(commands));
}

bool MapEditor::undo()
{
    const std::optional<EditStep> step = m_history.undo();
    if (!step)
        return false;
    writeAndSend(*step, false, false);
    m_log.logMessage(QStringLiteral("Rückgängig: ") + step->what);
    return true;
}

bool MapEditor::redo()
{
    const std::optional<EditStep> step = m_history.redo();
    if (!step)
        return false;
    writeAndSend(*step, true, false);
    m_log.logMessage(QStringLiteral("Wiederhergestellt: ") + step->what);
    return true;
}

CellAt MapEditor::cursorCell(View view) const
{
    switch (view) {
    case View::Injection: return {m_injS, m_injT};
    case View::Ignition: return {m_ignS, ignitionRow()};
    case View::AirTemp: return {m_airI, 0};
    case View::EngineTemp: return {m_engI, 0};
    }
    return {};
}

bool MapEditor::typeValue(app::Dialogs& dialogs)
{
    if (m_mode != EditMode::InjectionMap)
        return false;
    const QString prompt = QStringLiteral("  Drehzahl: ") + QString::number(speedReadout(m_injS)) +
                           QStringLiteral("   Drosselklappe: ") +
                           QString::number(throttleReadout(m_injT));
    const auto answer = dialogs.input(QStringLiteral("Einspritzwert [µs] für:"), prompt,
                                      QString::number(m_record.injectionCell(m_injS, m_injT)));
    // A cancelled box, and an answer that holds no number at all, leave the cell alone: the
    // cell would otherwise drop to 0 and go straight to the running engine.
    if (!answer || !holdsNumber(*answer))
        return false;
    const int v = setup::clampToRange(setup::wholeValue(*answer), 0, 65000);
    const int before = m_record.injectionCell(m_injS, m_injT);
    // A typed value is sent even when it equals the cell, as it always was.
    commit({View::Injection, QStringLiteral("Taste F9"), {{{m_injS, m_injT}, before, v}}}, true);
    return true;
}

void MapEditor::setIgnitionMapEnabled(bool on, app::Dialogs& dialogs)
{
    m_record.ignitionMapEnabled = on ? 1 : 0;
    if (!on)
        m_ignT = 0;
    dialogs.message(
        QStringLiteral("Achtung"),
        on ? QStringLiteral("Die KVT verwendet die Einstellung\r\r     - Kennfeld -\r\r"
                            "erst, wenn dies an die KVT gesendet wurde.")
           : QStringLiteral("Die KVT verwendet die Einstellung\r\r     - Kennlinie -\r\r"
                            "erst, wenn dies an die KVT gesendet wurde."));
    if (canSend()) {
        m_link.sendPaused('X', bytes({5, on ? 1 : 0}));
        m_log.logMessage(on ? QStringLiteral("Zünd-Kennfeld eingestellt")
                            : QStringLiteral("Zünd-Kennlinie eingestellt"));
    }
}

void MapEditor::followLive(int mapColumn, int mapRow, int airPoint, int enginePoint)
{
    const auto view = viewOf(m_mode);
    if (!view || !boxes(*view).autoFollow)
        return;
    switch (*view) {
    case View::Injection: setCursor(View::Injection, mapColumn, mapRow); break;
    case View::Ignition:
        // With the curve setting the row stays 0, as it does for the arrow keys.
        setCursor(View::Ignition, mapColumn, ignitionMapOn() ? mapRow : 0);
        break;
    case View::AirTemp: setCursor(View::AirTemp, airPoint); break;
    case View::EngineTemp: setCursor(View::EngineTemp, enginePoint); break;
    }
}

}  // namespace maps
