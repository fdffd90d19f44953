// The test window and the expert window on their forms, against the KVT simulator on a fake
// port: the validation pass, an aborted flow test, taking injector values over, the check mark,
// "P" only while the expert window is shown, and the fine-tune byte. With MOTRIX_SHOTS set to
// a folder, both windows are saved there as pictures after a few polls.
#include "KvtSimulator.h"
#include "SimSetup.h"
#include "app/core/MenuEvents.h"
#include "app/core/MessageLog.h"
#include "app/WindowSet.h"
#include "link/DeviceLink.h"
#include "setup/ExpertWindow.h"
#include "setup/SetupBlock.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/RecordingView.h"
#include "support/TestApplication.h"
#include "test/SensorWatch.h"
#include "test/TestWindow.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct AppGuard {
    AppGuard() { testsupport::application(); }
};

struct Fixture : AppGuard {
    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    kvtsim::KvtSimulator kvt;
    app::ProgramSettings settings;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    app::WindowSet windows;
    setup::SetupRecord record;
    devlink::DeviceLink link{log, testsupport::FakeSerialPort::factory(line), clock};
    kvttest::SensorWatch watch{record, settings};
    int settingsRefills = 0;
    std::unique_ptr<kvttest::TestWindow> test;
    std::unique_ptr<setup::ExpertWindow> expert;
    testsupport::RecordingView view{QStringLiteral("/dev/tty.kvtsim"), true};

    Fixture()
    {
        line->clock = &clock;
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, clock.nowMs() - 1'000'000));
        };
        record = setup::decodeSetupBlock(kvt.setup());
        kvttest::TestWindow::Hooks h;
        h.identified = [this] { return link.identified(); };
        h.portOpen = [this] { return link.portOpen(); };
        h.switchOutput = [this](int o, quint16 v) { link.commands().switchOutput(o, v); };
        h.sendSetValue = [this](int i, int v) { link.commands().sendSetValue(i, v); };
        h.restartKvt = [this] { link.commands().restartKvt(); };
        h.ignitionMode = [this] { return link.liveRecord().ignitionMode; };
        h.identity = [this] { return link.identity(); };
        h.loadedVersions = [] { return std::array<QString, 3>{"1.0", "2.3", "1.1"}; };
        h.refillSettings = [this] { ++settingsRefills; };
        test = std::make_unique<kvttest::TestWindow>(windows[app::WindowId::Test], record, settings,
                                                     dialogs, std::move(h));
        setup::ExpertWindow::Hooks e;
        e.identified = [this] { return link.identified(); };
        e.sendCalibrationByte = [this](quint8 v) { link.commands().sendCalibrationByte(v); };
        e.resetClockOffset = [this] { link.requestClockOffsetReset(); };
        e.nowMs = [this] { return clock.nowMs(); };
        e.clockOffset = [this] { return link.clockOffset(); };
        expert = std::make_unique<setup::ExpertWindow>(windows[app::WindowId::Expert], record,
                                                       std::move(e));
        link.setView(&view);
        devlink::LinkFeed& feed = link.feed();
        feed.onLiveRecord([this](const devlink::LiveRecord& r) {
            watch.liveRecord(r);
            test->liveRecord(r, watch.checks());
            expert->liveRecord(r.rpmForMaps, r.timeStamp, r.teethSeen, r.toothPeriod, r.gapPeriod);
        });
        feed.want(devlink::OnDemand::ExpertValues, [this] { return expert->shown(); });
        feed.onExpertValues([this](const QByteArray& d) { expert->expertValues(d); });
    }
    ~Fixture() { link.setView(nullptr); }

    void connect()
    {
        link.connectStep();
        ASSERT_TRUE(link.identified());
    }
    // Polls at 100 ms until the simulated engine runs above rpm.
    void pollUntilAbove(int rpm)
    {
        for (int i = 0; i < 60 && link.liveRecord().rpmForMaps <= rpm; ++i) {
            clock.advance(100);
            link.pollCycle();
        }
        ASSERT_GT(link.liveRecord().rpmForMaps, rpm);
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        emit field->editingFinished();
    }
    bool messaged(const QString& text) const
    {
        for (const auto& c : dialogs.calls)
            if (c.text == text)
                return true;
        return false;
    }
};

TEST(TestWindows, ValidationPassLimitsWritesBackAndSendsTheConstantAngle)
{
    Fixture fx;
    fx.connect();
    auto& f = fx.test->form();
    fx.windows[app::WindowId::Test].open();
    f.constant->setChecked(true);
    fx.type(f.coilTime, "100");
    EXPECT_EQ(f.coilTime->text(), "250");
    EXPECT_EQ(fx.record.coilChargeTime, 1);
    EXPECT_GT(fx.settingsRefills, 0);
    fx.type(f.constantAngle, "75");
    EXPECT_EQ(f.constantAngle->text(), "50");
    EXPECT_EQ(fx.kvt.ignitionMode(), 100);
    fx.type(f.constantAngle, "-60");
    EXPECT_EQ(fx.kvt.ignitionMode(), 0);
    fx.type(f.longWeight[2], "612.3");
    EXPECT_EQ(f.longWeight[2]->text(), "500.0");
    // With "Kennlinie" chosen a Return elsewhere leaves the KVT on its curve.
    f.fromCurve->click();
    EXPECT_EQ(fx.kvt.ignitionMode(), 255);
    fx.type(f.injVolume, "250");
    EXPECT_EQ(fx.kvt.ignitionMode(), 255);
}

// The estimate inputs are the settings file's: a stored value shows (limited to the field's
// range), and a typed one is kept there for the next start.
TEST(TestWindows, EstimateInputsComeFromAndGoToTheSettings)
{
    Fixture fx;
    fx.settings.injectorFlow = 0;  // a hand-edited file
    fx.settings.cylinderVolume = 125;
    fx.settings.coilVoltage = 99.0f;
    fx.settings.coilInductance = 4.04f;
    auto& f = fx.test->form();
    fx.windows[app::WindowId::Test].open();
    EXPECT_EQ(f.injFlow->text(), "10");
    EXPECT_EQ(f.injVolume->text(), "125");
    EXPECT_EQ(f.injMaxSpeed->text(), "8000");
    EXPECT_EQ(f.coilVoltage->text(), "24.0");
    EXPECT_EQ(f.coilInductance->text(), "4.0");
    fx.type(f.injFlow, "333");
    fx.type(f.coilResistance, "0.84");
    EXPECT_EQ(fx.settings.injectorFlow, 333);
    EXPECT_EQ(fx.settings.cylinderVolume, 125);
    EXPECT_FLOAT_EQ(fx.settings.coilResistance, 0.8f);
    EXPECT_FLOAT_EQ(fx.settings.coilVoltage, 24.0f);
}

TEST(TestWindows, FlowTestWithEscapeAtTheFirstPulse)
{
    Fixture fx;
    auto& f = fx.test->form();
    f.longTest[0]->click();  // not identified yet
    EXPECT_TRUE(fx.messaged("COM-Verbindung nicht etabliert.\rTest macht keinen Sinn..."));
    EXPECT_TRUE(fx.kvt.outputEvents().empty());

    fx.connect();
    bool escaped = false;
    // Escape while the button shows "Start", before the first pulse.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!escaped && f.longTest[0]->text() == "Start") {
            escaped = true;
            emit fx.windows[app::WindowId::Test].menuEvent(int(app::FieldMenuEvent::LeaveTest));
        }
    });
    poll.start(5);
    f.longTest[0]->click();
    EXPECT_TRUE(fx.test->testRunning());
    EXPECT_TRUE(fx.dialogs.gate().held());  // no tick while the test runs
    for (int i = 0; i < 300 && fx.test->testRunning(); ++i)
        QTest::qWait(10);
    ASSERT_FALSE(fx.test->testRunning());
    EXPECT_FALSE(fx.dialogs.gate().held());
    EXPECT_TRUE(escaped);
    EXPECT_TRUE(fx.messaged("Test abgebrochen.\rErgebnis nicht verwendbar !"));
    EXPECT_EQ(f.longTest[0]->text(), "Test");
    const auto& events = fx.kvt.outputEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events.back().output, 1);
    EXPECT_EQ(events.back().value, 0);
}

TEST(TestWindows, TakingValuesLeavesInjectorsWithoutAMeasurementAlone)
{
    Fixture fx;
    auto& f = fx.test->form();
    fx.record.injectorBalance = {11, 22, 33};
    fx.record.injectorDeadTime = {444, 555, 666};
    fx.test->refill();
    fx.type(f.longWeight[0], "30");
    fx.type(f.shortWeight[0], "11");
    fx.type(f.longWeight[1], "20");
    fx.type(f.shortWeight[1], "20");
    EXPECT_EQ(f.flow[0]->text(), "333.3");
    EXPECT_EQ(f.switchingTime[0]->text(), "789");
    EXPECT_EQ(f.flow[1]->text(), "--");
    EXPECT_EQ(f.fullLoad->text(), "20.0");
    f.takeValues->click();
    EXPECT_EQ(fx.record.injectorDeadTime, (std::array<quint16, 3>{789, 555, 666}));
    EXPECT_EQ(fx.record.injectorBalance, (std::array<quint16, 3>{0, 22, 33}));
    f.resetValues->click();
    EXPECT_EQ(f.longWeight[0]->text(), "0.0");
    EXPECT_EQ(f.flow[0]->text(), "--");

    // A switching time beyond the dead time's range (up to 6000 µs from a tiny short test) is
    // taken as the range's top, not stored where the settings window would change it again.
    fx.type(f.longWeight[2], "100");
    fx.type(f.shortWeight[2], "0.1");
    EXPECT_GT(f.switchingTime[2]->text().toInt(), 4000);
    f.takeValues->click();
    EXPECT_EQ(fx.record.injectorDeadTime[2], 4000);
}

TEST(TestWindows, SensorPositionRestartAndFineTuneOnlyWhileIdentified)
{
    Fixture fx;
    auto& f = fx.test->form();
    auto& e = fx.expert->form();
    f.restart->click();
    e.calibrationUp->click();
    fx.record.sensorAngle = 180;
    f.sensorUp->click();
    EXPECT_EQ(fx.record.sensorAngle, 180);
    EXPECT_TRUE(fx.line->written.isEmpty());  // nothing reaches a KVT not identified

    fx.connect();
    const int restarts = fx.kvt.restartCount();
    f.sensorDown->click();
    EXPECT_EQ(f.sensorAngle->text(), "179");
    EXPECT_EQ(kvtsim::setupByte(fx.kvt.setup(), kvtsim::offset::sensorAngle), 179);  // "W" 6
    fx.record.sensorAngle = 10;
    f.sensorDown->click();
    EXPECT_EQ(fx.record.sensorAngle, 10);
    f.restart->click();
    EXPECT_EQ(fx.kvt.restartCount(), restarts + 1);
}

TEST(TestWindows, CheckMarkFollowsTheTriggerSignal)
{
    Fixture fx;
    fx.windows[app::WindowId::Test].open();
    fx.connect();
    auto& f = fx.test->form();
    EXPECT_EQ(f.checkMark->state(), forms::CheckMark::State::Clear);
    fx.pollUntilAbove(1000);
    EXPECT_EQ(f.checkMark->state(), forms::CheckMark::State::Tick);
    fx.kvt.setTriggerSpoil(kvtsim::TriggerSpoil::GapOff);
    fx.clock.advance(100);
    fx.link.pollCycle();
    EXPECT_EQ(f.checkMark->state(), forms::CheckMark::State::Cross);
    EXPECT_FALSE(f.gap->text().endsWith("Ok"));
    EXPECT_EQ(fx.watch.errorCount(), 1);
}

TEST(TestWindows, ExpertValuesOnlyWhileShownAndTheFineTuneByte)
{
    Fixture fx;
    fx.connect();
    fx.link.pollCycle();
    EXPECT_FALSE(fx.kvt.commandLog().contains('P'));
    fx.windows[app::WindowId::Expert].open();
    fx.pollUntilAbove(1000);
    EXPECT_TRUE(fx.kvt.commandLog().contains('P'));
    auto& f = fx.expert->form();
    EXPECT_EQ(f.calibrationByte->text(), QString::number(fx.kvt.calibrationByte()));
    const int before = fx.kvt.calibrationByte();
    f.calibrationUp->click();
    EXPECT_EQ(fx.kvt.calibrationByte(), before + 1);
    f.calibrationDown->click();
    f.calibrationDown->click();
    EXPECT_EQ(fx.kvt.calibrationByte(), before - 1);
    EXPECT_NE(f.meanSpeed->text(), "0.0");
    EXPECT_FALSE(f.stamp->text().isEmpty());

    const QString shots = qEnvironmentVariable("MOTRIX_SHOTS");
    if (!shots.isEmpty()) {
        fx.windows[app::WindowId::Test].open();
        fx.kvt.setTriggerSpoil(kvtsim::TriggerSpoil::None);
        for (int i = 0; i < 40; ++i) {
            fx.clock.advance(100);
            fx.link.pollCycle();
        }
        QTest::qWait(200);
        fx.windows[app::WindowId::Expert].grab().save(QDir(shots).filePath("expert-window.png"));
        fx.windows[app::WindowId::Test].grab().save(QDir(shots).filePath("test-window.png"));
    }
}

}  // namespace
