#include "forms/Window.h"

#include "app/ProgramInfo.h"

#include <QCloseEvent>
#include <QScrollArea>
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
    m_content = new QWidget;
    m_content->setMinimumSize(info.width, info.height);
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

void Window::open(const std::function<void()>& fillWhenHidden)
{
    if (!isVisible()) {
        if (fillWhenHidden)
            fillWhenHidden();
        show();
    }
    raise();
    activateWindow();
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

void Window::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void Window::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

}  // namespace forms
