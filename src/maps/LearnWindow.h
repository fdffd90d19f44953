// The learn mode window: edits the learn fields of the SetupRecord, switches learning in the
// KVT at once while it is identified, and says whether the learned map is to be read and shown
// while the KVT learns.
#pragma once

#include "forms/lernen.h"
#include "setup/SetupRecord.h"

#include <QObject>
#include <array>
#include <functional>

namespace forms {
class FieldBinding;
class TakeOver;
class Window;
}  // namespace forms

namespace maps {

class LearnWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Link state and the learn switch ("W" 8 with the value).
        std::function<bool()> identified;
        std::function<void(int learnActive)> sendLearnSwitch;
        // Main window live panel, after a take-over.
        std::function<void()> refreshLivePanel;
        // Injection map view, after the learned map was read.
        std::function<void()> redrawInjectionView;
    };

    LearnWindow(forms::Window& window, setup::SetupRecord& record, Hooks hooks,
                QObject* parent = nullptr);
    ~LearnWindow() override;

    void refill();
    void takeOver();

    // learnWindowShown.
    bool shown() const { return m_shown; }
    // "Kennfeldaktualisierung in Motrix zeigen" ticked.
    bool mapUpdatesShown() const;
    // The polling cycle reads the learned map while learning is on and the box is ticked.
    bool learnedMapWanted() const { return m_record.learnActive == 1 && mapUpdatesShown(); }
    // The learned map from "G" (row by row over throttle) replaces the edited cells, so that a
    // setup saved afterwards holds what the KVT learned.
    void learnedMapRead(const std::array<quint16, setup::mapCells>& cells);

    // Upper learn speed and throttle below the lower ones are swapped.
    static void orderLearnLimits(setup::SetupRecord& record);

    forms::Lernen& form() { return m_form; }
    forms::TakeOver& takeOverMechanism();

private:
    void learnSwitchClicked(bool on);
    void lambdaInputsClicked();

    forms::Window& m_window;
    setup::SetupRecord& m_record;
    Hooks m_hooks;
    forms::Lernen m_form;
    forms::FieldBinding* m_fields = nullptr;  // in take-over order
    bool m_shown = false;
};

}  // namespace maps
