// The map editor on the real device link and the KVT simulator: every edit reaches the
// simulated KVT's working setup, so the block it would return for "L" holds the edited cells.
#include "maps/LinkAdapters.h"
#include "maps/MapEditor.h"

#include "KvtSimulator.h"
#include "link/LinkTestAccess.h"
#include "setup/SetupBlock.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/RecordingView.h"

#include <gtest/gtest.h>

namespace {

using maps::EditMode;
using maps::View;

class EditorOnSimulator : public ::testing::Test {
protected:
    EditorOnSimulator()
    {
        line->clock = &clock;
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            written += bytes;
            const QByteArray reply = sim.receive(bytes, clock.nowMs());
            if (!reply.isEmpty())
                l.schedule(1, reply);
        };
        link.setView(&view);
        link.connectStep();
        record = setup::decodeSetupBlock(sim.setup());
        editor.sender().setTimerDriven(false);
    }

    setup::SetupRecord kvtSetup() { return setup::decodeSetupBlock(sim.setup()); }

    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    app::MessageLog log;
    testsupport::RecordingView view{QStringLiteral("/dev/tty.fake"), true};
    devlink::DeviceLink link{log, testsupport::FakeSerialPort::factory(line), clock};
    kvtsim::KvtSimulator sim;
    QByteArray written;
    setup::SetupRecord record;
    maps::DeviceCellLink cells{link};
    maps::MapEditor editor{record, cells, log};
    testsupport::FakeDialogs dialogs;
};

TEST_F(EditorOnSimulator, EditedCellsLandInTheKvtsWorkingSetup)
{
    ASSERT_TRUE(link.identified());
    editor.select(EditMode::InjectionMap);
    editor.setCursor(View::Injection, 16, 8);
    written.clear();
    const qint64 sleptBefore = clock.slept;
    editor.stepCell(true, true);
    // The letter, a 20 ms pause, then speed 17, throttle 9 and the value low byte first.
    const int value = record.injectionCell(16, 8);
    EXPECT_EQ(written,
              QByteArray("K") + char(17) + char(9) + char(value & 0xFF) + char(value >> 8));
    EXPECT_EQ(clock.slept - sleptBefore, 20);

    editor.boxes(View::Injection).start = true;
    editor.setCursor(View::Injection, 2, 1);
    editor.blockChange(true);
    while (editor.sender().sendNext()) {
    }
    editor.select(EditMode::AirTempCurve);
    editor.setCursor(View::AirTemp, 5);
    editor.stepCell(false, false);
    editor.select(EditMode::EngineTempCurve);
    editor.setCursor(View::EngineTemp, 16);
    editor.stepCell(true, false);
    editor.select(EditMode::Ignition);
    editor.setCursor(View::Ignition, 7, 3);
    editor.stepCell(false, false);
    editor.setIgnitionMapEnabled(false, dialogs);
    editor.stepCell(true, false);

    const setup::SetupRecord kvt = kvtSetup();
    EXPECT_EQ(kvt.injectionMap, record.injectionMap);
    EXPECT_EQ(kvt.airTempCorrection, record.airTempCorrection);
    EXPECT_EQ(kvt.engineTempCorrection, record.engineTempCorrection);
    EXPECT_EQ(kvt.ignitionMap, record.ignitionMap);
    EXPECT_EQ(kvt.ignitionMapEnabled, 0);
    EXPECT_EQ(kvt, record);
}

TEST_F(EditorOnSimulator, NothingReachesTheKvtBeforeIdentification)
{
    devlink::LinkTestAccess::setIdentified(link, false);
    const QByteArray before = sim.setup();
    editor.select(EditMode::InjectionMap);
    written.clear();
    editor.stepCell(true, true);
    editor.setIgnitionMapEnabled(false, dialogs);
    EXPECT_TRUE(written.isEmpty());
    EXPECT_EQ(sim.setup(), before);
}

}  // namespace
