// Snapshot and range check of the program's stored input values.
#include "StoredValues.h"

#include "app/Motrix.h"
#include "lambda/LambdaLogger.h"
#include "logger/LogRecorder.h"
#include "power/PowerWindow.h"
#include "setup/EntryRules.h"
#include "setup/SetupFields.h"
#include "test/TestWindow.h"

#include <cmath>

namespace torture {
namespace {

QString number(double v)
{
    return QString::number(v, 'g', 17);
}

// Texts kept for files: cut to their length, free of line breaks where the file keeps them on
// one line, and valid UTF-16 (no half of a surrogate pair left by a cut).
void checkText(QStringList& faults, const QString& name, const QString& text, int maxLength,
               bool oneLine)
{
    if (text.size() > maxLength)
        faults << QStringLiteral("%1: %2 characters, at most %3")
                      .arg(name)
                      .arg(text.size())
                      .arg(maxLength);
    if (oneLine && (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))))
        faults << name + QStringLiteral(": line break kept");
    if (!text.isValidUtf16())
        faults << name + QStringLiteral(": half a surrogate pair kept");
}

struct IntRange {
    const char* name;
    qint64 value, minimum, maximum, step;
};

void checkInt(QStringList& faults, const IntRange& r)
{
    if (r.value < r.minimum || r.value > r.maximum)
        faults << QStringLiteral("%1 = %2, range %3..%4")
                      .arg(QLatin1String(r.name))
                      .arg(r.value)
                      .arg(r.minimum)
                      .arg(r.maximum);
    else if (r.value % r.step != 0)
        faults << QStringLiteral("%1 = %2, not a multiple of %3")
                      .arg(QLatin1String(r.name))
                      .arg(r.value)
                      .arg(r.step);
}

// A decimal kept as a float: finite, in range, and on its grid of 10^-decimals.
void checkDecimal(QStringList& faults, const char* name, double value, double minimum,
                  double maximum, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(value) || value < minimum - 1e-9 || value > maximum + 1e-9)
        faults << QStringLiteral("%1 = %2, range %3..%4")
                      .arg(QLatin1String(name), number(value), number(minimum), number(maximum));
    else if (std::abs(scaled - std::nearbyint(scaled)) > 1e-3)
        faults << QStringLiteral("%1 = %2, not in steps of 10^-%3")
                      .arg(QLatin1String(name), number(value))
                      .arg(decimals);
}

}  // namespace

Snapshot snapshot(app::Motrix& m)
{
    Snapshot s;
    const setup::SetupRecord& r = m.setupRecord();
    for (const setup::FieldDescriptor& d : setup::setupFields())
        for (int i = 0; i < d.count; ++i)
            s[QStringLiteral("setup.%1[%2]").arg(d.fieldName()).arg(i)] =
                QString::number(d.get(r, i));
    const app::ProgramSettings& p = m.settings();
    const std::pair<const char*, QString> settings[] = {
        {"rpmWarning", QString::number(p.rpmWarning)},
        {"rpmRounding", QString::number(p.rpmRounding)},
        {"lambdaVeryRich", number(p.lambdaVeryRich)},
        {"lambdaRich", number(p.lambdaRich)},
        {"lambdaLean", number(p.lambdaLean)},
        {"lambdaVeryLean", number(p.lambdaVeryLean)},
        {"loggerPeriod", QString::number(p.loggerPeriod)},
        {"comTimerPeriod", QString::number(p.comTimerPeriod)},
        {"loggerCapacity", QString::number(p.loggerCapacity)},
        {"injectionWarnPercent", QString::number(p.injectionWarnPercent)},
        {"powerSampleInterval", QString::number(p.powerSampleInterval)},
        {"powerMinSpeed", QString::number(p.powerMinSpeed)},
        {"printoutText", p.printoutText},
        {"sensorErrorMinSpeed", QString::number(p.sensorErrorMinSpeed)},
    };
    for (const auto& [name, value] : settings)
        s[QStringLiteral("settings.") + QLatin1String(name)] = value;
    const kvttest::TestValues& t = m.testWindow().values();
    s[QStringLiteral("test.constantAngle")] = QString::number(t.constantAngle);
    s[QStringLiteral("test.tachoSpeed")] = QString::number(t.tachoSpeed);
    for (int k = 0; k < kvttest::injectors; ++k) {
        s[QStringLiteral("test.longTenths[%1]").arg(k)] = QString::number(t.longTenths[k]);
        s[QStringLiteral("test.shortTenths[%1]").arg(k)] = QString::number(t.shortTenths[k]);
    }
    s[QStringLiteral("test.injFlow")] = QString::number(t.injFlow);
    s[QStringLiteral("test.injMaxSpeed")] = QString::number(t.injMaxSpeed);
    s[QStringLiteral("test.injVolume")] = QString::number(t.injVolume);
    s[QStringLiteral("test.injEfficiency")] = QString::number(t.injEfficiency);
    s[QStringLiteral("test.injMaxDuty")] = QString::number(t.injMaxDuty);
    s[QStringLiteral("test.coilMaxSpeed")] = QString::number(t.coilMaxSpeed);
    s[QStringLiteral("test.coilVoltage")] = number(t.coilVoltage);
    s[QStringLiteral("test.coilResistance")] = number(t.coilResistance);
    s[QStringLiteral("test.coilInductance")] = number(t.coilInductance);
    const power::PowerDocument& d = m.powerWindow().document();
    const power::PowerParameters& w = d.parameters;
    s[QStringLiteral("power.temperature")] = QString::number(w.temperature);
    s[QStringLiteral("power.pressure")] = QString::number(w.pressure);
    s[QStringLiteral("power.humidity")] = QString::number(w.humidity);
    s[QStringLiteral("power.mass")] = QString::number(w.mass);
    s[QStringLiteral("power.ratio")] = number(w.ratio);
    s[QStringLiteral("power.wheelCircumference")] = QString::number(w.wheelCircumference);
    s[QStringLiteral("power.rollerCircumference")] = QString::number(w.rollerCircumference);
    s[QStringLiteral("power.inertia")] = number(w.inertia);
    s[QStringLiteral("power.cw")] = number(w.cw);
    s[QStringLiteral("power.frontalArea")] = number(w.frontalArea);
    s[QStringLiteral("power.description")] = d.info.description;
    s[QStringLiteral("lambda.comment")] = m.lambdaLogger().document().comment;
    s[QStringLiteral("logger.comment")] = m.recorder().comment();
    // Return pads the description with blanks to its file width; the blanks are not part of it.
    QString description = m.mainWindow().description();
    while (description.endsWith(QLatin1Char(' ')))
        description.chop(1);
    s[QStringLiteral("setup.description")] = description;
    return s;
}

QStringList differences(const Snapshot& before, const Snapshot& after)
{
    QStringList out;
    for (const auto& [name, value] : after) {
        const auto it = before.find(name);
        if (it == before.end() || it->second != value)
            out << name;
    }
    return out;
}

QStringList rangeFaults(app::Motrix& m)
{
    QStringList faults;
    const setup::SetupRecord& r = m.setupRecord();
    for (const setup::FieldDescriptor& d : setup::setupFields())
        for (int i = 0; i < d.count; ++i) {
            const int v = d.get(r, i);
            if (v < d.minimum || v > d.maximum)
                faults << QStringLiteral("setup.%1[%2] = %3, range %4..%5")
                              .arg(d.fieldName())
                              .arg(i)
                              .arg(v)
                              .arg(d.minimum)
                              .arg(d.maximum);
        }
    if (r.output1Speed1 > r.output1Speed2 || r.output2Speed1 > r.output2Speed2)
        faults << QStringLiteral("setup: switch output speeds in the wrong order");

    // The system window's fields as the settings' take-over rules give them.
    const app::ProgramSettings& p = m.settings();
    const IntRange settings[] = {
        {"settings.rpmWarning", p.rpmWarning, 4000, 16000, 100},
        {"settings.rpmRounding", p.rpmRounding, 1, 500, 1},
        {"settings.sensorErrorMinSpeed", p.sensorErrorMinSpeed, 0, 16000, 1},
        {"settings.injectionWarnPercent", p.injectionWarnPercent, 75, 100, 1},
        {"settings.loggerPeriod", p.loggerPeriod, 100, 2000, 100},
        {"settings.loggerCapacity", p.loggerCapacity, 100, 9999999, 1},
        {"settings.comTimerPeriod", p.comTimerPeriod, 5, 500, 5},
        {"settings.powerSampleInterval", p.powerSampleInterval, 1, 10, 1},
        {"settings.powerMinSpeed", p.powerMinSpeed, 50, 2000, 50},
    };
    for (const IntRange& e : settings)
        checkInt(faults, e);
    // Whole millivolts.
    checkDecimal(faults, "settings.lambdaVeryRich", p.lambdaVeryRich, 0, 1500, 0);
    checkDecimal(faults, "settings.lambdaRich", p.lambdaRich, 0, 1500, 0);
    checkDecimal(faults, "settings.lambdaLean", p.lambdaLean, 0, 1500, 0);
    checkDecimal(faults, "settings.lambdaVeryLean", p.lambdaVeryLean, 0, 1500, 0);
    checkText(faults, QStringLiteral("settings.printoutText"), p.printoutText, 100, false);
    if (m.logTable().rows() != p.loggerCapacity + 1)
        faults << QStringLiteral("logger table has %1 rows for a capacity of %2")
                      .arg(m.logTable().rows())
                      .arg(p.loggerCapacity);

    const kvttest::TestValues& t = m.testWindow().values();
    const IntRange test[] = {
        {"test.coilChargeTime", t.coilChargeTime, 1, 32, 1},
        {"test.constantAngle", t.constantAngle, -50, 50, 1},
        {"test.tachoSpeed", t.tachoSpeed, 500, 16000, 1},
        {"test.longTenths[0]", t.longTenths[0], 0, 5000, 1},
        {"test.longTenths[1]", t.longTenths[1], 0, 5000, 1},
        {"test.longTenths[2]", t.longTenths[2], 0, 5000, 1},
        {"test.shortTenths[0]", t.shortTenths[0], 0, 5000, 1},
        {"test.shortTenths[1]", t.shortTenths[1], 0, 5000, 1},
        {"test.shortTenths[2]", t.shortTenths[2], 0, 5000, 1},
        {"test.injFlow", t.injFlow, 10, 1000, 1},
        {"test.injMaxSpeed", t.injMaxSpeed, 100, 16000, 1},
        {"test.injVolume", t.injVolume, 10, 2000, 1},
        {"test.injEfficiency", t.injEfficiency, 1, 300, 1},
        {"test.injMaxDuty", t.injMaxDuty, 1, 100, 1},
        {"test.coilMaxSpeed", t.coilMaxSpeed, 100, 16000, 1},
    };
    for (const IntRange& e : test)
        checkInt(faults, e);
    checkDecimal(faults, "test.coilVoltage", t.coilVoltage, 1, 24, 1);
    checkDecimal(faults, "test.coilResistance", t.coilResistance, 0.1, 1000, 1);
    checkDecimal(faults, "test.coilInductance", t.coilInductance, 0.1, 1000, 1);

    const power::PowerDocument& d = m.powerWindow().document();
    const power::PowerParameters& w = d.parameters;
    const IntRange power[] = {
        {"power.temperature", w.temperature, -25, 80, 1},
        {"power.pressure", w.pressure, 700, 1100, 1},
        {"power.humidity", w.humidity, 0, 99, 1},
        {"power.mass", w.mass, 0, 3000, 1},
        {"power.wheelCircumference", w.wheelCircumference, 1, 200, 1},
        {"power.rollerCircumference", w.rollerCircumference, 1, 200, 1},
    };
    for (const IntRange& e : power)
        checkInt(faults, e);
    checkDecimal(faults, "power.ratio", w.ratio, 0.01, 20, 2);
    checkDecimal(faults, "power.inertia", w.inertia, 0.01, 100, 2);
    checkDecimal(faults, "power.cw", w.cw, 0.01, 2, 2);
    checkDecimal(faults, "power.frontalArea", w.frontalArea, 0.01, 10, 2);

    checkText(faults, QStringLiteral("power.description"), d.info.description, 200, true);
    checkText(faults, QStringLiteral("lambda.comment"), m.lambdaLogger().document().comment, 100,
              true);
    checkText(faults, QStringLiteral("logger.comment"), m.recorder().comment(), 100, false);
    checkText(faults, QStringLiteral("setup.description"), m.mainWindow().description(), 100,
              false);
    return faults;
}

void startInRange(app::Motrix& m)
{
    setup::SetupRecord& r = m.setupRecord();
    for (const setup::FieldDescriptor& d : setup::setupFields())
        for (int i = 0; i < d.count; ++i)
            d.set(r, i, setup::clampToRange(d.get(r, i), d.minimum, d.maximum));
    setup::orderOutputSpeeds(r);
}

}  // namespace torture
