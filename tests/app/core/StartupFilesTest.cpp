// Start sound length, the unplanned-error report and the logger table's allocation.
#include "app/core/UnplannedError.h"
#include "app/core/WavFile.h"
#include "logger/LogTable.h"
#include "support/FakeDialogs.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray wav(quint32 byteRate, quint32 dataBytes, quint32 claimedBytes = 0)
{
    QByteArray b = "RIFF____WAVEfmt ";
    auto u32 = [&](quint32 v) {
        char x[4];
        qToLittleEndian(v, x);
        b.append(x, 4);
    };
    auto u16 = [&](quint16 v) {
        char x[2];
        qToLittleEndian(v, x);
        b.append(x, 2);
    };
    u32(16);
    u16(1);
    u16(1);
    u32(byteRate / 2);
    u32(byteRate);
    u16(2);
    u16(16);
    b.append("data");
    u32(claimedBytes ? claimedBytes : dataBytes);
    b.append(QByteArray(int(dataBytes), '\0'));
    return b;
}

TEST(StartSound, DurationFromHeaderAndCap)
{
    EXPECT_EQ(app::wavDurationMs(wav(16000, 8000)), 500);
    EXPECT_EQ(app::startWindowDuration(app::wavDurationMs(wav(16000, 80000))), 2000);  // 5 s sound
    EXPECT_EQ(app::startWindowDuration(app::wavDurationMs(wav(16000, 8000))), 500);
    EXPECT_EQ(app::startWindowDuration(0), 1000);
}

TEST(StartSound, DamagedFilesGiveNoLength)
{
    EXPECT_EQ(app::wavDurationMs(QByteArray()), 0);
    EXPECT_EQ(app::wavDurationMs("RIFF____WAVE"), 0);
    EXPECT_EQ(app::wavDurationMs(wav(0, 100)), 0);
    EXPECT_EQ(app::wavDurationMs(QByteArray(100, 'x')), 0);
    // A header that claims far more data than is present counts only what is there.
    EXPECT_EQ(app::wavDurationMs(wav(16000, 1600, 0xFFFFFFF0u)), 100);
    // Truncated inside the format chunk.
    EXPECT_EQ(app::wavDurationMs(wav(16000, 1600).left(30)), 0);
}

TEST(UnplannedError, BoxAndLogLines)
{
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    QStringList shown;
    log.setStatusSink([&](const QString& t) { shown << t; });
    app::reportUnplannedError(dialogs, log, "Division durch Null", "1234");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Oops...");
    EXPECT_EQ(
        dialogs.calls[0].text,
        QString::fromUtf8("Der folgende (ungeplante) Fehler trat auf: \r\rDivision durch Null\rin "
                          "Zeile 1234\r\rMotrix wird jetzt unplanmäßig beendet."));
    EXPECT_EQ(shown, QStringList({"*** ERROR: Division durch Null (Zeile 1234 )",
                                  "KVT beenden ... Tschuess..."}));
}

TEST(LogTable, FailedResizeKeepsTheOldTable)
{
    logger::LogTable table;
    ASSERT_TRUE(table.resize(101));
    table.setValue(100, 18, 4.5f);
    logger::LogTable::setAllocationLimit(1000 * logger::LogTable::columns * 4);
    EXPECT_FALSE(table.resize(5000));
    EXPECT_EQ(table.rows(), 101);
    EXPECT_EQ(table.value(100, 18), 4.5f);
    logger::LogTable::setAllocationLimit(0);
    ASSERT_TRUE(table.resize(3601));
    EXPECT_EQ(table.value(100, 18), 4.5f);
    EXPECT_EQ(table.value(3600, 0), 0.0f);
    EXPECT_FALSE(table.resize(0));
}

}  // namespace
