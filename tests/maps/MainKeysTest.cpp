// The main window's keys on real widgets (offscreen): numbered menu events as the shortcuts
// deliver them, arrow, plus and minus key presses, the "Kennfeld" box, the expert password,
// the description padding, the wheel over the injection view, and the views following the
// live point. Commands are checked as the bytes that go to the link.
#include "app/core/MenuEvents.h"
#include "maps/MapPanel.h"
#include "support/TestApplication.h"

#include "FakeCellLink.h"
#include "app/core/WindowTable.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using testsupport::application;
struct AppGuard {
    AppGuard() { application(); }
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

using maps::View;

// The main window's shortcuts by their keys.
using app::MainMenuEvent;
constexpr MainMenuEvent Esc = MainMenuEvent::EndEditing, F5 = MainMenuEvent::EditInjectionMap,
                        F6 = MainMenuEvent::EditAirTempCurve, F8 = MainMenuEvent::EditIgnition,
                        F7 = MainMenuEvent::EditEngineTempCurve, F1 = MainMenuEvent::ShowHelp,
                        Return = MainMenuEvent::PadDescription, Expert = MainMenuEvent::ExpertMode,
                        F9 = MainMenuEvent::TypeValue, ShiftF1 = MainMenuEvent::CentreWindows,
                        F3 = MainMenuEvent::BlockUp, F4 = MainMenuEvent::BlockDown;

struct KeysTest : AppGuard, ::testing::Test {
    KeysTest()
    {
        form.setupUi(main.content());
        help.setupUi(helpWindow.content());
        log.setStatusSink([this](const QString& text) { lines.append(text); });
        keysWindow = std::make_unique<maps::MapPanel>(
            maps::MapPanel::Windows{main, helpWindow, systemWindow, expertWindow}, form, &help,
            record, settings, dialogs, log, link);
    }

    void menu(MainMenuEvent event) { emit main.menuEvent(int(event)); }
    // A key pressed while the focus is on the window's content (not in a text field).
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(main.content(), k, modifiers);
    }

    forms::Window main{app::windowInfo(app::WindowId::Main)};
    forms::Window helpWindow{app::windowInfo(app::WindowId::Help)};
    forms::Window systemWindow{app::windowInfo(app::WindowId::System)};
    forms::Window expertWindow{app::windowInfo(app::WindowId::Expert)};
    forms::Hauptdialog form;
    forms::Hilfedialog help;
    setup::SetupRecord record;
    app::ProgramSettings settings;
    testsupport::FakeDialogs dialogs;
    testsupport::FakeCellLink link;
    app::MessageLog log;
    QStringList lines;
    // Made after the forms are laid out, as the program does.
    std::unique_ptr<maps::MapPanel> keysWindow;
    maps::MapPanel& keys() { return *keysWindow; }
};

TEST_F(KeysTest, ViewsSitInTheirSlotsAtTheirCanvasSizes)
{
    EXPECT_EQ(keys().view(View::Injection).parentWidget(), form.injectionCanvasSlot);
    EXPECT_EQ(keys().view(View::Ignition).parentWidget(), form.ignitionCanvasSlot);
    EXPECT_EQ(keys().view(View::AirTemp).size(), QSize(385, 100));
    EXPECT_EQ(keys().view(View::Injection).size(), QSize(385, 255));
    EXPECT_EQ(keys().view(View::Injection).scene().lines.isEmpty(), false);
}

TEST_F(KeysTest, F5ArrowsAndPlusSendTheCellWithIndicesFrom1LowByteFirst)
{
    menu(F5);
    EXPECT_EQ(lines.last(),
              QStringLiteral("Einspritzung zu Drehzahl und Drosselklappe bearbeiten"));
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    record.setInjectionCell(2, 1, 250);
    key(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(record.injectionCell(2, 1), 260);
    ASSERT_EQ(link.sent.size(), 1);
    EXPECT_EQ(link.sent[0], QByteArray("K") + bytes({3, 2, 0x04, 0x01}));
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkennfeld aktualisiert"));
    key(Qt::Key_Minus);
    EXPECT_EQ(record.injectionCell(2, 1), 259);
    EXPECT_EQ(form.injectionSpeedValue->text(), QStringLiteral("2000"));
    EXPECT_EQ(form.injectionThrottleValue->text(), QStringLiteral("12"));
    EXPECT_EQ(form.injectionValue->text(), QStringLiteral("259"));
    EXPECT_TRUE(form.airTempValue->text().isEmpty());
    // The cursor circles follow in the redrawn view.
    int cursorCircles = 0;
    for (const auto& c : keys().view(View::Injection).scene().circles)
        cursorCircles += c.part == maps::Part::Cursor;
    EXPECT_EQ(cursorCircles, 2);
}

TEST_F(KeysTest, InjectionLimitWithStepsTenAndOne)
{
    record.setInjectionCell(0, 0, 59995);
    menu(F5);
    key(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(record.injectionCell(0, 0), 59995);
    EXPECT_TRUE(link.sent.isEmpty());
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Plus);
    EXPECT_EQ(record.injectionCell(0, 0), 59999);
    EXPECT_EQ(link.sent.size(), 4);
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({1, 1, 0x5F, 0xEA}));
}

TEST_F(KeysTest, X100BoxMultipliesTheStep)
{
    form.injectionX100Check->setChecked(true);
    menu(F5);
    key(Qt::Key_Plus);
    EXPECT_EQ(record.injectionCell(0, 0), 100);
    // Shift on a German keyboard makes "+" arrive as "*".
    key(Qt::Key_Asterisk, Qt::ShiftModifier);
    EXPECT_EQ(record.injectionCell(0, 0), 1100);
}

TEST_F(KeysTest, CurveAt145TakesFiveSinglePlusPresses)
{
    record.setEngineTempCell(0, 145);
    menu(F7);
    key(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(record.engineTempCell(0), 145);
    for (int i = 0; i < 5; ++i)
        key(Qt::Key_Plus);
    EXPECT_EQ(record.engineTempCell(0), 150);
    key(Qt::Key_Plus);
    EXPECT_EQ(link.sent.size(), 5);
    EXPECT_EQ(link.sent.last(), QByteArray("M") + bytes({1, 150}));
    EXPECT_EQ(form.engineTempValue->text(), QStringLiteral("-20"));
    EXPECT_EQ(form.engineCorrectionValue->text(), QStringLiteral("235"));
}

TEST_F(KeysTest, KennfeldBoxSwitchesToTheCurveAndKeepsTheCursorOnRow0)
{
    ASSERT_TRUE(form.ignitionMapCheck->isChecked());
    menu(F8);
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(keys().editor().throttleIndex(View::Ignition), 2);
    form.ignitionMapCheck->click();
    EXPECT_EQ(record.ignitionMapEnabled, 0);
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Achtung"));
    EXPECT_TRUE(dialogs.calls.back().text.contains(QStringLiteral("- Kennlinie -")));
    EXPECT_EQ(link.sent.last(), QByteArray("X") + bytes({5, 0}));
    EXPECT_EQ(lines.last(), QStringLiteral("Zünd-Kennlinie eingestellt"));
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    EXPECT_EQ(keys().editor().viewCursor(View::Ignition).throttleIndex, 0);
    key(Qt::Key_Plus);
    EXPECT_EQ(record.ignitionCell(0, 0), 1);
    EXPECT_EQ(record.ignitionCell(0, 2), 0);
    EXPECT_EQ(link.sent.last(), QByteArray("Z") + bytes({1, 1, 1}));
    EXPECT_EQ(form.ignitionThrottleValue->text(), QStringLiteral("0"));
    // The view shows rows above 0 in white.
    bool white = false;
    for (const auto& l : keys().view(View::Ignition).scene().lines)
        white |= l.colour == maps::colours::unused;
    EXPECT_TRUE(white);
}

TEST_F(KeysTest, F3AtTheOriginSendsOneCellAndF4ReachesZero)
{
    menu(F5);
    menu(F3);
    EXPECT_TRUE(link.sent.isEmpty());  // "Start" not ticked
    form.injectionStartCheck->setChecked(true);
    menu(F3);
    ASSERT_EQ(link.sent.size(), 1);
    EXPECT_EQ(link.sent[0], QByteArray("K") + bytes({1, 1, 10, 0}));
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkennfeld aktualisiert (0:0)"));
    menu(F4);
    EXPECT_EQ(record.injectionCell(0, 0), 0);
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({1, 1, 0, 0}));
}

TEST_F(KeysTest, AutoBlocksArrowsButNotPlusAndMinus)
{
    form.injectionAutoCheck->setChecked(true);
    menu(F5);
    keys().followLive(4, 2, 0, 0);
    key(Qt::Key_Left);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(keys().editor().speedIndex(View::Injection), 4);
    key(Qt::Key_Plus);
    EXPECT_EQ(record.injectionCell(4, 2), 1);
    key(Qt::Key_Minus);
    EXPECT_EQ(record.injectionCell(4, 2), 0);
    EXPECT_EQ(link.sent.size(), 2);
}

TEST_F(KeysTest, EscEndsEditingAndReleasesTheKeys)
{
    menu(F6);
    EXPECT_FALSE(form.airTempValue->text().isEmpty());
    menu(Esc);
    EXPECT_EQ(lines.last(), QStringLiteral("Kennfeld bearbeiten beendet"));
    EXPECT_TRUE(form.airTempValue->text().isEmpty());
    key(Qt::Key_Plus);
    EXPECT_EQ(record.airTempCell(0), 0);
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(KeysTest, TypingInTheDescriptionDoesNotEditTheMap)
{
    menu(F5);
    QTest::keyClick(form.descriptionEdit, Qt::Key_Plus);
    QTest::keyClick(form.descriptionEdit, Qt::Key_Minus);
    EXPECT_EQ(record.injectionCell(0, 0), 0);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(form.descriptionEdit->text(), QStringLiteral("+-"));
    menu(Return);
    EXPECT_EQ(form.descriptionEdit->text(), QStringLiteral("+-") + QString(98, u' '));
}

TEST_F(KeysTest, WrongExpertPasswordKeepsTheWindowHidden)
{
    dialogs.answerInput(QStringLiteral("wolke"));
    menu(Expert);
    EXPECT_FALSE(expertWindow.isVisible());
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Expert-Modus"));
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Zum Aktivieren des Expert-Modus bitte Password eingeben."));
    EXPECT_TRUE(dialogs.calls[0].hidden);
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Achtung"));
    EXPECT_EQ(dialogs.calls[1].text, QStringLiteral("Password nicht korrekt."));

    dialogs.clear();
    menu(Expert);  // cancelled
    EXPECT_FALSE(expertWindow.isVisible());
    EXPECT_EQ(dialogs.boxTexts(), QStringList{QStringLiteral("Password nicht korrekt.")});

    dialogs.clear();
    dialogs.answerInput(QStringLiteral("Wolke"));
    menu(Expert);
    EXPECT_TRUE(expertWindow.isVisible());
    dialogs.clear();
    menu(Expert);  // already shown: only brought to the front
    EXPECT_TRUE(dialogs.calls.empty());
    expertWindow.hide();
}

TEST_F(KeysTest, F9CancelKeepsTheCell)
{
    record.setInjectionCell(0, 0, 800);
    menu(F9);  // not editing the injection map: no box
    EXPECT_TRUE(dialogs.calls.empty());
    menu(F5);
    menu(F9);  // cancelled
    EXPECT_EQ(record.injectionCell(0, 0), 800);
    dialogs.answerInput(QStringLiteral("1200"));
    menu(F9);
    EXPECT_EQ(record.injectionCell(0, 0), 1200);
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({1, 1, 0xB0, 0x04}));
    EXPECT_EQ(form.injectionValue->text(), QStringLiteral("1200"));
}

TEST_F(KeysTest, WheelChangesTheCapOnlyWithKapp)
{
    QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&keys().view(View::Injection), &up);
    EXPECT_EQ(settings.injectionViewCap, 200);
    form.injectionCapCheck->setChecked(true);
    QApplication::sendEvent(&keys().view(View::Injection), &up);
    QApplication::sendEvent(&keys().view(View::Injection), &up);
    EXPECT_EQ(settings.injectionViewCap, 600);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    for (int i = 0; i < 5; ++i)
        QApplication::sendEvent(&keys().view(View::Injection), &down);
    EXPECT_EQ(settings.injectionViewCap, 200);
}

TEST_F(KeysTest, HelpAndCentredWindows)
{
    menu(F1);
    EXPECT_TRUE(helpWindow.isVisible());
    EXPECT_TRUE(
        help.text->toPlainText().trimmed().startsWith(QStringLiteral("Hauptfenster Tasten")));
    helpWindow.hide();
    main.move(0, 0);
    systemWindow.move(0, 0);
    menu(ShiftF1);
    EXPECT_FALSE(systemWindow.isVisible());
    EXPECT_NE(systemWindow.pos(), QPoint(0, 0));
}

TEST_F(KeysTest, RealKeyPressesFromF5ToEsc)
{
    main.addShortcut(QKeySequence(Qt::Key_F5), int(F5));
    main.addShortcut(QKeySequence(Qt::Key_Escape), int(Esc));
    main.show();
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F5);
    EXPECT_EQ(keys().editor().editMode(), maps::EditMode::InjectionMap);
    QTest::keyClick(&main, Qt::Key_Right);
    QTest::keyClick(&main, Qt::Key_Plus);
    QTest::keyClick(&main, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(record.injectionCell(1, 0), 2);
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({2, 1, 2, 0}));
    QTest::keyClick(&main, Qt::Key_Escape);
    EXPECT_EQ(keys().editor().editMode(), maps::EditMode::None);
    QTest::keyClick(&main, Qt::Key_Plus);
    EXPECT_EQ(record.injectionCell(1, 0), 2);
    main.hide();
}

TEST_F(KeysTest, ReplacedSetupSetsTheKennfeldBoxWithoutSending)
{
    menu(F5);
    record.ignitionMapEnabled = 0;
    record.setInjectionCell(0, 0, 4000);
    keys().setupReplaced();
    EXPECT_FALSE(form.ignitionMapCheck->isChecked());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(form.injectionValue->text(), QStringLiteral("4000"));
    // A loaded file also ends editing, silently, and empties the read-outs.
    lines.clear();
    keys().setupFileLoaded();
    EXPECT_EQ(keys().editor().editMode(), maps::EditMode::None);
    EXPECT_TRUE(form.injectionValue->text().isEmpty());
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(KeysTest, FollowingViewsMoveTheirMarkerWithEachPoll)
{
    form.injectionPosCheck->setChecked(true);
    bool identified = true;
    keys().setIdentifiedSource([&] { return identified; });
    auto markerX = [&] {
        for (const auto& l : keys().view(View::Injection).scene().lines)
            if (l.part == maps::Part::LiveMarker)
                return l.a.x();
        return -1.0;
    };
    keys().setLivePoint({3000, 25, 20, 80});
    keys().redrawFollowingViews();
    const double first = markerX();
    keys().setLivePoint({5000, 25, 20, 80});
    keys().redrawFollowingViews();
    EXPECT_GT(markerX(), first);
    // Without a KVT the views stand still.
    identified = false;
    keys().setLivePoint({9000, 25, 20, 80});
    keys().redrawFollowingViews();
    EXPECT_LT(markerX(), maps::mapProjection(385, 255, 100).at(9, 0, 0).x());
}

}  // namespace
