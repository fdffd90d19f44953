// The big display's rules: needle, rounding, judgements, texts, sizing, red rules, the notice.
#include "display/BigDisplayRules.h"

#include <gtest/gtest.h>

using namespace display;

namespace {

TEST(BigDisplayNeedle, LimitedBetween45And315)
{
    EXPECT_DOUBLE_EQ(needleAngle(0, 8000), 315);
    EXPECT_DOUBLE_EQ(needleAngle(8800, 8000), 45);   // exactly 1.1 × G
    EXPECT_DOUBLE_EQ(needleAngle(12000, 8000), 45);  // above: stays
    EXPECT_DOUBLE_EQ(needleAngle(4400, 8000), 180);
    EXPECT_DOUBLE_EQ(needleAngle(-50, 8000), 315);
    EXPECT_TRUE(std::isfinite(needleAngle(100, 0)));
    // Angle 0 points straight down from the centre, 90 to the right.
    EXPECT_NEAR(dialPoint(10, 0).y(), 150, 1e-9);
    EXPECT_NEAR(dialPoint(10, 90).x(), 180, 1e-9);
    EXPECT_DOUBLE_EQ(figureAngle(8, 8000), 70);
    EXPECT_EQ(dialFigures(500), 1);
}

TEST(BigDisplayNumbers, RoundingStepTruncates)
{
    EXPECT_EQ(shownSpeed(3456, 100), 3400);
    EXPECT_EQ(shownSpeed(3456, 1), 3456);
    EXPECT_EQ(shownSpeed(3456, 0), 3456);
}

TEST(BigDisplayJudgement, ThresholdsAndOutOfRange)
{
    struct Case {
        double mv;
        const char* text;
        bool red;
    };
    const Case cases[] = {{1600, "-?-", true}, {-1, "-?-", true},  {200, "--", false},
                          {300, "-", false},   {500, "", false},   {700, "+", false},
                          {1500, "++", false}, {1501, "-?-", true}};
    for (const Case& c : cases) {
        const Judgement j = lambdaJudgement(c.mv, 800, 600, 400, 200);
        EXPECT_EQ(j.text, QString::fromLatin1(c.text)) << c.mv;
        EXPECT_EQ(j.red, c.red) << c.mv;
    }
}

TEST(BigDisplayTexts, ModeTexts)
{
    EXPECT_EQ(output2Text(1, 35, 60), "(Umin > 3500)");
    EXPECT_EQ(output2Text(2, 35, 60), "(3500 < Umin < 6000)");
    EXPECT_EQ(output2Text(3, 35, 60), "(KVT lernt...)");
    EXPECT_EQ(output1Text(3, 35, 60), "");
    EXPECT_EQ(output1Text(1, 20, 60), "(Umin > 2000)");
    EXPECT_EQ(input2Text(1), "(Begrenzer AUS)");
    EXPECT_EQ(input3Text(1), "(Lern-Modus: EEPROM)");
    EXPECT_EQ(input3Text(2), "");
}

TEST(BigDisplaySize, FourToThreeWithMinimum)
{
    EXPECT_EQ(fitFourToThree({1000, 500}), QSize(664, 500));
    EXPECT_EQ(fitFourToThree({400, 900}), QSize(400, 300));
    EXPECT_EQ(fitFourToThree({640, 480}), QSize(640, 480));
    EXPECT_EQ(fitFourToThree({100, 100}), QSize(160, 120));
}

TEST(BigDisplayRed, CoilAndInjection)
{
    // At 12000 rpm one revolution is 5000 µs; minus 1 ms leaves 3999 µs (integer micros).
    const Share coil = coilShare(20, 12000);  // 5000 µs wanted
    EXPECT_TRUE(coil.red);
    EXPECT_EQ(coil.shown, 3999);
    EXPECT_LT(coil.percent, 100);
    const Share calm = coilShare(8, 3000);
    EXPECT_FALSE(calm.red);
    EXPECT_EQ(calm.shown, 2000);
    EXPECT_EQ(calm.percent, 100);

    // 6000 rpm: 9998.3 µs per revolution, minus 1000 dead time, × 85 % → 7648.6 → 7649.
    const std::array<quint16, 3> dead{400, 1000, 700};
    EXPECT_FALSE(injectionShare(7649, 6000, dead, 85).red);
    EXPECT_TRUE(injectionShare(7650, 6000, dead, 85).red);
    EXPECT_EQ(injectionShare(3824, 6000, dead, 85).percent, 49);
}

TEST(BigDisplayClicks, BoundsExcluded)
{
    EXPECT_TRUE(hitsSensorErrorReset({530, 440}));
    EXPECT_FALSE(hitsSensorErrorReset({500, 440}));
    EXPECT_TRUE(hitsMaximumReset({500, 75}));
    EXPECT_FALSE(hitsMaximumReset({500, 85}));
}

TEST(EmergencyNotice, FollowsTheKvtAndFreesTheButtonWhenTheLinkIsLost)
{
    NoticeStep s = emergencyNoticeStep(true, 1, false);
    EXPECT_TRUE(s.shown);
    EXPECT_FALSE(s.closeButtonVisible);
    s = emergencyNoticeStep(true, 0, true);
    EXPECT_FALSE(s.shown);
    s = emergencyNoticeStep(false, 0, true);
    EXPECT_TRUE(s.shown);
    EXPECT_TRUE(s.closeButtonVisible);
    s = emergencyNoticeStep(false, 1, false);
    EXPECT_FALSE(s.shown);
}

}  // namespace
