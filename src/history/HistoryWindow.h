// The setup history window: the entries newest first, filtered by KVT; two selected entries
// (or one and a setup file) compared in the compare view; "Wiederherstellen" hands an entry
// to the program, which loads it as a setup file would be loaded.
#pragma once

#include "app/core/Dialogs.h"
#include "forms/Historiedialog.h"
#include "history/SetupHistory.h"

#include <QObject>
#include <functional>
#include <vector>

namespace forms {
class Window;
}

namespace history {

class CompareWindow;

class HistoryWindow final : public QObject {
    Q_OBJECT
public:
    // Loads the entry (with its block) into the program's setup; nothing is sent.
    using Restore = std::function<void(const Entry&)>;

    HistoryWindow(forms::Window& window, SetupHistory& history, CompareWindow& compare,
                  app::Dialogs& dialogs, Restore restore, QObject* parent = nullptr);

    // The filter's KVTs and the list, from the database.
    void refill();
    // After an entry was recorded: the list follows while the window is shown.
    void historyChanged();

    // The ids of the selected rows, top to bottom.
    std::vector<qint64> selectedIds() const;
    void compareSelected();
    void compareWithFile();
    void restoreSelected();

    forms::Historiedialog& form() { return m_form; }

private:
    void fillList();
    QString sideName(const Entry& e) const;

    forms::Window& m_window;
    SetupHistory& m_history;
    CompareWindow& m_compare;
    app::Dialogs& m_dialogs;
    Restore m_restore;
    forms::Historiedialog m_form;
};

// What the list shows of a KVT.
QString kvtText(const KvtIdentity& kvt);

}  // namespace history
