// Selection, block operations, clipboard text and reference of the map editor.
#include "maps/BlockEditor.h"

#include "maps/BlockText.h"
#include "setup/EntryRules.h"
#include "setup/SetupStore.h"

#include <algorithm>

namespace maps {

QString viewName(View view)
{
    switch (view) {
    case View::Injection: return QStringLiteral("das Einspritzkennfeld");
    case View::Ignition: return QStringLiteral("die Zündung");
    case View::AirTemp: return QStringLiteral("die Ansauglufttemperatur-Korrektur");
    case View::EngineTemp: return QStringLiteral("die Motortemperatur-Korrektur");
    }
    return {};
}

QString viewUnit(View view)
{
    switch (view) {
    case View::Injection: return QStringLiteral("µs");
    case View::Ignition: return QStringLiteral("°KW");
    case View::AirTemp:
    case View::EngineTemp: return QStringLiteral("%");
    }
    return {};
}

BlockEditor::BlockEditor(MapEditor& editor, setup::SetupRecord& record)
    : m_editor(editor), m_record(record)
{
}

CellAt BlockEditor::limitedCell(View view, CellAt at) const
{
    return {std::clamp(at.column, 0, columnCount(view) - 1),
            std::clamp(at.row, 0, rowCount(view, m_record) - 1)};
}

std::optional<CellRect> BlockEditor::selection(View view) const
{
    if (!m_selection || m_selection->view != view || m_editor.editedView() != view)
        return std::nullopt;
    // The ignition map may have been switched off since: only row 0 is left then.
    return CellRect::spanning(limitedCell(view, m_selection->anchor),
                              limitedCell(view, m_selection->extent));
}

bool BlockEditor::extendSelection(Arrow arrow)
{
    const auto view = m_editor.editedView();
    if (!view)
        return false;
    if (!selection(*view))
        m_selection = Selection{*view, m_editor.cursorCell(*view), m_editor.cursorCell(*view)};
    CellAt next = m_selection->extent;
    switch (arrow) {
    case Arrow::Left: --next.column; break;
    case Arrow::Right: ++next.column; break;
    case Arrow::Up: ++next.row; break;
    case Arrow::Down: --next.row; break;
    }
    next = limitedCell(*view, next);
    if (next == m_selection->extent)
        return false;
    m_selection->extent = next;
    return true;
}

bool BlockEditor::startSelection(CellAt at)
{
    const auto view = m_editor.editedView();
    if (!view)
        return false;
    at = limitedCell(*view, at);
    if (!m_editor.boxes(*view).autoFollow) {
        m_editor.setCursor(*view, at.column, at.row);
        at = m_editor.cursorCell(*view);
    }
    m_selection = Selection{*view, at, at};
    return true;
}

bool BlockEditor::dragSelection(CellAt to)
{
    const auto view = m_editor.editedView();
    if (!view || !selection(*view))
        return false;
    to = limitedCell(*view, to);
    if (to == m_selection->extent)
        return false;
    m_selection->extent = to;
    return true;
}

bool BlockEditor::clearSelection()
{
    const bool had = m_selection.has_value();
    m_selection.reset();
    return had;
}

std::optional<CellRect> BlockEditor::target() const
{
    const auto view = m_editor.editedView();
    if (!view)
        return std::nullopt;
    if (auto sel = selection(*view))
        return sel;
    const CellAt c = m_editor.cursorCell(*view);
    return CellRect{c.column, c.row, c.column, c.row};
}

BlockValues BlockEditor::readBlock(View view, const CellRect& rect) const
{
    BlockValues b{rect.columns(), rect.rows(), {}};
    for (int r = rect.row0; r <= rect.row1; ++r)
        for (int c = rect.column0; c <= rect.column1; ++c)
            b.values.push_back(shownCell(m_record, view, {c, r}));
    return b;
}

bool BlockEditor::writeBlock(View view, const CellRect& rect, const BlockValues& values,
                             QString what)
{
    EditStep step{view, std::move(what), {}};
    const ShownRange range = shownRange(view);
    for (int r = 0; r < rect.rows(); ++r) {
        for (int c = 0; c < rect.columns(); ++c) {
            const CellAt cell{rect.column0 + c, rect.row0 + r};
            const int before = storedCell(m_record, view, cell);
            const int after =
                std::clamp(values.at(c, r), range.minimum, range.maximum) - shownOffset(view);
            if (after != before)
                step.cells.push_back({cell, before, after});
        }
    }
    if (step.cells.empty())
        return false;
    m_editor.commit(std::move(step));
    return true;
}

bool BlockEditor::apply(BlockOp op, double amount)
{
    const auto view = m_editor.editedView();
    const auto rect = target();
    if (!view || !rect)
        return false;
    const BlockValues next = applyBlockOp(readBlock(*view, *rect), op, amount, shownRange(*view));
    return writeBlock(*view, *rect, next, blockOpName(op));
}

bool BlockEditor::askAndApply(BlockOp op, app::Dialogs& dialogs)
{
    const auto view = m_editor.editedView();
    const auto rect = target();
    if (!view || !rect)
        return false;
    if (op == BlockOp::Smooth || op == BlockOp::Interpolate)
        return apply(op, 0);
    const QString cells = QString::number(rect->cells()) +
                          (rect->cells() == 1 ? QStringLiteral(" Zelle") : QStringLiteral(" Zellen"));
    const ShownRange range = shownRange(*view);
    const QString unit = viewUnit(*view);
    QString title;
    QString prompt;
    QString preset;
    switch (op) {
    case BlockOp::Set:
        title = QStringLiteral("Block setzen");
        prompt = QStringLiteral("Neuer Wert [") + unit + QStringLiteral("] für ") + cells +
                 QStringLiteral(" (") + QString::number(range.minimum) + QStringLiteral(" bis ") +
                 QString::number(range.maximum) + QStringLiteral("):");
        preset = QString::number(shownCell(m_record, *view, m_editor.cursorCell(*view)));
        break;
    case BlockOp::Add:
        title = QStringLiteral("Block addieren");
        prompt = QStringLiteral("Betrag [") + unit + QStringLiteral("], der zu ") + cells +
                 QStringLiteral(" addiert wird (negativ: abziehen):");
        preset = QStringLiteral("0");
        break;
    case BlockOp::Scale:
        title = QStringLiteral("Block skalieren");
        prompt = QStringLiteral("Faktor [%] für ") + cells +
                 QStringLiteral(" (100 = unverändert, 0 bis 1000):");
        preset = QStringLiteral("100");
        break;
    default: break;
    }
    const std::optional<QString> answer = dialogs.input(title, prompt, preset);
    if (!answer || !holdsNumber(*answer))
        return false;
    double amount = 0;
    if (op == BlockOp::Scale)
        amount = std::clamp<qint64>(setup::scaledDecimal(*answer, 2, setup::Rounding::HalfEven), 0,
                                    100000) /
                 100.0;
    else
        amount = double(setup::clampToRange(setup::wholeValue(*answer), -70000, 70000));
    return apply(op, amount);
}

QString BlockEditor::copyText() const
{
    const auto view = m_editor.editedView();
    const auto rect = target();
    if (!view || !rect)
        return {};
    return blockText(readBlock(*view, *rect));
}

bool BlockEditor::paste(const QString& text, app::Dialogs& dialogs)
{
    const auto view = m_editor.editedView();
    const auto here = target();
    if (!view || !here)
        return false;
    const ParsedBlock parsed = parseBlockText(text);
    if (!parsed.block) {
        dialogs.message(QStringLiteral("Einfügen"),
                        parsed.error + QStringLiteral("\rEs wurde nichts geändert."));
        return false;
    }
    const BlockValues& block = *parsed.block;
    // The text's first line is the top row: it goes to the highest row of the target.
    const CellRect rect{here->column0, here->row1 - block.rows + 1,
                        here->column0 + block.columns - 1, here->row1};
    const int columns = columnCount(*view);
    const int rows = rowCount(*view, m_record);
    if (rect.row0 < 0 || rect.column1 >= columns) {
        dialogs.message(QStringLiteral("Einfügen"),
                        QStringLiteral("Der Block aus %1 × %2 Werten (Zeilen × Spalten) passt ab "
                                       "der Zelle %3 nicht in %4 (%5 × %6).\rEs wurde nichts "
                                       "geändert.")
                            .arg(block.rows)
                            .arg(block.columns)
                            .arg(cellName(*view, {here->column0, here->row1}))
                            .arg(viewName(*view))
                            .arg(rows)
                            .arg(columns));
        return false;
    }
    return writeBlock(*view, rect, block, QStringLiteral("Einfügen"));
}

std::optional<QString> BlockEditor::loadReference(const QString& path)
{
    // The file has no injector dead times: the reference takes this setup's.
    const setup::FileToCompare file = setup::readFileToCompare(path, m_record);
    if (!file.readable)
        return QStringLiteral("Die Datei konnte nicht gelesen werden:\r") + path;
    if (!file.content)
        return QStringLiteral("Keine gültige Setup-Datei:\r") + path;
    setReference(file.content->record, path);
    return std::nullopt;
}

void BlockEditor::setReference(const setup::SetupRecord& reference, const QString& name)
{
    m_reference = reference;
    m_referenceSource = nullptr;
    m_referenceName = name;
}

void BlockEditor::setReferenceSource(std::function<const setup::SetupRecord*()> source,
                                     const QString& name)
{
    m_reference.reset();
    m_referenceSource = std::move(source);
    m_referenceName = name;
}

const setup::SetupRecord* BlockEditor::reference() const
{
    if (m_referenceSource)
        return m_referenceSource();
    return m_reference ? &*m_reference : nullptr;
}

void BlockEditor::clearReference()
{
    m_reference.reset();
    m_referenceSource = nullptr;
    m_referenceName.clear();
}

std::vector<CellAt> BlockEditor::differing(View view) const
{
    std::vector<CellAt> out;
    const setup::SetupRecord* ref = reference();
    if (!ref)
        return out;
    for (int r = 0; r < rowCount(view, m_record); ++r)
        for (int c = 0; c < columnCount(view); ++c)
            if (storedCell(m_record, view, {c, r}) != storedCell(*ref, view, {c, r}))
                out.push_back({c, r});
    return out;
}

}  // namespace maps
