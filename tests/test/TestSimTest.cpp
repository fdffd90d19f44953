// The test window's logic against the KVT simulator on a pseudo-terminal: output tests reach
// the KVT with their timing, and a spoiled crank signal fails the sensor checks.
#include "KvtSimulator.h"
#include "PtyHost.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "link/DeviceLink.h"
#include "link/PosixSerialPort.h"
#include "setup/SetupBlock.h"
#include "test/OutputTest.h"
#include "test/SensorWatch.h"
#include "support/RecordingView.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class TestSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
        ASSERT_TRUE(dir.isValid());
        kvtsim::HostOptions options;
        options.linkPath = dir.filePath(QStringLiteral("tty.kvtsim"));
        options.instant = true;
        host = std::make_unique<kvtsim::PtyHost>(options);
        QString error;
        ASSERT_TRUE(host->start(&error)) << error.toStdString();
        view = std::make_unique<testsupport::RecordingView>(host->portPath(), true);
        link = std::make_unique<devlink::DeviceLink>(
            log, [] { return std::make_unique<devlink::PosixSerialPort>(); });
        link->setView(view.get());
        link->connectStep();
        ASSERT_TRUE(link->identified());
        record = setup::decodeSetupBlock(
            host->withSimulator([](kvtsim::KvtSimulator& sim) { return sim.setup(); }));
    }

    void TearDown() override
    {
        link.reset();
        if (host)
            host->stop();
    }

    QTemporaryDir dir;
    std::unique_ptr<kvtsim::PtyHost> host;
    std::unique_ptr<testsupport::RecordingView> view;
    app::MessageLog log;
    app::ProgramSettings settings;
    setup::SetupRecord record;
    std::unique_ptr<devlink::DeviceLink> link;
};

TEST_F(TestSimTest, FuelPumpOnAndOffThreeSecondsLater)
{
    kvttest::OutputTestRunner runner(
        [&](int output, quint16 value) { link->commands().switchOutput(output, value); },
        [&] { return link->portOpen(); });
    QSignalSpy done(&runner, &kvttest::OutputTestRunner::finished);
    ASSERT_TRUE(runner.start(kvttest::fuelPumpSteps()));
    ASSERT_TRUE(done.wait(6000));
    QThread::msleep(50);  // the last bytes cross the pty
    const auto events =
        host->withSimulator([](kvtsim::KvtSimulator& sim) { return sim.outputEvents(); });
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].output, 1);
    EXPECT_EQ(events[0].value, 1);
    EXPECT_EQ(events[1].output, 1);
    EXPECT_EQ(events[1].value, 0);
    EXPECT_NEAR(double(events[1].ms - events[0].ms), 3000, 150);
}

TEST_F(TestSimTest, SpoiledTriggerFailsTheChecksAndCountsErrorsAboveTheMinimumSpeed)
{
    kvttest::SensorWatch watch(record, settings);
    link->feed().onLiveRecord([&](const devlink::LiveRecord& r) { watch.liveRecord(r); });
    // The simulated engine starts turning after half a second and passes 1000 rpm later.
    auto pollUntilAbove = [&](int rpm) {
        for (int i = 0; i < 60 && link->liveRecord().rpmForMaps <= rpm; ++i) {
            QThread::msleep(100);
            link->pollCycle();
        }
        ASSERT_GT(link->liveRecord().rpmForMaps, rpm);
    };
    pollUntilAbove(settings.sensorErrorMinSpeed);
    EXPECT_TRUE(watch.checks().allPassed()) << watch.checks().teethText.toStdString();
    EXPECT_EQ(watch.errorCount(), 0);

    const kvttest::TriggerChecks before = watch.checks();
    const kvtsim::TriggerSpoil spoils[] = {kvtsim::TriggerSpoil::WrongTeeth,
                                           kvtsim::TriggerSpoil::GapOff,
                                           kvtsim::TriggerSpoil::NoSignal};
    int errors = 0;
    for (const kvtsim::TriggerSpoil spoil : spoils) {
        host->withSimulator([&](kvtsim::KvtSimulator& sim) { sim.setTriggerSpoil(spoil); });
        link->pollCycle();
        ASSERT_GT(link->liveRecord().rpmForMaps, settings.sensorErrorMinSpeed);
        EXPECT_FALSE(watch.checks().allPassed()) << kvtsim::triggerSpoilName(spoil).toStdString();
        EXPECT_EQ(watch.errorCount(), ++errors);
    }
    EXPECT_EQ(watch.checks().signalText, "--");
    EXPECT_NE(before.teethText, watch.checks().teethText);

    host->withSimulator(
        [](kvtsim::KvtSimulator& sim) { sim.setTriggerSpoil(kvtsim::TriggerSpoil::None); });
    link->pollCycle();
    EXPECT_TRUE(watch.checks().allPassed());
    EXPECT_EQ(watch.errorCount(), errors);
}

}  // namespace
