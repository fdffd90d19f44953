// The big display, the lambda recording and the emergency notice in the whole program against
// the simulated KVT: the notice follows the KVT's emergency byte and offers its button after
// the link is lost; "Vitaldaten lesen" records with the lambda window hidden; the big display
// keeps 4 : 3 and its maximum follows the shown speed.
#include "support/MotrixOnSimulator.h"


#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct LiveDisplaysWithKvt : testsupport::MotrixOnSimulator {
    void SetUp() override
    {
        MotrixOnSimulator::SetUp();
        // The engine runs 3 s ahead so that it turns from the first poll on.
        engineAheadMs = 3000;
        app::ProgramSettings s = simulatorSettings();
        s.rpmRounding = 100;
        start(s);
    }
};

TEST_F(LiveDisplaysWithKvt, EmergencyNoticeFollowsTheKvtUntilTheLinkIsLost)
{
    QWidget& notice = motrix->emergencyNotice().window();
    tick();
    ASSERT_TRUE(motrix->link().identified());
    EXPECT_FALSE(notice.isVisible());
    kvt.setEmergency(true);
    tick();
    ASSERT_TRUE(notice.isVisible());
    EXPECT_FALSE(motrix->emergencyNotice().form().closeButton->isVisible());
    EXPECT_TRUE(notice.windowFlags() & Qt::WindowStaysOnTopHint);
    kvt.setEmergency(false);
    tick();
    EXPECT_FALSE(notice.isVisible());

    kvt.setEmergency(true);
    tick();
    ASSERT_TRUE(notice.isVisible());
    motrix->mainForm().comCheck->setChecked(false);  // the link goes
    tick();
    ASSERT_FALSE(motrix->link().identified());
    EXPECT_TRUE(notice.isVisible());
    EXPECT_TRUE(motrix->emergencyNotice().form().closeButton->isVisible());
    motrix->emergencyNotice().form().closeButton->click();
    EXPECT_FALSE(notice.isVisible());
}

TEST_F(LiveDisplaysWithKvt, LiveRecordingFillsTheTableWithTheWindowHidden)
{
    motrix->lambdaWindow().form().recordLive->setChecked(true);
    ASSERT_FALSE(motrix->lambdaWindow().shown());
    tick();
    ASSERT_TRUE(motrix->link().identified());
    const devlink::LiveRecord& r = motrix->link().liveRecord();
    ASSERT_GT(r.rpm, 0);
    const auto [i, j] = lambda::operatingPoint(r.rpmForMaps, r.throttle);
    EXPECT_EQ(motrix->lambdaLogger().table().at(i, j, 1), qRound(r.lambda[0]));
}

TEST_F(LiveDisplaysWithKvt, BigDisplayKeepsFourToThreeAndItsMaximumFollowsTheShownSpeed)
{
    forms::Window& w = motrix->windows()[app::WindowId::BigDisplay];
    motrix->mainForm().bigDisplayButton->click();
    ASSERT_TRUE(w.isVisible());
    w.resize(1000, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(664, 500));
    tick();
    const int rpm = motrix->link().liveRecord().rpm;
    ASSERT_GT(rpm, 0);
    EXPECT_EQ(motrix->bigDisplay().maximum(), rpm / 100 * 100);
    motrix->bigDisplay().clickAt({500, 75});
    EXPECT_EQ(motrix->bigDisplay().maximum(), 0);
}

}  // namespace

namespace {

// Screenshots for the documentation, taken only when MOTRIX_SCREENSHOTS names a folder and the
// program runs on a real (virtual) X display: xvfb-run -s '-screen 0 1600x1200x24'.
void shoot(QWidget& w, const QString& file)
{
    for (int n = 0; n < 20; ++n) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    const QRect g = w.frameGeometry();
    QProcess::execute(
        "import",
        {"-window", "root", "-crop",
         QString("%1x%2+%3+%4").arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y()), file});
}

TEST_F(LiveDisplaysWithKvt, Screenshots)
{
    const QString folder = qEnvironmentVariable("MOTRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "MOTRIX_SCREENSHOTS not set";
    motrix->settings().sliderDisplays = true;
    motrix->settings().showLearnLimits = true;
    motrix->setupRecord().output2Mode = 2;
    motrix->setupRecord().output2Speed1 = 35;
    motrix->setupRecord().output2Speed2 = 60;
    for (int n = 0; n < 5; ++n)
        tick();
    forms::Window& big = motrix->windows()[app::WindowId::BigDisplay];
    motrix->mainForm().bigDisplayButton->click();
    big.move(0, 0);
    big.resize(960, 720);
    tick();
    shoot(big, folder + "/big-display.png");
    big.hide();

    forms::Window& lw = motrix->windows()[app::WindowId::LambdaLogger];
    motrix->mainForm().lambdaLoggerButton->click();
    lw.move(0, 0);
    motrix->lambdaWindow().form().readEeprom->click();
    tick();
    shoot(lw, folder + "/lambda-logger.png");
    SUCCEED();
}

}  // namespace
