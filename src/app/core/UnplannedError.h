// The handler for errors the program did not plan for: it tells the user, logs, and ends the
// process without writing the settings file.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"

namespace app {

// Shows the "Oops..." box and writes the two log lines; does not end the process.
void reportUnplannedError(Dialogs& dialogs, MessageLog& log, const QString& error,
                          const QString& location);

// Installs the handler for Qt fatal messages and for exceptions that escape the event loop.
// After the report the process ends at once with exit status 1.
void installUnplannedErrorHandler(Dialogs* dialogs, MessageLog* log);

}  // namespace app
