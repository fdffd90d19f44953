#include "forms/Window.h"

#include "app/core/ProgramInfo.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace forms {

Window::Window(const app::WindowInfo& info, QWidget* parent)
    : QWidget(parent, Qt::Window), m_info(info)
{
    setWindowTitle(app::windowTitle(QString::fromUtf16(info.titleSuffix)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    // The content takes its minimum size from its layout, never from the design size: a design
    // size smaller than the layout needs would squash labels and fields over each other.
    m_content = new QWidget;
    m_scroll->setWidget(m_content);
    m_scroll->setWidgetResizable(true);
    layout->addWidget(m_scroll);
    resize(info.width, info.height);
    setMinimumSize(100, 100);
    if (info.resizeLimited)
        setMaximumSize(info.width, info.height);
}

void Window::addShortcut(const QKeySequence& key, int number)
{
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, number] { emit menuEvent(number); });
    m_shortcuts.append({key, number});
}

void Window::open()
{
    if (!isVisible()) {
        if (m_filler)
            m_filler();
        show();
    }
    raise();
    activateWindow();
}

void Window::centreOn(const QRect& area)
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    move(centredTopLeft(area, frameGeometry().size()));
}

QRect Window::screenArea() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(QPoint(0, 0), size());
}

QPoint Window::centredTopLeft(const QRect& area, const QSize& frame)
{
    return {area.x() + (area.width() - frame.width()) / 2,
            area.y() + (area.height() - frame.height()) / 2};
}

void Window::closeEvent(QCloseEvent* event)
{
    if (m_closeHandler) {
        event->ignore();
        m_closeHandler();
        return;
    }
    QWidget::closeEvent(event);
}

void Window::widenToContent()
{
    // Content wider than the design size would scroll sideways; the window opens as wide as its
    // content needs instead. Taller content scrolls vertically.
    QSize need = m_content->minimumSizeHint();
    if (need.height() > m_scroll->viewport()->height())
        need.rwidth() += m_scroll->verticalScrollBar()->sizeHint().width();
    const int wanted = need.width();
    if (wanted <= width())
        return;
    if (maximumWidth() < wanted)
        setMaximumWidth(wanted);
    resize(wanted, height());
}

void Window::showEvent(QShowEvent* event)
{
    widenToContent();
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void Window::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

}  // namespace forms
