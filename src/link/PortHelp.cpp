// German help texts for serial ports that are missing or may not be opened.
#include "link/PortHelp.h"

#include <cerrno>

namespace devlink {

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM;
}

QString portHelpTitle()
{
    return QStringLiteral("COM-Anschluss");
}

QString permissionStatusLine(const QString& path)
{
    return QStringLiteral("Keine Berechtigung für ") + path +
           QStringLiteral(" - Benutzer zur Gruppe dialout hinzufügen");
}

QString permissionAdvice(const QString& path)
{
    return QStringLiteral("Der Anschluss ") + path +
           QStringLiteral(
               " ist vorhanden, darf aber von diesem Benutzer nicht geöffnet werden "
               "(keine Berechtigung).\n\n"
               "Bitte den Benutzer zur Gruppe \"dialout\" hinzufügen, zum Beispiel mit\n"
               "    sudo usermod -a -G dialout $USER\n"
               "und sich danach ab- und wieder anmelden, damit die neue Gruppe gilt.");
}

QString noPortStatusLine()
{
    return QStringLiteral("Kein serieller Anschluss gefunden");
}

QString noPortAdvice(const QString& directory)
{
    return QStringLiteral("Kein serieller Anschluss gefunden.\n\n"
                          "Gesucht wird in ") +
           directory +
           QStringLiteral(" nach Geräten mit den Namen tty.*, ttyUSB* und ttyACM*.\n"
                          "Vielleicht ist der USB-Seriell-Adapter nicht eingesteckt. "
                          "Nach dem Einstecken \"verf. Ports ?\" drücken.");
}

QString missingDeviceAdvice(const QString& path)
{
    return QStringLiteral("Der Anschluss ") + path +
           QStringLiteral(
               " ist nicht vorhanden.\n\n"
               "Serielle Adapter erscheinen in /dev/ unter den Namen tty.*, ttyUSB* "
               "und ttyACM*.\n"
               "Vielleicht ist der USB-Seriell-Adapter nicht eingesteckt oder der "
               "Name falsch geschrieben.");
}

QString refusalStatusLine(const QString& path, int error)
{
    if (path.isEmpty())
        return noPortStatusLine();
    return isPermissionError(error) ? permissionStatusLine(path) : QString();
}

QString refusalAdvice(const QString& path, int error)
{
    if (path.isEmpty())
        return noPortAdvice();
    return isPermissionError(error) ? permissionAdvice(path) : QString();
}

}  // namespace devlink
