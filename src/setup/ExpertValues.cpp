// "P" decoding, derived values, speed mean, fine-tune byte and serial timing.
#include "setup/ExpertValues.h"

#include <QTime>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace setup {

namespace {

// Limited to the int range: a long charge angle at standstill with no quick-start speed gives
// billions of µs, which an int cannot hold.
int roundedInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::clamp(std::nearbyint(v), double(std::numeric_limits<int>::min()),
                          double(std::numeric_limits<int>::max())));
}

}  // namespace

std::optional<ExpertReply> decodeExpertReply(const QByteArray& data)
{
    if (data.size() < expertReplyLength - 1)
        return std::nullopt;
    int pos = 0;
    auto byte = [&] { return quint8(data[pos++]); };
    auto word = [&] {
        const int high = byte();
        return high * 256 + byte();
    };
    ExpertReply r;
    for (int& v : r.injectionStart)
        v = word();
    for (int& v : r.injectionTime)
        v = word();
    for (int& v : r.chargeStart)
        v = word();
    for (int& v : r.chargeAngle)
        v = word();
    r.angleLimit = word();
    r.dynamicAngle1 = byte();
    r.dynamicAngle2 = byte();
    r.timerDiffRaw = word();
    r.timerDiff = r.timerDiffRaw >= 32768 ? r.timerDiffRaw - 65536 : r.timerDiffRaw;
    r.setRevolutions = word();
    r.controlValue = word();
    r.calibrationByte = byte();
    return r;
}

ExpertDerived deriveExpertValues(const ExpertReply& r, int rpmForMaps, int quickStartSpeed,
                                 int coilChargeTime)
{
    ExpertDerived d;
    const int quick = 20 * quickStartSpeed;
    // Injection share of one revolution: the quick-start speed stands in at standstill.
    const int n = rpmForMaps != 0 ? rpmForMaps : quick;
    // Charge time: below the quick-start speed the KVT charges as if it turned that fast.
    const int m = rpmForMaps < quick ? quick : rpmForMaps;
    for (int i = 0; i < 3; ++i) {
        d.injectionPercent[i] =
            n == 0 ? 0 : roundedInt(r.injectionTime[i] / (60.0 / n * 1000000) * 100);
        d.chargeUs[i] = roundedInt(r.chargeAngle[i] / 360.0 * 60 / (m + 1) * 1000000);
        d.chargePercent[i] =
            coilChargeTime == 0 ? 0 : roundedInt(d.chargeUs[i] / (250.0 * coilChargeTime) * 100);
    }
    d.timerDiffAngle = rpmForMaps == 0 ? 0 : r.timerDiff * double(rpmForMaps) * 360 / 7500000;
    return d;
}

std::optional<WheelWidths> measuredWheelWidths(int teethSeen, int toothPeriod, int gapPeriod)
{
    const double revolution = double(teethSeen) * toothPeriod + gapPeriod;
    if (teethSeen <= 0 || toothPeriod <= 0 || revolution <= 0)
        return std::nullopt;
    return WheelWidths{360.0 * toothPeriod / revolution, 360.0 * gapPeriod / revolution};
}

void SpeedMean::add(int rpm)
{
    m_values.push_back(rpm);
    while (int(m_values.size()) > size)
        m_values.pop_front();
}

double SpeedMean::mean() const
{
    // Until 40 speeds have come the mean is over those there are.
    if (m_values.empty())
        return 0;
    return std::accumulate(m_values.begin(), m_values.end(), 0.0) / double(m_values.size());
}

quint8 calibrationStep(int current, int delta)
{
    return quint8(std::clamp(current + delta, 0, 255));
}

void SerialTiming::add(quint32 timeStamp, qint64 nowMs, qint64 clockOffset)
{
    if (m_any && timeStamp != m_stamp) {
        m_frequency = 100000.0 / (double(timeStamp) - double(m_stamp));
        m_frequencies.push_back(*m_frequency);
        while (int(m_frequencies.size()) > frequencyValues)
            m_frequencies.pop_front();
    }
    m_any = true;
    m_stamp = timeStamp;
    m_cpuDiff = qint64(timeStamp / 100) - (nowMs - clockOffset);
    m_drift.emplace_back(timeStamp / 100.0, nowMs);
    while (int(m_drift.size()) > driftValues)
        m_drift.pop_front();
}

QString SerialTiming::stampText() const
{
    if (!m_any)
        return {};
    const int seconds = int(m_stamp / 100000);
    const QTime t = QTime(0, 0).addSecs(seconds % 86400);
    return QStringLiteral("%1 (%2)").arg(m_stamp).arg(t.toString(QStringLiteral("hh:mm:ss")));
}

QString SerialTiming::frequencyText() const
{
    return m_frequency ? QString::number(*m_frequency, 'f', 2) : QString();
}

QString SerialTiming::frequencyMeanText() const
{
    if (m_frequencies.empty())
        return {};
    const double sum = std::accumulate(m_frequencies.begin(), m_frequencies.end(), 0.0);
    return QString::number(sum / double(m_frequencies.size()), 'f', 2);
}

QString SerialTiming::cpuDiffText() const
{
    return m_any ? QString::number(m_cpuDiff) : QString();
}

QString SerialTiming::driftText() const
{
    // How much faster the KVT's clock runs than the program's, over the polls kept since the
    // reset: (KVT time passed - program time passed) / program time passed.
    if (m_drift.size() < 2)
        return {};
    const double kvt = m_drift.back().first - m_drift.front().first;
    const double cpu = double(m_drift.back().second - m_drift.front().second);
    if (cpu <= 0)
        return {};
    return QString::number((kvt - cpu) / cpu * 100, 'f', 3);
}

}  // namespace setup
