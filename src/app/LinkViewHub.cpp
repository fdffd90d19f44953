#include "app/LinkViewHub.h"

#include "display/MainWindow.h"
#include "forms/Hauptdialog.h"
#include "maps/LearnWindow.h"
#include "maps/LinkAdapters.h"
#include "maps/MapKeysWindow.h"
#include "setup/SettingsWindow.h"

namespace app {

bool LinkViewHub::comTicked() const
{
    return m_w.mainForm.comCheck->isChecked();
}

QString LinkViewHub::selectedPortText() const
{
    return m_w.mainForm.portCombo->currentText();
}

void LinkViewHub::untickCom()
{
    m_w.mainForm.comCheck->setChecked(false);
}

void LinkViewHub::identityShown(const devlink::DeviceIdentity& identity)
{
    m_w.main.showIdentity(identity);
}

void LinkViewHub::identityCleared()
{
    m_w.main.clearIdentity();
}

devlink::LinkSetupValues LinkViewHub::setupValues() const
{
    return {m_record.triggerGaps, m_record.triggerTeeth, m_record.learnActive == 1};
}

bool LinkViewHub::settingsWindowShown() const
{
    return m_w.settings.shown();
}

bool LinkViewHub::learnMapUpdatesShown() const
{
    return m_w.learn.mapUpdatesShown();
}

void LinkViewHub::liveRecordUpdated(const devlink::LiveRecord& record,
                                    const devlink::LiveDerived& derived)
{
    Q_UNUSED(derived);
    m_w.main.showLiveValues(record);
    m_w.maps.setLivePoint(maps::livePointOf(record));
}

void LinkViewHub::learnedMapRead(const devlink::LearnedMap& map)
{
    // The learn window writes the cells into the SetupRecord and redraws the injection view.
    m_w.learn.learnedMapRead(map);
}

void LinkViewHub::livePointForEditor(const devlink::EditorLivePoint& point)
{
    m_w.maps.followLive(point.mapColumn, point.mapRow, point.airTempPoint, point.engineTempPoint);
}

void LinkViewHub::sensorVoltagesRead(const devlink::SensorVoltages& volts)
{
    m_w.settings.showSensorVoltages(volts);
}

}  // namespace app
