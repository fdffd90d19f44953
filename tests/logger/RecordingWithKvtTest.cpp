// Recording against the KVT simulator: START, three seconds of polling at the COM-Timer with
// the logger timer every 500 ms, STOPP. The file holds the header with the KVT's HW and SW and
// one line per logger tick with the live values the simulator sent at that moment.
#include "KvtSimulator.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "link/DeviceLink.h"
#include "logger/LogRecorder.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/RecordingView.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RecordingWithKvt, EveryTickWritesTheLiveValuesOfThatMoment)
{
    QTemporaryDir dir;
    testsupport::FakeClock clock;
    auto line = std::make_shared<testsupport::FakeLine>();
    kvtsim::KvtSimulator kvt;
    line->clock = &clock;
    line->onWrite = [&](testsupport::FakeLine& l, const QByteArray& bytes) {
        l.feed(kvt.receive(bytes, clock.nowMs()));
    };
    app::ProgramSettings settings;
    app::MessageLog log;
    testsupport::FakeDialogs dialogs;
    devlink::DeviceLink link(log, testsupport::FakeSerialPort::factory(line), clock);
    testsupport::RecordingView view{QStringLiteral("/dev/tty.kvtsim"), true};
    link.setView(&view);

    logger::LogTable table;
    table.resize(settings.loggerCapacity + 1);
    logger::LogRecorder::Hooks hooks;
    hooks.clockMs = [&] { return clock.nowMs(); };
    hooks.identified = [&] { return link.identified(); };
    hooks.hw = [&] { return link.identity().hw; };
    hooks.sw = [&] { return link.identity().sw; };
    hooks.firmwareBusy = [&] { return link.firmwareBusy(); };
    logger::LogRecorder recorder(table, settings, dialogs, log, dir.path(), hooks);
    // The recorder takes what the link publishes after each good poll.
    link.feed().onLiveRecord(
        [&](const devlink::LiveRecord& record) { recorder.takeLiveRecord(record); });

    auto comTick = [&] {
        clock.advance(100);
        link.connectStep();
        link.pollCycle();
    };
    comTick();
    ASSERT_TRUE(link.identified());
    recorder.start();
    ASSERT_TRUE(recorder.recording());
    const qint64 startMs = clock.nowMs();

    QByteArrayList expected;
    QSet<int> speeds;
    for (int t = 1; t <= 30; ++t) {  // three seconds
        comTick();
        if (t % 5 == 0) {  // the logger timer, 500 ms
            recorder.tick();
            std::array<double, 15> row{};
            row[0] = double(clock.nowMs() - startMs);
            const auto live = logger::sampleColumns(link.liveRecord());
            for (int c = 0; c < 14; ++c)  // the table holds single precision
                row[std::size_t(c + 1)] = float(live[std::size_t(c)]);
            char text[logger::recordLineCapacity];
            expected << QByteArray(text, logger::formatRecordLine(row, text));
            speeds.insert(link.liveRecord().rpmForMaps);
        }
    }
    recorder.stop();
    link.setView(nullptr);
    EXPECT_GT(speeds.size(), 1);  // the simulated engine ran

    QFile file(QDir(dir.path()).filePath(recorder.logFileName()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArrayList lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 11 + 6 + 1);
    EXPECT_EQ(lines[4], "KVT HW," + link.identity().hw.toLatin1());
    EXPECT_EQ(lines[5], "KVT SW," + link.identity().sw.toLatin1());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lines[11 + i] + '\n', expected[i]) << i;
        EXPECT_TRUE(lines[11 + i].startsWith(QByteArray::number((i + 1) * 500) + ','));
    }
}

}  // namespace
