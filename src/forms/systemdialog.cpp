// Layout of the system window.
#include "forms/systemdialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QLineEdit* makeField(const char* toolTip, int width = 60)
{
    auto* field = new QLineEdit;
    field->setFixedWidth(width);
    if (toolTip)
        field->setToolTip(u(toolTip));
    return field;
}

QLineEdit* fieldRow(QGridLayout* grid, int row, const char* text, const char* toolTip)
{
    grid->addWidget(new QLabel(u(text)), row, 0);
    QLineEdit* field = makeField(toolTip);
    grid->addWidget(field, row, 1);
    return field;
}

QCheckBox* box(const char* text, const char* toolTip)
{
    auto* check = new QCheckBox(u(text));
    check->setToolTip(u(toolTip));
    return check;
}

QPushButton* button(const char* text, const char* toolTip)
{
    auto* b = new QPushButton(u(text));
    b->setToolTip(u(toolTip));
    return b;
}

}  // namespace

void systemdialog::setupUi(QWidget* content)
{
    auto* columns = new QHBoxLayout(content);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* big = new QGroupBox(u("Grossbild"));
    auto* g = new QGridLayout(big);
    rpmWarning = fieldRow(g, 0, "Drehzahlmesser Max.-Wert [Umin]:",
                          "Ab dieser Motordrehzahl wird die Drehzahl in ROT angezeigt.");
    rpmRounding = fieldRow(g, 1, "Drehzahlanzeige runden [Umin]:", nullptr);
    g->addWidget(new QLabel(u("Lambdaanzeige")), 2, 0);
    g->addWidget(new QLabel(u("[V]")), 2, 1);
    lambdaVeryRich = fieldRow(g, 3, "sehr fett (++)",
                              "oberhalb dieser Lambdaspannung wird im Grossbild ein '++' "
                              "angezeigt.");
    lambdaRich = fieldRow(g, 4, "fett (+)",
                          "oberhalb dieser Lambdaspannung wird im Grossbild ein '+' angezeigt.");
    lambdaLean = fieldRow(g, 5, "mager (-)",
                          "unterhalb dieser Lambdaspannung wird im Grossbild ein '-' angezeigt.");
    lambdaVeryLean = fieldRow(g, 6, "sehr mager (--)",
                              "unterhalb dieser Lambdaspannung wird im Grossbild ein '--' "
                              "angezeigt.");
    lambdaWarning = new QLabel;
    QPalette red = lambdaWarning->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lambdaWarning->setPalette(red);
    g->addWidget(lambdaWarning, 7, 0, 1, 2);
    sensorErrorMinSpeed = fieldRow(g, 8, "Min.-Drehzahl für Sensorfehler [Umin]:", nullptr);
    g->addWidget(new QLabel(u("Zeige an:")), 9, 0);
    static const char* const lambdaTips[3] = {"Lambdaspannung 1 in Grossbild anzeigen",
                                              "Lambdaspannung 2 in Grossbild anzeigen",
                                              "Lambdaspannung 3 in Grossbild anzeigen"};
    auto* lambdas = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        showLambda[i] = box(i == 0 ? "Lambda 1" : i == 1 ? "Lambda 2" : "Lambda 3", lambdaTips[i]);
        lambdas->addWidget(showLambda[i]);
    }
    g->addLayout(lambdas, 10, 0, 1, 2);
    showLearnLimits = box("Lern-Modus: Grenzen anzeigen",
                          "Die Grenzen für den aktiven Lern-Modus werden angezeigt");
    g->addWidget(showLearnLimits, 11, 0, 1, 2);
    sliderDisplays = box("Schiebeanzeigen aktivieren", "Schiebeanzeigen werden aktiviert");
    g->addWidget(sliderDisplays, 12, 0, 1, 2);
    left->addWidget(big);

    auto* map = new QGroupBox(u("Kennfeld"));
    auto* m = new QGridLayout(map);
    injectionWarnPercent = fieldRow(m, 0, "Warngrenze Einspritzrate [% 1 Umdr.]:",
                                    "Im Kennfeld wird oberhalb dieser Düsenöffnungsrate rot "
                                    "gezeichnet");
    left->addWidget(map);

    auto* logger = new QGroupBox(u("Logger"));
    auto* l = new QGridLayout(logger);
    loggerPeriod = fieldRow(l, 0, "Logger-Timer [ms]", "Rhythmus des Aufzeichnens");
    loggerCapacity = fieldRow(l, 1, "max. Anzahl Datensätze ",
                              "Vorgabe der max. Datensätze für eine Aufzeichnung");
    l->addWidget(new QLabel(u("Ergibt eine max. Log-Zeit(s):")), 2, 0);
    loggerTime = new QLabel;
    l->addWidget(loggerTime, 2, 1);
    l->addWidget(new QLabel(u("... und eine Dateigröße von ca.")), 3, 0);
    loggerSize = new QLabel;
    l->addWidget(loggerSize, 3, 1);
    left->addWidget(logger);
    left->addStretch();

    auto* general = new QGroupBox(u("KVT allgemein"));
    auto* k = new QGridLayout(general);
    comTimer = fieldRow(k, 0, "COM-Timer:",
                        "Wert für den Rhythmus der COM-verbindung (klein=schnell)");
    comAtStart = box("COM beim Start aktivieren",
                     "letzter bekannter COM-port wird automatisch eingeschaltet");
    k->addWidget(comAtStart, 1, 0, 1, 2);
    readSetupAfterIdentification = box("Setup automatisch von KVT einlesen",
                                       "Setup aus KVT wird eingelesen, sobald KVT identifiziert "
                                       "wurde");
    k->addWidget(readSetupAfterIdentification, 2, 0, 1, 2);
    messageFile = box("KVT Meldungen mitschreiben",
                      "Meldungen der Motrix werden in einer *.txt-Datei mitgeschrieben");
    k->addWidget(messageFile, 3, 0, 1, 2);
    right->addWidget(general);

    auto* power = new QGroupBox(u("Leistungsmessung"));
    auto* p = new QGridLayout(power);
    powerSampleInterval = fieldRow(p, 0, "Auflösung Datenintervall:",
                                   "Rhythmus der datenaufzeichnung in Beztug auf den COM-Timer "
                                   "(klein=schnell)");
    powerMinSpeed = fieldRow(p, 1, "Mindestdrehzahl [Umin]:",
                             "Unterhalb dieser Drhezahl wird nicht ausgewertet");
    p->addWidget(new QLabel(u("Individualtext auf Ausdruck:")), 2, 0, 1, 2);
    printoutText = makeField("Textzusatz auf Ausdruck des leistungsvergleiches", 260);
    printoutText->setMaxLength(100);
    p->addWidget(printoutText, 3, 0, 1, 2);
    right->addWidget(power);

    auto* firmware = new QGroupBox(u("Firmware"));
    auto* f = new QGridLayout(firmware);
    f->addWidget(new QLabel(u("Dateipfad:")), 0, 0);
    firmwareFolder = new QLabel;
    f->addWidget(firmwareFolder, 1, 0, 1, 2);
    f->addWidget(new QLabel(u("Dateiname:")), 2, 0);
    firmwareFile = new QLabel;
    f->addWidget(firmwareFile, 3, 0, 1, 2);
    chooseFirmware = button("firmware wählen", "Auswahl der zu übertragenden firmware-Datei");
    f->addWidget(chooseFirmware, 4, 0);
    updateFirmware = button("update KVT", "Start oder Abbruch des firmware-update-Prozesses");
    f->addWidget(updateFirmware, 4, 1);
    firmwareProgress = new QProgressBar;
    firmwareProgress->setRange(0, 100);
    firmwareProgress->setValue(0);
    f->addWidget(firmwareProgress, 5, 0, 1, 2);
    firmwareStatus = new QLabel;
    f->addWidget(firmwareStatus, 6, 0, 1, 2);
    eraseEeprom = button("EEPROM löschen", "Löscht das EEPROM in der KVT");
    f->addWidget(eraseEeprom, 7, 0);
    right->addWidget(firmware);

    auto* positions = new QGroupBox(u("Fensterposition rücksetzten"));
    auto* w = new QGridLayout(positions);
    const char* onMain = "Setzt Fenster mittig zum Hauptfenster";
    centreMain = button("Hauptfenster", "Setzt Fenster mittig zum Hautbildschirm");
    centreBigDisplay = button("Grossbild", "Setzt Fenster mittig zum Hauptfenster und "
                                           "Standardgrösse");
    centreLogger = button("Logger", onMain);
    centrePower = button("Leistungsvergleich", onMain);
    centreLearn = button("Lernmodus", onMain);
    centreSettings = button("Einstellungen", onMain);
    centreLambdaLogger = button("Lambdalogger", onMain);
    centreTest = button("Test", onMain);
    centreSystem = button("System", onMain);
    const std::array<QPushButton*, 9> all{centreMain,     centreBigDisplay,   centreLogger,
                                          centrePower,    centreLearn,        centreSettings,
                                          centreLambdaLogger, centreTest,     centreSystem};
    for (int i = 0; i < int(all.size()); ++i)
        w->addWidget(all[i], i / 3, i % 3);
    right->addWidget(positions);
    right->addStretch();
}

}  // namespace forms
