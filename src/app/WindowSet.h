// Creates the program's windows at start-up, hidden and in table order, with their titles,
// sizes and keyboard shortcuts, and keeps them for the whole run.
#pragma once

#include "app/core/WindowTable.h"
#include "forms/Window.h"

#include <QSize>
#include <QString>
#include <array>
#include <optional>

namespace app {

class WindowSet final {
public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    forms::Window& operator[](WindowId id) const { return *m_windows[static_cast<int>(id)]; }
    // The largest design width and height seen while creating the windows.
    QSize largestSize() const { return m_largest; }

private:
    std::array<forms::Window*, windowTable.size()> m_windows{};
    QSize m_largest;
};

// The "Achtung" text when the screen is smaller than the largest window, otherwise nothing.
std::optional<QString> screenSizeWarning(QSize screen, QSize largestWindow);

}  // namespace app
