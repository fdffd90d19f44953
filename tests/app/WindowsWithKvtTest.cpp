// The windows with setup values against the KVT simulator: a setup read from the KVT or loaded
// from a file refills the open windows, the learn switch and the EEPROM erase reach the KVT only
// while it is identified, and the polling cycle feeds the sensor voltages and the learned map.
#include "KvtSimulator.h"
#include "app/SystemWindow.h"
#include "app/WindowSet.h"
#include "link/DeviceLink.h"
#include "link/SetupTransfer.h"
#include "logger/LogTable.h"
#include "maps/LearnWindow.h"
#include "setup/SettingsWindow.h"
#include "setup/SetupStore.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/RecordingView.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

struct AppGuard {
    AppGuard() { application(); }
};

struct Fixture : AppGuard {
    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    kvtsim::KvtSimulator kvt;
    app::ProgramSettings programSettings;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    logger::LogTable table;
    app::WindowSet windows;
    setup::SetupDocument document;
    devlink::DeviceLink link{log, testsupport::FakeSerialPort::factory(line), clock};
    devlink::SetupTransfer transfer{link, log, dialogs, document.record};
    int redraws = 0;
    setup::SettingsWindow settings{windows[app::WindowId::Settings], document.record};
    maps::LearnWindow learn{windows[app::WindowId::Learn],
                            document.record,
                            {[this] { return link.identified(); },
                             [this](int value) { link.commands().sendSetValue(8, value); },
                             {},
                             [this] { ++redraws; }}};
    app::SystemWindow system{windows,
                             programSettings,
                             dialogs,
                             log,
                             table,
                             {{},
                              {},
                              {},
                              {},
                              [this] { return link.identified(); },
                              [this] { link.commands().eraseEeprom(); },
                              {}}};
    testsupport::RecordingView view{QStringLiteral("/dev/tty.kvtsim")};

    Fixture()
    {
        line->clock = &clock;
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, clock.nowMs()));
        };
        link.setView(&view);
        // The subscriptions the program makes for these windows.
        devlink::LinkFeed& feed = link.feed();
        feed.want(devlink::OnDemand::LearnedMap, [this] { return learn.learnedMapWanted(); });
        feed.onLearnedMap([this](const devlink::LearnedMap& map) { learn.learnedMapRead(map); });
        feed.want(devlink::OnDemand::SensorVoltages, [this] { return settings.shown(); });
        feed.onSensorVoltages(
            [this](const devlink::SensorVoltages& volts) { settings.showSensorVoltages(volts); });
        const auto refill = [this] {
            settings.refill();
            learn.refill();
            system.refill();
        };
        transfer.setReplacedHook(refill);
    }
    ~Fixture() { link.setView(nullptr); }

    void connect()
    {
        view.com = true;
        link.connectStep();
        ASSERT_TRUE(link.identified());
        line->written.clear();
    }
};

void setWord(QByteArray& block, int offset, int value)
{
    block[offset] = char(value & 0xFF);
    block[offset + 1] = char(value >> 8);
}

TEST(WindowsWithKvt, SetupReadFromTheKvtRefillsTheOpenWindows)
{
    Fixture fx;
    fx.windows[app::WindowId::Settings].open();
    fx.windows[app::WindowId::Learn].open();
    QByteArray& block = fx.kvt.setup();
    block[14] = char(8);        // coilChargeTime
    block[23] = char(95);       // limiterSpeed
    block[553] = char(120);     // output2Speed2
    setWord(block, 543, 1024);  // lambdaTarget
    block[540] = char(70);      // learnSpeedHigh
    fx.connect();
    ASSERT_EQ(fx.transfer.readSetup(), devlink::SetupTransfer::ReadOutcome::Replaced);
    auto& s = fx.settings.form();
    EXPECT_EQ(s.coilChargeTime->text(), "2000");
    EXPECT_EQ(s.limiterSpeed->text(), "9500");
    EXPECT_EQ(s.output2Speed2->text(), "12000");
    auto& l = fx.learn.form();
    EXPECT_EQ(l.lambdaTarget->text(), "1.024");
    EXPECT_EQ(l.speedHigh->text(), "7000");
}

TEST(WindowsWithKvt, SetupLoadedFromAFileRefillsTheOpenWindows)
{
    Fixture fx;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    setup::SetupStore files(fx.dialogs, fx.log, dir.path());
    files.setReplacedHook([&fx] {
        fx.settings.refill();
        fx.learn.refill();
    });
    fx.windows[app::WindowId::Settings].open();
    fx.windows[app::WindowId::Learn].open();
    fx.document.record.sensorAngle = 77;
    fx.document.record.learnRate = 222;
    fx.document.record.learnLambdaInputs = 6;
    const QString path = dir.filePath(QStringLiteral("motor.kvt"));
    fx.dialogs.answerFile(path);
    ASSERT_EQ(files.save(fx.document, {}), setup::SetupStore::Outcome::Done);

    fx.document.record = setup::SetupRecord{};
    fx.settings.refill();
    fx.learn.refill();
    EXPECT_EQ(fx.settings.form().sensorAngle->text(), "10");

    fx.dialogs.answerFile(path);
    ASSERT_EQ(files.load(fx.document), setup::SetupStore::Outcome::Done);
    EXPECT_EQ(fx.settings.form().sensorAngle->text(), "77");
    EXPECT_EQ(fx.learn.form().rate->text(), "222");
    EXPECT_FALSE(fx.learn.form().lambdaInputs[0]->isChecked());
    EXPECT_TRUE(fx.learn.form().lambdaInputs[1]->isChecked());
    EXPECT_TRUE(fx.learn.form().lambdaInputs[2]->isChecked());
}

TEST(WindowsWithKvt, LearnSwitchIsSentOnlyWhileIdentified)
{
    Fixture fx;
    fx.learn.form().learnActive->click();
    EXPECT_EQ(fx.document.record.learnActive, 1);
    EXPECT_TRUE(fx.line->written.isEmpty());
    EXPECT_EQ(quint8(fx.kvt.setup()[537]), 0);

    fx.connect();
    fx.learn.form().learnActive->click();
    EXPECT_EQ(fx.line->written, QByteArray("W\x08\x00", 3));
    fx.learn.form().learnActive->click();
    EXPECT_EQ(fx.line->written, QByteArray("W\x08\x00W\x08\x01", 6));
    EXPECT_EQ(quint8(fx.kvt.setup()[537]), 1);
}

TEST(WindowsWithKvt, EepromEraseIsSentOnlyWhileIdentified)
{
    Fixture fx;
    fx.dialogs.answerQuestion(true);
    fx.system.form().eraseEeprom->click();
    EXPECT_TRUE(fx.line->written.isEmpty());
    EXPECT_TRUE(fx.dialogs.calls.empty());

    fx.connect();
    fx.system.form().eraseEeprom->click();
    EXPECT_EQ(fx.line->written, QByteArray("X\x03", 2));
    EXPECT_TRUE(fx.kvt.eepromErased());
    EXPECT_EQ(fx.log.statusText(), "EEPROM loeschen");
}

TEST(WindowsWithKvt, PollingFeedsMeasuredVoltagesAndTheLearnedMap)
{
    Fixture fx;
    fx.connect();
    // Closed settings window: no "A".
    fx.link.pollCycle();
    EXPECT_FALSE(fx.line->written.contains('A'));
    EXPECT_TRUE(fx.settings.form().measuredVoltage[0]->text().isEmpty());

    fx.windows[app::WindowId::Settings].open();
    fx.line->written.clear();
    fx.link.pollCycle();
    EXPECT_TRUE(fx.line->written.contains('A'));
    EXPECT_FALSE(fx.settings.form().measuredVoltage[0]->text().isEmpty());
    EXPECT_FALSE(fx.line->written.contains('G'));

    // The learned map is read while learning is on and its display is ticked.
    fx.learn.form().showMapUpdates->click();
    fx.link.pollCycle();
    EXPECT_EQ(fx.redraws, 0);
    fx.learn.form().learnActive->click();
    fx.line->written.clear();
    fx.link.pollCycle();
    EXPECT_TRUE(fx.line->written.contains('G'));
    EXPECT_EQ(fx.redraws, 1);
}

}  // namespace
