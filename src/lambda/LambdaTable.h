// The lambda table: the lambda voltages of the three probes sorted by operating point, as the
// KVT records them in its RAM and EEPROM and as the program fills them from live values.
#pragma once

#include "link/LiveRecord.h"

#include <QByteArray>
#include <array>

namespace lambda {

inline constexpr int kSpeedCells = 17;    // i = 1 … 17: 0, 1000, …, 16000 rpm
inline constexpr int kThrottleCells = 9;  // j = 1 … 9: 0, 12.5, …, 100 %
inline constexpr int kProbes = 3;         // k = 1 … 3
inline constexpr int kCellCount = kSpeedCells * kThrottleCells * kProbes;  // 459
// Bytes after the reply letter "b": the logging flag and 459 values of two bytes.
inline constexpr int kReplyPayload = 1 + 2 * kCellCount;

// 17 × 9 × 3 voltages in mV (0 = no value). Indices are counted from 1 as the KVT counts them.
class LambdaTable final {
public:
    int at(int i, int j, int k) const { return m_mv[index(i, j, k)]; }
    void set(int i, int j, int k, int mv) { m_mv[index(i, j, k)] = mv; }
    void clear() { m_mv.fill(0); }
    bool isEmpty() const;

    // Average of the ticked probes at (i, j) in mV; 0 when no probe is ticked.
    double average(int i, int j, const std::array<bool, 3>& probes) const;

    bool operator==(const LambdaTable&) const = default;

private:
    static int index(int i, int j, int k)
    {
        return ((i - 1) * kThrottleCells + (j - 1)) * kProbes + (k - 1);
    }
    std::array<int, kCellCount> m_mv{};
};

// The reply of "B" after its letter: the KVT's lambdaLogging flag, then the values high byte
// first with i outer, j, k inner. Returns false and leaves table and flag untouched unless the
// payload has exactly the expected length.
bool decodeLambdaReply(const QByteArray& payload, LambdaTable& table, bool& lambdaLogging);

// The same layout written back (the simulator answers with it).
QByteArray encodeLambdaReply(const LambdaTable& table, bool lambdaLogging);

// Stores the record's three voltages at its operating point. Samples outside the table
// (throttle above the ninth row) are dropped; returns whether the sample was stored.
bool recordLive(LambdaTable& table, const devlink::LiveRecord& record);

}  // namespace lambda
