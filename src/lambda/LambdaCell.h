// Where a polled LiveRecord's lambda voltages go in the lambda table.
#pragma once

#include "link/LiveRecord.h"

#include <array>
#include <optional>

namespace lambda {

// Lambda table cell for the live values, counted from 1 (speed 1-17, throttle 1-9); halves
// round up. Nothing when the throttle lies outside 0-100 %.
struct LambdaCell {
    int speedCell = 1;
    int throttleCell = 1;
};
std::optional<LambdaCell> lambdaCell(const devlink::LiveRecord& record);

// The three lambda voltages in whole mV (halves to even).
std::array<int, 3> lambdaMillivolts(const devlink::LiveRecord& record);

}  // namespace lambda
