// Text entry rules: typed text to stored value, limits and display, as the input fields use them.
#include "setup/EntryRules.h"

#include <gtest/gtest.h>

namespace {

struct EntryCase {
    const char* field;
    const char* typed;
    int stored;
    const char* shown;
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << c.field << " <- '" << c.typed << "'";
}

class EntryRule : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryRule, TypedTextIsConvertedLimitedAndShownAsStored)
{
    const EntryCase& c = GetParam();
    const setup::FieldDescriptor* field = setup::findField(QString::fromLatin1(c.field));
    ASSERT_NE(field, nullptr) << c.field;
    const int stored = setup::entryValue(*field, QString::fromUtf8(c.typed));
    EXPECT_EQ(stored, c.stored) << c.field << " <- '" << c.typed << "'";
    EXPECT_EQ(setup::displayText(field->encoding, stored), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, EntryRule,
    ::testing::Values(
        EntryCase{"cylinderOffset12", "999", 180, "180"},
        EntryCase{"cylinderOffset12", "-5", 0, "0"},
        EntryCase{"cylinderOffset12", "  +45", 45, "45"},
        EntryCase{"cylinderOffset12", "45abc", 45, "45"},
        EntryCase{"cylinderOffset12", "12.7", 12, "12"}, EntryCase{"sensorAngle", "abc", 10, "10"},
        EntryCase{"sensorAngle", "", 10, "10"},
        EntryCase{"triggerTeeth", "99999999999999999999999999", 60, "60"},
        EntryCase{"limpMinEngineTemp", "20", 70, "50"},
        EntryCase{"limpMinEngineTemp", "150", 170, "150"}, EntryCase{"limpTiming", "-30", 0, "-30"},
        EntryCase{"limpTiming", "12", 42, "12"}, EntryCase{"coilChargeTime", "100", 1, "250"},
        EntryCase{"coilChargeTime", "9000", 32, "8000"},
        EntryCase{"coilChargeTime", "1100", 4, "1000"},
        EntryCase{"quickStartSpeed", "219", 10, "200"},
        EntryCase{"limiterHysteresis", "5000", 50, "1000"},
        EntryCase{"dynamicSpeed1", "1550", 15, "1500"},
        EntryCase{"limiterSpeed", "-100", 10, "1000"},
        EntryCase{"engineTempCal1Volt", "1,5", 100, "1.00"},
        EntryCase{"engineTempCal1Volt", "1.5", 150, "1.50"},
        EntryCase{"engineTempCal1Volt", "1.675", 168, "1.68"},
        EntryCase{"engineTempCal1Volt", "1.665", 166, "1.66"},
        EntryCase{"engineTempCal1Volt", "1.6651", 167, "1.67"},
        EntryCase{"engineTempCal1Volt", ".05", 5, "0.05"},
        EntryCase{"engineTempCal1Volt", "9", 255, "2.55"},
        EntryCase{"engineTempCal1Temp", "-20", 0, "-20"},
        EntryCase{"engineTempCal2Temp", "125", 140, "120"},
        EntryCase{"dynamicFactor1", "2.5", 2, "2"}, EntryCase{"dynamicFactor1", "3.5", 4, "4"},
        EntryCase{"dynamicFactor1", "2.51", 3, "3"}, EntryCase{"dynamicFactor1", "0.4", 1, "1"},
        EntryCase{"lambdaTarget", "0.7509", 750, "0.750"},
        EntryCase{"lambdaTarget", "2", 1500, "1.500"},
        EntryCase{"airTempCorrection", "100", 15, "100"},
        EntryCase{"airTempCorrection", "50", 0, "85"},
        EntryCase{"injectorDeadTime", "5000", 4000, "4000"},
        EntryCase{"startInjectionTime", "10001", 10000, "10000"}));

TEST(EntryHelpers, ScaledDecimalIsExactAndRoundsHalvesToEven)
{
    using setup::Rounding;
    EXPECT_EQ(setup::scaledDecimal(u"0.125", 2, Rounding::HalfEven), 12);
    EXPECT_EQ(setup::scaledDecimal(u"0.135", 2, Rounding::HalfEven), 14);
    EXPECT_EQ(setup::scaledDecimal(u"-0.135", 2, Rounding::HalfEven), -14);
    EXPECT_EQ(setup::scaledDecimal(u"0.1359", 2, Rounding::Truncate), 13);
    EXPECT_EQ(setup::scaledDecimal(u"7", 3, Rounding::Truncate), 7000);
    EXPECT_EQ(setup::scaledDecimal(u"-", 0, Rounding::Truncate), 0);
    EXPECT_EQ(setup::scaledDecimal(u"1e5", 0, Rounding::Truncate), 1);
    EXPECT_EQ(setup::roundHalfEven(2.5), 2);
    EXPECT_EQ(setup::roundHalfEven(-2.5), -2);
    EXPECT_EQ(setup::roundHalfEven(3.5), 4);
    EXPECT_EQ(setup::roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(setup::floorDivide(-50, 100), -1);
    EXPECT_EQ(setup::floorDivide(199, 100), 1);
}

TEST(EntryHelpers, OutputSpeedsEnteredTheWrongWayRoundAreSwapped)
{
    setup::SetupRecord record;
    record.output1Speed1 =
        static_cast<quint8>(setup::entryValue(*setup::findField(u"output1Speed1"), u"7000"));
    record.output1Speed2 =
        static_cast<quint8>(setup::entryValue(*setup::findField(u"output1Speed2"), u"3000"));
    record.output2Speed1 = 5;
    record.output2Speed2 = 9;
    setup::orderOutputSpeeds(record);
    EXPECT_EQ(record.output1Speed1, 30);
    EXPECT_EQ(record.output1Speed2, 70);
    EXPECT_EQ(record.output2Speed1, 5);
    EXPECT_EQ(record.output2Speed2, 9);
}

TEST(EntryHelpers, UnitsAndEngineeringValues)
{
    EXPECT_EQ(setup::unitText(setup::Encoding::Rpm100), QStringLiteral("Umin"));
    EXPECT_EQ(setup::unitText(setup::Encoding::Temp20), QStringLiteral("°C"));
    EXPECT_EQ(setup::unitText(setup::Encoding::PerMille), QStringLiteral("°/oo"));
    EXPECT_TRUE(setup::unitText(setup::Encoding::Count).isEmpty());
    EXPECT_DOUBLE_EQ(setup::engineeringValue(setup::Encoding::Correction, 15), 100.0);
    EXPECT_DOUBLE_EQ(setup::engineeringValue(setup::Encoding::CentiVolt, 255), 2.55);
    EXPECT_DOUBLE_EQ(setup::engineeringValue(setup::Encoding::Rpm20, 10), 200.0);
}

}  // namespace
