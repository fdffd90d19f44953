// The device link's own window side for the running program: the main window's "COM" box and
// port list, and where the identity of the connected KVT is shown. Live values do not pass
// here; windows subscribe to DeviceLink::feed() themselves.
#pragma once

#include "link/LinkView.h"

namespace display {
class MainWindow;
}
namespace forms {
class Hauptdialog;
}

namespace app {

class Dialogs;

class LinkViewHub final : public devlink::LinkView {
public:
    LinkViewHub(forms::Hauptdialog& mainForm, display::MainWindow& main, Dialogs& dialogs)
        : m_mainForm(mainForm), m_main(main), m_dialogs(dialogs)
    {
    }

    bool comTicked() const override;
    QString selectedPortText() const override;
    void untickCom() override;
    void identityShown(const devlink::DeviceIdentity& identity) override;
    void identityCleared() override;
    void showPortHelp(const QString& advice) override;

private:
    forms::Hauptdialog& m_mainForm;
    display::MainWindow& m_main;
    Dialogs& m_dialogs;
};

}  // namespace app
