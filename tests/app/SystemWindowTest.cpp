// The system window: entry conversions and ranges, the logger estimate and table resize, the
// lambda threshold warning, the check boxes, the EEPROM erase questions and window positions.
#include "app/core/SystemRules.h"
#include "app/SystemWindow.h"
#include "app/WindowSet.h"
#include "logger/LogTable.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

struct AppGuard {
    AppGuard() { application(); }
};

struct Fixture : AppGuard {
    app::WindowSet windows;
    app::ProgramSettings settings;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    logger::LogTable table;
    int refreshes = 0;
    int erased = 0;
    bool identified = false;
    std::vector<int> comPeriods, loggerPeriods;
    std::vector<qint64> capacities;
    app::SystemWindow system{
        windows,
        settings,
        dialogs,
        log,
        table,
        {[this] { ++refreshes; }, [this](qint64 c) { capacities.push_back(c); },
         [this](int ms) { comPeriods.push_back(ms); },
         [this](int ms) { loggerPeriods.push_back(ms); }, [this] { return identified; },
         [this] { ++erased; }}};
    forms::Systemdialog& f = system.form();

    Fixture() { table.resize(settings.loggerCapacity + 1); }

    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
};

TEST(SystemRules, SteppedEntriesTruncateThenLimit)
{
    struct Case {
        qint64 value, step, minimum, maximum, expect;
    };
    const Case cases[] = {
        {123, 5, 5, 500, 120},
        {2, 5, 5, 500, 5},
        {9999, 5, 5, 500, 500},
        {250, 100, 100, 2000, 200},
        {525, 50, 50, 2000, 500},
        {20, 50, 50, 2000, 50},
        {8099, 100, 4000, 16000, 8000},
        {-150, 100, 4000, 16000, 4000},
        {0, 1, 1, 500, 1},
        {16001, 1, 0, 16000, 16000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::steppedEntry(c.value, c.step, c.minimum, c.maximum), c.expect)
            << c.value << " step " << c.step;
}

TEST(SystemRules, LoggerEstimate)
{
    EXPECT_EQ(app::loggerTimeText(3600, 500), "00:30:00");
    EXPECT_EQ(app::loggerTimeText(3600, 2000), "02:00:00");
    EXPECT_EQ(app::loggerTimeText(100, 100), "00:00:10");
    EXPECT_EQ(app::loggerTimeText(3661, 1000), "01:01:01");
    EXPECT_EQ(app::loggerTimeText(9999999, 2000), "5555:33:18");
    EXPECT_EQ(app::loggerSizeText(3600), "234 kB");
    EXPECT_EQ(app::loggerSizeText(100), "6 kB");
    EXPECT_EQ(app::loggerSizeText(9999999), "649999 kB");
}

TEST(SystemRules, LambdaThresholds)
{
    EXPECT_FALSE(app::lambdaThresholdsOutOfOrder(800, 800, 400, 200));
    EXPECT_FALSE(app::lambdaThresholdsOutOfOrder(800, 600, 400, 200));
    EXPECT_TRUE(app::lambdaThresholdsOutOfOrder(600, 800, 400, 200));
    EXPECT_TRUE(app::lambdaThresholdsOutOfOrder(800, 600, 700, 200));
    EXPECT_TRUE(app::lambdaThresholdsOutOfOrder(800, 600, 400, 500));
    EXPECT_EQ(app::lambdaThresholdWarning(600, 800, 400, 200),
              QString::fromUtf8("Lambdaanzeigewerte prüfen!"));
    EXPECT_TRUE(app::lambdaThresholdWarning(800, 800, 400, 200).isEmpty());
    EXPECT_EQ(app::printoutTextEntry(QString(150, QLatin1Char('x'))).size(), 100);
    EXPECT_EQ(app::voltsText(1500), "1.50");
    EXPECT_EQ(app::voltsText(805), "0.805");
    EXPECT_EQ(app::voltsText(0), "0.00");
}

TEST(SystemWindow, StartsWithTheSettings)
{
    Fixture fx;
    EXPECT_EQ(fx.f.rpmWarning->text(), "8000");
    EXPECT_EQ(fx.f.lambdaVeryRich->text(), "0.80");
    EXPECT_EQ(fx.f.lambdaVeryLean->text(), "0.20");
    EXPECT_EQ(fx.f.comTimer->text(), "100");
    EXPECT_EQ(fx.f.loggerCapacity->text(), "3600");
    EXPECT_EQ(fx.f.loggerTime->text(), "00:30:00");
    EXPECT_EQ(fx.f.loggerSize->text(), "234 kB");
    EXPECT_TRUE(fx.f.showLambda[2]->isChecked());
    EXPECT_FALSE(fx.f.readSetupAfterIdentification->isChecked());
    EXPECT_TRUE(fx.f.lambdaWarning->text().isEmpty());
}

TEST(SystemWindow, FieldsAreConvertedAndLimited)
{
    struct Case {
        QLineEdit* forms::Systemdialog::*field;
        const char* typed;
        qint64 (*stored)(const app::ProgramSettings&);
        qint64 expect;
    };
    const Case cases[] = {
        {&forms::Systemdialog::comTimer, "123",
         [](const app::ProgramSettings& s) { return s.comTimerPeriod; }, 120},
        {&forms::Systemdialog::comTimer, "2",
         [](const app::ProgramSettings& s) { return s.comTimerPeriod; }, 5},
        {&forms::Systemdialog::comTimer, "9999",
         [](const app::ProgramSettings& s) { return s.comTimerPeriod; }, 500},
        {&forms::Systemdialog::comTimer, "schnell",
         [](const app::ProgramSettings& s) { return s.comTimerPeriod; }, 5},
        {&forms::Systemdialog::loggerPeriod, "250",
         [](const app::ProgramSettings& s) { return s.loggerPeriod; }, 200},
        {&forms::Systemdialog::powerMinSpeed, "525",
         [](const app::ProgramSettings& s) { return s.powerMinSpeed; }, 500},
        {&forms::Systemdialog::powerMinSpeed, "20",
         [](const app::ProgramSettings& s) { return s.powerMinSpeed; }, 50},
        {&forms::Systemdialog::injectionWarnPercent, "50",
         [](const app::ProgramSettings& s) { return s.injectionWarnPercent; }, 75},
        {&forms::Systemdialog::powerSampleInterval, "11",
         [](const app::ProgramSettings& s) { return s.powerSampleInterval; }, 10},
        {&forms::Systemdialog::powerSampleInterval, "0",
         [](const app::ProgramSettings& s) { return s.powerSampleInterval; }, 1},
        {&forms::Systemdialog::sensorErrorMinSpeed, "20000",
         [](const app::ProgramSettings& s) { return s.sensorErrorMinSpeed; }, 16000},
        {&forms::Systemdialog::rpmWarning, "8050",
         [](const app::ProgramSettings& s) { return s.rpmWarning; }, 8000},
        {&forms::Systemdialog::rpmWarning, "3000",
         [](const app::ProgramSettings& s) { return s.rpmWarning; }, 4000},
        {&forms::Systemdialog::rpmRounding, "0",
         [](const app::ProgramSettings& s) { return s.rpmRounding; }, 1},
        {&forms::Systemdialog::loggerCapacity, "50",
         [](const app::ProgramSettings& s) { return s.loggerCapacity; }, 100},
    };
    for (const Case& c : cases) {
        Fixture fx;
        QLineEdit* field = fx.f.*c.field;
        fx.type(field, QString::fromUtf8(c.typed));
        EXPECT_EQ(c.stored(fx.settings), c.expect) << c.typed;
        EXPECT_EQ(field->text(), QString::number(c.expect)) << c.typed;
        EXPECT_EQ(fx.refreshes, 1);
    }
}

TEST(SystemWindow, TimersReachTheLoop)
{
    Fixture fx;
    fx.f.comTimer->setText("123");
    fx.f.loggerPeriod->setText("2000");
    emit fx.windows[app::WindowId::System].menuEvent(2);  // event 2 takes over like Return
    EXPECT_EQ(fx.comPeriods, std::vector<int>{120});
    EXPECT_EQ(fx.loggerPeriods, std::vector<int>{2000});
    EXPECT_EQ(fx.f.loggerTime->text(), "02:00:00");
    // Nothing changed: the loop keeps its timers.
    emit fx.windows[app::WindowId::System].menuEvent(1);
    EXPECT_EQ(fx.comPeriods.size(), 1u);
    EXPECT_EQ(fx.loggerPeriods.size(), 1u);
}

TEST(SystemWindow, LoggerEstimateFollowsTheFields)
{
    Fixture fx;
    fx.f.loggerPeriod->setText("250");
    fx.type(fx.f.loggerCapacity, "3600");
    EXPECT_EQ(fx.f.loggerPeriod->text(), "200");
    EXPECT_EQ(fx.f.loggerTime->text(), "00:12:00");
    fx.f.loggerPeriod->setText("500");
    fx.type(fx.f.loggerCapacity, "3600");
    EXPECT_EQ(fx.f.loggerTime->text(), "00:30:00");
    EXPECT_EQ(fx.f.loggerSize->text(), "234 kB");
    fx.f.loggerPeriod->setText("2000");
    fx.type(fx.f.loggerCapacity, "3600");
    EXPECT_EQ(fx.f.loggerTime->text(), "02:00:00");
}

TEST(SystemWindow, LoggerTableIsResizedToTheNewCapacity)
{
    Fixture fx;
    fx.table.setValue(7, 3, 42.0f);
    fx.type(fx.f.loggerCapacity, "5000");
    EXPECT_EQ(fx.settings.loggerCapacity, 5000);
    EXPECT_EQ(fx.table.rows(), 5001);
    EXPECT_EQ(fx.capacities, std::vector<qint64>{5000});
    EXPECT_EQ(fx.table.value(7, 3), 42.0f);
    EXPECT_TRUE(fx.dialogs.calls.empty());
}

TEST(SystemWindow, LoggerTableThatCannotBeHadKeepsThePreviousSize)
{
    Fixture fx;
    logger::LogTable::setAllocationLimit(10'000 * logger::LogTable::columns * 4);
    fx.type(fx.f.loggerCapacity, "9999999");
    logger::LogTable::setAllocationLimit(0);
    ASSERT_EQ(fx.dialogs.calls.size(), 1u);
    EXPECT_EQ(fx.dialogs.calls[0].title, "Achtung");
    EXPECT_EQ(fx.dialogs.calls[0].text,
              QString::fromUtf8(" Das Datenfeld konnte in dieser Größe nicht angelegt werden."
                                "\r\rGgf. ist der Arbeitsspeicher zu klein.\r\r\rEs wird die "
                                "vorherige Größe benutzt."));
    EXPECT_EQ(fx.log.statusText(),
              QString::fromUtf8("Loggerdateigröße nicht vorhanden. Standardgröße verwendet"));
    EXPECT_EQ(fx.settings.loggerCapacity, 3600);
    EXPECT_EQ(fx.table.rows(), 3601);
    EXPECT_EQ(fx.f.loggerCapacity->text(), "3600");
    EXPECT_EQ(fx.f.loggerSize->text(), "234 kB");
    EXPECT_EQ(fx.capacities, std::vector<qint64>{3600});
}

TEST(SystemWindow, LambdaVoltages)
{
    Fixture fx;
    fx.f.lambdaVeryRich->setText("0.6");
    fx.f.lambdaRich->setText("0.8");
    fx.f.lambdaLean->setText("0.4");
    fx.f.lambdaVeryLean->setText("0.2");
    emit fx.windows[app::WindowId::System].menuEvent(1);
    EXPECT_EQ(fx.f.lambdaWarning->text(), QString::fromUtf8("Lambdaanzeigewerte prüfen!"));
    EXPECT_EQ(fx.f.lambdaWarning->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Stored either way.
    EXPECT_EQ(fx.settings.lambdaVeryRich, 600.0f);
    EXPECT_EQ(fx.settings.lambdaRich, 800.0f);

    fx.f.lambdaVeryRich->setText("0.8");
    emit fx.windows[app::WindowId::System].menuEvent(1);
    EXPECT_TRUE(fx.f.lambdaWarning->text().isEmpty());

    fx.type(fx.f.lambdaVeryRich, "2");
    EXPECT_EQ(fx.settings.lambdaVeryRich, 1500.0f);
    EXPECT_EQ(fx.f.lambdaVeryRich->text(), "1.50");
    fx.type(fx.f.lambdaVeryLean, "0.1234");
    EXPECT_EQ(fx.settings.lambdaVeryLean, 123.0f);
    // Shown to the millivolt, so that taking the fields over again keeps 123 mV (with two
    // decimals the next take-over read "0.12" back and stored 120 mV).
    EXPECT_EQ(fx.f.lambdaVeryLean->text(), "0.123");
    emit fx.windows[app::WindowId::System].menuEvent(1);
    EXPECT_EQ(fx.settings.lambdaVeryLean, 123.0f);
    fx.type(fx.f.lambdaLean, "x");
    EXPECT_EQ(fx.settings.lambdaLean, 0.0f);
}

TEST(SystemWindow, PrintTextIsCutTo100Characters)
{
    Fixture fx;
    QString text;
    for (int i = 0; i < 150; ++i)
        text += QChar(u'a' + i % 26);
    fx.type(fx.f.printoutText, text);
    EXPECT_EQ(fx.settings.printoutText, text.left(100));
    EXPECT_EQ(fx.f.printoutText->text(), text.left(100));
}

TEST(SystemWindow, CheckBoxes)
{
    Fixture fx;
    fx.f.showLambda[0]->click();
    EXPECT_FALSE(fx.settings.showLambda1);
    EXPECT_EQ(fx.refreshes, 1);
    fx.f.showLambda[2]->click();
    EXPECT_FALSE(fx.settings.showLambda3);
    fx.f.showLearnLimits->click();
    EXPECT_TRUE(fx.settings.showLearnLimits);
    EXPECT_EQ(fx.refreshes, 3);
    fx.f.sliderDisplays->click();
    fx.f.comAtStart->click();
    fx.f.readSetupAfterIdentification->click();
    EXPECT_TRUE(fx.settings.sliderDisplays);
    EXPECT_TRUE(fx.settings.comAtStart);
    EXPECT_TRUE(fx.settings.readSetupAfterIdentification);
    EXPECT_EQ(fx.refreshes, 3);
    fx.f.messageFile->click();
    EXPECT_TRUE(fx.settings.messageFile);
    EXPECT_TRUE(fx.log.fileEnabled());
}

TEST(SystemWindow, EepromEraseAsksAndOnlyWhileIdentified)
{
    Fixture fx;
    fx.f.eraseEeprom->click();
    EXPECT_TRUE(fx.dialogs.calls.empty());
    EXPECT_EQ(fx.erased, 0);

    fx.identified = true;
    fx.dialogs.answerQuestion(false);
    fx.f.eraseEeprom->click();
    ASSERT_EQ(fx.dialogs.calls.size(), 1u);
    EXPECT_EQ(fx.dialogs.calls[0].title, "Achtung !");
    EXPECT_EQ(fx.dialogs.calls[0].text, QString::fromUtf8("EEPROM in der KVT wird gelöscht !"));
    EXPECT_EQ(fx.erased, 0);

    fx.dialogs.clear();
    fx.dialogs.answerQuestion(true);
    fx.f.eraseEeprom->click();
    EXPECT_EQ(fx.dialogs.calls.size(), 1u);
    EXPECT_EQ(fx.erased, 1);

    fx.dialogs.clear();
    fx.f.readSetupAfterIdentification->click();
    fx.dialogs.answerQuestion(true);
    fx.dialogs.answerQuestion(false);
    fx.f.eraseEeprom->click();
    ASSERT_EQ(fx.dialogs.calls.size(), 2u);
    EXPECT_EQ(fx.dialogs.calls[1].title, "Achtung !");
    EXPECT_EQ(fx.dialogs.calls[1].text,
              QString::fromUtf8("Setup automatisch laden ist eingeschaltet.(siehe System)\rNach "
                                "dem Löschen des EEPROM wird die KVT einen Neustart ausführen\r"
                                "und das gelöschte Setup in die Motrix laden."));
    EXPECT_EQ(fx.erased, 1);
    fx.dialogs.answerQuestion(true);
    fx.dialogs.answerQuestion(true);
    fx.f.eraseEeprom->click();
    EXPECT_EQ(fx.erased, 2);
}

TEST(SystemWindow, FirmwareControlsAreShownButInert)
{
    Fixture fx;
    EXPECT_EQ(fx.f.chooseFirmware->text(), QString::fromUtf8("firmware wählen"));
    EXPECT_EQ(fx.f.updateFirmware->text(), "update KVT");
    EXPECT_FALSE(fx.f.chooseFirmware->isEnabled());
    EXPECT_FALSE(fx.f.updateFirmware->isEnabled());
    EXPECT_EQ(fx.f.firmwareProgress->maximum(), 100);
    EXPECT_EQ(fx.f.firmwareProgress->value(), 0);
    EXPECT_TRUE(fx.f.firmwareStatus->text().isEmpty());
    EXPECT_EQ(fx.f.eraseEeprom->toolTip(), QString::fromUtf8("Löscht das EEPROM in der KVT"));
}

TEST(SystemWindow, WindowPositionButtonsKeepTheShownState)
{
    Fixture fx;
    forms::Window& big = fx.windows[app::WindowId::BigDisplay];
    big.resize(300, 200);
    fx.f.centreBigDisplay->click();
    EXPECT_EQ(big.size(), QSize(640, 480));
    EXPECT_FALSE(big.isVisible());

    forms::Window& logger = fx.windows[app::WindowId::Logger];
    logger.resize(500, 400);
    fx.f.centreLogger->click();
    EXPECT_EQ(logger.width(), 920);
    EXPECT_FALSE(logger.isVisible());

    forms::Window& learn = fx.windows[app::WindowId::Learn];
    learn.show();
    learn.setWindowState(Qt::WindowMinimized);
    fx.f.centreLearn->click();
    EXPECT_TRUE(learn.isVisible());
    EXPECT_FALSE(learn.windowState() & Qt::WindowMinimized);
    forms::Window& main = fx.windows[app::WindowId::Main];
    main.show();
    fx.f.centreMain->click();
    EXPECT_TRUE(main.isVisible());
}

TEST(SystemWindow, RefillShowsChangedSettings)
{
    Fixture fx;
    fx.settings.loggerCapacity = 7200;
    fx.settings.loggerPeriod = 1000;
    fx.settings.lambdaRich = 900;
    fx.settings.printoutText = QStringLiteral("Prüfstand 2");
    fx.system.refill();
    EXPECT_EQ(fx.f.loggerTime->text(), "02:00:00");
    EXPECT_EQ(fx.f.loggerSize->text(), "468 kB");
    EXPECT_EQ(fx.f.lambdaRich->text(), "0.90");
    EXPECT_EQ(fx.f.lambdaWarning->text(), QString::fromUtf8("Lambdaanzeigewerte prüfen!"));
    EXPECT_EQ(fx.f.printoutText->text(), QString::fromUtf8("Prüfstand 2"));
}

}  // namespace
