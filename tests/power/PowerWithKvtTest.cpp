// The whole program on a simulated KVT: F11 in the power window, the simulator's dynamometer
// run polled by the main loop's ticks, F12, and the measured grid of power and torque.
#include "KvtSimulator.h"
#include "app/core/MenuEvents.h"
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "power/PowerWindow.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/TestApplication.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PowerWithKvt, DynoRunBetweenF11AndF12GivesAGrid)
{
    testsupport::application();
    QTemporaryDir dir;
    const QString programDir = dir.path() + "/";
    testsupport::FakeDialogs dialogs;
    kvtsim::KvtSimulator kvt;
    qint64 kvtMs = 5000;  // the KVT's clock, moved on by the test
    auto line = std::make_shared<testsupport::FakeLine>();
    line->onWrite = [&](testsupport::FakeLine& l, const QByteArray& bytes) {
        l.feed(kvt.receive(bytes, kvtMs));
    };
    app::ProgramSettings s;
    s.portName = "/dev/tty.kvtsim";
    s.comAtStart = true;
    s.powerSampleInterval = 1;  // every second poll
    QFile f(app::settingsFilePath(programDir));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(app::encodeSettings(s));
    f.close();

    app::Motrix motrix(dialogs, programDir, testsupport::FakeSerialPort::factory(line));
    motrix.setPortLister([] { return QStringList({"/dev/tty.kvtsim"}); });
    motrix.startUp({false, false});
    motrix.loop().stop();  // the test drives the ticks
    motrix.loop().tick(app::Tick::ComTimer);
    ASSERT_TRUE(motrix.link().identified());

    power::PowerWindow& power = motrix.powerWindow();
    emit motrix.windows()[app::WindowId::PowerComparison].menuEvent(
        int(app::FieldMenuEvent::StartPowerRun));
    ASSERT_TRUE(power.measuring());
    kvt.dynoRun().request();
    for (int tick = 0; tick < 110; ++tick) {  // 11 s of KVT time, a poll every 100 ms
        kvtMs += 100;
        motrix.loop().tick(app::Tick::ComTimer);
    }
    emit motrix.windows()[app::WindowId::PowerComparison].menuEvent(
        int(app::FieldMenuEvent::StopPowerRun));
    EXPECT_FALSE(power.measuring());
    EXPECT_NEAR(power.capture().count(), 55, 2);
    EXPECT_EQ(power.capture().samples()[1].time, 200.0f);

    int filled = 0;
    float lowest = 0, highest = 0;
    for (const power::GridPoint& g : power.curves()[0]) {
        if (g.torque > 0 && g.power > 0) {
            ++filled;
            lowest = lowest == 0 ? g.speed : lowest;
            highest = g.speed;
        }
    }
    EXPECT_GT(filled, 150);
    EXPECT_NEAR(lowest, 3050, 100);
    EXPECT_GT(highest, 11500);
}
