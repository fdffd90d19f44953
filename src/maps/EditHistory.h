// Undo and redo of the map editor: every key change and block operation is one step holding
// the cells it changed with their stored values before and after. Undoing a step writes the
// values before back, redoing writes the values after; the editor sends them again.
#pragma once

#include "maps/CellTables.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace maps {

struct CellEdit {
    CellAt cell;
    int before = 0;  // stored values
    int after = 0;
};

struct EditStep {
    View view = View::Injection;
    QString what;  // "Glätten", "Einfügen", "Taste +", ...
    std::vector<CellEdit> cells;
    bool blockLogLine = true;  // the injection cells log their indices when sent
};

class EditHistory final {
public:
    // Steps kept; the oldest go first.
    static constexpr size_t depth = 500;

    // A new step ends what could be redone.
    void push(EditStep step);
    // The step to take back (its cells go to their values before), or nothing.
    std::optional<EditStep> undo();
    // The step to do again (its cells go to their values after), or nothing.
    std::optional<EditStep> redo();
    void clear();
    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }

private:
    std::deque<EditStep> m_done;
    std::vector<EditStep> m_undone;
};

}  // namespace maps
