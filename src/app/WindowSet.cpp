#include "app/WindowSet.h"

#include "app/ProgramInfo.h"

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
        w.addShortcut(QKeySequence(Qt::Key_Escape), 1);
        w.addShortcut(QKeySequence(Qt::Key_F5), 2);
        w.addShortcut(QKeySequence(Qt::Key_F6), 3);
        w.addShortcut(QKeySequence(Qt::Key_F8), 4);
        w.addShortcut(QKeySequence(Qt::Key_F7), 41);
        w.addShortcut(QKeySequence(Qt::Key_F1), 20);
        w.addShortcut(QKeySequence(Qt::Key_Return), 21);
        w.addShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), 50);
        w.addShortcut(QKeySequence(Qt::Key_F9), 49);
        w.addShortcut(QKeySequence(Qt::Key_F10), 60);
        w.addShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), 100);
        w.addShortcut(QKeySequence(Qt::Key_F3), 43);
        w.addShortcut(QKeySequence(Qt::Key_F4), 44);
        w.addShortcut(quitKey(), 61);
        return;
    case WindowId::Help:
    case WindowId::BigDisplay:
    case WindowId::LambdaLogger:
        return;
    default:
        break;
    }
    // Windows with input fields take them over on Return; the keypad's Enter gives event 2.
    w.addShortcut(QKeySequence(Qt::Key_Return), 1);
    w.addShortcut(QKeySequence(Qt::Key_Enter), 2);
    if (w.id() == WindowId::Test)
        w.addShortcut(QKeySequence(Qt::Key_Escape), 3);
    if (w.id() == WindowId::PowerComparison) {
        w.addShortcut(QKeySequence(Qt::Key_F11), 11);
        w.addShortcut(QKeySequence(Qt::Key_F12), 12);
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
           QStringLiteral(" wird folgende \rMindestbildschirmgröße empfohlen:\r\rBreite * Höhe:   ") +
           QString::number(largest.width()) + QStringLiteral(" * ") +
           QString::number(largest.height()) + QStringLiteral("\r");
}

}  // namespace app
