// Setup block and file form: every entry at its offset, round trips and the field table.
#include "setup/SetupBlock.h"
#include "setup/SetupFields.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using setup::SetupRecord;

// A record whose every value differs from its neighbours, so a field written at a wrong
// offset cannot go unnoticed.
SetupRecord distinctRecord()
{
    SetupRecord r;
    r.cylinderOffset12 = 101;
    r.cylinderOffset23 = 102;
    r.engineTempCal1Temp = 103;
    r.engineTempCal1Volt = 104;
    r.engineTempCal2Temp = 105;
    r.engineTempCal2Volt = 106;
    r.airTempCal1Temp = 107;
    r.airTempCal1Volt = 108;
    r.airTempCal2Temp = 109;
    r.airTempCal2Volt = 110;
    r.throttleCal1Percent = 111;
    r.throttleCal1Volt = 112;
    r.throttleCal2Percent = 113;
    r.throttleCal2Volt = 114;
    r.coilChargeTime = 115;
    r.coilDriver = 116;
    r.sensorAngle = 117;
    r.triggerTeeth = 118;
    r.injectionStartAngle = 119;
    r.startInjectionTime = 0xA1B2;
    r.startInjectionRevs = 120;
    r.quickStartSpeed = 121;
    r.limiterSpeed = 122;
    r.limiterRetard = 123;
    r.output1Speed1 = 124;
    r.output2Speed1 = 125;
    r.injectionExtension = {126, 127, 128};
    r.injectorBalance = {0x0102, 0x0304, 0x0506};
    for (int i = 0; i < 17; ++i) {
        r.airTempCorrection[i] = static_cast<quint8>(i + 1);
        r.engineTempCorrection[i] = static_cast<quint8>(200 + i);
    }
    for (int i = 0; i < 153; ++i) {
        r.ignitionMap[i] = static_cast<quint8>(i);
        r.injectionMap[i] = static_cast<quint16>(0x8000 + i * 7);
    }
    r.triggerEdge = 1;
    r.tachoPulses = 2;
    r.limiterHysteresis = 3;
    r.dynamicFactor1 = 4;
    r.dynamicFactor2 = 5;
    r.dynamicSpeed1 = 6;
    r.dynamicSpeed2 = 7;
    r.timingStep = 8;
    r.learnActive = 9;
    r.learnMinEngineTemp = 10;
    r.learnSpeedLow = 11;
    r.learnSpeedHigh = 12;
    r.learnThrottleLow = 13;
    r.learnThrottleHigh = 14;
    r.lambdaTarget = 0xC3D4;
    r.learnLambdaInputs = 15;
    r.learnRate = 16;
    r.output1Mode = 17;
    r.output2Mode = 18;
    r.input1Mode = 19;
    r.input2Mode = 20;
    r.input3Mode = 21;
    r.output1Speed2 = 22;
    r.output2Speed2 = 23;
    r.triggerGaps = 24;
    r.learnIncrement = 0xE5F6;
    r.sensorDamping = 25;
    r.injectorDeadTime = {0x1112, 0x1314, 0x1516};
    r.ignitionOffSpeed = 26;
    r.startInjectionAdd = 27;
    r.startInjectionOff = 28;
    r.lambdaLogging = 29;
    r.limpMinEngineTemp = 30;
    r.limpIgnitionOffSpeed = 31;
    r.limpTiming = 32;
    r.limpEnrichment = 33;
    r.overrunCutoff = 34;
    r.overrunMinEngineTemp = 35;
    r.overrunThrottleMax = 36;
    r.overrunInjectionShare = 37;
    r.overrunMinSpeed = 38;
    r.ignitionMapEnabled = 39;
    return r;
}

// The block of distinctRecord(), laid out by hand from the KVT's documented offsets.
QByteArray handBuiltBlock()
{
    QByteArray b(578, '\x55');
    const auto putB = [&b](int off, int v) { b[off] = static_cast<char>(v); };
    const auto putW = [&b](int off, int v) {
        b[off] = static_cast<char>(v & 0xFF);
        b[off + 1] = static_cast<char>(v >> 8);
    };
    for (int off = 0; off <= 13; ++off)
        putB(off, 101 + off);
    putB(14, 115);
    putB(15, 116);
    putB(16, 117);
    putB(17, 118);
    putB(18, 119);
    putW(19, 0xA1B2);
    putB(21, 120);
    putB(22, 121);
    putB(23, 122);
    putB(24, 123);
    putB(25, 124);
    putB(26, 125);
    putB(27, 126);
    putB(28, 127);
    putB(29, 128);
    putW(30, 0x0102);
    putW(32, 0x0304);
    putW(34, 0x0506);
    for (int i = 0; i < 17; ++i) {
        putB(36 + i, i + 1);
        putB(512 + i, 200 + i);
    }
    for (int i = 0; i < 153; ++i) {
        putB(53 + i, i);
        putW(206 + 2 * i, 0x8000 + i * 7);
    }
    for (int off = 529; off <= 542; ++off)
        putB(off, off - 528);
    putW(543, 0xC3D4);
    for (int off = 545; off <= 554; ++off)
        putB(off, off - 530);
    putW(555, 0xE5F6);
    putB(557, 25);
    putW(558, 0x1112);
    putW(560, 0x1314);
    putW(562, 0x1516);
    for (int off = 564; off <= 577; ++off)
        putB(off, off - 538);
    return b;
}

TEST(SetupBlock, DefaultBlockIs578BytesAndFileForm572)
{
    EXPECT_EQ(setup::encodeSetupBlock(setup::defaultSetupRecord()).size(), 578);
    EXPECT_EQ(setup::encodeSetupFileForm(setup::defaultSetupRecord()).size(), 572);
}

TEST(SetupBlock, EveryEntryLiesAtItsDocumentedOffset)
{
    const QByteArray expected = handBuiltBlock();
    const QByteArray actual = setup::encodeSetupBlock(distinctRecord());
    ASSERT_EQ(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(quint8(actual[i]), quint8(expected[i])) << "block offset " << i;
    EXPECT_EQ(setup::decodeSetupBlock(expected), distinctRecord());
}

TEST(SetupBlock, FileFormIsTheBlockWithoutTheDeadTimes)
{
    QByteArray expected = handBuiltBlock();
    expected.remove(558, 6);
    EXPECT_EQ(setup::encodeSetupFileForm(distinctRecord()), expected);

    SetupRecord decoded;
    decoded.injectorDeadTime = {1, 2, 3};
    setup::decodeSetupFileForm(expected, decoded);
    SetupRecord want = distinctRecord();
    want.injectorDeadTime = {1, 2, 3};
    EXPECT_EQ(decoded, want);
}

TEST(SetupBlock, RandomRecordsSurviveTheRoundTrip)
{
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        SetupRecord record;
        for (const setup::FieldDescriptor& field : setup::setupFields())
            for (int i = 0; i < field.count; ++i)
                field.set(record, i,
                          static_cast<int>(
                              random.bounded(field.width == setup::Width::Word ? 65536 : 256)));
        EXPECT_EQ(setup::decodeSetupBlock(setup::encodeSetupBlock(record)), record);
        SetupRecord fromFile;
        fromFile.injectorDeadTime = record.injectorDeadTime;
        setup::decodeSetupFileForm(setup::encodeSetupFileForm(record), fromFile);
        EXPECT_EQ(fromFile, record);
    }
}

TEST(SetupBlock, ShortDataReadsMissingBytesAsZeroAndSurplusIsIgnored)
{
    const QByteArray full = handBuiltBlock();
    const SetupRecord shortRecord = setup::decodeSetupBlock(full.left(572));
    EXPECT_EQ(shortRecord.sensorDamping, 25);
    EXPECT_EQ(shortRecord.injectorDeadTime[0], 0x1112);
    EXPECT_EQ(shortRecord.limpEnrichment, 33);  // offset 571, the last byte present
    EXPECT_EQ(shortRecord.overrunCutoff, 0);
    EXPECT_EQ(shortRecord.ignitionMapEnabled, 0);
    EXPECT_EQ(setup::decodeSetupBlock(full + QByteArray(100, '\xFF')), distinctRecord());
    const SetupRecord empty = setup::decodeSetupBlock(QByteArray());
    EXPECT_EQ(empty, setup::decodeSetupBlock(QByteArray(578, '\0')));
    EXPECT_EQ(empty.triggerTeeth, 0);
}

TEST(SetupFields, TableIsContiguousNumberedAndMatchesTheDefaults)
{
    int expectedOffset = 0;
    int expectedNumber = 1;
    const SetupRecord defaults = setup::defaultSetupRecord();
    for (const setup::FieldDescriptor& field : setup::setupFields()) {
        EXPECT_EQ(field.blockOffset, expectedOffset) << field.name;
        expectedOffset += field.bytes();
        if (field.inFile()) {
            EXPECT_EQ(field.number, expectedNumber++) << field.name;
        }
        for (int i = 0; i < field.count; ++i)
            EXPECT_EQ(field.get(defaults, i), field.defaultValue) << field.name;
        EXPECT_LE(field.minimum, field.maximum) << field.name;
        EXPECT_FALSE(field.germanLabel().isEmpty()) << field.name;
    }
    EXPECT_EQ(expectedOffset, 578);
    EXPECT_EQ(expectedNumber, 74);
    ASSERT_NE(setup::findField(u"limpTiming"), nullptr);
    EXPECT_EQ(setup::findField(u"limpTiming")->fileOffset(), 564);
    EXPECT_EQ(setup::findField(u"nonsense"), nullptr);
    // Named by the member: scalars and per-cylinder arrays reach their own entries.
    EXPECT_EQ(&setup::fieldOf<&SetupRecord::limpTiming>(), setup::findField(u"limpTiming"));
    EXPECT_EQ(&setup::fieldOf<&SetupRecord::injectorDeadTime>(),
              setup::findField(u"injectorDeadTime"));
    EXPECT_EQ(&setup::fieldOf<&SetupRecord::lambdaTarget>(), setup::findField(u"lambdaTarget"));
}

TEST(SetupRecordCells, MapsRunRowByRowOverThrottle)
{
    SetupRecord record;
    record.setInjectionCell(3, 2, 4321);
    record.setIgnitionCell(16, 8, 42);
    EXPECT_EQ(record.injectionMap[2 * 17 + 3], 4321);
    EXPECT_EQ(record.ignitionMap[152], 42);
    const QByteArray block = setup::encodeSetupBlock(record);
    EXPECT_EQ(quint8(block[206 + 2 * 37]), 4321 & 0xFF);
    EXPECT_EQ(quint8(block[206 + 2 * 37 + 1]), 4321 >> 8);
    EXPECT_EQ(quint8(block[53 + 152]), 42);
    record.setAirTempCell(16, 150);
    record.setEngineTempCell(0, 7);
    EXPECT_EQ(record.airTempCorrection[16], 150);
    EXPECT_EQ(record.engineTempCell(0), 7);
    // Outside the axes nothing is written and 0 is read.
    record.setInjectionCell(17, 0, 1);
    record.setIgnitionCell(0, -1, 1);
    record.setAirTempCell(17, 1);
    EXPECT_EQ(record.injectionCell(17, 0), 0);
    EXPECT_EQ(record.airTempCell(-1), 0);
}

TEST(SetupRecordCells, DisabledIgnitionMapShowsRowZeroButKeepsAllRows)
{
    SetupRecord record;
    for (int t = 0; t < 9; ++t)
        record.setIgnitionCell(5, t, static_cast<quint8>(10 + t));
    record.ignitionMapEnabled = 1;
    EXPECT_EQ(record.ignitionCellInUse(5, 4), 14);
    record.ignitionMapEnabled = 0;
    EXPECT_EQ(record.ignitionCellInUse(5, 4), 10);
    EXPECT_EQ(record.ignitionCell(5, 8), 18);
    const SetupRecord back = setup::decodeSetupBlock(setup::encodeSetupBlock(record));
    EXPECT_EQ(back.ignitionMap, record.ignitionMap);
    // A stray switch value from a file still selects a row on the map.
    record.ignitionMapEnabled = 200;
    EXPECT_EQ(record.ignitionCellInUse(5, 8), 18);
}

}  // namespace
