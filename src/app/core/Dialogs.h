// Every message box, question, input box, file or folder dialog and print dialog goes through
// this interface, so that tests can answer them by script and check their exact texts.
// Texts use "\r" as line break, as the program's messages are written; implementations that
// show them translate it.
//
// An implementation that shows a dialog and waits for the user holds gate() while it waits
// (EventGate::Hold around every exec()), so that no timer tick runs in the meantime.
#pragma once

#include "app/core/EventGate.h"

#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;

namespace app {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Information box with one button.
    virtual void message(const QString& title, const QString& text) = 0;
    // Ja/Nein question; true for Ja.
    virtual bool question(const QString& title, const QString& text) = 0;
    // Input box; std::nullopt when cancelled. With hidden set, the typed text is not shown.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial = {}, bool hidden = false) = 0;
    // File dialogs; an empty text when cancelled. filter as "Setup (*.kvt)".
    virtual QString openFile(const QString& title, const QString& startPath,
                             const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& startPath,
                             const QString& filter) = 0;
    virtual QString folder(const QString& title, const QString& startPath) = 0;
    // Print dialog for a job named jobName; when the user confirms, draw paints the pages on
    // the chosen printer (or PDF file). False when the user cancels.
    virtual bool print(const QString& jobName,
                       const std::function<void(QPagedPaintDevice&)>& draw) = 0;

    // Held while a dialog waits for the user; the main loop watches it.
    EventGate& gate() { return m_gate; }

private:
    EventGate m_gate;
};

}  // namespace app
