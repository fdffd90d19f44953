// Takes over a window's input fields all at once: on the window's Return menu event (and the
// second event where the window wants it) or when any input field loses the keyboard focus,
// the window's take-over function reads, converts, limits and writes back every field.
#pragma once

#include "app/core/MenuEvents.h"

#include <QList>
#include <QObject>
#include <functional>

class QLineEdit;
class QWidget;

namespace forms {

class Window;

class TakeOver final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    explicit TakeOver(Handler handler, QObject* parent = nullptr);

    // Every editable line edit below root (read-only ones are display fields).
    void watchFields(QWidget* root);
    void watchField(QLineEdit* field);
    // The window's menu events that take the fields over (Return, keypad Enter).
    void listenTo(Window& window, QList<app::FieldMenuEvent> events);

    // Runs the handler unless it is already running: a message box shown while taking over
    // moves the focus away from a field, which must not start a second take-over.
    void run();
    bool running() const { return m_running; }
    int runs() const { return m_runs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
    bool m_running = false;
    int m_runs = 0;
};

}  // namespace forms
