// The take-over rule of a window's input fields, bound field by field with typed handles: on
// Return (and the other menu events the window lists) or when any bound field loses the focus,
// every field is read in binding order and stored, the window's extra rules run, and every
// field shows again what was stored.
//
//   FieldBinding& fields = *new FieldBinding(window, {app::FieldMenuEvent::TakeOver}, this);
//   fields.bind(f.comTimer,
//               [this](const QString& text) { m_settings.comTimer = ...; },  // read, limit, store
//               [this] { return QString::number(m_settings.comTimer); });     // stored as text
//   fields.setAfterRead([this] { orderLimits(m_record); });   // rules over several fields
//   fields.setAfterShow([this] { refreshLivePanel(); });      // what follows elsewhere
//   fields.showAll();                                         // filling the window
// Setup fields bind through setup::bindSetupField<&SetupRecord::member>(...) instead.
#pragma once

#include "app/core/MenuEvents.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QLineEdit;

namespace forms {

class TakeOver;
class Window;

class FieldBinding final : public QObject {
    Q_OBJECT
public:
    using Take = std::function<void(const QString& text)>;
    using Show = std::function<QString()>;

    // events: the window's menu events that take the fields over (1 = Return).
    FieldBinding(Window& window, QList<app::FieldMenuEvent> events, QObject* parent = nullptr);

    // Binds an input field; its focus loss takes every field over.
    void bind(QLineEdit* field, Take take, Show show);
    void setAfterRead(std::function<void()> rules) { m_afterRead = std::move(rules); }
    void setAfterShow(std::function<void()> follow) { m_afterShow = std::move(follow); }

    // Reads every field, applies the rules, shows every field; never nested.
    void takeOver();
    // Shows every field's stored value (filling the window).
    void showAll();

    bool isBound(const QLineEdit* field) const;
    TakeOver& mechanism() { return *m_takeOver; }

private:
    struct Entry {
        QLineEdit* field;
        Take take;
        Show show;
    };
    void run();

    TakeOver* m_takeOver = nullptr;
    std::vector<Entry> m_entries;
    std::function<void()> m_afterRead;
    std::function<void()> m_afterShow;
};

}  // namespace forms
