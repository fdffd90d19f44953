// Decoding of the "I", "G" and "A" replies after their letter.
#include "link/ReplyCodec.h"

#include <gtest/gtest.h>

using namespace devlink;

TEST(ReplyCodec, IdentityOneCharacterPerByte)
{
    // Bytes above 127 stand for the character of the same code, not for UTF-8.
    QByteArray data(
        "KVT 3Zyl-Sim"
        "2.1"
        "4\xB0"
        "7"
        "1.3");
    data.append(char(0x01));
    data.append(char(0xF2));
    ASSERT_EQ(data.size(), identityReplyLength - 1);
    const auto id = decodeIdentityReply(data);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->deviceType, QStringLiteral("KVT 3Zyl-Sim"));
    EXPECT_EQ(id->hw, QStringLiteral("2.1"));
    EXPECT_EQ(id->sw, QStringLiteral("4") + QChar(0xB0) + QStringLiteral("7"));
    EXPECT_EQ(id->bl, QStringLiteral("1.3"));
    EXPECT_EQ(id->restartCount, 0x01F2);
}

TEST(ReplyCodec, LearnedMapRowsOfSeventeenLowByteFirst)
{
    QByteArray data(learnedMapBytes, '\0');
    // Row 2 (third throttle row), column 5: bytes 2 × 34 + 5 × 2.
    data[2 * 34 + 10] = char(0x34);
    data[2 * 34 + 11] = char(0x12);
    data[learnedMapBytes - 1] = char(0xFF);
    const auto map = decodeLearnedMap(data);
    ASSERT_TRUE(map);
    EXPECT_EQ((*map)[2 * 17 + 5], 0x1234);
    EXPECT_EQ((*map)[152], 0xFF00);
}

TEST(ReplyCodec, SensorVoltagesOfTwelveBitsAtTwoVolts)
{
    const QByteArray data = QByteArray::fromHex("000008000FFF");
    const auto volts = decodeSensorVoltages(data);
    ASSERT_TRUE(volts);
    EXPECT_DOUBLE_EQ((*volts)[0], 0.0);
    EXPECT_DOUBLE_EQ((*volts)[1], 1.0);
    EXPECT_DOUBLE_EQ((*volts)[2], 4095 / 2048.0);
}

TEST(ReplyCodec, ShortRepliesDecodeToNothing)
{
    EXPECT_FALSE(decodeIdentityReply(QByteArray(identityReplyLength - 2, 'x')));
    EXPECT_FALSE(decodeLearnedMap(QByteArray(learnedMapBytes - 1, 'x')));
    EXPECT_FALSE(decodeSensorVoltages(QByteArray(5, 'x')));
    EXPECT_FALSE(decodeSensorVoltages(QByteArray()));
}
