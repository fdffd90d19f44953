// The simulated KVT's command handling: replies, setup and EEPROM, cell edits, lambda log,
// engine, faults and the boot loader.
#include "KvtSimulator.h"
#include "SimSetup.h"

#include <gtest/gtest.h>

using namespace kvtsim;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

struct ReplyCase {
    const char* command;
    int commandLength;
    int length;
    char letter;
};

class ReplyLengthTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyLengthTest, LetterAndLength)
{
    KvtSimulator sim;
    const QByteArray reply =
        sim.receive(QByteArray(GetParam().command, GetParam().commandLength), 5000);
    ASSERT_EQ(reply.size(), GetParam().length);
    EXPECT_EQ(reply.at(0), GetParam().letter);
}

INSTANTIATE_TEST_SUITE_P(CommandTable, ReplyLengthTest,
                         ::testing::Values(ReplyCase{"I", 1, 24, 'i'}, ReplyCase{"D", 1, 45, 'd'},
                                           ReplyCase{"G", 1, 307, 'g'}, ReplyCase{"A", 1, 7, 'a'},
                                           ReplyCase{"P", 1, 36, 'p'}, ReplyCase{"L", 1, 579, 'l'},
                                           ReplyCase{"B\x01", 2, 920, 'b'},
                                           ReplyCase{"B\x00", 2, 920, 'b'}),
                         [](const auto& info) {
                             return std::string(1, info.param.letter) + std::to_string(info.index);
                         });

TEST(KvtSimulator, CommandsWithoutReplyAnswerNothing)
{
    KvtSimulator sim;
    QByteArray all = QByteArray("E") + bytes({'K', 1, 1, 0, 1}) + bytes({'T', 1, 15}) +
                     bytes({'Z', 1, 1, 10}) + bytes({'M', 1, 15}) + bytes({'W', 8, 0}) +
                     bytes({'X', 5, 1}) + bytes({'V', 1, 0, 1}) + bytes({'C', 0});
    all += 'S';
    all += factorySetup();
    EXPECT_TRUE(sim.receive(all, 1000).isEmpty());
    EXPECT_EQ(sim.commandLog(), QByteArray("EKTZMWXVCS"));
}

TEST(KvtSimulator, IdentityWithRestartCountHighByteFirst)
{
    KvtSimulator sim;
    sim.setRestartCount(0x1234);
    const QByteArray reply = sim.receive("I", 0);
    EXPECT_EQ(reply.mid(1, 21), QByteArray("KVT-Sim 1Zyl2.14.71.3"));
    EXPECT_EQ(reply.right(2), bytes({0x12, 0x34}));
}

TEST(KvtSimulator, SetupWriteReadStoreAndRestart)
{
    KvtSimulator sim;
    QByteArray block = factorySetup();
    block[100] = char(42);
    sim.receive(QByteArray("S") + block, 0);
    EXPECT_EQ(sim.receive("L", 0).mid(1), block);
    // A restart without "E" comes back with the EEPROM copy.
    const quint16 restarts = sim.restartCount();
    sim.receive("N", 0);
    EXPECT_EQ(sim.restartCount(), restarts + 1);
    EXPECT_EQ(sim.receive("L", 0).mid(1), factorySetup());
    sim.receive(QByteArray("S") + block + QByteArray("E") + QByteArray("N"), 0);
    EXPECT_EQ(sim.receive("L", 0).mid(1), block);
}

TEST(KvtSimulator, EepromEraseRestartsWithAnErasedSetup)
{
    KvtSimulator sim;
    sim.receive(bytes({'X', 3}), 0);
    EXPECT_TRUE(sim.eepromErased());
    EXPECT_EQ(sim.receive("L", 0).mid(1), QByteArray(setupBlockSize, char(0xFF)));
    // The erased KVT still runs and answers.
    EXPECT_EQ(sim.receive("D", 10000).size(), 45);
}

TEST(KvtSimulator, CellEditsCountFromOne)
{
    KvtSimulator sim;
    sim.receive(bytes({'K', 17, 9, 0x34, 0x12}) + bytes({'Z', 2, 1, 33}) + bytes({'T', 1, 99}) +
                    bytes({'M', 17, 77}) + bytes({'X', 5, 0}),
                0);
    const QByteArray& s = sim.setup();
    EXPECT_EQ(setupWord(s, offset::injectionMap + 2 * 152), 0x1234);
    EXPECT_EQ(ignitionCell(s, 1, 0), 33);
    EXPECT_EQ(setupByte(s, offset::airTempCorrection), 99);
    EXPECT_EQ(setupByte(s, offset::engineTempCorrection + 16), 77);
    EXPECT_EQ(setupByte(s, offset::ignitionMapEnabled), 0);
    // "G" carries the same map, low byte first.
    EXPECT_EQ(sim.receive("G", 0).mid(1), s.mid(offset::injectionMap, 306));
}

TEST(KvtSimulator, CellEditsOutsideTheMapAreIgnored)
{
    KvtSimulator sim;
    const QByteArray before = sim.setup();
    sim.receive(bytes({'K', 0, 1, 1, 1}) + bytes({'K', 18, 1, 1, 1}) + bytes({'Z', 1, 10, 5}) +
                    bytes({'T', 18, 5}) + bytes({'M', 0, 5}),
                0);
    EXPECT_EQ(sim.setup(), before);
    EXPECT_EQ(sim.receive("I", 0).size(), 24);  // still in step with the commands
}

TEST(KvtSimulator, SetValuesAndTestOutputs)
{
    KvtSimulator sim;
    sim.receive(bytes({'W', 6, 77}) + bytes({'W', 7, 60}) + bytes({'W', 8, 1}) +
                    bytes({'V', 10, 0x1F, 0x40}) + bytes({'X', 4, 99}),
                0);
    EXPECT_EQ(setupByte(sim.setup(), offset::sensorAngle), 77);
    EXPECT_EQ(sim.ignitionMode(), 60);
    EXPECT_EQ(setupByte(sim.setup(), offset::learnActive), 1);
    EXPECT_EQ(sim.testOutput(10), 8000);
    EXPECT_EQ(sim.calibrationByte(), 99);
    const QByteArray d = sim.receive("D", 5000);
    EXPECT_EQ(quint8(d.at(27)), 60);  // ignition mode byte
    EXPECT_EQ(quint8(d.at(9)), 60);   // constant angle 10 + 50
    EXPECT_EQ(quint8(sim.receive("P", 5000).at(35)), 99);
}

TEST(KvtSimulator, CommandsSplitAcrossReadsAreAssembled)
{
    KvtSimulator sim;
    EXPECT_TRUE(sim.receive(bytes({'K', 1}), 0).isEmpty());
    EXPECT_TRUE(sim.receive(bytes({1, 0x10}), 0).isEmpty());
    sim.receive(bytes({0x00}), 0);
    EXPECT_EQ(injectionCell(sim.setup(), 0, 0), 0x0010);
}

TEST(KvtSimulator, NoiseBytesAreIgnored)
{
    KvtSimulator sim;
    EXPECT_EQ(sim.receive(bytes({0x00, 0xFF, 'a', 0x7B, 'I'}), 0).size(), 24);
}

TEST(KvtSimulator, LambdaLogReadClearAndRecord)
{
    KvtSimulator sim;
    QByteArray eeprom = sim.receive(bytes({'B', 1}), 0);
    EXPECT_EQ(eeprom.at(1), 0);  // lambda logging off
    EXPECT_NE(eeprom.mid(2), QByteArray(918, '\0'));
    sim.receive(bytes({'C', 1}), 0);
    EXPECT_EQ(sim.receive(bytes({'B', 1}), 0).mid(2), QByteArray(918, '\0'));

    setSetupByte(sim.setup(), offset::lambdaLogging, 1);
    for (int ms = 3000; ms < 20000; ms += 100)
        sim.receive("D", ms);
    const QByteArray ram = sim.receive(bytes({'B', 0}), 20000);
    EXPECT_EQ(ram.at(1), 1);
    int filled = 0;
    for (int i = 0; i < 459; ++i)
        filled += (quint8(ram.at(2 + 2 * i)) << 8 | quint8(ram.at(3 + 2 * i))) != 0;
    EXPECT_GT(filled, 20);
    // Saved into the EEPROM log when the KVT restarts.
    sim.receive("N", 20000);
    EXPECT_EQ(sim.receive(bytes({'B', 1}), 20000).mid(2), ram.mid(2));
}

int word(const QByteArray& d, int byteNumber)  // byte numbers count from 1 as on the wire
{
    return quint8(d.at(byteNumber - 1)) << 8 | quint8(d.at(byteNumber));
}

TEST(KvtSimulatorEngine, RunsPlausiblyAndWarmsUp)
{
    KvtSimulator sim;
    const QByteArray cold = sim.receive("D", 3000);
    const QByteArray warm = sim.receive("D", 400000);
    const int target = setupWord(sim.setup(), offset::lambdaTarget);
    for (const QByteArray& d : {cold, warm}) {
        const int rpm = word(d, 2);
        EXPECT_GE(rpm, 300);
        EXPECT_LE(rpm, 9100);
        EXPECT_LE(quint8(d.at(5)), 100);  // throttle
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(word(d, 22 + 2 * k), target, 200);
        EXPECT_EQ(quint8(d.at(28)), 1);  // signal
        // Teeth seen + gaps + 1 = the wheel; the gap lasts gaps + 1 tooth periods.
        const int gaps = setupByte(sim.setup(), offset::triggerGaps);
        EXPECT_EQ(quint8(d.at(29)) + gaps + 1, setupByte(sim.setup(), offset::triggerTeeth));
        EXPECT_EQ(quint8(d.at(30)), setupByte(sim.setup(), offset::triggerTeeth));
        EXPECT_NEAR(double(word(d, 34)) / word(d, 32) - 1, gaps, 0.05);
    }
    EXPECT_GT(quint8(warm.at(6)), quint8(cold.at(6)) + 30);  // engine temperature
    EXPECT_GT(quint8(warm.at(42)), quint8(cold.at(42)));     // CPU temperature
    const quint32 stamp = quint32(word(warm, 36)) << 16 | quint32(word(warm, 38));
    EXPECT_EQ(stamp, 400000u * 100u);
}

// "A" gives the voltages the setup's calibration assigns to the temperatures and the throttle of
// the last "D" frame: read back through the same calibration they give the frame's values.
TEST(KvtSimulatorEngine, SensorVoltagesFollowTheSetupsCalibration)
{
    KvtSimulator sim;
    // The factory calibration, and one with other points and a falling throttle pot.
    QByteArray other = factorySetup();
    for (int at : {offset::engineTempCal1Temp, offset::airTempCal1Temp})
        for (int i : {0, 1, 2, 3})
            setSetupByte(other, at + i, QList<int>{30, 300, 90, 150}[i]);
    for (int i : {0, 1, 2, 3})
        setSetupByte(other, offset::throttleCal1Percent + i, QList<int>{10, 420, 90, 60}[i]);
    for (const QByteArray& setup : {factorySetup(), other}) {
        sim.receive(QByteArray("S") + setup, 0);
        for (qint64 ms : {3000, 9000, 400000}) {
            const QByteArray d = sim.receive("D", ms);
            const QByteArray a = sim.receive("A", ms);
            ASSERT_EQ(a.size(), 7);
            // Value at a voltage on the line through the two calibration points.
            auto valueAt = [&](int at, int sensor) {
                const double v = word(a, 2 + 2 * sensor) / 4096.0 * 2.0 * 100.0;
                const double x1 = setupByte(setup, at), c1 = setupByte(setup, at + 1);
                const double x2 = setupByte(setup, at + 2), c2 = setupByte(setup, at + 3);
                return x1 + (v - c1) * (x2 - x1) / (c2 - c1);
            };
            EXPECT_NEAR(valueAt(offset::engineTempCal1Temp, 0), quint8(d.at(6)), 0.5) << ms;
            EXPECT_NEAR(valueAt(offset::airTempCal1Temp, 1), quint8(d.at(7)), 0.5) << ms;
            EXPECT_NEAR(valueAt(offset::throttleCal1Percent, 2), quint8(d.at(5)), 0.5) << ms;
        }
    }
}

TEST(KvtSimulatorEngine, SpeedAndThrottleSweep)
{
    KvtSimulator sim;
    int low = 100000, high = 0;
    for (int ms = 2000; ms < 32000; ms += 250) {
        const int rpm = word(sim.receive("D", ms), 2);
        low = std::min(low, rpm);
        high = std::max(high, rpm);
    }
    EXPECT_LT(low, 2000);
    EXPECT_GT(high, 8000);
}

TEST(KvtSimulatorEngine, EmergencyProgramCanBeSwitchedOn)
{
    KvtSimulator sim;
    EXPECT_EQ(sim.receive("D", 5000).at(43), 0);
    sim.setEmergency(true);
    const QByteArray d = sim.receive("D", 5000);
    EXPECT_EQ(d.at(43), 1);
    EXPECT_EQ(quint8(d.at(9)), setupByte(sim.setup(), offset::limpTiming) - 30 + 50);
}

TEST(KvtSimulatorEngine, FrozenFrameIsAnsweredExactly)
{
    KvtSimulator sim;
    LiveFrame f;
    f.rpm = 12345;
    f.timeStamp = 0x01020304;
    sim.setFrozenFrame(f);
    EXPECT_EQ(sim.receive("D", 777), f.encode());
    sim.setFrozenFrame(std::nullopt);
    EXPECT_NE(sim.receive("D", 777), f.encode());
}

TEST(KvtSimulatorFaults, EachFaultShapesTheReply)
{
    KvtSimulator sim;
    sim.setFault({Fault::Silence, 0, -1});
    EXPECT_TRUE(sim.receive("I", 0).isEmpty());
    sim.setFault({Fault::WrongLetter, 0, -1});
    EXPECT_NE(sim.receive("I", 0).at(0), 'i');
    sim.setFault({Fault::ShortReply, 0, -1});
    EXPECT_EQ(sim.receive("I", 0).size(), 23);
    sim.setFault({Fault::LongReply, 0, -1});
    EXPECT_EQ(sim.receive("I", 0).size(), 25);
    sim.clearFault();
    EXPECT_EQ(sim.receive("I", 0).size(), 24);
}

TEST(KvtSimulatorFaults, LimitedToOneCommandAndCount)
{
    KvtSimulator sim;
    sim.setFault({Fault::Silence, 'D', 2});
    EXPECT_EQ(sim.receive("I", 0).size(), 24);
    EXPECT_TRUE(sim.receive("D", 0).isEmpty());
    EXPECT_TRUE(sim.receive("D", 0).isEmpty());
    EXPECT_EQ(sim.receive("D", 0).size(), 45);
    EXPECT_EQ(sim.fault().fault, Fault::None);
}

QByteArray frame(int n, char fill)
{
    QByteArray f = bytes({0x01, n & 0xFF, (n + 1) & 0xFF});
    f += QByteArray(128, fill);
    quint8 sum = 0;
    for (char c : f)
        sum = quint8(sum + quint8(c));
    f.append(char(sum));
    return f;
}

TEST(KvtSimulatorBootLoader, FramesAreAcknowledgedAndTheEndRestarts)
{
    KvtSimulator sim;
    const quint16 restarts = sim.restartCount();
    EXPECT_TRUE(sim.receive("U", 0).isEmpty());
    EXPECT_TRUE(sim.inBootLoader());
    EXPECT_EQ(sim.receive(bytes({0x7B}), 0), bytes({0x7B}));
    EXPECT_EQ(sim.receive(bytes({0x00}), 0), bytes({0x15}));
    EXPECT_EQ(sim.receive(frame(1, 'a'), 0), bytes({0x06}));
    QByteArray bad = frame(2, 'b');
    bad[50] = 'c';  // checksum no longer matches
    EXPECT_EQ(sim.receive(bad, 0), bytes({0x15}));
    EXPECT_EQ(sim.receive(frame(2, 'b'), 0), bytes({0x06}));
    EXPECT_EQ(sim.bootFramesAccepted(), 2);
    EXPECT_TRUE(sim.receive(bytes({0x04}), 0).isEmpty());
    EXPECT_FALSE(sim.inBootLoader());
    EXPECT_EQ(sim.restartCount(), restarts + 1);
    EXPECT_EQ(sim.receive("I", 0).size(), 24);
}

TEST(KvtSimulatorBootLoader, CancelReturnsToTheFirmware)
{
    KvtSimulator sim;
    sim.receive("U", 0);
    sim.receive(bytes({0x18}), 0);
    EXPECT_FALSE(sim.inBootLoader());
}

}  // namespace
