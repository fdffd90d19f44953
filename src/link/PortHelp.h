// What the user is told when no serial port can be used: a device that is there but may not be
// opened (on Linux the user is not in the group that owns serial devices), or no device at all
// (the adapter is unplugged or appears under another name).
#pragma once

#include <QString>

namespace devlink {

// The open error (errno) means the device exists but this user may not open it.
bool isPermissionError(int error);

// Title of the message boxes below.
QString portHelpTitle();
// One status line and the message box text for a device refused for lack of permission.
QString permissionStatusLine(const QString& path);
QString permissionAdvice(const QString& path);
// The status line and the message box text when no candidate device is listed at all.
QString noPortStatusLine();
QString noPortAdvice(const QString& directory = QStringLiteral("/dev/"));

// A device path that names no device (mistyped, or the adapter is unplugged): the message with
// the device names the program looks for.
QString missingDeviceAdvice(const QString& path);

// For an open of path that failed with error: the status line and the advice for the user, or
// empty texts when there is nothing to add to "COM Fehler - Port nicht verfügbar" (a busy or
// vanished device). An empty path means no port was listed to choose from.
QString refusalStatusLine(const QString& path, int error);
QString refusalAdvice(const QString& path, int error);

}  // namespace devlink
