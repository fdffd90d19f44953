// The device link's window side for the running program: hands what the link asks and shows
// to the windows that own it (main window, map views, settings and learn windows).
#pragma once

#include "link/LinkView.h"

namespace display {
class MainWindow;
}
namespace forms {
class Hauptdialog;
}
namespace maps {
class LearnWindow;
class MapKeysWindow;
}  // namespace maps
namespace setup {
class SettingsWindow;
struct SetupRecord;
}  // namespace setup

namespace app {

class LinkViewHub final : public devlink::LinkView {
public:
    struct Windows {
        forms::Hauptdialog& mainForm;
        display::MainWindow& main;
        maps::MapKeysWindow& maps;
        setup::SettingsWindow& settings;
        maps::LearnWindow& learn;
    };

    LinkViewHub(Windows windows, const setup::SetupRecord& record)
        : m_w(windows), m_record(record)
    {
    }

    bool comTicked() const override;
    QString selectedPortText() const override;
    void untickCom() override;
    void identityShown(const devlink::DeviceIdentity& identity) override;
    void identityCleared() override;

    devlink::LinkSetupValues setupValues() const override;
    bool settingsWindowShown() const override;
    bool learnMapUpdatesShown() const override;

    void liveRecordUpdated(const devlink::LiveRecord& record,
                           const devlink::LiveDerived& derived) override;
    void learnedMapRead(const devlink::LearnedMap& map) override;
    void livePointForEditor(const devlink::EditorLivePoint& point) override;
    void sensorVoltagesRead(const devlink::SensorVoltages& volts) override;

private:
    Windows m_w;
    const setup::SetupRecord& m_record;
};

}  // namespace app
