#include "app/WindowSet.h"

#include "app/core/MenuEvents.h"
#include "app/core/ProgramInfo.h"

namespace app {

namespace {

// The platform's Quit command; platforms without one get Control+Q.
QKeySequence quitKey()
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(QKeySequence::Quit);
    return bindings.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : bindings.first();
}

void registerShortcuts(forms::Window& w)
{
    switch (w.id()) {
    case WindowId::Main:
        w.addShortcut(QKeySequence(Qt::Key_Escape), int(MainMenuEvent::EndEditing));
        w.addShortcut(QKeySequence(Qt::Key_F5), int(MainMenuEvent::EditInjectionMap));
        w.addShortcut(QKeySequence(Qt::Key_F6), int(MainMenuEvent::EditAirTempCurve));
        w.addShortcut(QKeySequence(Qt::Key_F8), int(MainMenuEvent::EditIgnition));
        w.addShortcut(QKeySequence(Qt::Key_F7), int(MainMenuEvent::EditEngineTempCurve));
        w.addShortcut(QKeySequence(Qt::Key_F1), int(MainMenuEvent::ShowHelp));
        w.addShortcut(QKeySequence(Qt::Key_Return), int(MainMenuEvent::PadDescription));
        w.addShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), int(MainMenuEvent::ExpertMode));
        w.addShortcut(QKeySequence(Qt::Key_F9), int(MainMenuEvent::TypeValue));
        w.addShortcut(QKeySequence(Qt::Key_F10), int(MainMenuEvent::Quit));
        w.addShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), int(MainMenuEvent::CentreWindows));
        w.addShortcut(QKeySequence(Qt::Key_F3), int(MainMenuEvent::BlockUp));
        w.addShortcut(QKeySequence(Qt::Key_F4), int(MainMenuEvent::BlockDown));
        w.addShortcut(QKeySequence(Qt::Key_F2), int(MainMenuEvent::ShowHistory));
        w.addShortcut(quitKey(), int(MainMenuEvent::QuitCommand));
        return;
    case WindowId::Help:
    case WindowId::BigDisplay:
    case WindowId::LambdaLogger:
    case WindowId::History:
    case WindowId::SetupCompare: return;
    default: break;
    }
    // Windows with input fields take them over on Return; the keypad's Enter gives event 2.
    w.addShortcut(QKeySequence(Qt::Key_Return), int(FieldMenuEvent::TakeOver));
    w.addShortcut(QKeySequence(Qt::Key_Enter), int(FieldMenuEvent::TakeOverKeypad));
    if (w.id() == WindowId::Test)
        w.addShortcut(QKeySequence(Qt::Key_Escape), int(FieldMenuEvent::LeaveTest));
    if (w.id() == WindowId::PowerComparison) {
        w.addShortcut(QKeySequence(Qt::Key_F11), int(FieldMenuEvent::StartPowerRun));
        w.addShortcut(QKeySequence(Qt::Key_F12), int(FieldMenuEvent::StopPowerRun));
    }
}

}  // namespace

WindowSet::WindowSet()
{
    for (const WindowInfo& info : windowTable) {
        auto* window = new forms::Window(info);
        window->hide();
        registerShortcuts(*window);
        m_windows[static_cast<int>(info.id)] = window;
        m_largest = m_largest.expandedTo(QSize(info.width, info.height));
    }
}

WindowSet::~WindowSet()
{
    for (forms::Window* w : m_windows)
        delete w;
}

std::optional<QString> screenSizeWarning(QSize screen, QSize largest)
{
    if (screen.width() >= largest.width() && screen.height() >= largest.height())
        return std::nullopt;
    return QStringLiteral("Für die ") + programName +
           QStringLiteral(
               " wird folgende \rMindestbildschirmgröße empfohlen:\r\rBreite * Höhe:   ") +
           QString::number(largest.width()) + QStringLiteral(" * ") +
           QString::number(largest.height()) + QStringLiteral("\r");
}

}  // namespace app
