// The lambda table cell of the live values.
#include "lambda/LambdaCell.h"

#include <cmath>

namespace lambda {

std::optional<LambdaCell> lambdaCell(const devlink::LiveRecord& record)
{
    if (record.throttle > 100)
        return std::nullopt;
    LambdaCell cell;
    cell.speedCell = int(std::floor(record.rpmForMaps / 1000.0 + 0.5)) + 1;
    cell.throttleCell = int(std::floor(record.throttle / 12.5 + 0.5)) + 1;
    return cell;
}

std::array<int, 3> lambdaMillivolts(const devlink::LiveRecord& record)
{
    std::array<int, 3> mv {};
    for (int k = 0; k < 3; ++k)
        mv[k] = int(std::nearbyint(record.lambda[k]));
    return mv;
}

}  // namespace lambda
