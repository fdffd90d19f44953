// The main window against the KVT simulator: identification fills "Verbundene KVT", every
// poll rewrites the live labels with the record the link decoded, the lamp follows the link,
// and switching the link off empties the identity but leaves the last live values.
#include "display/MainWindow.h"

#include "KvtSimulator.h"
#include "app/core/MessageLog.h"
#include "forms/Lamp.h"
#include "link/DeviceLink.h"
#include "support/FakeSerialPort.h"
#include "support/TestApplication.h"

#include <QSet>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace display {
namespace {

// The main window's part of the program's link view: the "COM" box and the identity.
struct MainView final : devlink::LinkView {
    MainWindow* window = nullptr;
    bool com = false;
    int records = 0;

    bool comTicked() const override { return com; }
    QString selectedPortText() const override { return QStringLiteral("/dev/tty.kvtsim"); }
    void identityShown(const devlink::DeviceIdentity& identity) override
    {
        window->showIdentity(identity);
    }
    void identityCleared() override { window->clearIdentity(); }
};

struct Fixture {
    Fixture()
    {
        testsupport::application();
        for (const app::WindowInfo& info : app::windowTable)
            windows[info.id] = std::make_unique<forms::Window>(info);
        form.setupUi(windows[app::WindowId::Main]->content());
        window = std::make_unique<MainWindow>(
            *windows[app::WindowId::Main], form,
            [this](app::WindowId id) -> forms::Window& { return *windows[id]; }, settings);
        line->clock = &clock;
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, clock.nowMs()));
        };
        view.window = window.get();
        link.setView(&view);
        // As the program subscribes the main window to the polled records.
        link.feed().onLiveRecord([this](const devlink::LiveRecord& record) {
            ++view.records;
            window->showLiveValues(record);
        });
    }
    ~Fixture() { link.setView(nullptr); }

    // One pass of the main window's timer: the link, then the lamp.
    void tick()
    {
        clock.advance(100);
        link.connectStep();
        window->drawLinkLamp(view.com, link.firmwareBusy(), link.identified());
        link.pollCycle();
    }

    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    kvtsim::KvtSimulator kvt;
    app::ProgramSettings settings;
    app::MessageLog log;
    devlink::DeviceLink link{log, testsupport::FakeSerialPort::factory(line), clock};
    std::map<app::WindowId, std::unique_ptr<forms::Window>> windows;
    forms::Hauptdialog form;
    std::unique_ptr<MainWindow> window;
    MainView view;
};

TEST(MainWindowWithKvt, IdentifiedKvtFillsIdentityLampAndLiveLabels)
{
    Fixture fx;
    fx.tick();
    EXPECT_EQ(fx.form.comLamp->color(), QColor(127, 127, 127));
    EXPECT_TRUE(fx.form.kvtHwValue->text().isEmpty());

    fx.view.com = true;
    fx.tick();
    ASSERT_TRUE(fx.link.identified());
    EXPECT_EQ(fx.form.kvtHwValue->text(), fx.link.identity().hw);
    EXPECT_EQ(fx.form.kvtSwValue->text(), fx.link.identity().sw);
    EXPECT_EQ(fx.form.kvtHwValue->text().size(), 3);
    EXPECT_EQ(fx.form.comLamp->color(), QColor(0, 255, 0));

    ASSERT_GT(fx.view.records, 0);
    const devlink::LiveRecord& r = fx.link.liveRecord();
    EXPECT_EQ(fx.form.liveRpm->text(), QString::number(r.rpm));
    EXPECT_EQ(fx.form.liveThrottle->text(), QString::number(r.throttle));
    EXPECT_EQ(fx.form.calcInjectionTime->text(), QString::number(r.injectionTime));
    EXPECT_EQ(fx.form.calcIgnitionAngle->text(), QString::number(r.ignitionAngle - 50));
    EXPECT_EQ(fx.form.liveLambda[0]->text(), QString::number(r.lambda[0] / 1000.0, 'f', 2));
    EXPECT_EQ(fx.form.liveCpuTemp->text(), QString::number(r.cpuTemperature));
}

TEST(MainWindowWithKvt, LiveValuesChangeFromPollToPoll)
{
    Fixture fx;
    fx.view.com = true;
    QSet<QString> speeds;
    for (int i = 0; i < 60; ++i) {
        fx.tick();
        speeds.insert(fx.form.liveRpm->text());
        ASSERT_EQ(fx.form.liveRpm->text(), QString::number(fx.link.liveRecord().rpm));
    }
    EXPECT_GT(speeds.size(), 3);
}

TEST(MainWindowWithKvt, SwitchingOffEmptiesIdentityAndKeepsLiveValues)
{
    Fixture fx;
    fx.view.com = true;
    fx.tick();
    fx.tick();
    const QString lastSpeed = fx.form.liveRpm->text();
    ASSERT_FALSE(lastSpeed.isEmpty());

    fx.view.com = false;
    fx.tick();
    EXPECT_FALSE(fx.link.identified());
    EXPECT_TRUE(fx.form.kvtHwValue->text().isEmpty());
    EXPECT_TRUE(fx.form.kvtSwValue->text().isEmpty());
    EXPECT_EQ(fx.form.comLamp->color(), QColor(127, 127, 127));
    EXPECT_EQ(fx.form.liveRpm->text(), lastSpeed);
}

}  // namespace
}  // namespace display
