// The commands without a reply: letters, pauses and byte orders.
#include "FakeLinkFixture.h"

using namespace devlink;
using linktest::FakeLinkTest;

namespace {

class CommandsTest : public FakeLinkTest {
protected:
    void SetUp() override
    {
        connectIdentified();
        line->written.clear();
        slept = clock.slept;
    }
    qint64 pauses() const { return clock.slept - slept; }
    qint64 slept = 0;
};

TEST_F(CommandsTest, SetValueRoundsAndPauses)
{
    link.sendSetValue(7, 59.5);
    EXPECT_EQ(line->written, QByteArray("W\x07\x3C", 3));  // 59.5 to the even 60
    EXPECT_EQ(pauses(), 20);
    link.sendSetValue(6, 300);
    EXPECT_EQ(line->written.right(2), QByteArray("\x06\xFF", 2));
}

TEST_F(CommandsTest, SetValueOnlyWhileIdentified)
{
    devlink::LinkTestAccess::setIdentified(link, false);
    link.sendSetValue(8, 1);
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(CommandsTest, SpecialFunctions)
{
    link.sendCalibrationByte(0x80);
    const qsizetype mark = messages.lines.size();
    link.eraseEeprom();
    EXPECT_EQ(line->written, QByteArray("X\x04\x80X\x03", 5));
    EXPECT_EQ(pauses(), 40 + 20);
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("EEPROM loeschen")});
}

TEST_F(CommandsTest, TestOutputHighByteFirst)
{
    link.switchOutput(7, 0x1F40);
    link.restartKvt();
    EXPECT_EQ(line->written, QByteArray("V\x07\x1F\x40N", 5));
}

TEST_F(CommandsTest, LambdaTableReadAndClear)
{
    answerWith([](char c) {
        if (c != '\x01')
            return QByteArray();
        QByteArray r(920, '\x02');
        r[0] = 'b';
        return r;
    });
    const auto table = link.readLambdaTable(true);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->size(), 919);
    EXPECT_EQ(pauses(), 200);
    link.clearLambdaTable(false);
    EXPECT_EQ(line->written, QByteArray("B\x01"
                                        "C\x00",
                                        4));
}

TEST_F(CommandsTest, LambdaTableFailsOnAnotherLetter)
{
    answerWith([](char c) { return c == '\x00' ? QByteArray(920, 'x') : QByteArray(); });
    EXPECT_FALSE(link.readLambdaTable(false).has_value());
}

TEST_F(CommandsTest, BootLoaderStartPauses)
{
    link.startBootLoader();
    EXPECT_EQ(line->written, QByteArray("U"));
    EXPECT_EQ(pauses(), 200);
}

}  // namespace
