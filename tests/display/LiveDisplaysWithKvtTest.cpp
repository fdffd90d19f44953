// The big display, the lambda recording and the emergency notice in the whole program against
// the simulated KVT: the notice follows the KVT's emergency byte and offers its button after
// the link is lost; "Vitaldaten lesen" records with the lambda window hidden; the big display
// keeps 4 : 3 and its maximum follows the shown speed; screenshots of the windows for the
// documentation.
#include "app/core/MenuEvents.h"
#include "logger/LoggerWindow.h"
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

// The windows a new user opens first, each at its design size: the big display, the settings
// window with the live sensor voltages, the help, the test window after a setup was loaded, the
// logger after three minutes of recording, and the lambda logger.
TEST_F(LiveDisplaysWithKvt, Screenshots)
{
    const QString folder = qEnvironmentVariable("MOTRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "MOTRIX_SCREENSHOTS not set";
    motrix->settings().sliderDisplays = true;
    motrix->settings().showLearnLimits = true;
    for (int n = 0; n < 5; ++n)
        tick();
    motrix->mainForm().readFromKvtButton->click();  // "-> PC": the KVT's own setup
    motrix->setupRecord().output2Mode = 2;
    motrix->setupRecord().output2Speed1 = 35;
    motrix->setupRecord().output2Speed2 = 60;
    tick();
    auto atDesignSize = [this](app::WindowId id) -> forms::Window& {
        forms::Window& w = motrix->windows()[id];
        w.move(0, 0);
        w.resize(w.info().width, w.info().height);
        return w;
    };

    forms::Window& big = atDesignSize(app::WindowId::BigDisplay);
    motrix->mainForm().bigDisplayButton->click();
    tick();
    shoot(big, folder + "/big-display.png");
    big.hide();

    forms::Window& settings = atDesignSize(app::WindowId::Settings);
    motrix->mainForm().settingsButton->click();
    for (int n = 0; n < 3; ++n)
        tick();
    shoot(settings, folder + "/settings-window.png");
    settings.hide();

    forms::Window& help = atDesignSize(app::WindowId::Help);
    emit motrix->windows()[app::WindowId::Main].menuEvent(int(app::MainMenuEvent::ShowHelp));
    shoot(help, folder + "/help-window.png");
    help.hide();

    // A setup saved from this KVT, loaded while the test window is open.
    forms::Window& test = atDesignSize(app::WindowId::Test);
    motrix->mainForm().testButton->click();
    const QString setupFile = dir.filePath("werkstatt.kvt");
    dialogs.answerFile(setupFile);
    motrix->mainForm().saveButton->click();
    dialogs.answerFile(setupFile);
    motrix->mainForm().loadButton->click();
    for (int n = 0; n < 5; ++n)
        tick();
    shoot(test, folder + "/test-window.png");
    test.hide();

    // Three minutes at the logger's 500 ms: the engine's clock runs on by a row each time.
    forms::Window& logger = atDesignSize(app::WindowId::Logger);
    motrix->mainForm().loggerButton->click();
    motrix->loggerWindow().form().startButton->click();
    for (int row = 0; row < 360; ++row) {
        engineAheadMs += 500;
        tick();
        motrix->loop().tick(app::Tick::LoggerTimer);
    }
    motrix->loggerWindow().form().stopButton->click();
    shoot(logger, folder + "/logger-window.png");
    logger.hide();

    forms::Window& lw = atDesignSize(app::WindowId::LambdaLogger);
    motrix->mainForm().lambdaLoggerButton->click();
    motrix->lambdaWindow().form().readEeprom->click();
    tick();
    shoot(lw, folder + "/lambda-logger.png");
    SUCCEED();
}

}  // namespace
