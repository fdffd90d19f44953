// Texts of the learn-mode and lambda-logging warnings.
#include "setup/SetupWarnings.h"

namespace setup {

QString learnModeWarning()
{
    return QStringLiteral(
        "\rDer Lern-Modus ist aktiv.\r\rDer Lern-Modus ist nicht für den Dauereinsatz "
        "vorgesehen.\r\rDas EEPROM hat eine begrenzte Anzahl Schreibzyklen.\r\rDas Sichern der "
        "gelernten Daten nach Erreichen des Motorstillstandes\rerfordert Zeit, während dieser "
        "ein schnelles Neustarten\rdes Motors nicht möglich ist.\r");
}

QString lambdaLoggingWarning()
{
    return QStringLiteral(
        "\rLambda-Loggen ist aktiv.\r\rLambda-Loggen ist nicht für den Dauereinsatz "
        "vorgesehen.\r\rDas EEPROM hat eine begrenzte Anzahl Schreibzyklen.\r\rDas Sichern der "
        "geloggten Lambdadaten nach Erreichen des Motorstillstandes\rerfordert Zeit, während "
        "dieser ein schnelles Neustarten\rdes Motors nicht möglich ist.\r");
}

void showSetupWarnings(const SetupRecord& record, app::Dialogs& dialogs)
{
    if (record.learnActive == 1)
        dialogs.message(QStringLiteral("Achtung!"), learnModeWarning());
    if (record.lambdaLogging == 1)
        dialogs.message(QStringLiteral("Achtung!"), lambdaLoggingWarning());
}

}  // namespace setup
