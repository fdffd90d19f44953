// The settings window: entry rules of every kind of field, the output-speed order, the values
// that follow a take-over, clicks on options and boxes, refilling and the "Messwert:" column.
#include "app/core/WindowTable.h"
#include "forms/TakeOver.h"
#include "forms/Window.h"
#include "setup/SettingsWindow.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <functional>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

using Form = forms::Einstellungendialog;
using setup::SetupRecord;

struct AppGuard {
    AppGuard() { application(); }
};

struct Fixture : AppGuard {
    forms::Window window{app::windowInfo(app::WindowId::Settings)};
    SetupRecord record;
    int limiterRpm = -1, limiterRetard = -1, coilMicros = -1, sensorAngle = -1, livePanel = 0;
    setup::SettingsWindow settings{
        window,
        record,
        {[this](int rpm, int retard) { limiterRpm = rpm, limiterRetard = retard; },
         [this](int coil, int angle) { coilMicros = coil, sensorAngle = angle; },
         [this] { ++livePanel; }}};
    Form& f = settings.form();

    void type(QLineEdit* field, const char* text)
    {
        field->setText(QString::fromUtf8(text));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
};

struct EntryCase {
    const char* what;
    std::function<QLineEdit*(Form&)> field;
    const char* typed;
    std::function<int(const SetupRecord&)> stored;
    int expectStored;
    const char* expectShown;
};

TEST(SettingsWindow, EntriesAreConvertedLimitedAndShownAsStored)
{
    const EntryCase cases[] = {
        {"offset above range", [](Form& f) { return f.cylinderOffset12; }, "999",
         [](const SetupRecord& r) { return int(r.cylinderOffset12); }, 180, "180"},
        {"offset below range", [](Form& f) { return f.cylinderOffset12; }, "-5",
         [](const SetupRecord& r) { return int(r.cylinderOffset12); }, 0, "0"},
        {"limp temperature", [](Form& f) { return f.limpMinEngineTemp; }, "20",
         [](const SetupRecord& r) { return int(r.limpMinEngineTemp); }, 70, "50"},
        {"coil below one step", [](Form& f) { return f.coilChargeTime; }, "100",
         [](const SetupRecord& r) { return int(r.coilChargeTime); }, 1, "250"},
        {"coil above range", [](Form& f) { return f.coilChargeTime; }, "9000",
         [](const SetupRecord& r) { return int(r.coilChargeTime); }, 32, "8000"},
        {"coil truncated to its step", [](Form& f) { return f.coilChargeTime; }, "1100",
         [](const SetupRecord& r) { return int(r.coilChargeTime); }, 4, "1000"},
        {"voltage with comma", [](Form& f) { return f.calibration[0][0]; }, "1,5",
         [](const SetupRecord& r) { return int(r.engineTempCal1Volt); }, 100, "1.00"},
        {"voltage with point", [](Form& f) { return f.calibration[2][2]; }, "1.5",
         [](const SetupRecord& r) { return int(r.throttleCal2Volt); }, 150, "1.50"},
        {"no digits", [](Form& f) { return f.sensorAngle; }, "abc",
         [](const SetupRecord& r) { return int(r.sensorAngle); }, 10, "10"},
        {"empty field", [](Form& f) { return f.triggerTeeth; }, "",
         [](const SetupRecord& r) { return int(r.triggerTeeth); }, 3, "3"},
        {"dynamic factor rounds up", [](Form& f) { return f.dynamicFactor1; }, "2.6",
         [](const SetupRecord& r) { return int(r.dynamicFactor1); }, 3, "3"},
        {"dynamic factor rounds down", [](Form& f) { return f.dynamicFactor2; }, "7.4",
         [](const SetupRecord& r) { return int(r.dynamicFactor2); }, 7, "7"},
        {"dynamic speed below one step", [](Form& f) { return f.dynamicSpeed1; }, "99",
         [](const SetupRecord& r) { return int(r.dynamicSpeed1); }, 1, "100"},
        {"limp timing low", [](Form& f) { return f.limpTiming; }, "-40",
         [](const SetupRecord& r) { return int(r.limpTiming); }, 0, "-30"},
        {"limp timing high", [](Form& f) { return f.limpTiming; }, "45",
         [](const SetupRecord& r) { return int(r.limpTiming); }, 60, "30"},
        {"quick start speed", [](Form& f) { return f.quickStartSpeed; }, "1010",
         [](const SetupRecord& r) { return int(r.quickStartSpeed); }, 50, "1000"},
        {"hysteresis", [](Form& f) { return f.limiterHysteresis; }, "0",
         [](const SetupRecord& r) { return int(r.limiterHysteresis); }, 1, "20"},
        {"dead time", [](Form& f) { return f.injectorDeadTime[2]; }, "5000",
         [](const SetupRecord& r) { return int(r.injectorDeadTime[2]); }, 4000, "4000"},
        {"air calibration temperature", [](Form& f) { return f.calibration[1][3]; }, "200",
         [](const SetupRecord& r) { return int(r.airTempCal2Temp); }, 100, "80"},
        {"engine calibration temperature", [](Form& f) { return f.calibration[0][3]; }, "200",
         [](const SetupRecord& r) { return int(r.engineTempCal2Temp); }, 140, "120"},
        {"overrun throttle", [](Form& f) { return f.overrunThrottleMax; }, "50",
         [](const SetupRecord& r) { return int(r.overrunThrottleMax); }, 10, "10"},
        {"overrun temperature", [](Form& f) { return f.overrunMinEngineTemp; }, "30",
         [](const SetupRecord& r) { return int(r.overrunMinEngineTemp); }, 50, "30"},
        {"ignition off speed", [](Form& f) { return f.ignitionOffSpeed; }, "20000",
         [](const SetupRecord& r) { return int(r.ignitionOffSpeed); }, 160, "16000"},
        {"start injection time", [](Form& f) { return f.startInjectionTime; }, "12000",
         [](const SetupRecord& r) { return int(r.startInjectionTime); }, 10000, "10000"},
        {"injection extension", [](Form& f) { return f.injectionExtension[1]; }, "251",
         [](const SetupRecord& r) { return int(r.injectionExtension[1]); }, 250, "250"},
        {"gaps", [](Form& f) { return f.triggerGaps; }, "3",
         [](const SetupRecord& r) { return int(r.triggerGaps); }, 2, "2"},
        {"tacho pulses", [](Form& f) { return f.tachoPulses; }, "0",
         [](const SetupRecord& r) { return int(r.tachoPulses); }, 1, "1"},
        {"damping", [](Form& f) { return f.sensorDamping; }, "31",
         [](const SetupRecord& r) { return int(r.sensorDamping); }, 30, "30"},
    };
    for (const EntryCase& c : cases) {
        Fixture fx;
        QLineEdit* field = c.field(fx.f);
        fx.type(field, c.typed);
        EXPECT_EQ(c.stored(fx.record), c.expectStored) << c.what;
        EXPECT_EQ(field->text(), QString::fromUtf8(c.expectShown)) << c.what;
    }
}

TEST(SettingsWindow, OutputSpeedsAreLimitedThenPutInOrder)
{
    Fixture fx;
    fx.f.output1Speed1->setText("7000");
    fx.f.output1Speed2->setText("3000");
    fx.f.output2Speed1->setText("99999");
    fx.f.output2Speed2->setText("50");
    emit fx.window.menuEvent(1);
    EXPECT_EQ(fx.record.output1Speed1, 30);
    EXPECT_EQ(fx.record.output1Speed2, 70);
    EXPECT_EQ(fx.f.output1Speed1->text(), "3000");
    EXPECT_EQ(fx.f.output1Speed2->text(), "7000");
    EXPECT_EQ(fx.record.output2Speed1, 1);
    EXPECT_EQ(fx.record.output2Speed2, 160);
    EXPECT_EQ(fx.f.output2Speed1->text(), "100");
    EXPECT_EQ(fx.f.output2Speed2->text(), "16000");
}

TEST(SettingsWindow, KeypadEnterTakesOverLikeReturn)
{
    Fixture fx;
    // Event 2 (the keypad's Enter) once left the typed text standing, not stored.
    fx.f.sensorAngle->setText("1e400");
    emit fx.window.menuEvent(2);
    EXPECT_EQ(fx.record.sensorAngle, 10);
    EXPECT_EQ(fx.f.sensorAngle->text(), "10");
}

TEST(SettingsWindow, EveryFieldIsTakenOverTogether)
{
    Fixture fx;
    // Edits in several fields reach the record when only one of them loses the focus.
    fx.f.limiterSpeed->setText("9000");
    fx.f.limiterRetard->setText("12");
    fx.f.sensorAngle->setText("45");
    fx.type(fx.f.overrunInjectionShare, "40");
    EXPECT_EQ(fx.record.limiterSpeed, 90);
    EXPECT_EQ(fx.record.limiterRetard, 12);
    EXPECT_EQ(fx.record.sensorAngle, 45);
    EXPECT_EQ(fx.record.overrunInjectionShare, 40);
}

TEST(SettingsWindow, ShownValuesElsewhereFollowATakeOver)
{
    Fixture fx;
    fx.f.limiterSpeed->setText("9050");
    fx.f.limiterRetard->setText("15");
    fx.f.coilChargeTime->setText("3000");
    fx.f.sensorAngle->setText("60");
    emit fx.window.menuEvent(1);
    EXPECT_EQ(fx.limiterRpm, 9000);
    EXPECT_EQ(fx.limiterRetard, 15);
    EXPECT_EQ(fx.coilMicros, 3000);
    EXPECT_EQ(fx.sensorAngle, 60);
    EXPECT_EQ(fx.livePanel, 1);
}

TEST(SettingsWindow, OptionsAndBoxesStoreWhenClicked)
{
    Fixture fx;
    fx.f.triggerEdge->button(1)->click();
    fx.f.coilDriver->button(1)->click();
    fx.f.input2Mode->button(1)->click();
    fx.f.input3Mode->button(2)->click();
    fx.f.output1Mode->button(2)->click();
    fx.f.output2Mode->button(3)->click();
    fx.f.overrunCutoff->click();
    fx.f.startInjectionAdd->click();
    fx.f.startInjectionOff->click();
    EXPECT_EQ(fx.record.triggerEdge, 1);
    EXPECT_EQ(fx.record.coilDriver, 1);
    EXPECT_EQ(fx.record.input2Mode, 1);
    EXPECT_EQ(fx.record.input3Mode, 2);
    EXPECT_EQ(fx.record.output1Mode, 2);
    EXPECT_EQ(fx.record.output2Mode, 3);
    EXPECT_EQ(fx.record.overrunCutoff, 1);
    EXPECT_EQ(fx.record.startInjectionAdd, 1);
    EXPECT_EQ(fx.record.startInjectionOff, 1);
    fx.f.triggerEdge->button(0)->click();
    fx.f.overrunCutoff->click();
    EXPECT_EQ(fx.record.triggerEdge, 0);
    EXPECT_EQ(fx.record.overrunCutoff, 0);
    // Clicks change nothing else and send nothing on.
    EXPECT_EQ(fx.livePanel, 0);
}

TEST(SettingsWindow, RefillShowsAReplacedRecord)
{
    Fixture fx;
    EXPECT_EQ(fx.f.coilChargeTime->text(), "250");
    EXPECT_EQ(fx.f.dynamicSpeed2->text(), "5000");
    SetupRecord loaded;
    loaded.coilChargeTime = 8;
    loaded.limpTiming = 40;
    loaded.engineTempCal1Volt = 255;
    loaded.airTempCal1Temp = 0;
    loaded.injectorBalance = {12, 0, 65535};
    loaded.output2Mode = 3;
    loaded.triggerEdge = 1;
    loaded.startInjectionOff = 1;
    fx.record = loaded;
    fx.settings.refill();
    EXPECT_EQ(fx.f.coilChargeTime->text(), "2000");
    EXPECT_EQ(fx.f.limpTiming->text(), "10");
    EXPECT_EQ(fx.f.calibration[0][0]->text(), "2.55");
    EXPECT_EQ(fx.f.calibration[1][1]->text(), "-20");
    EXPECT_EQ(fx.f.injectorBalance[0]->text(), "12");
    EXPECT_EQ(fx.f.injectorBalance[2]->text(), "65535");
    EXPECT_TRUE(fx.f.output2Mode->button(3)->isChecked());
    EXPECT_TRUE(fx.f.triggerEdge->button(1)->isChecked());
    EXPECT_TRUE(fx.f.startInjectionOff->isChecked());
    // The read-only balance fields are not entries: a take-over leaves them alone.
    fx.f.injectorBalance[0]->setText("999");
    emit fx.window.menuEvent(1);
    EXPECT_EQ(fx.record.injectorBalance[0], 12);
    // Values a replaced record holds outside the editing ranges are limited by a take-over.
    EXPECT_EQ(fx.record.coilChargeTime, 8);
    EXPECT_EQ(fx.record.limpMinEngineTemp, 70);
    EXPECT_EQ(fx.f.limpMinEngineTemp->text(), "50");
}

TEST(SettingsWindow, OptionWithoutStoredValueShowsNoneSelected)
{
    Fixture fx;
    fx.record.output1Mode = 7;  // from a damaged setup file
    fx.settings.refill();
    for (QAbstractButton* b : fx.f.output1Mode->buttons())
        EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(fx.record.output1Mode, 7);
}

TEST(SettingsWindow, ShownFlagAndMeasuredVoltages)
{
    Fixture fx;
    EXPECT_FALSE(fx.settings.shown());
    fx.record.sensorAngle = 33;
    fx.window.open();
    EXPECT_TRUE(fx.settings.shown());
    EXPECT_EQ(fx.f.sensorAngle->text(), "33");
    fx.settings.showSensorVoltages({1.234, 0.0, 2.0});
    EXPECT_EQ(fx.f.measuredVoltage[0]->text(), "1.23");
    EXPECT_EQ(fx.f.measuredVoltage[1]->text(), "0.00");
    EXPECT_EQ(fx.f.measuredVoltage[2]->text(), "2.00");
    fx.window.close();
    EXPECT_FALSE(fx.settings.shown());
    EXPECT_FALSE(fx.window.isVisible());
}

TEST(SettingsWindow, LabelsUnitsAndToolTipsAreThoseOfTheKvt)
{
    Fixture fx;
    EXPECT_EQ(fx.f.coilChargeTime->toolTip(),
              QString::fromUtf8("Dies ist die konstante Ladezeit der Zündspule(n)."));
    EXPECT_EQ(fx.f.injectorBalance[1]->toolTip(),
              QString::fromUtf8("Korrekturfaktor zur Gleichbehandlung aller Düsen"));
    EXPECT_EQ(fx.f.measuredVoltage[0]->toolTip(),
              QString::fromUtf8("aktuell gemessene Spannung des Sensoreingangs"));
    EXPECT_EQ(fx.f.output2Mode->button(2)->toolTip(),
              QString::fromUtf8("Der Ausgang 2 schaltet ein, wenn die Drehzahl zwischen beiden "
                                "Werten liegt."));
    EXPECT_TRUE(fx.f.injectorBalance[0]->isReadOnly());
    EXPECT_TRUE(fx.f.measuredVoltage[0]->isReadOnly());
    QStringList groups;
    for (const QGroupBox* g : fx.window.content()->findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups,
              QStringList({"Motor", "Einspritzung", "Notprogramm", "Schubabschaltung", "Sensoren",
                           QString::fromUtf8("Schalteingänge"), "Start", "Begrenzer",
                           QString::fromUtf8("Zündung"), QString::fromUtf8("Schaltausgänge")}));
}

}  // namespace
