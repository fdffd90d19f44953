// Boot-loader faults and the image file, as options of kvtsim and commands on its console.
#pragma once

#include "BootLoader.h"

#include <QString>

namespace kvtsim {

class PtyHost;

// "nak:K" (refuse the K-th frame once), "checksum" (refuse every frame), "silence",
// "drop:K" (drop the link after K accepted frames), "ok" (no faults). Faults add up; "ok"
// clears them. False when the text is not one of these.
bool parseBootFault(const QString& text, BootFaults* faults);

// The console's "boot ..." commands: "boot FAULT", "boot image PATH", "boot status".
QString runBootCommand(PtyHost& host, const QString& arguments);

}  // namespace kvtsim
