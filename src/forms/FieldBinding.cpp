// Field-by-field take-over of a window's input fields.
#include "forms/FieldBinding.h"

#include "forms/TakeOver.h"

#include <QLineEdit>

namespace forms {

FieldBinding::FieldBinding(Window& window, QList<app::FieldMenuEvent> events, QObject* parent)
    : QObject(parent), m_takeOver(new TakeOver([this] { run(); }, this))
{
    m_takeOver->listenTo(window, std::move(events));
}

void FieldBinding::bind(QLineEdit* field, Take take, Show show)
{
    m_entries.push_back({field, std::move(take), std::move(show)});
    m_takeOver->watchField(field);
}

bool FieldBinding::isBound(const QLineEdit* field) const
{
    for (const Entry& e : m_entries)
        if (e.field == field)
            return true;
    return false;
}

void FieldBinding::takeOver()
{
    m_takeOver->run();
}

void FieldBinding::run()
{
    for (const Entry& e : m_entries)
        e.take(e.field->text());
    if (m_afterRead)
        m_afterRead();
    showAll();
    if (m_afterShow)
        m_afterShow();
}

void FieldBinding::showAll()
{
    for (const Entry& e : m_entries)
        e.field->setText(e.show());
}

}  // namespace forms
