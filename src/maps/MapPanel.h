// The main window's map side: the four view canvases placed into the main window form, its
// check boxes and read-outs bound to the MapEditor, the numbered menu events of the main window
// (Esc, F1, Shift+F1, F3..F9, Return, Control+Alt+E), the arrow, plus and minus keys, the mouse
// wheel over the injection view, and the redraws after every event and poll. Block editing:
// Shift + arrows and a mouse drag select, the keys S, A, P, G, I and the context menu of every
// view run the block operations, Control+C / Control+V copy and paste spreadsheet text,
// Control+Z / Control+Y undo and redo; the context menu also starts a compare.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "forms/Hauptdialog.h"
#include "forms/Window.h"
#include "forms/hilfedialog.h"
#include "maps/BlockEditor.h"
#include "maps/MapEditor.h"
#include "maps/RedrawRules.h"
#include "maps/SceneView.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

namespace maps {

class MapPanel final : public QObject {
    Q_OBJECT
public:
    // What a compare needs of the rest of the program.
    struct CompareHooks {
        // The setup the KVT holds as far as the program knows: the last one read with "-> PC"
        // (or after identification), with every cell sent since; nothing before a read.
        // nullptr before a read.
        std::function<const setup::SetupRecord*()> kvtSetup;
        // Opens the compare window: this setup against the reference.
        std::function<void(const setup::SetupRecord& reference, const QString& name,
                           bool fromFile)>
            showComparison;
        // Where "Vergleichen mit Datei..." starts looking, until a reference was read.
        std::function<QString()> startDirectory;
        // After every cell that went to the KVT.
        std::function<void(const CellCommand&)> cellSent;
    };

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
    BlockEditor& blocks() { return m_blocks; }
    void setCompareHooks(CompareHooks hooks) { m_compare = std::move(hooks); }
    // The context menu of a view (built anew for each use, so its entries show what applies).
    QMenu* contextMenu(View view);
    // "Vergleichen mit Datei...", "Vergleichen mit KVT", "Vergleich beenden".
    void compareWithFile();
    void compareWithKvt();
    void endCompare();
    // Control+C and Control+V on the system clipboard.
    void copyToClipboard();
    void pasteFromClipboard();
    // The whole setup was sent with "-> KVT": cells still queued need not go out any more.
    void setupWritten() { m_editor.sender().dropQueued(); }
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
    bool handleControlKey(int key);
    void runBlockOp(BlockOp op);
    void cellPressed(View view, CellAt cell);
    void cellDragged(View view, CellAt cell);
    void showContextMenu(View view, QPoint globalPos);
    Scene buildScene(View view) const;

    Windows m_windows;
    forms::Hauptdialog& m_form;
    forms::Hilfedialog* m_helpForm;
    setup::SetupRecord& m_record;
    app::ProgramSettings& m_settings;
    app::Dialogs& m_dialogs;
    MapEditor m_editor;
    BlockEditor m_blocks;
    CompareHooks m_compare;
    QPointer<QMenu> m_menu;
    QString m_referenceDirectory;
    std::array<SceneView*, 4> m_views{};
    std::function<bool()> m_identified;
    LivePoint m_live;
    LastControl m_lastControl = LastControl::None;
};

}  // namespace maps
