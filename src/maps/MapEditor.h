// The map editor: editMode, the cursors of the four views, the check boxes that steer it, and
// the rules of the editing keys (arrows, plus and minus, block change, typed value, ignition
// map switch). Every change of cells is one step of the undo history, and every changed cell
// goes to the KVT while it is identified: one cell at once, a block at the line's pace
// (CellSender).
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "maps/CellLink.h"
#include "maps/CellSender.h"
#include "maps/EditHistory.h"
#include "maps/View.h"
#include "maps/Scene.h"
#include "setup/SetupRecord.h"

#include <QString>
#include <array>

namespace maps {


// Check boxes of a view ("start", "kapp" and "x100" exist on the injection view only).
struct ViewBoxes {
    bool autoFollow = false;  // "auto"
    bool pos = false;
    bool start = false;
    bool kapp = false;
    bool x100 = false;
};

enum class Arrow { Left, Right, Up, Down };

// The three read-out values of a view (the ignition and injection views use all three, the
// curves the first two); empty while the view is not being edited.
struct Readouts {
    QString first;
    QString second;
    QString third;
    bool operator==(const Readouts&) const = default;
};

class MapEditor final {
public:
    MapEditor(setup::SetupRecord& record, CellLink& link, app::MessageLog& log);

    EditMode editMode() const { return m_mode; }
    // F5..F8: log the view's line and edit it (switching directly between views is allowed).
    void select(EditMode mode);
    // Esc: log "Kennfeld bearbeiten beendet" and stop editing.
    void endEditing();
    // A setup file was loaded: editing stops without a log line.
    void resetEditMode() { m_mode = EditMode::None; }

    // Arrow keys; true when the cursor moved.
    bool moveCursor(Arrow arrow);
    // "+" / "-" with the step of the edited view; true when the cell changed (and was sent).
    bool stepCell(bool increase, bool shift);
    // F3 / F4 over the block from (0, 0) to the injection cursor; returns the cells sent
    // (or the cells changed in memory without a KVT), 0 when the keys do not apply.
    int blockChange(bool increase);
    // F9: ask for the injection cell under the cursor; true when a value was stored.
    bool typeValue(app::Dialogs& dialogs);
    // Check box "Kennfeld".
    void setIgnitionMapEnabled(bool on, app::Dialogs& dialogs);
    // The polling cycle's "auto" point; moves the cursor of the edited view if its "auto" box
    // is ticked.
    void followLive(int mapColumn, int mapRow, int airPoint, int enginePoint);

    ViewBoxes& boxes(View view) { return m_boxes[size_t(view)]; }
    const ViewBoxes& boxes(View view) const { return m_boxes[size_t(view)]; }

    // Cursor indices as kept (they stay while another view is edited).
    int speedIndex(View view) const;
    int throttleIndex(View view) const;
    int tempIndex(View view) const;
    void setCursor(View view, int first, int second = 0);
    // The cursor as drawn: shown only in the edited view; the ignition row is the one in use.
    ViewCursor viewCursor(View view) const;
    Readouts readouts(View view) const;
    // Step width of a key press in the edited view.
    int stepWidth(bool shift) const;
    std::optional<View> editedView() const { return viewOf(m_mode); }
    CellAt cursorCell(View view) const;

    // Writes the cells' values after into the record, keeps the step for undo and sends the
    // changed cells (every cell of the step with sendUnchanged, as F3 and F4 do).
    void commit(EditStep step, bool sendUnchanged = false);
    // Control+Z / Control+Y: the last step taken back or done again, its cells sent again.
    // False when there was nothing to undo or redo.
    bool undo();
    bool redo();
    EditHistory& history() { return m_history; }
    CellSender& sender() { return m_sender; }

private:
    bool ignitionMapOn() const { return m_record.ignitionMapEnabled != 0; }
    int ignitionRow() const { return ignitionMapOn() ? m_ignT : 0; }
    bool canSend() const { return m_link.identified() && !m_link.firmwareBusy(); }
    void writeAndSend(const EditStep& step, bool toAfter, bool sendUnchanged);

    setup::SetupRecord& m_record;
    CellLink& m_link;
    app::MessageLog& m_log;
    CellSender m_sender;
    EditHistory m_history;
    EditMode m_mode = EditMode::None;
    std::array<ViewBoxes, 4> m_boxes{};
    int m_injS = 0;
    int m_injT = 0;
    int m_ignS = 0;
    int m_ignT = 0;
    int m_airI = 0;
    int m_engI = 0;
};

}  // namespace maps
