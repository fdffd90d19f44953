// Block arithmetic on shown values.
#include "maps/BlockOps.h"

#include "setup/EntryRules.h"

#include <algorithm>
#include <cmath>

namespace maps {
namespace {

int limited(double value, ShownRange range)
{
    if (!std::isfinite(value))
        return value > 0 ? range.maximum : range.minimum;
    // Far outside every range the rounding would overflow; the limit is the same either way.
    value = std::clamp(value, double(range.minimum) - 1, double(range.maximum) + 1);
    return setup::clampToRange(setup::roundHalfEven(value), range.minimum, range.maximum);
}

double smoothed(const BlockValues& b, int c, int r)
{
    double sum = 0;
    int n = 0;
    auto take = [&](int cc, int rr) {
        if (cc >= 0 && cc < b.columns && rr >= 0 && rr < b.rows) {
            sum += b.at(cc, rr);
            ++n;
        }
    };
    take(c - 1, r);
    take(c + 1, r);
    take(c, r - 1);
    take(c, r + 1);
    const double own = b.at(c, r);
    return n == 0 ? own : (own + sum / n) / 2;
}

double interpolated(const BlockValues& b, int c, int r)
{
    const int lastC = b.columns - 1;
    const int lastR = b.rows - 1;
    const double fc = lastC > 0 ? double(c) / lastC : 0;
    const double fr = lastR > 0 ? double(r) / lastR : 0;
    const double low = b.at(0, 0) * (1 - fc) + b.at(lastC, 0) * fc;
    const double high = b.at(0, lastR) * (1 - fc) + b.at(lastC, lastR) * fc;
    return low * (1 - fr) + high * fr;
}

}  // namespace

BlockValues applyBlockOp(const BlockValues& block, BlockOp op, double amount, ShownRange range)
{
    BlockValues out = block;
    for (int r = 0; r < block.rows; ++r) {
        for (int c = 0; c < block.columns; ++c) {
            const double v = block.at(c, r);
            double next = v;
            switch (op) {
            case BlockOp::Set: next = amount; break;
            case BlockOp::Add: next = v + amount; break;
            case BlockOp::Scale: next = v * amount / 100; break;
            case BlockOp::Smooth: next = smoothed(block, c, r); break;
            case BlockOp::Interpolate: next = interpolated(block, c, r); break;
            }
            out.at(c, r) = limited(next, range);
        }
    }
    return out;
}

QString blockOpName(BlockOp op)
{
    switch (op) {
    case BlockOp::Set: return QStringLiteral("Wert setzen");
    case BlockOp::Add: return QStringLiteral("Addieren");
    case BlockOp::Scale: return QStringLiteral("Skalieren");
    case BlockOp::Smooth: return QStringLiteral("Glätten");
    case BlockOp::Interpolate: return QStringLiteral("Interpolieren");
    }
    return {};
}

}  // namespace maps
