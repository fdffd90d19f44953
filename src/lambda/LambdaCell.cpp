// The lambda table cell of the live values.
#include "lambda/LambdaCell.h"

#include <cmath>

namespace lambda {

std::optional<LambdaCell> lambdaCell(const devlink::LiveRecord& record)
{
    LambdaCell cell;
    cell.speedCell = int(std::floor(record.rpmForMaps / 1000.0 + 0.5)) + 1;
    cell.throttleCell = int(std::floor(record.throttle / 12.5 + 0.5)) + 1;
    // A throttle reading a little above 100 % still belongs to the top row; beyond it (from
    // 106.25 %) the sample has no cell and must never be stored outside the table.
    if (cell.speedCell < 1 || cell.speedCell > 17 || cell.throttleCell < 1 || cell.throttleCell > 9)
        return std::nullopt;
    return cell;
}

std::array<int, 3> lambdaMillivolts(const devlink::LiveRecord& record)
{
    std::array<int, 3> mv{};
    for (int k = 0; k < 3; ++k)
        mv[k] = int(std::nearbyint(record.lambda[k]));
    return mv;
}

}  // namespace lambda
