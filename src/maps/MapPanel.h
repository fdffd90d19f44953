// The main window's map side: the four view canvases placed into the main window form, its
// check boxes and read-outs bound to the MapEditor, the numbered menu events of the main window
// (Esc, F1, Shift+F1, F3..F9, Return, Control+Alt+E), the arrow, plus and minus keys, the mouse
// wheel over the injection view, and the redraws after every event and poll.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "forms/Hauptdialog.h"
#include "forms/Window.h"
#include "forms/hilfedialog.h"
#include "maps/MapEditor.h"
#include "maps/RedrawRules.h"
#include "maps/SceneView.h"

#include <QObject>
#include <array>
#include <functional>

namespace maps {

class MapPanel final : public QObject {
    Q_OBJECT
public:
    struct Windows {
        forms::Window& main;
        forms::Window& help;
        forms::Window& system;
        forms::Window& expert;
    };

    // helpForm may be null (no help text is written then). The check boxes take their first
    // state from the record and the editor.
    MapPanel(Windows windows, forms::Hauptdialog& form, forms::Hilfedialog* helpForm,
             setup::SetupRecord& record, app::ProgramSettings& settings, app::Dialogs& dialogs,
             app::MessageLog& log, CellLink& link, QObject* parent = nullptr);
    ~MapPanel() override;

    MapEditor& editor() { return m_editor; }
    SceneView& view(View view) { return *m_views[size_t(view)]; }

    // Whether the KVT is identified: the views that follow the live point redraw at every pass
    // in which it is.
    void setIdentifiedSource(std::function<bool()> identified)
    {
        m_identified = std::move(identified);
    }

    // --- from the polling cycle ---
    void setLivePoint(const LivePoint& live) { m_live = live; }
    // The "auto" point of the edited view (indices as computed by the poll).
    void followLive(int mapColumn, int mapRow, int airPoint, int enginePoint);

    // --- from the rest of the program ---
    // After each event and each tick: the views whose marker or cursor follows.
    void redrawFollowingViews();
    // All four views and the read-outs (start, after the setup was replaced).
    void redrawAll();
    void redrawView(View view);
    // The setup was replaced as a whole ("-> PC" or a file): the "Kennfeld" box takes the
    // record's switch and all views are redrawn.
    void setupReplaced();
    // A setup file was loaded: editing ends without a log line, the read-outs are emptied.
    void setupFileLoaded();
    // "Laden" and "-> PC" empty the read-outs.
    void clearReadouts();

    // One numbered menu event of the main window.
    void handleMenuEvent(int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindBoxes();
    void bindBox(QCheckBox* box, View view, bool ViewBoxes::*flag, LastControl control);
    void refreshReadouts();
    void afterKey();
    void showExpertMode();
    void centreWindows();
    void showHelp();
    void wheel(bool up);
    bool handleEditingKey(int key, Qt::KeyboardModifiers modifiers);
    Scene buildScene(View view) const;

    Windows m_windows;
    forms::Hauptdialog& m_form;
    forms::Hilfedialog* m_helpForm;
    setup::SetupRecord& m_record;
    app::ProgramSettings& m_settings;
    app::Dialogs& m_dialogs;
    MapEditor m_editor;
    std::array<SceneView*, 4> m_views{};
    std::function<bool()> m_identified;
    LivePoint m_live;
    LastControl m_lastControl = LastControl::None;
};

}  // namespace maps
