// The main window's own behaviour: writes the live labels for each decoded LiveRecord, the
// "Verbundene KVT" and limiter labels and the link lamp, and lets its buttons open the other
// windows or start a setup transfer through the actions the program wires in.
#pragma once

#include "app/core/ProgramSettings.h"
#include "app/core/WindowTable.h"
#include "display/LiveColors.h"
#include "forms/Hauptdialog.h"
#include "forms/Window.h"
#include "link/LinkTypes.h"
#include "link/LiveRecord.h"
#include "setup/SetupRecord.h"

#include <QObject>
#include <QString>
#include <functional>

namespace display {

class MainWindow final : public QObject {
    Q_OBJECT
public:
    // What the buttons start elsewhere. An unset action does nothing.
    struct Actions {
        std::function<void()> loadSetup;   // "Laden"
        std::function<void()> saveSetup;   // "Speichern"
        std::function<void()> readSetup;   // "-> PC" (the link reads only while identified)
        std::function<void()> writeSetup;  // "-> KVT"
        std::function<void()> storeSetup;  // "-> EEPROM" (sends "E" only with the port open)
        // Empties the map editor's read-outs; called after "Laden" and "-> PC".
        std::function<void()> clearMapReadouts;
    };

    // The program's windows by id; they live as long as this object.
    using WindowLookup = std::function<forms::Window&(app::WindowId)>;

    MainWindow(forms::Window& window, forms::Hauptdialog& form, WindowLookup windows,
               const app::ProgramSettings& settings, QObject* parent = nullptr);

    void setActions(Actions actions) { m_actions = std::move(actions); }
    // Each subsystem sets its own actions here as it is wired.
    Actions& actions() { return m_actions; }
    // Called by the polling cycle once per decoded record. Labels keep their last values
    // when polling stops.
    void showLiveValues(const devlink::LiveRecord& record);
    // After identification; clearIdentity when the link is switched off or lost.
    void showIdentity(const devlink::DeviceIdentity& identity);
    void clearIdentity();
    // After the setup changed (read, loaded, edited): "Begrenzer (" speed "):" retard.
    void showLimiter(const setup::SetupRecord& record);
    // On every pass of the main window's timer.
    void drawLinkLamp(bool comTicked, bool firmwareBusy, bool identified);

    // "Motor": the loaded setup's file name and its description (at most 100 characters).
    void showSetupFileName(const QString& name);
    QString description() const;
    void setDescription(const QString& text);

    // A window button: opens the window (forms::Window::open fills a hidden one first).
    void openWindow(app::WindowId id);

    forms::Window& window() { return m_window; }

private:
    void connectButtons();
    void run(const std::function<void()>& action);

    forms::Window& m_window;
    forms::Hauptdialog& m_form;
    WindowLookup m_windows;
    const app::ProgramSettings& m_settings;
    Actions m_actions;
};

}  // namespace display
