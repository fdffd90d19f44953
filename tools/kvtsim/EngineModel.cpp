// The simulated engine behind the KVT's live values.
#include "EngineModel.h"

#include "SimSetup.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kvtsim {

namespace {

double interpolate(double a, double b, double f)
{
    return a + (b - a) * f;
}

// Bilinear lookup over the 17 × 9 grid.
template <typename Cell>
double mapLookup(Cell cell, double rpm, double throttle)
{
    const double s = std::clamp(rpm / 1000.0, 0.0, 16.0);
    const double t = std::clamp(throttle / 12.5, 0.0, 8.0);
    const int s0 = std::min(int(s), 15);
    const int t0 = std::min(int(t), 7);
    const double fs = s - s0;
    const double ft = t - t0;
    const double low = interpolate(cell(s0, t0), cell(s0 + 1, t0), fs);
    const double high = interpolate(cell(s0, t0 + 1), cell(s0 + 1, t0 + 1), fs);
    return interpolate(low, high, ft);
}

double curveLookup(const QByteArray& setup, int at, double tempC)
{
    const double x = std::clamp((tempC + 20.0) / 10.0, 0.0, 16.0);
    const int i = std::min(int(x), 15);
    return interpolate(setupByte(setup, at + i), setupByte(setup, at + i + 1), x - i) + 85.0;
}

quint8 byteOf(double v)
{
    return quint8(std::clamp(std::lround(v), 0L, 255L));
}

quint16 wordOf(double v)
{
    return quint16(std::clamp(std::lround(v), 0L, 65535L));
}

}  // namespace

LiveFrame EngineModel::step(qint64 ms, QByteArray& setup, LambdaLog& ramLambda)
{
    using std::numbers::pi;
    LiveFrame f;
    const double t = double(ms - m_startMs);
    f.timeStamp = quint32(quint64(std::max<qint64>(ms, 0)) * 100u);

    // A 30-second sweep from idle to high revs and back; the throttle leads the speed.
    const double phase = std::fmod(std::max(t, 0.0), 30000.0) / 30000.0;
    double rpm = 1500 + 7500 * (0.5 - 0.5 * std::cos(2 * pi * phase));
    double throttle = 8 + 84 * (0.5 - 0.5 * std::cos(2 * pi * phase + 0.4));
    if (t < 2000)  // cranking and starting
        rpm = t < 500 ? 0 : 300 + t / 2;
    const double engineTemp = 20 + 65 * (1 - std::exp(-std::max(t, 0.0) / 120000.0));
    const double airTemp = 22 + 3 * std::sin(t / 60000.0);

    if (m_emergency)
        rpm = std::min(rpm, 100.0 * std::max(setupByte(setup, 569), 20));
    f.rpm = wordOf(rpm);
    f.throttle = byteOf(throttle);
    f.engineTemp = byteOf(engineTemp + 20);
    f.airTemp = byteOf(airTemp + 20);

    // Ignition: map or curve (row 0), retarded above the limiter, or a constant angle.
    const bool mapEnabled = setupByte(setup, offset::ignitionMapEnabled) != 0;
    const double base = mapLookup(
        [&](int s, int r) { return ignitionCell(setup, s, mapEnabled ? r : 0); }, rpm, throttle);
    f.ignitionBase = byteOf(base);
    double advance = base;
    if (rpm > 100.0 * setupByte(setup, offset::limiterSpeed))
        advance -= setupByte(setup, offset::limiterRetard);
    if (m_ignitionMode != 255)
        advance = m_ignitionMode - 50;
    if (m_emergency)
        advance = setupByte(setup, offset::limpTiming) - 30;
    f.ignitionAngle = byteOf(advance + 50);
    f.ignitionMode = quint8(m_ignitionMode);

    // Injection: map value corrected by the two temperature curves.
    const double injBase =
        mapLookup([&](int s, int r) { return injectionCell(setup, s, r); }, rpm, throttle);
    const int airCorr = int(std::lround(curveLookup(setup, offset::airTempCorrection, airTemp)));
    const int engCorr =
        int(std::lround(curveLookup(setup, offset::engineTempCorrection, engineTemp)));
    f.injectionBase = wordOf(injBase);
    f.airTempCorrection = byteOf(airCorr);
    f.engineTempCorrection = byteOf(engCorr);
    double injTime = injBase * airCorr / 100.0 * engCorr / 100.0;
    if (m_emergency)
        injTime *= (1000.0 + setupByte(setup, offset::limpEnrichment)) / 1000.0;
    f.injectionTime = rpm > 0 ? wordOf(injTime) : 0;

    // Switch outputs by their modes and speeds.
    auto output = [&](int mode, int speed1, int speed2) -> quint8 {
        switch (mode) {
        case 1: return rpm > 100.0 * speed1;
        case 2: return rpm > 100.0 * speed1 && rpm < 100.0 * speed2;
        case 3: return setupByte(setup, offset::learnActive) != 0;
        default: return 0;
        }
    };
    f.output1 =
        output(setupByte(setup, offset::output1Mode), setupByte(setup, offset::output1Speed1),
               setupByte(setup, offset::output1Speed2));
    f.output2 =
        output(setupByte(setup, offset::output2Mode), setupByte(setup, offset::output2Speed1),
               setupByte(setup, offset::output2Speed2));

    // Lambda voltages swing around the target; the three probes differ a little.
    const int target = setupWord(setup, offset::lambdaTarget);
    for (int k = 0; k < 3; ++k) {
        const double swing = 90 * std::sin(t / 700.0 + k * 1.3) + 25 * std::sin(t / 173.0 + k);
        f.lambda[k] = rpm > 0 ? wordOf(target + swing + (k - 1) * 20) : 0;
    }

    // Trigger wheel as the setup describes it: the counted teeth plus the gaps and one make
    // the wheel's tooth count, the gap lasts (gaps + 1) tooth periods.
    const int teeth = std::clamp(setupByte(setup, offset::triggerTeeth), 3, 60);
    const int gaps = std::clamp(setupByte(setup, offset::triggerGaps), 1, 2);
    if (rpm > 0) {
        f.signalDetected = 1;
        f.teethSeen = quint8(std::max(teeth - gaps - 1, 1));
        f.teethPerRevolution = quint8(teeth);
        const double toothUs = 60e6 / (rpm * teeth) * (1.0 + 0.004 * std::sin(t / 37.0));
        f.toothPeriod = wordOf(toothUs);
        f.gapPeriod = wordOf(toothUs * (gaps + 1));
    }

    f.statusFlag1 = setupByte(setup, offset::learnActive) != 0;
    f.statusFlag2 = rpm > 100.0 * setupByte(setup, offset::limiterSpeed);
    f.statusFlag3 = 0;
    f.cpuTemperature = byteOf(38 + 14 * (1 - std::exp(-std::max(t, 0.0) / 200000.0)));
    f.emergencyProgram = m_emergency ? 1 : 0;
    f.statusFlag4 = m_emergency ? 1 : 0;

    const int s = std::clamp(int(std::lround(rpm / 1000.0)), 0, 16);
    const int r = std::clamp(int(std::lround(throttle / 12.5)), 0, 8);
    // Learning: the cell at the operating point leans out or richens towards the target.
    if (setupByte(setup, offset::learnActive) != 0 && rpm > 0 &&
        engineTemp > setupByte(setup, offset::learnMinEngineTemp) - 20) {
        const int at = offset::injectionMap + 2 * (r * 17 + s);
        const int step = std::max(1, setupWord(setup, offset::learnIncrement) / 20);
        const int mean = (f.lambda[0] + f.lambda[1] + f.lambda[2]) / 3;
        const int cell = setupWord(setup, at);
        setSetupWord(setup, at, std::clamp(cell + (mean > target ? -step : step), 0, 65000));
    }
    if (setupByte(setup, offset::lambdaLogging) != 0 && rpm > 0)
        for (int k = 0; k < 3; ++k)
            ramLambda[lambdaIndex(s, r, k)] = f.lambda[k];

    m_last = f;
    return f;
}

std::array<quint16, 3> EngineModel::sensorRaw(const QByteArray& setup) const
{
    // Each sensor gives the voltage its calibration in the setup assigns to the value the live
    // record shows, so that the settings window's read-outs and the live panel agree. The
    // calibration points are (value, centivolts) pairs, temperatures + 20 in both the setup and
    // the frame.
    auto volts = [&](int at, double value) {
        const double x1 = setupByte(setup, at);
        const double v1 = setupByte(setup, at + 1) / 100.0;
        const double x2 = setupByte(setup, at + 2);
        const double v2 = setupByte(setup, at + 3) / 100.0;
        const double v = x1 == x2 ? v1 : v1 + (value - x1) * (v2 - v1) / (x2 - x1);
        return std::clamp(v, 0.0, 5.0);
    };
    const double engineV = volts(offset::engineTempCal1Temp, m_last.engineTemp);
    const double airV = volts(offset::airTempCal1Temp, m_last.airTemp);
    const double throttleV = volts(offset::throttleCal1Percent, m_last.throttle);
    auto raw = [](double v) { return wordOf(v / 2.0 * 4096.0); };
    return {raw(engineV), raw(airV), raw(throttleV)};
}

QByteArray EngineModel::expertValues(const QByteArray& setup, quint8 calibrationByte) const
{
    QByteArray out;
    auto put16 = [&](int v) {
        out.append(char((v >> 8) & 0xFF));
        out.append(char(v & 0xFF));
    };
    const int start = setupByte(setup, offset::injectionStartAngle);
    const int offsets[3] = {0, setupByte(setup, 0), setupByte(setup, 0) + setupByte(setup, 1)};
    for (int i = 0; i < 3; ++i)
        put16((start + offsets[i]) % 360);
    for (int i = 0; i < 3; ++i)
        put16(m_last.injectionTime * (1000 + setupByte(setup, offset::injectionExtension + i)) /
              1000);
    const double rpm =
        std::max<double>(m_last.rpm, 20.0 * setupByte(setup, offset::quickStartSpeed));
    const double chargeUs = 250.0 * setupByte(setup, offset::coilChargeTime);
    const int chargeAngle = int(std::lround(chargeUs / 1e6 * rpm / 60.0 * 360.0));
    const int fireAngle = 360 - (m_last.ignitionAngle - 50);
    for (int i = 0; i < 3; ++i)
        put16(((fireAngle - chargeAngle + offsets[i]) % 360 + 360) % 360);
    for (int i = 0; i < 3; ++i)
        put16(chargeAngle);
    put16(std::max(0, 360 - chargeAngle));  // angle limit
    out.append(char(setupByte(setup, offset::dynamicFactor1) * 2));
    out.append(char(setupByte(setup, offset::dynamicFactor2) * 2));
    const int timerDiff = int(std::lround(120 * std::sin(m_last.timeStamp / 97000.0)));
    put16(quint16(qint16(timerDiff)));
    put16(m_last.rpm > 0 ? 4 : 0);
    put16(m_last.timeStamp & 0xFFFF);
    out.append(char(calibrationByte));
    return out;
}

}  // namespace kvtsim
