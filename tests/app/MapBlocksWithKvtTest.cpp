// Block editing in the whole program against the simulated KVT: the keys select and change a
// block, its cells go out as exactly the K and Z commands in order while polling waits, undo
// sends them back, a line that fails mid-block is named cell by cell, and the compare with a
// file lists the same fields as motrix-cli setup diff and marks the differing cells.
#include "app/core/MenuEvents.h"
#include "forms/Historiedialog.h"
#include "maps/CellMarks.h"
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"
#include "support/MotrixOnSimulator.h"

#include <QAction>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QThread>

namespace {

using maps::View;

QByteArray cellBytes(char letter, std::initializer_list<int> values)
{
    QByteArray out(1, letter);
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

struct MapBlocksWithKvt : testsupport::MotrixOnSimulator {
    void startIdentified()
    {
        app::ProgramSettings s = simulatorSettings();
        s.readSetupAfterIdentification = true;
        start(s);
        tick();
        ASSERT_TRUE(motrix->link().identified());
    }
    forms::Window& main() { return motrix->windows()[app::WindowId::Main]; }
    void menu(app::MainMenuEvent event) { emit main().menuEvent(int(event)); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&main(), k, mods);
    }
    maps::CellSender& sender() { return motrix->mapKeys().editor().sender(); }
    // Lets the sender's timer send the queued cells, as the running program does.
    void sendQueued()
    {
        QElapsedTimer waited;
        waited.start();
        while (sender().busy() && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_FALSE(sender().busy());
    }
    setup::SetupRecord kvtSetup() { return setup::decodeSetupBlock(kvt.setup()); }
    QAction* menuAction(View view, const QString& text)
    {
        for (QAction* a : motrix->mapKeys().contextMenu(view)->actions())
            if (a->text().startsWith(text))
                return a;
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        return nullptr;
    }
};

TEST_F(MapBlocksWithKvt, ABlockGoesOutAsItsCellCommandsInOrderWhilePollingWaits)
{
    startIdentified();
    menu(app::MainMenuEvent::EditInjectionMap);
    motrix->mapKeys().editor().setCursor(View::Injection, 3, 2);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    ASSERT_EQ(motrix->mapKeys().blocks().selection(View::Injection),
              (maps::CellRect{3, 2, 5, 3}));
    // The selection is drawn: an outline and a dot on each of its six cells.
    int dots = 0;
    for (const maps::Circle& c : motrix->mapKeys().view(View::Injection).scene().circles)
        dots += c.part == maps::Part::Selection;
    EXPECT_EQ(dots, 6);

    const int value = motrix->setupRecord().injectionCell(3, 2) == 2500 ? 2600 : 2500;
    QByteArray expected;
    for (int t = 2; t <= 3; ++t)
        for (int s = 3; s <= 5; ++s)
            if (motrix->setupRecord().injectionCell(s, t) != value)
                expected += cellBytes('K', {s + 1, t + 1, value & 0xff, value >> 8});
    line->written.clear();
    logged.clear();
    dialogs.answerInput(QString::number(value));
    key(Qt::Key_S);
    ASSERT_TRUE(sender().busy());
    // A tick while the block goes out identifies nothing anew and polls nothing.
    tick();
    sendQueued();
    tick();
    ASSERT_GE(line->written.size(), expected.size());
    EXPECT_EQ(line->written.left(expected.size()), expected);
    EXPECT_EQ(line->written.mid(expected.size(), 1), QByteArray("D"));
    const setup::SetupRecord inKvt = kvtSetup();
    for (int t = 2; t <= 3; ++t)
        for (int s = 3; s <= 5; ++s)
            EXPECT_EQ(inKvt.injectionCell(s, t), value) << s << ":" << t;
    EXPECT_TRUE(logged.contains(QStringLiteral("Sende Zellen an die KVT: 1 von 6")));
    EXPECT_TRUE(logged.contains(QStringLiteral("Einspritzkennfeld aktualisiert (5:3)")));

    // The ignition map: Z commands; Control+Z sends the old values back.
    const setup::SetupRecord before = kvtSetup();
    menu(app::MainMenuEvent::EditIgnition);
    motrix->mapKeys().editor().setCursor(View::Ignition, 0, 0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    line->written.clear();
    dialogs.answerInput(QStringLiteral("3"));
    key(Qt::Key_A);
    sendQueued();
    QByteArray zs;
    for (int s = 0; s <= 2; ++s)
        zs += cellBytes('Z', {s + 1, 1, before.ignitionCell(s, 0) + 3});
    EXPECT_EQ(line->written, zs);
    line->written.clear();
    key(Qt::Key_Z, Qt::ControlModifier);
    sendQueued();
    EXPECT_EQ(line->written.count('Z'), 3);
    EXPECT_EQ(kvtSetup(), before);
    key(Qt::Key_Y, Qt::ControlModifier);
    sendQueued();
    EXPECT_EQ(kvtSetup().ignitionCell(2, 0), before.ignitionCell(2, 0) + 3);
}

TEST_F(MapBlocksWithKvt, ALineThatFailsMidBlockStopsAndNamesTheCellsNotSent)
{
    startIdentified();
    menu(app::MainMenuEvent::EditInjectionMap);
    motrix->mapKeys().editor().setCursor(View::Injection, 0, 0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    // The adapter goes away as the fourth cell's letter is on the line.
    int letters = 0;
    auto answer = line->onWrite;
    line->onWrite = [&](testsupport::FakeLine& l, const QByteArray& bytes) {
        if (bytes == "K" && ++letters == 4)
            l.failed = true;
        answer(l, bytes);
    };
    dialogs.answerInput(QStringLiteral("+7"));
    key(Qt::Key_A);
    sendQueued();
    EXPECT_EQ(letters, 4);
    const auto box = std::find_if(dialogs.calls.begin(), dialogs.calls.end(), [](const auto& c) {
        return c.title == QStringLiteral("Kennfeld senden");
    });
    ASSERT_NE(box, dialogs.calls.end());
    EXPECT_TRUE(box->text.contains(QStringLiteral("3 von 6 Zellen")));
    EXPECT_TRUE(box->text.contains(QStringLiteral("(1:1) (0:2) (1:2)"))) << box->text.toStdString();
    EXPECT_TRUE(logged.contains(QStringLiteral("Senden abgebrochen: 3 Zellen nicht bei der KVT")));
    // The program goes on: the next tick finds the port gone.
    tick();
    EXPECT_FALSE(motrix->link().identified());
}

TEST_F(MapBlocksWithKvt, CompareWithAFileListsTheFieldsOfSetupDiffAndMarksTheCells)
{
    startIdentified();
    setup::SetupRecord a = motrix->setupRecord();
    setup::SetupRecord b = a;
    b.limiterSpeed = quint8(a.limiterSpeed + 5);
    b.setInjectionCell(4, 4, quint16(a.injectionCell(4, 4) + 100));
    b.setInjectionCell(16, 8, quint16(a.injectionCell(16, 8) + 1));
    b.setAirTempCell(3, quint8(a.airTempCell(3) + 10));
    b.overrunMinSpeed = quint8(a.overrunMinSpeed + 1);
    const auto write = [&](const QString& name, const setup::SetupRecord& r) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(setup::encodeSetupFile(r, QStringLiteral("Vergleich"), {}, QDateTime::currentDateTime()));
        return f.fileName();
    };
    const QString fileA = write(QStringLiteral("a.kvt"), a);
    const QString fileB = write(QStringLiteral("b.kvt"), b);
    dialogs.answerFile(fileA);
    motrix->mainForm().loadButton->click();

    dialogs.answerFile(fileB);
    QAction* compare = menuAction(View::Injection, QStringLiteral("Vergleichen mit Datei"));
    ASSERT_TRUE(compare);
    compare->trigger();

    QProcess cli;
    cli.start(QStringLiteral(MOTRIX_CLI_PATH), {"setup", "diff", fileA, fileB, "--json"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1);
    const QJsonArray differences =
        QJsonDocument::fromJson(cli.readAllStandardOutput()).object()["differences"].toArray();
    QTableWidget* fields = motrix->compareWindow().form().fields;
    ASSERT_EQ(fields->rowCount(), differences.size());
    ASSERT_EQ(differences.size(), 5);
    for (int i = 0; i < fields->rowCount(); ++i)
        EXPECT_EQ(fields->item(i, 0)->text(), differences[i].toObject()["where"].toString()) << i;
    EXPECT_TRUE(motrix->windows()[app::WindowId::SetupCompare].isVisible());

    // Every view marks its differing cells; an edit that makes a cell equal takes its mark away.
    const auto marks = [&](View v) {
        int n = 0;
        for (const maps::Circle& c : motrix->mapKeys().view(v).scene().circles)
            n += c.part == maps::Part::Difference;
        return n;
    };
    EXPECT_EQ(marks(View::Injection), 2);
    EXPECT_EQ(marks(View::AirTemp), 1);
    EXPECT_EQ(marks(View::Ignition), 0);
    menu(app::MainMenuEvent::EditInjectionMap);
    motrix->mapKeys().editor().setCursor(View::Injection, 16, 8);
    key(Qt::Key_Plus);
    EXPECT_EQ(marks(View::Injection), 1);
    menuAction(View::Injection, QStringLiteral("Vergleich beenden"))->trigger();
    EXPECT_EQ(marks(View::Injection), 0);
}

TEST_F(MapBlocksWithKvt, CompareWithTheKvtFollowsTheCellsSentToIt)
{
    app::ProgramSettings s = simulatorSettings();
    s.readSetupAfterIdentification = false;
    start(s);
    tick();
    menuAction(View::Injection, QStringLiteral("Vergleichen mit KVT"))->trigger();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_TRUE(dialogs.calls.back().text.contains(QStringLiteral("noch kein Setup")));

    motrix->mainForm().readFromKvtButton->click();
    menuAction(View::Injection, QStringLiteral("Vergleichen mit KVT"))->trigger();
    EXPECT_EQ(motrix->compareWindow().form().fields->rowCount(), 0);
    // Sent live: the KVT has it too, so nothing differs; the same for the ignition switch.
    menu(app::MainMenuEvent::EditInjectionMap);
    key(Qt::Key_Plus);
    EXPECT_TRUE(motrix->mapKeys().blocks().differing(View::Injection).empty());
    motrix->mainForm().ignitionMapCheck->click();
    menuAction(View::Injection, QStringLiteral("Vergleichen mit KVT"))->trigger();
    EXPECT_EQ(motrix->compareWindow().form().fields->rowCount(), 0);
    // Changed without a KVT: it differs until sent.
    motrix->mainForm().comCheck->click();
    tick();
    ASSERT_FALSE(motrix->link().identified());
    key(Qt::Key_Plus);
    EXPECT_EQ(motrix->mapKeys().blocks().differing(View::Injection).size(), 1u);
}

// The pictures for the documentation, taken only when MOTRIX_SCREENSHOTS names a folder and the
// program runs on a real (virtual) X display.
TEST_F(MapBlocksWithKvt, Screenshots)
{
    const QString folder = qEnvironmentVariable("MOTRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "MOTRIX_SCREENSHOTS not set";
    startIdentified();
    forms::Window& w = main();
    w.move(0, 0);
    w.open();
    menu(app::MainMenuEvent::EditInjectionMap);
    motrix->mapKeys().editor().setCursor(View::Injection, 4, 2);
    for (int i = 0; i < 5; ++i)
        key(Qt::Key_Right, Qt::ShiftModifier);
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Up, Qt::ShiftModifier);
    const auto shoot = [&](const QString& name) {
        for (int n = 0; n < 20; ++n) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
        const QRect r = w.frameGeometry();
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", "-crop",
                                               QString("%1x%2+%3+%4")
                                                   .arg(r.width())
                                                   .arg(r.height())
                                                   .arg(r.x())
                                                   .arg(r.y()),
                                               folder + "/" + name}),
                  0);
    };
    // The context menu over the selection, for a look at its entries.
    QMenu* menu = motrix->mapKeys().contextMenu(View::Injection);
    menu->popup(motrix->mapKeys().view(View::Injection).mapToGlobal(QPoint(250, 120)));
    shoot(QStringLiteral("map-block-selected.png"));
    menu->close();

    setup::SetupRecord reference = motrix->setupRecord();
    for (int s = 8; s <= 12; ++s)
        reference.setInjectionCell(s, 6, quint16(reference.injectionCell(s, 6) + 300));
    reference.setIgnitionCell(10, 4, quint8(reference.ignitionCell(10, 4) + 2));
    reference.setEngineTempCell(5, quint8(reference.engineTempCell(5) + 5));
    motrix->mapKeys().blocks().setReference(reference, QStringLiteral("referenz.kvt"));
    motrix->mapKeys().blocks().clearSelection();
    motrix->mapKeys().redrawAll();
    shoot(QStringLiteral("map-compare-marks.png"));
}

}  // namespace
