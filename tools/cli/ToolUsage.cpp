// The tool's overview text.
#include "ToolUsage.h"

#include "KvtCommands.h"

namespace cli {

QString toolUsage()
{
    return QStringLiteral(
               "motrix-cli: Setup-, Log-, Lambda-, Leistungs- und firmware-Dateien, die\n"
               "Setup-Historie und die KVT ohne Fenster.\n"
               "\n"
               "Aufruf:\n"
               "  motrix-cli setup show DATEI.kvt [--json]\n"
               "  motrix-cli setup diff A.kvt B.kvt [--json]\n"
               "  motrix-cli log show DATEI.klg [--json]\n"
               "  motrix-cli log csv DATEI.klg [-o AUSGABE.csv]\n"
               "  motrix-cli lambda show DATEI.kll [--json]\n"
               "  motrix-cli power show DATEI.klv [--json]\n"
               "  motrix-cli power print DATEI.klv [--compare B.klv [C.klv]] [--text TEXT] "
               "-o AUS.pdf\n"
               "  motrix-cli firmware check DATEI.bin|DATEI.hex [--json]\n"
               "  motrix-cli settings demo VERZEICHNIS PORT\n"
               "  motrix-cli history list [--json] [--dir VERZEICHNIS]\n"
               "  motrix-cli history show NR [--json] [--dir VERZEICHNIS]\n"
               "  motrix-cli history diff NR NR|DATEI.kvt [--json] [--dir VERZEICHNIS]\n"
               "  motrix-cli history export NR -o DATEI.kvt [--dir VERZEICHNIS]\n") +
           kvtUsage() +
           QStringLiteral(
               "\n"
               "Exit-Status: 0 in Ordnung, 1 Prüfung fehlgeschlagen oder Unterschiede oder KVT\n"
               "antwortet nicht, 2 unbrauchbare Eingabe oder Anschluss (mit Meldung).\n");
}

}  // namespace cli
