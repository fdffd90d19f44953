// The main window's map side: views, check boxes, read-outs, keys and redraws.
#include "maps/MapPanel.h"

#include "app/core/MenuEvents.h"
#include "maps/CurveScene.h"
#include "maps/EditorText.h"
#include "maps/MapScenes.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace maps {
namespace {

void setText(QLabel* label, const QString& text)
{
    if (label && label->text() != text)
        label->setText(text);
}

}  // namespace

MapPanel::MapPanel(Windows windows, forms::Hauptdialog& form, forms::Hilfedialog* helpForm,
                   setup::SetupRecord& record, app::ProgramSettings& settings,
                   app::Dialogs& dialogs, app::MessageLog& log, CellLink& link, QObject* parent)
    : QObject(parent), m_windows(windows), m_form(form), m_helpForm(helpForm), m_record(record),
      m_settings(settings), m_dialogs(dialogs), m_editor(record, link, log),
      m_blocks(m_editor, record)
{
    CellSender& sender = m_editor.sender();
    sender.setGate(&dialogs.gate());
    sender.setSentHook([this](const CellCommand& command) {
        if (m_compare.cellSent)
            m_compare.cellSent(command);
    });
    sender.setStoppedHook(
        [this](const QString& text) { m_dialogs.message(QStringLiteral("Kennfeld senden"), text); });
    const std::array<QWidget*, 4> canvasSlots{form.injectionCanvasSlot, form.airTempCanvasSlot,
                                              form.engineTempCanvasSlot, form.ignitionCanvasSlot};
    for (View v : allViews) {
        const bool map = v == View::Injection || v == View::Ignition;
        auto* view = new SceneView(canvasWidth, map ? mapCanvasHeight : curveCanvasHeight);
        m_views[size_t(v)] = view;
        if (canvasSlots[size_t(v)])
            forms::Hauptdialog::placeCanvas(canvasSlots[size_t(v)], view);
    }
    connect(m_views[size_t(View::Injection)], &SceneView::wheelTurned, this, &MapPanel::wheel);
    for (View v : allViews) {
        SceneView* view = m_views[size_t(v)];
        connect(view, &SceneView::cellPressed, this, [this, v](CellAt c) { cellPressed(v, c); });
        connect(view, &SceneView::cellDragged, this, [this, v](CellAt c) { cellDragged(v, c); });
        connect(view, &SceneView::contextMenuWanted, this,
                [this, v](QPoint at) { showContextMenu(v, at); });
    }

    if (m_helpForm && m_helpForm->text)
        m_helpForm->setRows(helpHeading(), helpRows());

    bindBoxes();
    connect(&m_windows.main, &forms::Window::menuEvent, this, &MapPanel::handleMenuEvent);
    qApp->installEventFilter(this);
    redrawAll();
}

MapPanel::~MapPanel()
{
    qApp->removeEventFilter(this);
    // Views placed into the form belong to it; the others are ours.
    for (SceneView* view : m_views)
        if (view && !view->parent())
            delete view;
}

void MapPanel::bindBox(QCheckBox* box, View view, bool ViewBoxes::*flag, LastControl control)
{
    if (!box)
        return;
    m_editor.boxes(view).*flag = box->isChecked();
    connect(box, &QCheckBox::toggled, this, [this, view, flag, control](bool on) {
        m_editor.boxes(view).*flag = on;
        if (control != LastControl::None)
            m_lastControl = control;
        redrawView(view);
    });
}

void MapPanel::bindBoxes()
{
    bindBox(m_form.injectionAutoCheck, View::Injection, &ViewBoxes::autoFollow, LastControl::None);
    bindBox(m_form.injectionPosCheck, View::Injection, &ViewBoxes::pos, LastControl::InjectionPos);
    bindBox(m_form.injectionCapCheck, View::Injection, &ViewBoxes::kapp,
            LastControl::InjectionKapp);
    bindBox(m_form.injectionX100Check, View::Injection, &ViewBoxes::x100, LastControl::None);
    bindBox(m_form.injectionStartCheck, View::Injection, &ViewBoxes::start,
            LastControl::InjectionStart);
    bindBox(m_form.airTempAutoCheck, View::AirTemp, &ViewBoxes::autoFollow, LastControl::None);
    bindBox(m_form.airTempPosCheck, View::AirTemp, &ViewBoxes::pos, LastControl::AirTempPos);
    bindBox(m_form.engineTempAutoCheck, View::EngineTemp, &ViewBoxes::autoFollow,
            LastControl::None);
    bindBox(m_form.engineTempPosCheck, View::EngineTemp, &ViewBoxes::pos,
            LastControl::EngineTempPos);
    bindBox(m_form.ignitionAutoCheck, View::Ignition, &ViewBoxes::autoFollow, LastControl::None);
    bindBox(m_form.ignitionPosCheck, View::Ignition, &ViewBoxes::pos, LastControl::IgnitionPos);

    if (QCheckBox* map = m_form.ignitionMapCheck) {
        map->setToolTip(QStringLiteral("Aktiviert das Zündkennfeld"));
        map->setChecked(m_record.ignitionMapEnabled != 0);
        // clicked, not toggled: only the user's click switches the KVT; setupReplaced sets the
        // box from the record without sending anything.
        connect(map, &QCheckBox::clicked, this, [this](bool on) {
            m_editor.setIgnitionMapEnabled(on, m_dialogs);
            refreshReadouts();
            redrawView(View::Ignition);
        });
    }
}

Scene MapPanel::buildScene(View view) const
{
    const ViewBoxes& b = m_editor.boxes(view);
    ViewCursor cursor = m_editor.viewCursor(view);
    cursor.selection = m_blocks.selection(view);
    cursor.differing = m_blocks.differing(view);
    switch (view) {
    case View::Injection: {
        InjectionViewOptions options;
        options.pos = b.pos;
        options.start = b.start;
        options.kapp = b.kapp;
        options.cap = int(m_settings.injectionViewCap);
        options.warnPercent = int(m_settings.injectionWarnPercent);
        return injectionScene(m_record, options, m_live, cursor);
    }
    case View::AirTemp:
        return curveScene(m_record.airTempCorrection, b.pos, m_live.airTemp, cursor);
    case View::EngineTemp:
        return curveScene(m_record.engineTempCorrection, b.pos, m_live.engineTemp, cursor);
    case View::Ignition: return ignitionScene(m_record, b.pos, m_live, cursor);
    }
    return {};
}

void MapPanel::redrawView(View view)
{
    m_views[size_t(view)]->setScene(buildScene(view));
}

void MapPanel::redrawAll()
{
    refreshReadouts();
    for (View v : allViews)
        redrawView(v);
}

void MapPanel::redrawFollowingViews()
{
    RedrawPass pass;
    pass.identified = m_identified && m_identified();
    pass.lastControl = m_lastControl;
    for (View v : allViews)
        pass.boxes[size_t(v)] = m_editor.boxes(v);
    m_lastControl = LastControl::None;
    const auto redraw = viewsToRedraw(pass);
    bool any = false;
    for (View v : allViews) {
        if (redraw[size_t(v)]) {
            redrawView(v);
            any = true;
        }
    }
    // "auto" may have moved the cursor of the edited view.
    if (any)
        refreshReadouts();
}

void MapPanel::refreshReadouts()
{
    const auto inj = m_editor.readouts(View::Injection);
    setText(m_form.injectionSpeedValue, inj.first);
    setText(m_form.injectionThrottleValue, inj.second);
    setText(m_form.injectionValue, inj.third);
    const auto air = m_editor.readouts(View::AirTemp);
    setText(m_form.airTempValue, air.first);
    setText(m_form.airCorrectionValue, air.second);
    const auto eng = m_editor.readouts(View::EngineTemp);
    setText(m_form.engineTempValue, eng.first);
    setText(m_form.engineCorrectionValue, eng.second);
    const auto ign = m_editor.readouts(View::Ignition);
    setText(m_form.ignitionSpeedValue, ign.first);
    setText(m_form.ignitionThrottleValue, ign.second);
    setText(m_form.ignitionValue, ign.third);
}

void MapPanel::clearReadouts()
{
    for (QLabel* label :
         {m_form.injectionSpeedValue, m_form.injectionThrottleValue, m_form.injectionValue,
          m_form.airTempValue, m_form.airCorrectionValue, m_form.engineTempValue,
          m_form.engineCorrectionValue, m_form.ignitionSpeedValue, m_form.ignitionThrottleValue,
          m_form.ignitionValue})
        setText(label, QString());
}

void MapPanel::setupReplaced()
{
    // Queued cells and undo steps belong to the setup that was replaced.
    m_editor.sender().dropQueued();
    m_editor.history().clear();
    m_blocks.setupReplaced();
    if (QCheckBox* map = m_form.ignitionMapCheck) {
        const QSignalBlocker block(map);
        map->setChecked(m_record.ignitionMapEnabled != 0);
    }
    redrawAll();
}

void MapPanel::setupFileLoaded()
{
    m_editor.resetEditMode();
    setupReplaced();
    clearReadouts();
}

void MapPanel::followLive(int mapColumn, int mapRow, int airPoint, int enginePoint)
{
    m_editor.followLive(mapColumn, mapRow, airPoint, enginePoint);
}

void MapPanel::afterKey()
{
    redrawAll();
}

void MapPanel::handleMenuEvent(int number)
{
    using app::MainMenuEvent;
    switch (MainMenuEvent(number)) {
    case MainMenuEvent::EndEditing:
        // Escape ends a selection first, editing with the next press.
        if (!m_blocks.clearSelection())
            m_editor.endEditing();
        break;
    case MainMenuEvent::EditInjectionMap: m_editor.select(EditMode::InjectionMap); break;
    case MainMenuEvent::EditAirTempCurve: m_editor.select(EditMode::AirTempCurve); break;
    case MainMenuEvent::EditEngineTempCurve: m_editor.select(EditMode::EngineTempCurve); break;
    case MainMenuEvent::EditIgnition: m_editor.select(EditMode::Ignition); break;
    case MainMenuEvent::ShowHelp: showHelp(); break;
    case MainMenuEvent::CentreWindows: centreWindows(); break;
    case MainMenuEvent::BlockUp: m_editor.blockChange(true); break;
    case MainMenuEvent::BlockDown: m_editor.blockChange(false); break;
    case MainMenuEvent::TypeValue: m_editor.typeValue(m_dialogs); break;
    case MainMenuEvent::ExpertMode: showExpertMode(); break;
    case MainMenuEvent::PadDescription:
        if (m_form.descriptionEdit)
            m_form.descriptionEdit->setText(padDescription(m_form.descriptionEdit->text()));
        break;
    default: return;  // quitting belongs to the program
    }
    afterKey();
}

void MapPanel::showHelp()
{
    m_windows.help.open();
}

void MapPanel::centreWindows()
{
    const QRect area = m_windows.main.screenArea();
    for (forms::Window* w : {&m_windows.main, &m_windows.system})
        w->centreOn(area);
}

void MapPanel::showExpertMode()
{
    forms::Window& expert = m_windows.expert;
    if (expert.isVisible()) {
        expert.open();
        return;
    }
    const auto answer =
        m_dialogs.input(QStringLiteral("Expert-Modus"),
                        QStringLiteral("Zum Aktivieren des Expert-Modus bitte Password eingeben."),
                        QString(), true);
    if (answer && *answer == QStringLiteral("Wolke")) {
        expert.open();
        return;
    }
    m_dialogs.message(QStringLiteral("Achtung"), QStringLiteral("Password nicht korrekt."));
}

void MapPanel::wheel(bool up)
{
    if (!m_editor.boxes(View::Injection).kapp)
        return;
    m_settings.injectionViewCap = wheelCap(int(m_settings.injectionViewCap), up);
    redrawView(View::Injection);
}

bool MapPanel::handleEditingKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    auto arrow = [&](Arrow a) {
        if (shift) {
            m_blocks.extendSelection(a);
        } else {
            m_blocks.clearSelection();
            m_editor.moveCursor(a);
        }
    };
    switch (key) {
    case Qt::Key_Left: arrow(Arrow::Left); break;
    case Qt::Key_Right: arrow(Arrow::Right); break;
    case Qt::Key_Up: arrow(Arrow::Up); break;
    case Qt::Key_Down: arrow(Arrow::Down); break;
    case Qt::Key_S: runBlockOp(BlockOp::Set); return true;
    case Qt::Key_A: runBlockOp(BlockOp::Add); return true;
    case Qt::Key_P: runBlockOp(BlockOp::Scale); return true;
    case Qt::Key_G: runBlockOp(BlockOp::Smooth); return true;
    case Qt::Key_I: runBlockOp(BlockOp::Interpolate); return true;
    case Qt::Key_Plus: m_editor.stepCell(true, shift); break;
    case Qt::Key_Minus: m_editor.stepCell(false, shift); break;
    // On a German keyboard Shift turns the "+" and "-" keys into "*" and "_".
    case Qt::Key_Asterisk:
        if (!shift || (modifiers & Qt::KeypadModifier))
            return false;
        m_editor.stepCell(true, true);
        break;
    case Qt::Key_Underscore:
        if (!shift)
            return false;
        m_editor.stepCell(false, true);
        break;
    default: return false;
    }
    afterKey();
    return true;
}

bool MapPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_windows.main)
        return QObject::eventFilter(watched, event);
    // Text typed into the description must not change map cells in the running engine.
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if ((mods & Qt::ControlModifier) && !(mods & (Qt::AltModifier | Qt::MetaModifier)) &&
        handleControlKey(key->key()))
        return true;
    if (m_editor.editMode() == EditMode::None)
        return QObject::eventFilter(watched, event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QObject::eventFilter(watched, event);
    if (handleEditingKey(key->key(), key->modifiers()))
        return true;
    return QObject::eventFilter(watched, event);
}

bool MapPanel::handleControlKey(int key)
{
    switch (key) {
    // Undo and redo also after editing ended: a step belongs to its view, not to the mode.
    case Qt::Key_Z: m_editor.undo(); break;
    case Qt::Key_Y: m_editor.redo(); break;
    case Qt::Key_C:
        if (m_editor.editMode() == EditMode::None)
            return false;
        copyToClipboard();
        return true;
    case Qt::Key_V:
        if (m_editor.editMode() == EditMode::None)
            return false;
        pasteFromClipboard();
        break;
    default: return false;
    }
    afterKey();
    return true;
}

void MapPanel::runBlockOp(BlockOp op)
{
    m_blocks.askAndApply(op, m_dialogs);
    afterKey();
}

void MapPanel::copyToClipboard()
{
    const QString text = m_blocks.copyText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void MapPanel::pasteFromClipboard()
{
    m_blocks.paste(QGuiApplication::clipboard()->text(), m_dialogs);
    afterKey();
}

void MapPanel::cellPressed(View view, CellAt cell)
{
    if (m_editor.editedView() != view)
        return;
    m_blocks.startSelection(cell);
    afterKey();
}

void MapPanel::cellDragged(View view, CellAt cell)
{
    if (m_editor.editedView() == view && m_blocks.dragSelection(cell))
        afterKey();
}

QMenu* MapPanel::contextMenu(View view)
{
    delete m_menu;
    m_menu = new QMenu(m_views[size_t(view)]);
    QMenu* menu = m_menu;
    const bool edited = m_editor.editedView() == view;
    auto add = [&](const QString& text, bool enabled, auto slot) {
        QAction* a = menu->addAction(text);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("Wert setzen...\tS"), edited, [this] { runBlockOp(BlockOp::Set); });
    add(QStringLiteral("Addieren...\tA"), edited, [this] { runBlockOp(BlockOp::Add); });
    add(QStringLiteral("Skalieren (%)...\tP"), edited, [this] { runBlockOp(BlockOp::Scale); });
    add(QStringLiteral("Glätten\tG"), edited, [this] { runBlockOp(BlockOp::Smooth); });
    add(QStringLiteral("Interpolieren\tI"), edited, [this] { runBlockOp(BlockOp::Interpolate); });
    menu->addSeparator();
    add(QStringLiteral("Kopieren\tStrg+C"), edited, [this] { copyToClipboard(); });
    add(QStringLiteral("Einfügen\tStrg+V"), edited, [this] { pasteFromClipboard(); });
    menu->addSeparator();
    add(QStringLiteral("Rückgängig\tStrg+Z"), m_editor.history().canUndo(), [this] {
        m_editor.undo();
        afterKey();
    });
    add(QStringLiteral("Wiederherstellen\tStrg+Y"), m_editor.history().canRedo(), [this] {
        m_editor.redo();
        afterKey();
    });
    menu->addSeparator();
    add(QStringLiteral("Vergleichen mit Datei..."), true, [this] { compareWithFile(); });
    add(QStringLiteral("Vergleichen mit KVT"), true, [this] { compareWithKvt(); });
    add(QStringLiteral("Vergleich beenden"), m_blocks.hasReference(), [this] { endCompare(); });
    return menu;
}

void MapPanel::showContextMenu(View view, QPoint globalPos)
{
    contextMenu(view)->popup(globalPos);
}

void MapPanel::compareWithFile()
{
    QString start = m_referenceDirectory;
    if (start.isEmpty() && m_compare.startDirectory)
        start = m_compare.startDirectory();
    const QString path =
        m_dialogs.openFile(QStringLiteral("Vergleichen mit Datei"), start,
                           QStringLiteral("KVT-Dateien (*.kvt);;Alle Dateien (*.*)"));
    if (path.isEmpty())
        return;
    if (const std::optional<QString> refused = m_blocks.loadReference(path)) {
        m_dialogs.message(QStringLiteral("Vergleichen"), *refused);
        return;
    }
    m_referenceDirectory = QFileInfo(path).absolutePath();
    redrawAll();
    if (m_compare.showComparison)
        m_compare.showComparison(*m_blocks.reference(), m_blocks.referenceName(), true);
}

void MapPanel::compareWithKvt()
{
    const setup::SetupRecord* kvt = m_compare.kvtSetup ? m_compare.kvtSetup() : nullptr;
    if (!kvt) {
        m_dialogs.message(QStringLiteral("Vergleichen"),
                          QStringLiteral("Es wurde noch kein Setup von der KVT gelesen (\"-> PC\")."));
        return;
    }
    m_blocks.setReferenceSource(
        m_compare.kvtSetup, QStringLiteral("KVT (zuletzt gelesen, mit den seither gesendeten Zellen)"));
    redrawAll();
    if (m_compare.showComparison)
        m_compare.showComparison(*kvt, m_blocks.referenceName(), false);
}

void MapPanel::endCompare()
{
    m_blocks.clearReference();
    redrawAll();
}

}  // namespace maps
