// The live values of a "D" reply as columns for motrix-cli: a name, its unit and the value in
// that unit, in the order of the reply. One table for the CSV header, the CSV rows and the JSON
// lines of "kvt live".
#pragma once

#include "link/LiveRecord.h"

#include <QString>
#include <span>

namespace cli {

struct LiveColumn {
    const char* name;
    const char* unit;  // UTF-8; empty for plain numbers and raw bytes
    double (*value)(const devlink::LiveRecord&);
};

std::span<const LiveColumn> liveColumns();

// "rpm [U/min]", or the bare name without a unit.
QString liveColumnTitle(const LiveColumn& column);

// A value without trailing zeros ("12.5", "3").
QString liveValueText(double value);

}  // namespace cli
