// The power window: defaults, take-over on Return, the exclusive corrections, a run with F11
// and F12 on the simulated KVT's dynamometer run, the cursor by wheel and click, comparison
// curves, and printing through the print dialog.
#include "DynoRun.h"
#include "KvtSimulator.h"
#include "app/core/MenuEvents.h"
#include "app/core/WindowTable.h"
#include "forms/Window.h"
#include "link/LiveRecord.h"
#include "power/PowerChartCanvas.h"
#include "power/PowerParameters.h"
#include "power/PowerWindow.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace power;

namespace {

struct PowerWindowTest : ::testing::Test {
    // Before any widget below.
    QApplication& application = testsupport::application();
    forms::Window window{app::windowInfo(app::WindowId::PowerComparison)};
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    qint64 nowMs = 1000;
    PowerWindow::Hooks hooks{[this] { return nowMs; },
                             [] { return 3; },
                             [] { return 500; },
                             [] { return QStringLiteral("Prüfstand 2"); },
                             [] { return 11000; },
                             [] { return QStringLiteral("2.1"); },
                             [] { return QStringLiteral("4.7"); },
                             [] { return QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)); },
                             [] {
                                 return app::SystemInfo{QStringLiteral("Test CPU"), 2,
                                                        qint64(1) << 30, QStringLiteral("pc"),
                                                        QStringLiteral("otto")};
                             }};
    PowerWindow power{window, dialogs, log, hooks};
    QTemporaryDir dir;

    forms::Leistungsvergleich& f() { return power.form(); }

    void wheel(int delta, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&power.canvas(), &e);
    }

    // F11, the dynamometer run polled every 100 ms with a timer tick before each poll, F12.
    void measureDynoRun()
    {
        kvtsim::KvtSimulator sim;
        sim.dynoRun().request();
        emit window.menuEvent(int(app::FieldMenuEvent::StartPowerRun));
        for (qint64 kvtMs = 20000; kvtMs < 32000; kvtMs += 100) {
            nowMs += 100;
            power.timerTick();
            const auto record = devlink::decodeLiveReply(sim.receive("D", kvtMs).mid(1));
            ASSERT_TRUE(record);
            power.liveSample(record->rpmForMaps, record->timeStamp);
        }
        emit window.menuEvent(int(app::FieldMenuEvent::StopPowerRun));
    }
};

}  // namespace

TEST_F(PowerWindowTest, StartsWithTheDefaults)
{
    EXPECT_EQ(f().parameters[int(Parameter::Ratio)]->text(), QStringLiteral("1.00"));
    EXPECT_EQ(f().parameters[int(Parameter::Inertia)]->text(), QStringLiteral("15.0"));
    EXPECT_EQ(f().parameters[int(Parameter::Pressure)]->text(), QStringLiteral("1013"));
    EXPECT_TRUE(f().slotShown[0]->isChecked());
    EXPECT_FALSE(f().slotShown[1]->isChecked());
    EXPECT_TRUE(f().roller->isChecked());
    EXPECT_TRUE(f().measureMode->isChecked());
    EXPECT_EQ(f().progress->maximum(), 60000);
    EXPECT_EQ(f().start->text(), QStringLiteral("Start  (F11)"));
    EXPECT_EQ(f().parameters[int(Parameter::Cw)]->toolTip(),
              QStringLiteral("Hinweis: Autos ca. 0.35, Motorräder (naked/verkleidet) ca. 0.7 / "
                             "0.3 "));
    EXPECT_EQ(power.scale().xMax, 1000);
}

TEST_F(PowerWindowTest, ReturnTakesTheFieldsOver)
{
    f().parameters[int(Parameter::Ratio)]->setText(QStringLiteral("25"));
    f().parameters[int(Parameter::Mass)]->setText(QStringLiteral("abc"));
    emit window.menuEvent(1);
    EXPECT_EQ(f().parameters[int(Parameter::Ratio)]->text(), QStringLiteral("20.00"));
    EXPECT_EQ(f().parameters[int(Parameter::Mass)]->text(), QStringLiteral("0"));
    EXPECT_FLOAT_EQ(power.document().parameters.ratio, 20.0f);
}

TEST_F(PowerWindowTest, CorrectionsExcludeEachOther)
{
    f().ewg->click();
    EXPECT_TRUE(f().ewg->isChecked());
    f().din->click();
    EXPECT_TRUE(f().din->isChecked());
    EXPECT_FALSE(f().ewg->isChecked());
    EXPECT_GT(power.evaluation().air.correctionFactor, 1.0f);
    f().ewg->click();
    EXPECT_FALSE(f().din->isChecked());
}

TEST_F(PowerWindowTest, DynoRunGivesPowerAndTorqueOverItsSpeeds)
{
    measureDynoRun();
    EXPECT_FALSE(power.measuring());
    EXPECT_EQ(f().progress->value(), 0);
    EXPECT_TRUE(f().remaining->text().isEmpty());
    // Every fourth reply is a sample: about 30 in the 12 s.
    EXPECT_NEAR(power.capture().count(), 30, 1);
    int filled = 0;
    for (const GridPoint& g : power.curves()[0])
        filled += g.torque > 0 && g.power > 0;
    EXPECT_GT(filled, 150);  // 3000 … 12000 rpm
    EXPECT_GE(power.scale().xMax, 11500);
    // The remaining seconds counted down while the run went on.
    EXPECT_EQ(power.capture().samples()[1].time, 400.0f);
}

TEST_F(PowerWindowTest, RunEndsAfterSixtySeconds)
{
    emit window.menuEvent(int(app::FieldMenuEvent::StartPowerRun));
    nowMs += 15500;
    power.timerTick();
    EXPECT_EQ(f().remaining->text(), QStringLiteral("44"));
    EXPECT_EQ(f().progress->value(), 15500);
    nowMs += 44500;
    power.timerTick();
    EXPECT_FALSE(power.measuring());
    EXPECT_TRUE(f().remaining->text().isEmpty());
}

TEST_F(PowerWindowTest, WheelAndClickMoveTheCursor)
{
    measureDynoRun();
    struct Case {
        Qt::KeyboardModifiers modifiers;
        int step;
    };
    power.setCursor(5000);
    for (const Case& c :
         {Case{Qt::NoModifier, 1}, Case{Qt::ShiftModifier, 10}, Case{Qt::ControlModifier, 100},
          Case{Qt::ShiftModifier | Qt::ControlModifier, 109}}) {
        const int before = power.cursor();
        wheel(120, c.modifiers);
        EXPECT_EQ(power.cursor(), before + c.step);
        wheel(-120, c.modifiers);
        EXPECT_EQ(power.cursor(), before);
    }
    EXPECT_EQ(f().cursorSpeed->text(), QStringLiteral("5000 Umin"));
    EXPECT_NE(f().readoutPower[0]->text(), QStringLiteral("0.0"));
    power.setCursor(400);  // at or below the minimum speed every read-out is 0.0
    EXPECT_EQ(f().readoutPower[0]->text(), QStringLiteral("0.0"));
    EXPECT_EQ(f().readoutTorque[0]->text(), QStringLiteral("0.0"));

    power.canvas().resize(905, 500);
    power.click(50 + 800 / 2.0);
    EXPECT_EQ(power.cursor(), power.scale().xMax / 2);
}

TEST_F(PowerWindowTest, SavedRunComesBackAsComparisonAndPrints)
{
    measureDynoRun();
    // Return ends the description's edit like the parameters' (the window's shortcut keeps the
    // key from the field, so the field itself never finished its edit before).
    f().description->setText(QStringLiteral("Lauf, eins"));
    emit window.menuEvent(1);
    EXPECT_EQ(power.document().info.description, QStringLiteral("Lauf eins"));
    const QString path = dir.filePath(QStringLiteral("lauf1"));
    dialogs.answerFile(path);
    power.save();
    EXPECT_EQ(f().fileName->text(), QStringLiteral("lauf1.klv"));
    EXPECT_EQ(f().hardware->text(), QStringLiteral("2.1"));
    EXPECT_EQ(f().description->text(), QStringLiteral("Lauf eins"));

    dialogs.answerFile(path + QStringLiteral(".klv"));
    f().slotShown[1]->setChecked(true);
    power.loadComparison(2);
    EXPECT_EQ(f().comparisons[0].fileName->text(), QStringLiteral("lauf1.klv"));
    EXPECT_EQ(f().comparisons[0].system->text(), QStringLiteral("(rotatorisch)"));
    for (int k = 0; k < gridPoints; ++k)
        EXPECT_NEAR(power.curves()[1][k].power, power.curves()[0][k].power, 0.006);

    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    dialogs.answerPrint(pdf);
    power.setCursor(9000);
    power.print();
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("KVT - Leistungsvergleich"));
    EXPECT_EQ(log.statusText(), QStringLiteral("Leistungsvergleich gedruckt"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(page.contains(QStringLiteral("--- Prüfstand 2 ---")));
    EXPECT_TRUE(page.contains(QStringLiteral("Datei:lauf1.klv")));
    EXPECT_TRUE(page.contains(QStringLiteral("Drehzahl: 9000Umin")));
    EXPECT_TRUE(page.contains(QStringLiteral("Beschreibung:Lauf eins")));

    power.print();  // no answer queued: cancelled
    EXPECT_EQ(log.statusText(), QStringLiteral("Drucken abgebrochen"));
}

TEST_F(PowerWindowTest, LoadIntoSlot1RestoresAndRecomputes)
{
    measureDynoRun();
    f().linear->click();
    f().addDrag->click();
    dialogs.answerFile(dir.filePath(QStringLiteral("a.klv")));
    power.save();
    const PowerCurve saved = power.curves()[0];

    f().roller->click();
    f().addDrag->click();
    f().parameters[int(Parameter::Mass)]->setText(QStringLiteral("50"));
    emit window.menuEvent(1);
    f().speedMode->click();
    dialogs.answerFile(dir.filePath(QStringLiteral("a.klv")));
    power.load();
    EXPECT_TRUE(f().linear->isChecked());
    EXPECT_TRUE(f().addDrag->isChecked());
    EXPECT_TRUE(f().measureMode->isChecked());
    EXPECT_EQ(f().parameters[int(Parameter::Mass)]->text(), QStringLiteral("1000"));
    for (int k = 0; k < gridPoints; ++k)
        EXPECT_NEAR(power.curves()[0][k].power, saved[k].power, 0.05);

    // A file that cannot be read leaves everything as it was.
    dialogs.answerFile(dir.filePath(QStringLiteral("missing.klv")));
    power.load();
    EXPECT_EQ(f().fileName->text(), QStringLiteral("a.klv"));
    EXPECT_EQ(power.curves()[0][100], saved[100]);
}
