// The "COM" box, the port combo and the identity labels of the main window for the link.
#include "app/LinkViewHub.h"

#include "app/core/Dialogs.h"
#include "display/MainWindow.h"
#include "link/PortHelp.h"
#include "forms/Hauptdialog.h"

#include <QCheckBox>
#include <QComboBox>

namespace app {

bool LinkViewHub::comTicked() const
{
    return m_mainForm.comCheck->isChecked();
}

QString LinkViewHub::selectedPortText() const
{
    return m_mainForm.portCombo->currentText();
}

void LinkViewHub::untickCom()
{
    m_mainForm.comCheck->setChecked(false);
}

void LinkViewHub::identityShown(const devlink::DeviceIdentity& identity)
{
    m_main.showIdentity(identity);
}

void LinkViewHub::identityCleared()
{
    m_main.clearIdentity();
}

void LinkViewHub::showPortHelp(const QString& advice)
{
    m_dialogs.message(devlink::portHelpTitle(), advice);
}

}  // namespace app
