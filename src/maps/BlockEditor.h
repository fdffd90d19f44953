// Block editing of the edited map or curve: a rectangle of cells selected from the editing
// cursor (Shift + arrows, a mouse drag), the operations on it (set, add, scale, smooth,
// interpolate), the spreadsheet text of copy and paste, and a reference setup whose differing
// cells every view marks. Without a selection the operations act on the cursor cell. Every
// change is one step of the editor's undo history and goes to the KVT through the editor.
#pragma once

#include "app/core/Dialogs.h"
#include "maps/BlockOps.h"
#include "maps/MapEditor.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace maps {

class BlockEditor final {
public:
    BlockEditor(MapEditor& editor, setup::SetupRecord& record);

    // --- selection (of the edited view only) ---
    std::optional<CellRect> selection(View view) const;
    // Shift + arrow: the selection's far corner moves; it starts at the editing cursor.
    bool extendSelection(Arrow arrow);
    // Mouse press on a cell of the edited view: the cursor goes there (unless "auto" moves it)
    // and a selection starts; a drag moves its far corner.
    bool startSelection(CellAt at);
    bool dragSelection(CellAt to);
    // Escape: true when there was a selection to end.
    bool clearSelection();
    // The cells an operation acts on: the selection, or the cursor cell.
    std::optional<CellRect> target() const;

    // --- operations ---
    // The amount is in shown units (µs, °KW, %); for Scale a percentage. False when nothing
    // is edited or no cell changed.
    bool apply(BlockOp op, double amount);
    // Asks for the amount of Set, Add and Scale, then applies; a cancelled box or an answer
    // without a number changes nothing.
    bool askAndApply(BlockOp op, app::Dialogs& dialogs);

    // --- clipboard ---
    // The target cells as spreadsheet text (empty when nothing is edited).
    QString copyText() const;
    // Pastes spreadsheet text with its top left value at the selection's top left cell, or at
    // the cursor: a block that does not fit or holds anything but numbers is refused with a
    // message and nothing changes. Values are limited to the view's range.
    bool paste(const QString& text, app::Dialogs& dialogs);

    // --- reference ---
    // Reads a .kvt file as the reference; the message says why it was refused.
    std::optional<QString> loadReference(const QString& path);
    void setReference(const setup::SetupRecord& reference, const QString& name);
    // A reference kept elsewhere and read anew at every use (the KVT's setup as the program
    // knows it, which follows every cell sent); the source gives nullptr while there is none.
    void setReferenceSource(std::function<const setup::SetupRecord*()> source,
                            const QString& name);
    void clearReference();
    bool hasReference() const { return reference() != nullptr; }
    const setup::SetupRecord* reference() const;
    const QString& referenceName() const { return m_referenceName; }
    // The drawn cells of a view that differ from the reference.
    std::vector<CellAt> differing(View view) const;

    // The whole setup was replaced: the selection ends (the undo history is the editor's).
    void setupReplaced() { m_selection.reset(); }

private:
    struct Selection {
        View view = View::Injection;
        CellAt anchor;
        CellAt extent;
    };
    BlockValues readBlock(View view, const CellRect& rect) const;
    bool writeBlock(View view, const CellRect& rect, const BlockValues& values, QString what);
    CellAt limitedCell(View view, CellAt at) const;

    MapEditor& m_editor;
    setup::SetupRecord& m_record;
    std::optional<Selection> m_selection;
    std::optional<setup::SetupRecord> m_reference;
    std::function<const setup::SetupRecord*()> m_referenceSource;
    QString m_referenceName;
};

// The view's name as the messages use it ("das Einspritzkennfeld", ...) and its unit.
QString viewName(View view);
QString viewUnit(View view);

}  // namespace maps
