// Windows created at start-up, their shortcuts, the COM timer's re-arming and the quit question.
#include "app/MainLoop.h"
#include "app/QtDialogs.h"
#include "app/WindowSet.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

using app::WindowId;

TEST(WindowSet, TitlesSizesAndResizeLimits)
{
    application();
    app::WindowSet windows;
    struct Expect {
        WindowId id;
        const char* title;
        int w, h;
        bool limited;
    };
    const Expect table[] = {
        {WindowId::Main, "Motrix1.G - Zünd- & Einspritzsteuerung", 830, 755, true},
        {WindowId::Settings, "Motrix1.G - Einstellungen", 750, 755, true},
        {WindowId::Test, "Motrix1.G - Test", 900, 575, true},
        {WindowId::Help, "Motrix1.G - Hilfe", 640, 480, true},
        {WindowId::Expert, "Motrix1.G - Expertfenster... FINGER WEG!", 950, 535, true},
        {WindowId::System, "Motrix1.G - Systemeinstellungen", 600, 530, true},
        {WindowId::Learn, "Motrix1.G - Lern-Modus", 505, 305, true},
        {WindowId::BigDisplay, "Motrix1.G - Grossbild", 640, 480, false},
        {WindowId::PowerComparison, "Motrix1.G - Leistungsvergleich", 905, 760, true},
        {WindowId::Logger, "Motrix1.G - Logger", 920, 605, false},
        {WindowId::LambdaLogger, "Motrix1.G - Lambdalogger", 755, 485, true},
        {WindowId::History, "Motrix1.G - Setup-Historie", 820, 520, false},
        {WindowId::SetupCompare, "Motrix1.G - Setup-Vergleich", 700, 600, false},
    };
    for (const Expect& e : table) {
        const forms::Window& w = windows[e.id];
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(e.title));
        EXPECT_EQ(w.size(), QSize(e.w, e.h)) << e.title;
        EXPECT_EQ(w.minimumSize(), QSize(100, 100)) << e.title;
        if (e.limited)
            EXPECT_EQ(w.maximumSize(), QSize(e.w, e.h)) << e.title;
        else
            EXPECT_GT(w.maximumWidth(), 5000) << e.title;
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_EQ(windows.largestSize(), QSize(950, 760));
}

TEST(WindowSet, ShortcutsDeliverTheirEventNumbers)
{
    application();
    app::WindowSet windows;
    forms::Window& main = windows[WindowId::Main];
    main.show();
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QSignalSpy spy(&main, &forms::Window::menuEvent);
    const std::pair<QKeyCombination, int> keys[] = {
        {Qt::Key_Escape, 1},
        {Qt::Key_F5, 2},
        {Qt::Key_F6, 3},
        {Qt::Key_F8, 4},
        {Qt::Key_F7, 41},
        {Qt::Key_F1, 20},
        {Qt::Key_Return, 21},
        {Qt::Key_F9, 49},
        {Qt::Key_F10, 60},
        {Qt::Key_F3, 43},
        {Qt::Key_F4, 44},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_F1), 100},
        {Qt::Key_F2, 70},
        {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_E), 50},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_Q), 61},
    };
    for (const auto& [key, number] : keys) {
        spy.clear();
        QTest::keyClick(&main, key.key(), key.keyboardModifiers());
        ASSERT_EQ(spy.count(), 1) << number;
        EXPECT_EQ(spy.at(0).at(0).toInt(), number);
    }
    main.hide();

    auto numbersOf = [&](WindowId id) {
        QList<int> out;
        for (const auto& s : windows[id].shortcuts())
            out << s.second;
        return out;
    };
    EXPECT_EQ(numbersOf(WindowId::Settings), QList<int>({1, 2}));
    EXPECT_EQ(numbersOf(WindowId::Test), QList<int>({1, 2, 3}));
    EXPECT_EQ(numbersOf(WindowId::PowerComparison), QList<int>({1, 2, 11, 12}));
    EXPECT_TRUE(numbersOf(WindowId::Help).isEmpty());
}

TEST(WindowSet, ScreenCheckNamesLargestWindow)
{
    EXPECT_EQ(app::screenSizeWarning({800, 600}, {950, 760}),
              QString::fromUtf8("Für die Motrix wird folgende \rMindestbildschirmgröße "
                                "empfohlen:\r\rBreite * Höhe:   950 * 760\r"));
    EXPECT_FALSE(app::screenSizeWarning({1280, 800}, {950, 760}).has_value());
    EXPECT_TRUE(app::screenSizeWarning({1280, 700}, {950, 760}).has_value());
}

TEST(MainLoop, TickRunsTheStepsInOrder)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    QStringList steps;
    bool busy = false;
    auto& h = loop.hooks();
    h.connectStep = [&] { steps << "connect"; };
    h.identified = [&] { return false; };
    h.firmwareBusy = [&] { return busy; };
    h.comTicked = [] { return true; };
    h.drawLinkLamp = [&](bool, bool, bool) { steps << "lamp"; };
    h.clearTestCheck = [&] { steps << "check"; };
    h.drawLoggerLamp = [&] { steps << "loggerLamp"; };
    h.loggerTick = [&] { steps << "logger"; };
    h.powerRunning = [] { return true; };
    h.powerProgress = [&] { steps << "power"; };
    h.pollCycle = [&] { steps << "poll"; };
    h.firmwareStep = [&] { steps << "firmware"; };
    h.refreshDisplays = [&] { steps << "displays"; };

    loop.tick(app::Tick::ComTimer);
    EXPECT_EQ(steps,
              QStringList({"connect", "lamp", "check", "loggerLamp", "power", "poll", "displays"}));
    steps.clear();
    loop.tick(app::Tick::LoggerTimer);
    EXPECT_EQ(steps, QStringList({"connect", "lamp", "check", "loggerLamp", "logger", "displays"}));
    steps.clear();
    busy = true;
    loop.tick(app::Tick::ComTimer);
    EXPECT_EQ(steps, QStringList({"connect", "lamp", "check", "loggerLamp", "power", "firmware",
                                  "displays"}));
}

TEST(MainLoop, QuitQuestionAskedAtTheTickNeinKeepsRunningJaEnds)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    QSignalSpy ended(&loop, &app::MainLoop::quitConfirmed);

    loop.requestQuit();
    EXPECT_TRUE(dialogs.calls.empty());  // not before the tick
    dialogs.answerQuestion(false);
    loop.tick(app::Tick::ComTimer);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Beenden?");
    EXPECT_EQ(dialogs.calls[0].text,
              "Ist das Setup gespeichert?\rIst das Setup in der KVT im EEPROM?\r\rJetzt beenden?");
    EXPECT_EQ(loop.quitRequest(), app::QuitRequest::None);
    EXPECT_EQ(ended.count(), 0);

    loop.tick(app::Tick::ComTimer);
    EXPECT_EQ(dialogs.calls.size(), 1u);  // no new request, no question

    loop.requestQuit();
    dialogs.answerQuestion(true);
    loop.tick(app::Tick::LoggerTimer);
    EXPECT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(loop.quitRequest(), app::QuitRequest::Confirmed);
    EXPECT_EQ(ended.count(), 1);
}

TEST(MainLoop, UserEventsKeepPostponingTheComTick)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    int polls = 0;
    loop.hooks().pollCycle = [&] { ++polls; };
    QWidget target;
    target.show();
    loop.start(100, 100000);

    // Mouse moves every 30 ms for 600 ms: the 100 ms period never passes without an event.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 600) {
        QTest::mouseMove(&target, QPoint(int(clock.elapsed() % 50) + 1, 5));
        QTest::qWait(30);
    }
    EXPECT_EQ(polls, 0);

    // Left alone, the timer fires again.
    QTest::qWait(350);
    EXPECT_GE(polls, 2);
    loop.stop();
}

TEST(MainLoop, PeriodRunsFromTheEndOfATickThatBlocked)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    QElapsedTimer clock;
    clock.start();
    std::vector<std::pair<qint64, qint64>> ticks;  // start and end of each poll
    loop.hooks().pollCycle = [&] {
        const qint64 start = clock.elapsed();
        if (ticks.empty())
            QTest::qSleep(100);  // a "G" wait, say
        ticks.emplace_back(start, clock.elapsed());
    };
    loop.start(50, 100000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 3; }, 2000));
    loop.stop();
    // The next tick comes a full period after the end of the one before, never at once.
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_GE(ticks[i].first - ticks[i - 1].second, 49) << i;
}

TEST(MainLoop, LoggerTimerFasterThanTheComTimerDoesNotStopPolling)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    int polls = 0;
    int loggerTicks = 0;
    loop.hooks().pollCycle = [&] { ++polls; };
    loop.hooks().loggerTick = [&] { ++loggerTicks; };
    loop.start(100, 30);
    QTest::qWait(650);
    loop.stop();
    EXPECT_GE(loggerTicks, 10);
    EXPECT_GE(polls, 4);
}

TEST(MainLoop, NoTickOfEitherTimerRightAfterATickThatWaited)
{
    application();
    testsupport::FakeDialogs dialogs;
    app::MainLoop loop(dialogs);
    QElapsedTimer clock;
    clock.start();
    std::vector<std::pair<qint64, qint64>> ticks;
    // A silent KVT: every tick waits 60 ms for the "I" reply.
    loop.hooks().connectStep = [&] {
        const qint64 start = clock.elapsed();
        QTest::qSleep(60);
        ticks.emplace_back(start, clock.elapsed());
    };
    loop.start(50, 30);
    QTest::qWait(800);
    loop.stop();
    ASSERT_GE(ticks.size(), 3u);
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i].first - ticks[i - 1].second, 49) << i;
}

TEST(MainLoop, NoTickWhileADialogWaitsAndThePeriodStartsAfterIt)
{
    application();
    app::QtDialogs dialogs;
    app::MainLoop loop(dialogs);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> polls;
    std::vector<qint64> loggerTicks;
    loop.hooks().pollCycle = [&] { polls.push_back(clock.elapsed()); };
    loop.hooks().loggerTick = [&] { loggerTicks.push_back(clock.elapsed()); };
    loop.start(20, 20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls.size() >= 2; }, 2000));

    qint64 closed = 0;
    QTimer::singleShot(300, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        closed = clock.elapsed();
        box->button(QMessageBox::Ok)->click();
    });
    const qint64 opened = clock.elapsed();
    const std::size_t pollsBefore = polls.size();
    const std::size_t loggerBefore = loggerTicks.size();
    dialogs.message(QStringLiteral("Info"), QStringLiteral("offen"));
    EXPECT_EQ(polls.size(), pollsBefore);
    EXPECT_EQ(loggerTicks.size(), loggerBefore);
    EXPECT_GE(closed - opened, 290);

    ASSERT_TRUE(QTest::qWaitFor([&] { return polls.size() > pollsBefore; }, 2000));
    EXPECT_GE(polls[pollsBefore] - closed, 19);
    loop.stop();
}

}  // namespace
