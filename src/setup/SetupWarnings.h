// The warnings shown whenever a whole setup is taken over (from the KVT or from a file) with
// learn mode or lambda logging switched on: both wear out the KVT's EEPROM.
#pragma once

#include "app/core/Dialogs.h"
#include "setup/SetupRecord.h"

#include <QString>

namespace setup {

QString learnModeWarning();
QString lambdaLoggingWarning();

// Learn mode first, then lambda logging, each in its own "Achtung!" box.
void showSetupWarnings(const SetupRecord& record, app::Dialogs& dialogs);

}  // namespace setup
