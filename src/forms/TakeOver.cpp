// Shared take-over of input fields on Return and on focus loss.
#include "forms/TakeOver.h"

#include "forms/Window.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace forms {

TakeOver::TakeOver(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
}

void TakeOver::watchFields(QWidget* root)
{
    const auto fields = root->findChildren<QLineEdit*>();
    for (QLineEdit* field : fields)
        if (!field->isReadOnly())
            watchField(field);
}

void TakeOver::watchField(QLineEdit* field)
{
    field->installEventFilter(this);
}

void TakeOver::listenTo(Window& window, QList<app::FieldMenuEvent> events)
{
    connect(&window, &Window::menuEvent, this, [this, events](int number) {
        if (events.contains(app::FieldMenuEvent(number)))
            run();
    });
}

void TakeOver::run()
{
    if (m_running || !m_handler)
        return;
    m_running = true;
    ++m_runs;
    m_handler();
    m_running = false;
}

bool TakeOver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // A context menu of the field takes the focus only for a moment.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            run();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace forms
