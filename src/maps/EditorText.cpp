// Texts and small rules of the main window's keys.
#include "maps/EditorText.h"

#include "app/core/ProgramInfo.h"
#include "app/core/TextCut.h"

namespace maps {

QPair<QString, QString> helpHeading()
{
    return {QStringLiteral("Hauptfenster Tasten"), QStringLiteral("Erklärung")};
}

QList<QPair<QString, QString>> helpRows()
{
    const QString& name = app::programName;
    return {
        {QStringLiteral("Esc"), QStringLiteral("Kennfeld/-linie bearbeiten beenden")},
        {QStringLiteral("F1"), QStringLiteral("diese Hilfe anzeigen")},
        {QStringLiteral("shift+F1"),
         QStringLiteral("Rücksetzten der Position Hauptfenster und Systemfenster")},
        {QStringLiteral("F3"),
         QStringLiteral(
             "Kennfeld Einspritzwinkel@Drehzahl/Drosselklappe: Stüztpunktgruppe erhöhen")},
        {QStringLiteral("F4"),
         QStringLiteral(
             "Kennfeld Einspritzwinkel@Drehzahl/Drosselklappe: Stüztpunktgruppe erniedrigen")},
        {QStringLiteral("F5"),
         QStringLiteral("Kennfeld Einspritzwinkel zu Drehzahl und Drosselklappe bearbeiten")},
        {QStringLiteral("F6"),
         QStringLiteral("Kennlinie Einspritzkorrektur nach Ansauglufttemperatur bearbeiten")},
        {QStringLiteral("F7"),
         QStringLiteral("Kennlinie Einspritzkorrektur nach Motortemperatur bearbeiten")},
        {QStringLiteral("F8"),
         QStringLiteral("Kennlinie Zündwinkel vor O.T. nach Drehzahl bearbeiten")},
        {QStringLiteral("F10"), QStringLiteral(" Beenden")},
        {QStringLiteral("F11"), QStringLiteral("Leistungsvergleich starten")},
        {QStringLiteral("F12"), QStringLiteral("Leistungsvergleich stoppen")},
        {QStringLiteral("Pfeil hoch"), QStringLiteral("Cursor bewegen")},
        {QStringLiteral("Pfeil runter"), QStringLiteral("Cursor bewegen")},
        {QStringLiteral("Pfeil rechts"), QStringLiteral("Cursor bewegen")},
        {QStringLiteral("Pfeil links"), QStringLiteral("Cursor bewegen")},
        {QStringLiteral("+  (shift +)"), QStringLiteral("Kennfeld/-linienwert um 1 (10) erhöhen")},
        {QStringLiteral("-   (shift -)"),
         QStringLiteral("Kennfeld/-linienwert um 1 (10) erniedrigen")},
        {QString(), QString()},
        {QStringLiteral("-> EEPROM"),
         QStringLiteral("Die im Speicher der KVT befindlichen Daten werden ins EEPROM der KVT "
                        "kopiert")},
        {QStringLiteral("-> PC"),
         QStringLiteral("Die Daten der KVT werden zur ") + name + QStringLiteral(" kopiert")},
        {QStringLiteral("-> KVT"),
         QStringLiteral("Die Daten in der ") + name + QStringLiteral(" werden zur KVT kopiert")},
        {QStringLiteral("Laden"),
         QStringLiteral("Es wird ein KVT-Setup von einem Datenträger in die ") + name +
             QStringLiteral(" geladen")},
        {QStringLiteral("Speichern"), QStringLiteral("Es wird aus den Setup-Daten in der ") + name +
                                          QStringLiteral(" eine Datei erstellt")},
        {QStringLiteral("Einstellungen"),
         QStringLiteral("Das Einstellungen-Fenster wird aktiviert")},
        {QStringLiteral("Test"), QStringLiteral("Das Test-Fenster wird aktiviert")},
        {QStringLiteral("Grossbild"), QStringLiteral("Anzeige des Werkstattbildschirms")},
        {QStringLiteral("System"), QStringLiteral("Das System-Fenster wird aktiviert")},
        {QStringLiteral("Lern-Modus"), QStringLiteral("Das Fenster Lern-Modus wird aktiviert.")},
        {QStringLiteral("Vitaldaten-Logger"),
         QStringLiteral("Das Vitaldaten-Logger-Fenster wird aktiviert.")},
        {QStringLiteral("Lambda-Logger"),
         QStringLiteral("Das Lambda-Logger-Fenster wird angezeigt.")},
        {QStringLiteral("Leistungsvergleich"),
         QStringLiteral("Das Fenster Leistungsvergleich wird aktiviert.")},
        {QString(), QString()},
        {QStringLiteral("verf. Ports?"),
         QStringLiteral("Aktualisiert die Liste der verfügbaren seriellen Ports")},
        {QString(), QString()},
        {QStringLiteral("Details..."), QStringLiteral("...gibt's in der Bedienungsanleitung :-)")},
    };
}

QString padDescription(const QString& text)
{
    return app::cutWhole(text, 100).leftJustified(100, u' ');
}

}  // namespace maps
