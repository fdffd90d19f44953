// Block editing on the editor with a recording link: the selection from the cursor, the cells
// an operation changes and sends, paste refusal, undo and redo across a block with what they
// send, and a line that stops taking cells in the middle of a block.
#include "maps/BlockEditor.h"
#include "maps/MapScenes.h"

#include "FakeCellLink.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace {

using maps::Arrow;
using maps::BlockOp;
using maps::CellAt;
using maps::CellRect;
using maps::EditMode;
using maps::View;

class BlockEditorTest : public ::testing::Test {
protected:
    BlockEditorTest()
    {
        editor.sender().setTimerDriven(false);
        editor.sender().setStoppedHook([this](const QString& text) { stopped << text; });
        for (int s = 0; s < 17; ++s)
            for (int t = 0; t < 9; ++t)
                record.setInjectionCell(s, t, quint16(1000 + 100 * s + t));
    }

    // Sends what the editor queued, cell by cell as the timer would.
    void sendQueued()
    {
        while (editor.sender().sendNext()) {
        }
    }
    // Selects the rectangle from the cursor at from to the far corner to with Shift + arrows.
    void select(View view, CellAt from, CellAt to)
    {
        editor.setCursor(view, from.column, from.row);
        for (int i = from.column; i < to.column; ++i)
            blocks.extendSelection(Arrow::Right);
        for (int i = from.row; i < to.row; ++i)
            blocks.extendSelection(Arrow::Up);
    }

    setup::SetupRecord record;
    testsupport::FakeCellLink link;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    maps::MapEditor editor{record, link, log};
    maps::BlockEditor blocks{editor, record};
    QStringList stopped;
};

TEST_F(BlockEditorTest, SelectionSpansFromTheCursorAndStaysInsideTheMap)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {15, 7}, {15, 7});
    for (int i = 0; i < 4; ++i) {
        blocks.extendSelection(Arrow::Right);
        blocks.extendSelection(Arrow::Up);
    }
    EXPECT_EQ(blocks.selection(View::Injection), (CellRect{15, 7, 16, 8}));
    // The far corner moves, past the cursor too.
    for (int i = 0; i < 3; ++i)
        blocks.extendSelection(Arrow::Left);
    EXPECT_EQ(blocks.selection(View::Injection), (CellRect{13, 7, 15, 8}));
    // Only the edited view has a selection; Escape's clear ends it.
    EXPECT_FALSE(blocks.selection(View::Ignition));
    EXPECT_TRUE(blocks.clearSelection());
    EXPECT_FALSE(blocks.selection(View::Injection));
    EXPECT_FALSE(blocks.clearSelection());
}

TEST_F(BlockEditorTest, AMouseDragSelectsFromThePressedCellFoundNearItsDrawnPoint)
{
    const maps::Scene scene = maps::injectionScene(record, {}, {}, {});
    QPointF drawn;
    for (const maps::CellPoint& p : scene.points)
        if (p.cell == CellAt{5, 3})
            drawn = p.at;
    EXPECT_EQ(maps::cellNear(scene, drawn + QPointF(3, -2)), (CellAt{5, 3}));
    EXPECT_FALSE(maps::cellNear(scene, QPointF(-50, -50)));

    editor.select(EditMode::InjectionMap);
    ASSERT_TRUE(blocks.startSelection({5, 3}));
    EXPECT_EQ(editor.cursorCell(View::Injection), (CellAt{5, 3}));
    ASSERT_TRUE(blocks.dragSelection({2, 6}));
    EXPECT_EQ(blocks.selection(View::Injection), (CellRect{2, 3, 5, 6}));
    // With "auto" the poll owns the cursor: the press only anchors the selection.
    editor.boxes(View::Injection).autoFollow = true;
    ASSERT_TRUE(blocks.startSelection({9, 1}));
    EXPECT_EQ(editor.cursorCell(View::Injection), (CellAt{5, 3}));
    EXPECT_EQ(blocks.selection(View::Injection), (CellRect{9, 1, 9, 1}));
}

TEST_F(BlockEditorTest, IgnitionCurveModeSelectsRow0Only)
{
    record.ignitionMapEnabled = 0;
    editor.select(EditMode::Ignition);
    select(View::Ignition, {2, 0}, {4, 3});
    EXPECT_EQ(blocks.selection(View::Ignition), (CellRect{2, 0, 4, 0}));
    ASSERT_TRUE(blocks.apply(BlockOp::Set, 33));
    sendQueued();
    for (int s = 0; s < 17; ++s) {
        EXPECT_EQ(record.ignitionCell(s, 0), s >= 2 && s <= 4 ? 33 : 0) << s;
        EXPECT_EQ(record.ignitionCell(s, 1), 0);
    }
    ASSERT_EQ(link.sent.size(), 3);
    EXPECT_EQ(link.sent[0], QByteArray("Z") + char(3) + char(1) + char(33));
}

TEST_F(BlockEditorTest, ABlockSendsItsChangedCellsInOrderAtTheLinesPace)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {3, 1}, {4, 2});
    record.setInjectionCell(4, 2, 5000);  // already the value: not sent
    ASSERT_TRUE(blocks.apply(BlockOp::Set, 5000));
    // Queued, not yet on the line: the window goes on while the cells go out.
    EXPECT_TRUE(editor.sender().busy());
    EXPECT_TRUE(link.sent.isEmpty());
    sendQueued();
    const QList<QByteArray> expected{
        QByteArray("K") + char(4) + char(2) + char(0x88) + char(0x13),
        QByteArray("K") + char(5) + char(2) + char(0x88) + char(0x13),
        QByteArray("K") + char(4) + char(3) + char(0x88) + char(0x13)};
    EXPECT_EQ(link.sent, expected);
    EXPECT_EQ(link.pauses, 3);
    EXPECT_FALSE(editor.sender().busy());
    EXPECT_EQ(log.statusText(), QStringLiteral("3 Zellen an die KVT gesendet"));
}

TEST_F(BlockEditorTest, ACellChangedAgainBeforeItWentOutIsSentOnceWithItsNewestValue)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {0, 0}, {2, 0});
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 5));
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 5));
    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 7));
    EXPECT_EQ(editor.sender().queued(), 3);
    sendQueued();
    ASSERT_EQ(link.sent.size(), 3);
    for (int s = 0; s < 3; ++s) {
        const int v = 1000 + 100 * s + 12;
        EXPECT_EQ(link.sent[s], QByteArray("K") + char(s + 1) + char(1) + char(v & 0xff) +
                                    char(v >> 8));
    }
}

TEST_F(BlockEditorTest, UndoAndRedoAcrossABlockRestoreAndResendTheCells)
{
    editor.select(EditMode::InjectionMap);
    const setup::SetupRecord original = record;
    select(View::Injection, {0, 0}, {2, 1});
    ASSERT_TRUE(blocks.apply(BlockOp::Scale, 110));
    sendQueued();
    const setup::SetupRecord scaled = record;
    ASSERT_EQ(link.sent.size(), 6);
    // A key change after the block is its own step.
    blocks.clearSelection();
    editor.setCursor(View::Injection, 9, 4);
    ASSERT_TRUE(editor.stepCell(true, false));

    link.sent.clear();
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(record, scaled);
    ASSERT_EQ(link.sent.size(), 1);
    ASSERT_TRUE(editor.undo());
    sendQueued();
    EXPECT_EQ(record, original);
    ASSERT_EQ(link.sent.size(), 7);
    // The undone block sent its cells back with their old values.
    EXPECT_EQ(link.sent[1], QByteArray("K") + char(1) + char(1) + char(1000 & 0xff) +
                                char(1000 >> 8));
    EXPECT_FALSE(editor.undo());

    link.sent.clear();
    ASSERT_TRUE(editor.redo());
    sendQueued();
    EXPECT_EQ(link.sent.size(), 6);
    ASSERT_TRUE(editor.redo());
    EXPECT_FALSE(editor.redo());
    EXPECT_EQ(record.injectionCell(9, 4), 1000 + 900 + 4 + 1);
    EXPECT_EQ(record.injectionCell(2, 1), scaled.injectionCell(2, 1));
    // A new change ends what could be redone.
    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(editor.stepCell(false, false));
    EXPECT_FALSE(editor.redo());
}

TEST_F(BlockEditorTest, WithoutAKvtABlockChangesOnlyTheRecord)
{
    link.isIdentified = false;
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {0, 0}, {16, 8});
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 1));
    EXPECT_FALSE(editor.sender().busy());
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(record.injectionCell(16, 8), 1000 + 1600 + 8 + 1);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(record.injectionCell(16, 8), 1000 + 1600 + 8);
}

TEST_F(BlockEditorTest, ALineThatStopsMidBlockNamesTheCellsThatDidNotArrive)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {0, 0}, {1, 2});
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 10));
    link.failFrom = 2;
    sendQueued();
    EXPECT_EQ(link.sent.size(), 2);
    EXPECT_FALSE(editor.sender().busy());
    ASSERT_EQ(stopped.size(), 1);
    // Row by row from the lowest: (0:0) and (1:0) went out, the other four did not.
    EXPECT_TRUE(stopped[0].contains(QStringLiteral("Zeitüberschreitung")));
    EXPECT_TRUE(stopped[0].contains(QStringLiteral("4 von 6 Zellen")));
    EXPECT_TRUE(stopped[0].contains(QStringLiteral("(0:1) (1:1) (0:2) (1:2)")));
    EXPECT_EQ(log.statusText(), QStringLiteral("Senden abgebrochen: 4 Zellen nicht bei der KVT"));
    // The record keeps the new values for the next "-> KVT".
    EXPECT_EQ(record.injectionCell(1, 2), 1000 + 100 + 2 + 10);

    // A KVT lost between two cells stops the block as well.
    stopped.clear();
    link.failFrom = -1;
    link.sent.clear();
    ASSERT_TRUE(blocks.apply(BlockOp::Add, 10));
    ASSERT_TRUE(editor.sender().sendNext());
    link.isIdentified = false;
    sendQueued();
    EXPECT_EQ(link.sent.size(), 1);
    ASSERT_EQ(stopped.size(), 1);
    EXPECT_TRUE(stopped[0].contains(QStringLiteral("Verbindung")));
    EXPECT_TRUE(stopped[0].contains(QStringLiteral("5 von 6 Zellen")));
}

TEST_F(BlockEditorTest, CopyAndPasteGoThroughSpreadsheetText)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {2, 3}, {4, 4});
    EXPECT_EQ(blocks.copyText(), QStringLiteral("1204\t1304\t1404\n1203\t1303\t1403\n"));
    // Pasted at the selection's top left cell, the first line into its upper row.
    blocks.clearSelection();
    editor.setCursor(View::Injection, 10, 8);
    ASSERT_TRUE(blocks.paste(QStringLiteral("1\t2\n3\t70000\n"), dialogs));
    sendQueued();
    EXPECT_EQ(record.injectionCell(10, 8), 1);
    EXPECT_EQ(record.injectionCell(11, 8), 2);
    EXPECT_EQ(record.injectionCell(10, 7), 3);
    EXPECT_EQ(record.injectionCell(11, 7), 59999);
    EXPECT_EQ(link.sent.size(), 4);
    EXPECT_TRUE(dialogs.calls.empty());

    // The curves show their correction in %: 85 is the stored 0.
    editor.select(EditMode::AirTempCurve);
    editor.setCursor(View::AirTemp, 15);
    ASSERT_TRUE(blocks.paste(QStringLiteral("85\t300\n"), dialogs));
    EXPECT_EQ(record.airTempCell(15), 0);
    EXPECT_EQ(record.airTempCell(16), 150);
}

TEST_F(BlockEditorTest, PasteThatDoesNotFitOrIsNoNumberIsRefusedAndChangesNothing)
{
    struct Case {
        EditMode mode;
        CellAt cursor;
        QString text;
        QString says;
    };
    const Case cases[] = {
        {EditMode::InjectionMap, {15, 8}, QStringLiteral("1\t2\t3\n"), QStringLiteral("passt")},
        {EditMode::InjectionMap, {0, 1}, QStringLiteral("1\n2\n3\n"), QStringLiteral("passt")},
        {EditMode::AirTempCurve, {0, 0}, QStringLiteral("90\n90\n"), QStringLiteral("passt")},
        {EditMode::InjectionMap, {0, 8}, QStringLiteral("1\tx\n"), QStringLiteral("keine Zahl")},
        {EditMode::InjectionMap, {0, 8}, QStringLiteral("1\t2\n3\n"),
         QStringLiteral("verschieden viele")},
    };
    for (const Case& c : cases) {
        const setup::SetupRecord before = record;
        dialogs.calls.clear();
        editor.select(c.mode);
        editor.setCursor(*editor.editedView(), c.cursor.column, c.cursor.row);
        EXPECT_FALSE(blocks.paste(c.text, dialogs));
        EXPECT_EQ(record, before);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Einfügen"));
        EXPECT_TRUE(dialogs.calls[0].text.contains(c.says)) << dialogs.calls[0].text.toStdString();
        EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("nichts geändert")));
    }
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_FALSE(editor.undo());
}

TEST_F(BlockEditorTest, TypedAmountsTakeTheUsualRulesAndACancelChangesNothing)
{
    editor.select(EditMode::InjectionMap);
    select(View::Injection, {0, 0}, {1, 0});
    const setup::SetupRecord before = record;
    dialogs.answerInput(std::nullopt);
    dialogs.answerInput(QStringLiteral("abc"));
    EXPECT_FALSE(blocks.askAndApply(BlockOp::Set, dialogs));
    EXPECT_FALSE(blocks.askAndApply(BlockOp::Add, dialogs));
    EXPECT_EQ(record, before);
    dialogs.answerInput(QStringLiteral(" -50 µs"));
    ASSERT_TRUE(blocks.askAndApply(BlockOp::Add, dialogs));
    EXPECT_EQ(record.injectionCell(0, 0), 950);
    dialogs.answerInput(QStringLiteral("50.5"));
    ASSERT_TRUE(blocks.askAndApply(BlockOp::Scale, dialogs));
    EXPECT_EQ(record.injectionCell(0, 0), 480);  // 950 x 0.505 = 479.75
    EXPECT_EQ(record.injectionCell(1, 0), 530);  // 1050 x 0.505 = 530.25
    EXPECT_EQ(record.injectionCell(2, 0), 1200);
    EXPECT_TRUE(dialogs.calls.back().text.contains(QStringLiteral("2 Zellen")));
}

TEST_F(BlockEditorTest, TheReferenceMarksEveryDrawnCellThatDiffers)
{
    setup::SetupRecord reference = record;
    reference.setInjectionCell(3, 4, 1);
    reference.setIgnitionCell(5, 6, 20);
    reference.setEngineTempCell(16, 7);
    blocks.setReference(reference, QStringLiteral("ref.kvt"));
    EXPECT_EQ(blocks.differing(View::Injection), (std::vector<CellAt>{{3, 4}}));
    EXPECT_EQ(blocks.differing(View::Ignition), (std::vector<CellAt>{{5, 6}}));
    EXPECT_EQ(blocks.differing(View::EngineTemp), (std::vector<CellAt>{{16, 0}}));
    EXPECT_TRUE(blocks.differing(View::AirTemp).empty());
    // In curve mode the ignition view draws row 0 only.
    record.ignitionMapEnabled = 0;
    EXPECT_TRUE(blocks.differing(View::Ignition).empty());
    blocks.clearReference();
    EXPECT_TRUE(blocks.differing(View::Injection).empty());
}

}  // namespace
