// The expert window's numbers without the window: the "P" reply decoded with its derived
// values, the mean of the last 40 speeds, the oscillator fine-tune byte and the timing of the
// serial exchange against the KVT's own 100 kHz clock.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <deque>
#include <optional>

namespace setup {

// The 35 bytes after "p"; 16-bit values high byte first.
struct ExpertReply {
    std::array<int, 3> injectionStart{};  // °KW
    std::array<int, 3> injectionTime{};   // µs
    std::array<int, 3> chargeStart{};     // °KW
    std::array<int, 3> chargeAngle{};     // °KW from the charge start
    int angleLimit = 0;
    int dynamicAngle1 = 0;
    int dynamicAngle2 = 0;
    int timerDiffRaw = 0;  // as sent, 0..65535
    int timerDiff = 0;     // signed: 32768 and up mean value - 65536
    int setRevolutions = 0;
    int controlValue = 0;
    int calibrationByte = 0;
};
constexpr int expertReplyLength = 36;  // letter included

// Nothing when fewer than 35 bytes arrived.
std::optional<ExpertReply> decodeExpertReply(const QByteArray& data);

// The values shown beside the raw fields.
struct ExpertDerived {
    std::array<int, 3> injectionPercent{};  // "[% Umdr.]"
    std::array<int, 3> chargeUs{};          // "Ladezeit" "[µs]"
    std::array<int, 3> chargePercent{};     // "[%Soll]"
    double timerDiffAngle = 0;              // "Beschl.-Korr.timerdiff. [°KW]:"
};
// quickStartSpeed in units of 20 rpm; coilChargeTime in units of 250 µs.
ExpertDerived deriveExpertValues(const ExpertReply& reply, int rpmForMaps, int quickStartSpeed,
                                 int coilChargeTime);

// The measured widths of one tooth pitch and of the gap in °KW, beside "Zahnbreite:" and
// "Zahnlücke:". One revolution is teethSeen tooth periods and one gap period. Nothing while
// the wheel is not seen.
struct WheelWidths {
    double tooth = 0;
    double gap = 0;
};
std::optional<WheelWidths> measuredWheelWidths(int teethSeen, int toothPeriod, int gapPeriod);

// "Erkannte" … "Umin": the mean of the last 40 speeds, one per "P" reply.
class SpeedMean final {
public:
    static constexpr int size = 40;
    void add(int rpm);
    double mean() const;
    void clear() { m_values.clear(); }

private:
    std::deque<int> m_values;
};

// " + " / " - " of "Kalibrierung": the byte stays within 0..255.
quint8 calibrationStep(int current, int delta);

// The serial timing block, fed with the time stamp of every "D" and the program clock.
class SerialTiming final {
public:
    // timeStamp: KVT clock in 10 µs; nowMs: the program clock; clockOffset: program clock minus
    // KVT clock in ms, as the link took it.
    void add(quint32 timeStamp, qint64 nowMs, qint64 clockOffset);
    // "Reset Zeitstempel-Diff.": the drift starts anew.
    void resetDrift() { m_drift.clear(); }

    QString stampText() const;          // "100kHz-Zeitstempel:" and "(hh:mm:ss)"
    QString frequencyText() const;      // "reale COM Frequenz [Hz]:", two decimals
    QString frequencyMeanText() const;  // "im Ø:" over the last 30
    QString cpuDiffText() const;        // "Diff. zu CPU [ms]:"
    QString driftText() const;          // "in %:"

    static constexpr int frequencyValues = 30;
    static constexpr int driftValues = 100;

private:
    bool m_any = false;
    quint32 m_stamp = 0;
    qint64 m_cpuDiff = 0;
    std::optional<double> m_frequency;
    std::deque<double> m_frequencies;
    // (KVT ms, program ms) of the last polls since the reset.
    std::deque<std::pair<double, qint64>> m_drift;
};

}  // namespace setup
