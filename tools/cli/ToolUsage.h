// The overview of every area and verb of motrix-cli, shown for "--help" and for a call without
// a known area.
#pragma once

#include <QString>

namespace cli {

QString toolUsage();

}  // namespace cli
