// The device commands: letters, pauses and byte orders, and the "B" reply.
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
    link.commands().sendSetValue(7, 59.5);
    EXPECT_EQ(line->written, QByteArray("W\x07\x3C", 3));  // 59.5 to the even 60
    EXPECT_EQ(pauses(), 20);
    link.commands().sendSetValue(6, 300);
    EXPECT_EQ(line->written.right(2), QByteArray("\x06\xFF", 2));
}

TEST_F(CommandsTest, SetValueOnlyWhileIdentified)
{
    devlink::LinkTestAccess::setIdentified(link, false);
    link.commands().sendSetValue(8, 1);
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(CommandsTest, SpecialFunctions)
{
    link.commands().sendCalibrationByte(0x80);
    const qsizetype mark = messages.lines.size();
    link.commands().eraseEeprom();
    EXPECT_EQ(line->written, QByteArray("X\x04\x80X\x03", 5));
    EXPECT_EQ(pauses(), 40 + 20);
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("EEPROM loeschen")});
}

TEST_F(CommandsTest, TestOutputHighByteFirst)
{
    link.commands().switchOutput(7, 0x1F40);
    link.commands().restartKvt();
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
    const auto table = link.commands().readLambdaTable(true);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->size(), 919);
    EXPECT_EQ(pauses(), 200);
    link.commands().clearLambdaTable(false);
    EXPECT_EQ(line->written, QByteArray("B\x01"
                                        "C\x00",
                                        4));
}

TEST_F(CommandsTest, LambdaTableFailsOnAnotherLetterOrAShortReply)
{
    QByteArray shortReply(919, '\x02');
    shortReply[0] = 'b';
    for (const QByteArray& reply : {QByteArray(920, 'x'), shortReply}) {
        answerWith([reply](char c) { return c == '\x00' ? reply : QByteArray(); });
        EXPECT_FALSE(link.commands().readLambdaTable(false).has_value());
        line->input.clear();
    }
}

TEST_F(CommandsTest, BootLoaderStartPauses)
{
    link.commands().startBootLoader();
    EXPECT_EQ(line->written, QByteArray("U"));
    EXPECT_EQ(pauses(), 200);
}

}  // namespace
