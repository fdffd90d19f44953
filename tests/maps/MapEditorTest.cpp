// The map editor's key rules: limits without partial steps, the cell commands with indices from
// 1 and low byte first, block changes, typed values, the ignition curve mode and "auto".
#include "maps/MapEditor.h"

#include "FakeCellLink.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace {

using maps::Arrow;
using maps::EditMode;
using maps::View;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

class EditorTest : public ::testing::Test {
protected:
    EditorTest()
    {
        log.setStatusSink([this](const QString& text) { lines.append(text); });
        editor.sender().setTimerDriven(false);
    }

    // A block's cells go out one per event; here they are sent straight away.
    void sendQueued()
    {
        while (editor.sender().sendNext()) {
        }
    }

    setup::SetupRecord record;
    testsupport::FakeCellLink link;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    QStringList lines;
    maps::MapEditor editor{record, link, log};
};

TEST_F(EditorTest, FunctionKeysLogAndSelectTheView)
{
    editor.select(EditMode::InjectionMap);
    editor.select(EditMode::AirTempCurve);
    editor.select(EditMode::EngineTempCurve);
    editor.select(EditMode::Ignition);
    EXPECT_EQ(editor.editMode(), EditMode::Ignition);
    editor.endEditing();
    EXPECT_EQ(editor.editMode(), EditMode::None);
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("Einspritzung zu Drehzahl und Drosselklappe bearbeiten"),
                         QStringLiteral("Einspritzkorrektur nach Ansauglufttemperatur bearbeiten"),
                         QStringLiteral("Einspritzkorrektur nach Motortemperatur bearbeiten"),
                         QStringLiteral("Zündung zu Drehzahl bearbeiten"),
                         QStringLiteral("Kennfeld bearbeiten beendet")}));
}

TEST_F(EditorTest, WithoutEditModeKeysDoNothing)
{
    EXPECT_FALSE(editor.moveCursor(Arrow::Right));
    EXPECT_FALSE(editor.stepCell(true, false));
    EXPECT_EQ(editor.blockChange(true), 0);
    EXPECT_FALSE(editor.typeValue(dialogs));
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(EditorTest, InjectionCellStopsOneBelow60000WithoutPartialSteps)
{
    editor.select(EditMode::InjectionMap);
    editor.setCursor(View::Injection, 7, 3);
    record.setInjectionCell(7, 3, 59995);
    EXPECT_FALSE(editor.stepCell(true, true));  // +10 would reach 60005
    EXPECT_EQ(record.injectionCell(7, 3), 59995);
    EXPECT_TRUE(link.sent.isEmpty());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(editor.stepCell(true, false));
    EXPECT_EQ(record.injectionCell(7, 3), 59999);
    EXPECT_FALSE(editor.stepCell(true, false));
    EXPECT_EQ(record.injectionCell(7, 3), 59999);
    ASSERT_EQ(link.sent.size(), 4);
    // "K", speed 8, throttle 4 (from 1), 59999 = 0xEA5F low byte first.
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({8, 4, 0x5F, 0xEA}));
    EXPECT_EQ(link.pauses, 4);
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkennfeld aktualisiert"));
}

TEST_F(EditorTest, MinusNeedsTheWholeStep)
{
    editor.select(EditMode::InjectionMap);
    record.setInjectionCell(0, 0, 9);
    EXPECT_FALSE(editor.stepCell(false, true));
    EXPECT_TRUE(editor.stepCell(false, false));
    EXPECT_EQ(record.injectionCell(0, 0), 8);
    record.setInjectionCell(0, 0, 10);
    EXPECT_TRUE(editor.stepCell(false, true));
    EXPECT_EQ(record.injectionCell(0, 0), 0);
}

TEST_F(EditorTest, X100MultipliesTheInjectionStepOnly)
{
    editor.boxes(View::Injection).x100 = true;
    editor.select(EditMode::InjectionMap);
    EXPECT_EQ(editor.stepWidth(false), 100);
    EXPECT_EQ(editor.stepWidth(true), 1000);
    EXPECT_TRUE(editor.stepCell(true, true));
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({1, 1, 0xE8, 0x03}));
    editor.select(EditMode::AirTempCurve);
    EXPECT_EQ(editor.stepWidth(true), 10);
}

TEST_F(EditorTest, CurveValue145TakesFiveSingleStepsTo150)
{
    editor.select(EditMode::AirTempCurve);
    editor.setCursor(View::AirTemp, 16);
    record.setAirTempCell(16, 145);
    EXPECT_FALSE(editor.stepCell(true, true));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(editor.stepCell(true, false));
    EXPECT_EQ(record.airTempCell(16), 150);
    EXPECT_FALSE(editor.stepCell(true, false));
    ASSERT_EQ(link.sent.size(), 5);
    EXPECT_EQ(link.sent.last(), QByteArray("T") + bytes({17, 150}));
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkorrekturkennlinie(ASLT) aktualisiert"));

    editor.select(EditMode::EngineTempCurve);
    record.setEngineTempCell(0, 3);
    EXPECT_TRUE(editor.stepCell(false, false));
    EXPECT_EQ(link.sent.last(), QByteArray("M") + bytes({1, 2}));
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkorrekturkennlinie(MT) aktualisiert"));
}

TEST_F(EditorTest, CursorMovesWithinTheAxesAndCurvesHaveNoRows)
{
    editor.select(EditMode::InjectionMap);
    EXPECT_FALSE(editor.moveCursor(Arrow::Left));
    EXPECT_FALSE(editor.moveCursor(Arrow::Down));
    for (int i = 0; i < 20; ++i) {
        editor.moveCursor(Arrow::Right);
        editor.moveCursor(Arrow::Up);
    }
    EXPECT_EQ(editor.speedIndex(View::Injection), 16);
    EXPECT_EQ(editor.throttleIndex(View::Injection), 8);
    editor.select(EditMode::EngineTempCurve);
    EXPECT_FALSE(editor.moveCursor(Arrow::Up));
    EXPECT_TRUE(editor.moveCursor(Arrow::Right));
    EXPECT_EQ(editor.tempIndex(View::EngineTemp), 1);
    // The other cursors keep their places.
    EXPECT_EQ(editor.speedIndex(View::Injection), 16);
    EXPECT_EQ(editor.tempIndex(View::AirTemp), 0);
}

TEST_F(EditorTest, AutoBlocksTheArrowsButNotPlusAndMinus)
{
    editor.select(EditMode::InjectionMap);
    editor.boxes(View::Injection).autoFollow = true;
    editor.setCursor(View::Injection, 3, 2);
    EXPECT_FALSE(editor.moveCursor(Arrow::Left));
    EXPECT_FALSE(editor.moveCursor(Arrow::Right));
    EXPECT_FALSE(editor.moveCursor(Arrow::Up));
    EXPECT_EQ(editor.speedIndex(View::Injection), 3);
    EXPECT_TRUE(editor.stepCell(true, false));
    EXPECT_TRUE(editor.stepCell(true, true));
    EXPECT_EQ(record.injectionCell(3, 2), 11);
    EXPECT_TRUE(editor.stepCell(false, false));
    EXPECT_EQ(record.injectionCell(3, 2), 10);
    // The poll moves it instead, but only for the view being edited.
    editor.followLive(9, 4, 5, 6);
    EXPECT_EQ(editor.speedIndex(View::Injection), 9);
    EXPECT_EQ(editor.throttleIndex(View::Injection), 4);
    editor.boxes(View::AirTemp).autoFollow = true;
    EXPECT_EQ(editor.tempIndex(View::AirTemp), 0);
}

TEST_F(EditorTest, IgnitionCurveModeKeepsTheCursorOnRow0)
{
    editor.select(EditMode::Ignition);
    editor.moveCursor(Arrow::Up);
    editor.moveCursor(Arrow::Up);
    editor.moveCursor(Arrow::Right);
    EXPECT_EQ(editor.throttleIndex(View::Ignition), 2);
    record.setIgnitionCell(1, 2, 30);

    editor.setIgnitionMapEnabled(false, dialogs);
    EXPECT_EQ(record.ignitionMapEnabled, 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Achtung"));
    EXPECT_EQ(
        dialogs.calls[0].text,
        QStringLiteral("Die KVT verwendet die Einstellung\r\r     - Kennlinie -\r\rerst, wenn "
                       "dies an die KVT gesendet wurde."));
    EXPECT_EQ(link.sent.last(), QByteArray("X") + bytes({5, 0}));
    EXPECT_EQ(lines.last(), QStringLiteral("Zünd-Kennlinie eingestellt"));
    EXPECT_EQ(editor.throttleIndex(View::Ignition), 0);

    EXPECT_FALSE(editor.moveCursor(Arrow::Up));
    EXPECT_FALSE(editor.moveCursor(Arrow::Down));
    EXPECT_EQ(editor.viewCursor(View::Ignition).throttleIndex, 0);
    EXPECT_TRUE(editor.stepCell(true, true));
    EXPECT_EQ(record.ignitionCell(1, 0), 10);
    EXPECT_EQ(record.ignitionCell(1, 2), 30);
    EXPECT_EQ(link.sent.last(), QByteArray("Z") + bytes({2, 1, 10}));
    EXPECT_EQ(lines.last(), QStringLiteral("Zündkennkeld/-linie aktualisiert"));
    // Auto following does not leave row 0 either.
    editor.boxes(View::Ignition).autoFollow = true;
    editor.followLive(4, 6, 0, 0);
    EXPECT_EQ(editor.viewCursor(View::Ignition).throttleIndex, 0);
    EXPECT_EQ(editor.speedIndex(View::Ignition), 4);
    EXPECT_EQ(editor.readouts(View::Ignition).second, QStringLiteral("0"));

    editor.boxes(View::Ignition).autoFollow = false;
    editor.setIgnitionMapEnabled(true, dialogs);
    EXPECT_EQ(dialogs.calls.back().text,
              QStringLiteral("Die KVT verwendet die Einstellung\r\r     - Kennfeld -\r\rerst, wenn "
                             "dies an die KVT gesendet wurde."));
    EXPECT_EQ(link.sent.last(), QByteArray("X") + bytes({5, 1}));
    EXPECT_EQ(lines.last(), QStringLiteral("Zünd-Kennfeld eingestellt"));
    EXPECT_TRUE(editor.moveCursor(Arrow::Up));
}

TEST_F(EditorTest, IgnitionCellsStayWithin50)
{
    editor.select(EditMode::Ignition);
    record.setIgnitionCell(0, 0, 45);
    EXPECT_FALSE(editor.stepCell(true, true));
    EXPECT_TRUE(editor.stepCell(true, false));
    for (int i = 0; i < 4; ++i)
        editor.stepCell(true, false);
    EXPECT_EQ(record.ignitionCell(0, 0), 50);
    EXPECT_FALSE(editor.stepCell(true, false));
}

TEST_F(EditorTest, F3AtTheOriginChangesAndSendsExactlyOneCell)
{
    editor.select(EditMode::InjectionMap);
    EXPECT_EQ(editor.blockChange(true), 0);  // "Start" not ticked: nothing
    EXPECT_TRUE(link.sent.isEmpty());
    editor.boxes(View::Injection).start = true;
    lines.clear();
    EXPECT_EQ(editor.blockChange(true), 1);
    EXPECT_EQ(record.injectionCell(0, 0), 10);
    EXPECT_EQ(record.injectionCell(1, 0), 0);
    EXPECT_EQ(record.injectionCell(0, 1), 0);
    ASSERT_EQ(link.sent.size(), 1);
    EXPECT_EQ(link.sent[0], QByteArray("K") + bytes({1, 1, 10, 0}));
    EXPECT_EQ(lines, QStringList{QStringLiteral("Einspritzkennfeld aktualisiert (0:0)")});
}

TEST_F(EditorTest, BlockChangeSendsEveryCellSpeedOuterThrottleInner)
{
    editor.select(EditMode::InjectionMap);
    editor.boxes(View::Injection).start = true;
    editor.boxes(View::Injection).x100 = true;
    editor.setCursor(View::Injection, 2, 1);
    record.setInjectionCell(1, 1, 64950);
    record.setInjectionCell(2, 0, 100);
    EXPECT_EQ(editor.blockChange(true), 6);
    sendQueued();
    ASSERT_EQ(link.sent.size(), 6);
    const int order[6][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(quint8(link.sent[i][1]), order[i][0] + 1);
        EXPECT_EQ(quint8(link.sent[i][2]), order[i][1] + 1);
    }
    EXPECT_EQ(record.injectionCell(1, 1), 65000);  // capped, not 65050
    EXPECT_EQ(record.injectionCell(2, 0), 200);
    EXPECT_EQ(record.injectionCell(3, 0), 0);
    EXPECT_EQ(lines.filter(QStringLiteral("Einspritzkennfeld aktualisiert (")).last(),
              QStringLiteral("Einspritzkennfeld aktualisiert (2:1)"));
    EXPECT_EQ(lines.last(), QStringLiteral("6 Zellen an die KVT gesendet"));
    // Cells at their limit are still sent.
    link.sent.clear();
    EXPECT_EQ(editor.blockChange(true), 6);
    sendQueued();
    EXPECT_EQ(link.sent.size(), 6);
}

TEST_F(EditorTest, F4OnTenWithStepTenReachesZero)
{
    editor.select(EditMode::InjectionMap);
    editor.boxes(View::Injection).start = true;
    editor.setCursor(View::Injection, 1, 0);
    record.setInjectionCell(0, 0, 10);
    record.setInjectionCell(1, 0, 15);
    EXPECT_EQ(editor.blockChange(false), 2);
    sendQueued();
    EXPECT_EQ(record.injectionCell(0, 0), 0);
    EXPECT_EQ(record.injectionCell(1, 0), 5);
    EXPECT_EQ(link.sent[0], QByteArray("K") + bytes({1, 1, 0, 0}));
}

TEST_F(EditorTest, NothingIsSentOrLoggedWithoutIdentificationOrDuringAnUpdate)
{
    for (int pass = 0; pass < 2; ++pass) {
        link.isIdentified = pass == 1;
        link.isFirmwareBusy = pass == 1;
        editor.select(EditMode::InjectionMap);
        editor.boxes(View::Injection).start = true;
        lines.clear();
        EXPECT_TRUE(editor.stepCell(true, false));
        EXPECT_EQ(editor.blockChange(true), 1);
        editor.setIgnitionMapEnabled(false, dialogs);
        editor.select(EditMode::AirTempCurve);
        lines.clear();
        EXPECT_TRUE(editor.stepCell(true, false));
        EXPECT_TRUE(link.sent.isEmpty());
        EXPECT_TRUE(lines.isEmpty());
    }
    EXPECT_EQ(record.injectionCell(0, 0), 22);  // the record changed all the same
    EXPECT_EQ(record.airTempCell(0), 2);
}

TEST_F(EditorTest, TypedValueIsLimitedStoredAndSent)
{
    editor.select(EditMode::InjectionMap);
    editor.setCursor(View::Injection, 3, 3);
    record.setInjectionCell(3, 3, 1500);
    dialogs.answerInput(QStringLiteral("70000"));
    EXPECT_TRUE(editor.typeValue(dialogs));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Einspritzwert [µs] für:"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("  Drehzahl: 3000   Drosselklappe: 38"));
    EXPECT_EQ(record.injectionCell(3, 3), 65000);
    EXPECT_EQ(link.sent.last(), QByteArray("K") + bytes({4, 4, 0xE8, 0xFD}));
    EXPECT_EQ(lines.last(), QStringLiteral("Einspritzkennfeld aktualisiert (3:3)"));

    dialogs.answerInput(QStringLiteral(" 1234.7"));
    EXPECT_TRUE(editor.typeValue(dialogs));
    EXPECT_EQ(record.injectionCell(3, 3), 1234);
    dialogs.answerInput(QStringLiteral("-5"));
    EXPECT_TRUE(editor.typeValue(dialogs));
    EXPECT_EQ(record.injectionCell(3, 3), 0);
}

TEST_F(EditorTest, CancelledOrEmptyTypedValueNeverOverwritesTheCell)
{
    editor.select(EditMode::InjectionMap);
    record.setInjectionCell(0, 0, 4321);
    dialogs.answerInput(std::nullopt);
    EXPECT_FALSE(editor.typeValue(dialogs));
    dialogs.answerInput(QString());
    EXPECT_FALSE(editor.typeValue(dialogs));
    dialogs.answerInput(QStringLiteral("abc"));
    EXPECT_FALSE(editor.typeValue(dialogs));
    EXPECT_EQ(record.injectionCell(0, 0), 4321);
    EXPECT_TRUE(link.sent.isEmpty());
    // Only in injection editing.
    editor.select(EditMode::AirTempCurve);
    dialogs.clear();
    EXPECT_FALSE(editor.typeValue(dialogs));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(EditorTest, ReadoutsOnlyForTheEditedView)
{
    record.setInjectionCell(2, 3, 777);
    record.setAirTempCell(4, 15);
    editor.setCursor(View::Injection, 2, 3);
    editor.setCursor(View::AirTemp, 4);
    editor.select(EditMode::InjectionMap);
    EXPECT_EQ(
        editor.readouts(View::Injection),
        (maps::Readouts{QStringLiteral("2000"), QStringLiteral("38"), QStringLiteral("777")}));
    EXPECT_EQ(editor.readouts(View::AirTemp), maps::Readouts{});
    EXPECT_TRUE(editor.viewCursor(View::Injection).shown);
    EXPECT_FALSE(editor.viewCursor(View::AirTemp).shown);
    editor.select(EditMode::AirTempCurve);
    EXPECT_EQ(editor.readouts(View::AirTemp),
              (maps::Readouts{QStringLiteral("20"), QStringLiteral("100"), {}}));
    EXPECT_EQ(editor.readouts(View::Injection), maps::Readouts{});
}

}  // namespace
