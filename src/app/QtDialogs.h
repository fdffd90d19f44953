// The Dialogs of the running program: Qt message boxes and file dialogs with German buttons.
// Each holds the event gate while it is open: its own event loop runs no timer tick.
#pragma once

#include "app/core/Dialogs.h"

class QWidget;

namespace app {

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial, bool hidden) override;
    QString openFile(const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString saveFile(const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString folder(const QString& title, const QString& startPath) override;
    bool print(const QString& jobName,
               const std::function<void(QPagedPaintDevice&)>& draw) override;

private:
    QWidget* m_parent;
};

// The program's texts use "\r" as line break.
QString displayText(const QString& text);

}  // namespace app
