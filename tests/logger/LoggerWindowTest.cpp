// The logger window: captions and tool tips, the recording lamp, the strip layout for the
// window's width, zoom and cursor from the chart, and a loaded log in the labels.
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "app/core/WindowTable.h"
#include "forms/Window.h"
#include "logger/LoggerWindow.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const app::WindowInfo& loggerInfo()
{
    for (const app::WindowInfo& info : app::windowTable)
        if (info.id == app::WindowId::Logger)
            return info;
    return app::windowTable[0];
}

struct AppGuard {
    AppGuard() { testsupport::application(); }
};

struct Fixture : ::testing::Test, AppGuard {
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    app::ProgramSettings settings;
    logger::LogTable table;
    bool identified = false;
    forms::Window window{loggerInfo()};
    std::unique_ptr<logger::LogRecorder> recorder;
    std::unique_ptr<logger::LoggerWindow> view;

    void SetUp() override
    {
        table.resize(settings.loggerCapacity + 1);
        logger::LogRecorder::Hooks hooks;
        hooks.now = [] { return QDateTime(QDate(2024, 5, 17), QTime(9, 30, 5)); };
        recorder =
            std::make_unique<logger::LogRecorder>(table, settings, dialogs, log, dir.path(), hooks);
        logger::LoggerWindow::Hooks w;
        w.identified = [this] { return identified; };
        w.injectorDeadTimeUs = [] { return 500.0; };
        view = std::make_unique<logger::LoggerWindow>(window, *recorder, w);
        window.resize(1200, 700);
        view->layoutChart();
    }
    forms::Loggerdialog& f() { return view->form(); }
};

TEST_F(Fixture, CaptionsAndToolTips)
{
    struct Case {
        QPushButton* button;
        const char* text;
        const char* tip;
    };
    const Case cases[] = {
        {f().startButton, "START Log", "Startet einen Mitschnitt"},
        {f().stopButton, "STOPP Log", "Stoppt einen Mitschnitt"},
        {f().pathButton, "Log-Datei Pfad", "Legt den Speicherpfd für eine Log-Datei fest"},
        {f().saveButton, "Log sichern", "Sichert den aktuellen Mitschnitt im Log-Datei-Pfad"},
        {f().loadButton, "Log laden", "Läd einen Mitschnitt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.button->toolTip(), QString::fromUtf8(c.tip));
    }
    EXPECT_EQ(f().commentLabel->toolTip(), "Beschreibung der gespeicherten Log-Datei");
    EXPECT_EQ(f().channelBox[12]->text(), QString::fromUtf8("Zündwinkel (°KW)"));
    EXPECT_EQ(f().zoom->text(), "100.0%");
}

TEST_F(Fixture, LampFollowsRecordingAndIdentification)
{
    view->drawLamp();
    EXPECT_EQ(f().lamp->color(), QColor(127, 127, 127));
    identified = true;
    view->drawLamp();
    EXPECT_EQ(f().lamp->color(), QColor(255, 0, 0));
    recorder->start();
    view->drawLamp();
    EXPECT_EQ(f().lamp->color(), QColor(0, 255, 0));
    identified = false;
    view->drawLamp();
    EXPECT_EQ(f().lamp->color(), QColor(255, 204, 0));
    recorder->stop();
}

TEST_F(Fixture, StripsFollowTheBoxesAndTheWindowWidth)
{
    // 7 strips of 30, 5 of 15 and 2 of 30, each with 5 pixels more.
    EXPECT_EQ(view->chart().height(), 9 * 35 + 5 * 20);
    EXPECT_EQ(view->chart().width(), 1200 - 165);
    EXPECT_FALSE(f().value[8]->isVisibleTo(&window));  // a 15-pixel strip has no value label
    f().channelBox[0]->setChecked(true);
    f().channelBox[8]->setChecked(true);
    EXPECT_EQ(view->chart().height(), 9 * 35 + 5 * 20 + 70 + 15);
    EXPECT_TRUE(f().value[8]->isVisibleTo(&window));
    window.resize(700, 700);  // never narrower than 920 for the layout
    view->layoutChart();
    EXPECT_EQ(view->chart().width(), 920 - 165);
}

TEST_F(Fixture, LoadedLogShowsCursorValuesAndZoom)
{
    QFile file(dir.filePath("lauf.klg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "KVT-Log-Datei,lauf.klg\nDatum,17.05.2024\nUhrzeit,09:30:05\n\nKVT HW,2.1\n"
        "KVT SW,5.3\n\nKommentar,Lauf 3\n\n\nZeitpunkt(ms),...\n");
    for (int i = 1; i <= 100; ++i)
        file.write(QByteArray::number(i * 500 + 3'600'000) +
                   ",6000,50,80,20,0.851,0,0,1,0,0,0,0,"
                   "25,2400,,,,\n");
    file.close();
    dialogs.answerFile(file.fileName());
    f().loadButton->click();
    EXPECT_EQ(f().fileName->text(), "lauf.klg");
    EXPECT_EQ(f().logHw->text(), "2.1");
    EXPECT_EQ(f().comment->text(), "Lauf 3");
    EXPECT_EQ(f().dataPoint->text(), "100 / 3600");
    EXPECT_EQ(f().cursorRow->text(), "1");
    EXPECT_EQ(f().cursorMs->text(), "3600500");
    EXPECT_EQ(f().cursorTime->text(), "(01:00:00.500)");
    EXPECT_EQ(f().value[4]->text(), "0.851");
    EXPECT_EQ(f().value[7]->text(), "Ein");
    EXPECT_EQ(f().value[13]->text(), "2400 (9500)");
    EXPECT_EQ(f().visibleRows->text(), "100");

    f().zoom->stepBy(1);
    EXPECT_EQ(view->zoom(), 2);
    EXPECT_EQ(f().zoom->text(), "50.00%");
    EXPECT_EQ(f().visibleRows->text(), "51");
    EXPECT_EQ(f().position->pageStep(), 100);
    f().position->setValue(60);  // the bar moves the cursor
    EXPECT_EQ(recorder->cursor(), 60);
    EXPECT_EQ(f().cursorRow->text(), "60");
    view->chart().onWheel(true, false, true);  // Shift: ten rows
    EXPECT_EQ(recorder->cursor(), 70);
    view->chart().onWheel(true, true, false);  // Control: zoom
    EXPECT_EQ(view->zoom(), 4);
    for (int i = 0; i < 12; ++i)
        f().zoom->stepBy(1);
    EXPECT_EQ(view->zoom(), 1024);
    EXPECT_EQ(f().visibleRows->text(), "1");  // span 0 draws without fault
    view->chart().grab();
}

TEST_F(Fixture, CommentIsCutToAHundredCharacters)
{
    f().comment->setText(QString(150, QLatin1Char('x')));
    f().startButton->click();
    EXPECT_EQ(recorder->comment().size(), 100);
    EXPECT_EQ(f().comment->text().size(), 100);
    recorder->stop();
}

}  // namespace
