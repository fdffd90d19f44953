// The lambda table, its "B" reply layout and the live recording.
#include "lambda/LambdaTable.h"

#include "lambda/LambdaCell.h"

#include <algorithm>

namespace lambda {

bool LambdaTable::isEmpty() const
{
    return std::all_of(m_mv.begin(), m_mv.end(), [](int v) { return v == 0; });
}

double LambdaTable::average(int i, int j, const std::array<bool, 3>& probes) const
{
    double sum = 0;
    int count = 0;
    for (int k = 1; k <= kProbes; ++k) {
        if (!probes[k - 1])
            continue;
        sum += at(i, j, k);
        ++count;
    }
    return count == 0 ? 0.0 : sum / count;
}

bool decodeLambdaReply(const QByteArray& payload, LambdaTable& table, bool& lambdaLogging)
{
    if (payload.size() != kReplyPayload)
        return false;
    const auto byte = [&](int n) { return quint8(payload[n]); };
    lambdaLogging = byte(0) != 0;
    int pos = 1;
    for (int i = 1; i <= kSpeedCells; ++i)
        for (int j = 1; j <= kThrottleCells; ++j)
            for (int k = 1; k <= kProbes; ++k, pos += 2)
                table.set(i, j, k, byte(pos) << 8 | byte(pos + 1));
    return true;
}

QByteArray encodeLambdaReply(const LambdaTable& table, bool lambdaLogging)
{
    QByteArray out;
    out.reserve(kReplyPayload);
    out.append(char(lambdaLogging ? 1 : 0));
    for (int i = 1; i <= kSpeedCells; ++i)
        for (int j = 1; j <= kThrottleCells; ++j)
            for (int k = 1; k <= kProbes; ++k) {
                const int v = std::clamp(table.at(i, j, k), 0, 0xFFFF);
                out.append(char(v >> 8));
                out.append(char(v & 0xFF));
            }
    return out;
}

bool recordLive(LambdaTable& table, const devlink::LiveRecord& record)
{
    const auto cell = lambdaCell(record);
    if (!cell)
        return false;
    const auto mv = lambdaMillivolts(record);
    for (int k = 1; k <= kProbes; ++k)
        table.set(cell->speedCell, cell->throttleCell, k, mv[k - 1]);
    return true;
}

}  // namespace lambda
