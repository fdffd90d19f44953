// A top-level window of the program: title, design size, resize limits, numbered menu events
// from its keyboard shortcuts, and a scrolling content area that the window's form fills.
#pragma once

#include "app/WindowTable.h"

#include <QKeySequence>
#include <QWidget>
#include <functional>

class QScrollArea;

namespace forms {

class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(const app::WindowInfo& info, QWidget* parent = nullptr);

    app::WindowId id() const { return m_info.id; }
    const app::WindowInfo& info() const { return m_info; }
    // The widget the window's form lays out; sized to the design size and scrolled.
    QWidget* content() const { return m_content; }
    QScrollArea* scrollArea() const { return m_scroll; }

    // A shortcut of this window that delivers menuEvent(number).
    void addShortcut(const QKeySequence& key, int number);
    // The numbers registered so far, by key, for tests and the help text.
    const QList<QPair<QKeySequence, int>>& shortcuts() const { return m_shortcuts; }

    // Shows a hidden window, calling fillWhenHidden first, and brings it to the front; a window
    // already shown is only brought to the front, so what the user typed there stays.
    void open(const std::function<void()>& fillWhenHidden = {});

    // Without a close handler, closing hides the window; with one, the handler decides.
    void setCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }

signals:
    void menuEvent(int number);
    void shownChanged(bool shown);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    app::WindowInfo m_info;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QList<QPair<QKeySequence, int>> m_shortcuts;
    std::function<void()> m_closeHandler;
};

}  // namespace forms
