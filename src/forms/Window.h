// A top-level window of the program: title, design size, resize limits, numbered menu events
// from its keyboard shortcuts, a scrolling content area that the window's form fills, and the
// one way every window is opened and centred.
//
// Opening a window (every window class does this and nothing else):
//   window.setFiller([this] { refill(); });  // once, in the window class's constructor
//   window.open();                           // hidden: fill, show; shown: only to the front
//   window.centreOn(area);                   // centre the frame on a screen or another window
// The content never shrinks below what its layout needs: where the design size is too small
// for the fonts in use, the content scrolls at its minimum size instead of being squashed.
#pragma once

#include "app/core/WindowTable.h"

#include <QKeySequence>
#include <QRect>
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
    // The widget the window's form lays out; it fills the window and scrolls when the window
    // is smaller than the layout's minimum size.
    QWidget* content() const { return m_content; }
    QScrollArea* scrollArea() const { return m_scroll; }

    // A shortcut of this window that delivers menuEvent(number).
    void addShortcut(const QKeySequence& key, int number);
    // The numbers registered so far, by key, for tests and the help text.
    const QList<QPair<QKeySequence, int>>& shortcuts() const { return m_shortcuts; }

    // What fills the window's fields from the current data before it is shown.
    void setFiller(std::function<void()> fill) { m_filler = std::move(fill); }
    // Shows a hidden window, calling the filler first, and brings it to the front; a window
    // already shown is only brought to the front, so what the user typed there stays.
    void open();

    // Returns a minimised or maximised window to its normal state and puts the centre of its
    // frame on the centre of area (a screen's available area or another window's frame).
    void centreOn(const QRect& area);
    // The available area of the screen the window is on (the primary screen before it is).
    QRect screenArea() const;
    // Top-left corner that centres a frame of the given size on area.
    static QPoint centredTopLeft(const QRect& area, const QSize& frame);

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
    void widenToContent();

    app::WindowInfo m_info;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QList<QPair<QKeySequence, int>> m_shortcuts;
    std::function<void()> m_filler;
    std::function<void()> m_closeHandler;
};

}  // namespace forms
