// The test window's numbers without the window: the validation pass over its input fields,
// the injector flow measurement (weights → flow, balance, switching time), the full-load
// consumption and the injector and coil estimates.
#pragma once

#include "app/core/ProgramSettings.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace kvttest {

constexpr int injectors = 3;
constexpr int flowTestPulses = 500;
constexpr int longPulseMs = 15;
constexpr int shortPulseMs = 6;

// The typed texts of every input field, in the order the validation pass reads them.
struct TestInputTexts {
    QString coilUs;                              // "Spulenladezeit [µs]:"
    QString constantAngle;                       // beside "Konstant v.OT [°KW]:"
    QString tachoSpeed;                          // "Drehzahlanzeige [Umin]:"
    std::array<QString, injectors> longWeight;   // "Test 1 (lang)"
    std::array<QString, injectors> shortWeight;  // "Test 2 (kurz)"
    // "Einspritzdüsenschätzung"
    QString injFlow, injMaxSpeed, injVolume, injEfficiency, injMaxDuty;
    // "Zündspulenschätzung"
    QString coilMaxSpeed, coilVoltage, coilResistance, coilInductance;
};

// The values the test window keeps; the defaults are what it shows before the first entry.
struct TestValues {
    int coilChargeTime = 1;                   // SetupRecord units of 250 µs, 1-32
    int constantAngle = 0;                    // °KW before top dead centre, -50..50
    int tachoSpeed = 3000;                    // rpm, 500-16000
    std::array<int, injectors> longTenths{};  // weights in 0.1 g, 0-5000
    std::array<int, injectors> shortTenths{};
    // The estimate inputs start as the settings file's defaults; the window takes them from
    // the settings and keeps them there (loadEstimateInputs, storeEstimateInputs).
    int injFlow = 200;             // ml/min, 10-1000
    int injMaxSpeed = 8000;        // rpm, 100-16000
    int injVolume = 250;           // ccm, 10-2000
    int injEfficiency = 70;        // %, 1-300
    int injMaxDuty = 85;           // %, 1-100
    int coilMaxSpeed = 8000;       // rpm, 100-16000
    double coilVoltage = 12.0;     // V, 1-24, one decimal
    double coilResistance = 3.5;   // Ω, 0.1-1000, one decimal
    double coilInductance = 12.5;  // mH, 0.1-1000, one decimal
};

// Reads, limits and stores every field in the pass's order. The caller writes the values
// back (fieldTexts) and sends "W" 7 with constantAngle + 50 while identified.
TestValues validate(const TestInputTexts& texts, TestValues previous);
// The texts the fields show for the values (weights with one decimal).
TestInputTexts fieldTexts(const TestValues& values);

// The estimate inputs stored in the settings file, limited to the fields' ranges (a hand-edited
// file may hold 0, which the estimates would divide by).
void loadEstimateInputs(TestValues& values, const app::ProgramSettings& settings);
void storeEstimateInputs(const TestValues& values, app::ProgramSettings& settings);

// Coil field in µs → coilChargeTime: the number / 250 truncated, limited to 1..32.
int coilUnitsFromField(QStringView text);
// The tachometer test's speed from its field as typed, not limited to the field's range, only
// to the 16-bit value the output takes (a huge number must not wrap round to a small speed).
int tachoTestSpeed(QStringView text);
// Weight field in g → tenths of a gram: × 10, rounded, limited to 0..5000.
int weightTenthsFromField(QStringView text);
QString weightText(int tenths);

// One injector's result of the two flow tests. Empty values are shown as "--": the slope of
// equal weights (both 0 included) has no flow, and a heavier short test gives no real one.
struct InjectorFlow {
    std::optional<double> flow;        // ml/min
    std::optional<int> balance;        // per mille against the largest flow
    std::optional<int> switchingTime;  // µs, 0..65535
};
std::array<InjectorFlow, injectors> computeFlows(const std::array<int, injectors>& longTenths,
                                                 const std::array<int, injectors>& shortTenths);
QString flowText(const InjectorFlow& f);
QString balanceText(const InjectorFlow& f);
QString switchingTimeText(const InjectorFlow& f);
// "Verbrauch bei Volllast Einspritzdüse 1 [l/h]:" from injector 1's shown flow text.
QString fullLoadText(const QString& shownFlow1);

struct InjectorEstimate {
    int fuelGramPerMin = 0;  // "Durchfluss Düse (Benzin) [g/min]:"
    double requiredUs = 0;   // "erforderliche Öffnungszeit Düse [µs]:"
    double availableUs = 0;  // "max. verfügbare Öffnungszeit [µs]:"
};
InjectorEstimate estimateInjector(const TestValues& v);

struct CoilEstimate {
    double chargeUs = 0;     // "Ladezeit [µs]:"
    double maxCurrent = 0;   // "max. Ladestrom [A]:"
    double availableUs = 0;  // "max. verfügbare Ladezeit [µs]:"
};
CoilEstimate estimateCoil(const TestValues& v);

// Shown as integers: nearest whole number, halves to the even neighbour.
QString integerText(double value);

// Sensor position "+"/"-": one degree within 10..180.
int sensorAngleStep(int angle, int delta);

}  // namespace kvttest
