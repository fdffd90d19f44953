// The undo and redo stacks of the map editor.
#include "maps/EditHistory.h"

namespace maps {

void EditHistory::push(EditStep step)
{
    if (step.cells.empty())
        return;
    m_undone.clear();
    m_done.push_back(std::move(step));
    if (m_done.size() > depth)
        m_done.pop_front();
}

std::optional<EditStep> EditHistory::undo()
{
    if (m_done.empty())
        return std::nullopt;
    EditStep step = std::move(m_done.back());
    m_done.pop_back();
    m_undone.push_back(step);
    return step;
}

std::optional<EditStep> EditHistory::redo()
{
    if (m_undone.empty())
        return std::nullopt;
    EditStep step = std::move(m_undone.back());
    m_undone.pop_back();
    m_done.push_back(step);
    return step;
}

void EditHistory::clear()
{
    m_done.clear();
    m_undone.clear();
}

}  // namespace maps
