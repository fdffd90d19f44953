// The history in the running program against the simulated KVT: every way a setup is read,
// written, stored, loaded or saved makes its entry; "Wiederherstellen" and the compare view.
#include "history/CompareWindow.h"
#include "history/HistoryWindow.h"
#include "setup/SetupBlock.h"
#include "support/MotrixOnSimulator.h"

#include <QItemSelectionModel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using history::Event;

struct HistoryInProgram : testsupport::MotrixOnSimulator {
    history::SetupHistory& h() { return motrix->setupHistory(); }
    QByteArray block() { return setup::encodeSetupBlock(motrix->setupRecord()); }
    history::KvtIdentity identity()
    {
        const devlink::DeviceIdentity& id = motrix->link().identity();
        return {id.deviceType, id.hw, id.sw, id.bl, id.restartCount};
    }
    // The newest entry, with its block.
    history::Entry newest() { return *h().get(h().list().front().id); }
    void select(const std::vector<qint64>& ids)
    {
        QTableWidget* t = motrix->historyWindow().form().entries;
        t->clearSelection();
        for (int row = 0; row < t->rowCount(); ++row)
            for (qint64 id : ids)
                if (t->item(row, 0)->text() == QString::number(id))
                    t->selectionModel()->select(
                        t->model()->index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(HistoryInProgram, EveryTransferLoadAndSaveIsOneEntryWithItsIdentityAndBlock)
{
    app::ProgramSettings s = simulatorSettings();
    s.readSetupAfterIdentification = true;
    start(s);
    tick();
    ASSERT_TRUE(motrix->link().identified());
    ASSERT_EQ(h().list().size(), 1u);
    const QString file = dir.path() + "/motor.kvt";
    motrix->mainWindow().setDescription(QStringLiteral("Prüfstand"));

    struct Step {
        const char* what;
        std::function<void()> act;
        Event event;
        QString path;
    };
    const Step steps[] = {
        {"read after identification", [] {}, Event::KvtRead, {}},
        {"-> KVT",
         [&] {
             motrix->setupRecord().limiterSpeed = 123;
             motrix->mainForm().writeToKvtButton->click();
         },
         Event::KvtWrite,
         {}},
        {"-> EEPROM", [&] { motrix->mainForm().eepromButton->click(); }, Event::EepromStore, {}},
        {"-> PC", [&] { motrix->mainForm().readFromKvtButton->click(); }, Event::KvtRead, {}},
        {"Speichern",
         [&] {
             dialogs.answerFile(file);
             motrix->mainForm().saveButton->click();
         },
         Event::FileSave, file},
        {"Laden",
         [&] {
             motrix->setupRecord().limiterSpeed = 99;
             dialogs.answerFile(file);
             motrix->mainForm().loadButton->click();
         },
         Event::FileLoad, file},
    };
    std::size_t expected = 0;
    for (const Step& step : steps) {
        step.act();
        ++expected;
        ASSERT_EQ(h().list().size(), expected) << step.what;
        const history::Entry e = newest();
        EXPECT_EQ(e.event, step.event) << step.what;
        EXPECT_EQ(e.kvt, identity()) << step.what;
        EXPECT_TRUE(e.kvt.identified()) << step.what;
        EXPECT_EQ(e.path, step.path) << step.what;
        EXPECT_EQ(e.block, block()) << step.what;
        EXPECT_EQ(e.description, step.event == Event::KvtRead ? QString() : "Prüfstand")
            << step.what;
    }
    // What the KVT stored is what was written, and what "-> PC" brought back.
    EXPECT_EQ(h().get(h().list()[2].id)->block, kvt.setup());
    EXPECT_EQ(quint8(h().get(h().list()[2].id)->block[23]), 123);

    // The same read twice in a row: counted, not stored.
    motrix->mainForm().readFromKvtButton->click();
    motrix->mainForm().readFromKvtButton->click();
    EXPECT_EQ(h().list().size(), expected + 1);
    EXPECT_EQ(h().list().front().repeats, 1);
}

TEST_F(HistoryInProgram, RestoreLoadsTheEntryByteForByteAndSendsNothing)
{
    start();
    tick();
    ASSERT_TRUE(motrix->link().identified());
    motrix->mainForm().readFromKvtButton->click();
    const history::Entry original = newest();
    motrix->setupRecord().injectionMap[40] = 4321;
    motrix->setupRecord().injectorDeadTime[1] = 777;
    motrix->mainWindow().setDescription(QStringLiteral("geändert"));
    motrix->mainForm().writeToKvtButton->click();
    ASSERT_NE(block(), original.block);

    motrix->windows()[app::WindowId::History].open();
    EXPECT_EQ(motrix->historyWindow().form().entries->rowCount(), 2);
    select({original.id});
    const QByteArray sentBefore = line->written;
    const QByteArray kvtBefore = kvt.setup();
    dialogs.answerQuestion(true);
    motrix->historyWindow().form().restore->click();

    EXPECT_EQ(block(), original.block);  // dead times included
    EXPECT_EQ(motrix->mainWindow().description(), original.description);
    EXPECT_EQ(line->written, sentBefore);
    EXPECT_EQ(kvt.setup(), kvtBefore);
    EXPECT_TRUE(logged.last().contains("aus der Setup-Historie geladen"));
    // A restore is no new entry: it reaches the history when it is sent or saved.
    EXPECT_EQ(h().list().size(), 2u);

    // Nein leaves the setup as it is.
    const QByteArray restored = block();
    select({h().list().front().id});
    dialogs.answerQuestion(false);
    motrix->historyWindow().form().restore->click();
    EXPECT_EQ(block(), restored);
}

TEST_F(HistoryInProgram, TwoEntriesAreComparedFieldByFieldAndPerMap)
{
    start();
    tick();
    motrix->mainForm().readFromKvtButton->click();
    motrix->setupRecord().injectionMap[0] += 5;
    motrix->setupRecord().injectionMap[20] += 5;
    motrix->setupRecord().limiterSpeed = 150;
    motrix->mainForm().writeToKvtButton->click();
    motrix->windows()[app::WindowId::History].open();
    select({h().list()[0].id, h().list()[1].id});
    motrix->historyWindow().form().compare->click();

    const forms::Vergleichdialog& c = motrix->compareWindow().form();
    EXPECT_TRUE(motrix->windows()[app::WindowId::SetupCompare].isVisible());
    ASSERT_EQ(c.fields->rowCount(), 3);
    EXPECT_EQ(c.fields->item(0, 0)->text(), "limiterSpeed");
    EXPECT_EQ(c.fields->item(0, 2)->text(), "15000 Umin");  // the upper (newer) entry
    QStringList counts;
    for (int row = 0; row < c.maps->rowCount(); ++row)
        counts << c.maps->item(row, 0)->text() + "=" + c.maps->item(row, 1)->text();
    EXPECT_TRUE(counts.contains("Einspritzkennfeld=2 von 153")) << counts.join(", ").toStdString();
    EXPECT_TRUE(counts.contains("Zündkennfeld=0 von 153"));
}

TEST_F(HistoryInProgram, ADamagedDatabaseAtStartIsMovedAsideWithAMessage)
{
    QFile f(history::SetupHistory::pathIn(dir.path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, '\x7f'));
    f.close();
    start();
    const QStringList boxes = dialogs.boxTexts();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Die Setup-Historie war beschädigt"));
    EXPECT_EQ(dialogs.calls[0].title, "Setup-Historie");
    tick();
    motrix->mainForm().readFromKvtButton->click();
    EXPECT_EQ(h().list().size(), 1u);
}

// The picture for the documentation, taken only when MOTRIX_SCREENSHOTS names a folder and the
// program runs on a real (virtual) X display: xvfb-run -s '-screen 0 1600x1200x24'.
TEST_F(HistoryInProgram, Screenshot)
{
    const QString folder = qEnvironmentVariable("MOTRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "MOTRIX_SCREENSHOTS not set";
    start();
    tick();
    motrix->mainForm().readFromKvtButton->click();
    motrix->mainForm().readFromKvtButton->click();
    motrix->mainWindow().setDescription(QStringLiteral("Prüfstand, Düse 2 getauscht"));
    motrix->setupRecord().injectionMap[30] += 40;
    motrix->setupRecord().injectionMap[31] += 40;
    motrix->setupRecord().limiterSpeed = 115;
    motrix->mainForm().writeToKvtButton->click();
    motrix->mainForm().eepromButton->click();
    dialogs.answerFile(dir.path() + "/kunde-17.kvt");
    motrix->mainForm().saveButton->click();
    forms::Window& list = motrix->windows()[app::WindowId::History];
    list.move(0, 0);
    list.resize(1000, 460);
    list.open();
    select({h().list()[2].id, h().list()[3].id});
    motrix->historyWindow().form().compare->click();
    forms::Window& compare = motrix->windows()[app::WindowId::SetupCompare];
    compare.move(0, list.frameGeometry().bottom() + 4);
    compare.resize(1000, 640);
    for (int n = 0; n < 20; ++n) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    const QRect both = list.frameGeometry().united(compare.frameGeometry());
    EXPECT_EQ(QProcess::execute("import", {"-window", "root", "-crop",
                                           QString("%1x%2+%3+%4")
                                               .arg(both.width())
                                               .arg(both.height())
                                               .arg(both.x())
                                               .arg(both.y()),
                                           folder + "/history-window.png"}),
              0);
}

}  // namespace
