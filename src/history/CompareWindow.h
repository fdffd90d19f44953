// The compare view: two setups side by side as the list of differing fields (name, this value,
// other value) and the number of differing cells of each map and curve.
#pragma once

#include "forms/Historiedialog.h"
#include "setup/SetupCompare.h"
#include "setup/SetupRecord.h"

#include <QString>

namespace forms {
class Window;
}

namespace history {

struct CompareSide {
    QString name;  // "Nr. 12 vom 09.12.2026 06:30:05" or the file's path
    setup::SetupRecord record;
};

class CompareWindow final {
public:
    explicit CompareWindow(forms::Window& window);

    // Fills the view and opens the window.
    void compare(const CompareSide& a, const CompareSide& b, setup::CompareScope scope);
    forms::Vergleichdialog& form() { return m_form; }

private:
    forms::Window& m_window;
    forms::Vergleichdialog m_form;
};

}  // namespace history
