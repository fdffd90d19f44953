// Layout of the system window.
#include "forms/systemdialog.h"

#include "forms/FormKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace forms {

void Systemdialog::setupUi(QWidget* content)
{
    // Display and logger preferences on the left, link, power measurement and firmware on the
    // right, the window-position buttons in one band below.
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    outer->addLayout(columns);

    QGridLayout* g = nullptr;
    QGroupBox* big = group("Grossbild", g);
    g->addWidget(label("Drehzahlmesser Max.-Wert [Umin]:"), 0, 0, 1, 3);
    rpmWarning = numberField("Ab dieser Motordrehzahl wird die Drehzahl in ROT angezeigt.");
    g->addWidget(rpmWarning, 0, 3);
    g->addWidget(label("Drehzahlanzeige runden [Umin]:"), 1, 0, 1, 3);
    rpmRounding = numberField();
    g->addWidget(rpmRounding, 1, 3);
    g->addWidget(label("Lambdaanzeige"), 2, 0);
    g->addWidget(label("[V]"), 2, 1);
    // The four judgement voltages two by two, richest first.
    lambdaVeryRich = numberField(
        "oberhalb dieser Lambdaspannung wird im Grossbild ein '++' "
        "angezeigt.");
    lambdaRich = numberField(
        "oberhalb dieser Lambdaspannung wird im Grossbild ein '+' "
        "angezeigt.");
    lambdaLean = numberField(
        "unterhalb dieser Lambdaspannung wird im Grossbild ein '-' "
        "angezeigt.");
    lambdaVeryLean = numberField(
        "unterhalb dieser Lambdaspannung wird im Grossbild ein '--' "
        "angezeigt.");
    g->addWidget(label("sehr fett (++)"), 3, 0);
    g->addWidget(lambdaVeryRich, 3, 1);
    g->addWidget(label("fett (+)"), 3, 2);
    g->addWidget(lambdaRich, 3, 3);
    g->addWidget(label("mager (-)"), 4, 0);
    g->addWidget(lambdaLean, 4, 1);
    g->addWidget(label("sehr mager (--)"), 4, 2);
    g->addWidget(lambdaVeryLean, 4, 3);
    lambdaWarning = new QLabel;
    QPalette red = lambdaWarning->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lambdaWarning->setPalette(red);
    // Keeps its line while empty, so the warning does not move the rows below.
    lambdaWarning->setMinimumHeight(lambdaWarning->fontMetrics().height());
    g->addWidget(lambdaWarning, 5, 0, 1, 4);
    g->addWidget(label("Min.-Drehzahl für Sensorfehler [Umin]:"), 6, 0, 1, 3);
    sensorErrorMinSpeed = numberField();
    g->addWidget(sensorErrorMinSpeed, 6, 3);
    g->addWidget(label("Zeige an:"), 7, 0, 1, 4);
    auto* lambdas = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        showLambda[i] =
            checkBox(QStringLiteral("Lambda ") + n, QStringLiteral("Lambdaspannung ") + n +
                                                        QStringLiteral(" in Grossbild anzeigen"));
        lambdas->addWidget(showLambda[i]);
    }
    lambdas->addStretch();
    g->addLayout(lambdas, 8, 0, 1, 4);
    showLearnLimits = checkBox("Lern-Modus: Grenzen anzeigen",
                               "Die Grenzen für den aktiven Lern-Modus werden angezeigt");
    g->addWidget(showLearnLimits, 9, 0, 1, 4);
    sliderDisplays = checkBox("Schiebeanzeigen aktivieren", "Schiebeanzeigen werden aktiviert");
    g->addWidget(sliderDisplays, 10, 0, 1, 4);
    left->addWidget(big);

    QGridLayout* m = nullptr;
    QGroupBox* map = group("Kennfeld", m);
    injectionWarnPercent = fieldRow(m, 0, "Warngrenze Einspritzrate [% 1 Umdr.]:", {},
                                    "Im Kennfeld wird oberhalb dieser Düsenöffnungsrate rot "
                                    "gezeichnet");
    left->addWidget(map);

    QGridLayout* l = nullptr;
    QGroupBox* logger = group("Logger", l);
    loggerPeriod = fieldRow(l, 0, "Logger-Timer [ms]", {}, "Rhythmus des Aufzeichnens");
    loggerCapacity = fieldRow(l, 1, "max. Anzahl Datensätze ", {},
                              "Vorgabe der max. Datensätze für eine Aufzeichnung");
    l->addWidget(label("Ergibt eine max. Log-Zeit(s):"), 2, 0);
    loggerTime = valueLabel(8);
    l->addWidget(loggerTime, 2, 1);
    l->addWidget(label("... und eine Dateigröße von ca."), 3, 0);
    loggerSize = valueLabel(8);
    l->addWidget(loggerSize, 3, 1);
    left->addWidget(logger);
    left->addStretch();

    QGridLayout* k = nullptr;
    QGroupBox* general = group("KVT allgemein", k);
    comTimer = fieldRow(k, 0, "COM-Timer:", {},
                        "Wert für den Rhythmus der COM-verbindung (klein=schnell)");
    comAtStart = checkBox("COM beim Start aktivieren",
                          "letzter bekannter COM-port wird automatisch eingeschaltet");
    k->addWidget(comAtStart, 1, 0, 1, 2);
    readSetupAfterIdentification = checkBox("Setup automatisch von KVT einlesen",
                                            "Setup aus KVT wird eingelesen, sobald KVT "
                                            "identifiziert wurde");
    k->addWidget(readSetupAfterIdentification, 2, 0, 1, 2);
    messageFile = checkBox("KVT Meldungen mitschreiben",
                           "Meldungen der Motrix werden in einer *.txt-Datei mitgeschrieben");
    k->addWidget(messageFile, 3, 0, 1, 2);
    right->addWidget(general);

    QGridLayout* p = nullptr;
    QGroupBox* power = group("Leistungsmessung", p);
    powerSampleInterval = fieldRow(p, 0, "Auflösung Datenintervall:", {},
                                   "Rhythmus der datenaufzeichnung in Beztug auf den COM-Timer "
                                   "(klein=schnell)");
    powerMinSpeed = fieldRow(p, 1, "Mindestdrehzahl [Umin]:", {},
                             "Unterhalb dieser Drhezahl wird nicht ausgewertet");
    p->addWidget(label("Individualtext auf Ausdruck:"), 2, 0, 1, 2);
    printoutText = new QLineEdit;
    printoutText->setToolTip(u"Textzusatz auf Ausdruck des leistungsvergleiches"_qs);
    printoutText->setMaxLength(100);
    p->addWidget(printoutText, 3, 0, 1, 2);
    right->addWidget(power);

    QGridLayout* f = nullptr;
    QGroupBox* firmware = group("Firmware", f);
    f->addWidget(label("Dateipfad:"), 0, 0, 1, 2);
    firmwareFolder = valueLabel(20);
    f->addWidget(firmwareFolder, 1, 0, 1, 2);
    f->addWidget(label("Dateiname:"), 2, 0, 1, 2);
    firmwareFile = valueLabel(20);
    f->addWidget(firmwareFile, 3, 0, 1, 2);
    chooseFirmware = button("firmware wählen", "Auswahl der zu übertragenden firmware-Datei");
    f->addWidget(chooseFirmware, 4, 0);
    updateFirmware = button("update KVT", "Start oder Abbruch des firmware-update-Prozesses");
    f->addWidget(updateFirmware, 4, 1);
    firmwareProgress = new QProgressBar;
    firmwareProgress->setRange(0, 100);
    firmwareProgress->setValue(0);
    f->addWidget(firmwareProgress, 5, 0, 1, 2);
    firmwareStatus = valueLabel(20);
    f->addWidget(firmwareStatus, 6, 0, 1, 2);
    eraseEeprom = button("EEPROM löschen", "Löscht das EEPROM in der KVT");
    f->addWidget(eraseEeprom, 7, 0);
    findBootLoader =
        button("Bootloader suchen", "Sucht eine KVT, die in ihrem Bootloader auf firmware wartet");
    f->addWidget(findBootLoader, 7, 1);
    right->addWidget(firmware);
    right->addStretch();

    QGridLayout* w = nullptr;
    QGroupBox* positions = group("Fensterposition rücksetzten", w);
    const char* onMain = "Setzt Fenster mittig zum Hauptfenster";
    centreMain = button("Hauptfenster", "Setzt Fenster mittig zum Hautbildschirm");
    centreBigDisplay = button("Grossbild",
                              "Setzt Fenster mittig zum Hauptfenster und "
                              "Standardgrösse");
    centreLogger = button("Logger", onMain);
    centrePower = button("Leistungsvergleich", onMain);
    centreLearn = button("Lernmodus", onMain);
    centreSettings = button("Einstellungen", onMain);
    centreLambdaLogger = button("Lambdalogger", onMain);
    centreTest = button("Test", onMain);
    centreSystem = button("System", onMain);
    const std::array<QPushButton*, 9> all{centreMain,         centreBigDisplay, centreLogger,
                                          centrePower,        centreLearn,      centreSettings,
                                          centreLambdaLogger, centreTest,       centreSystem};
    for (int i = 0; i < int(all.size()); ++i)
        w->addWidget(all[i], i / 5, i % 5);
    // The free place after the window buttons, so the window keeps its height.
    setupHistory = button("Setup-Historie ...",
                          "Zeigt jedes gelesene, geschriebene, geladene und gespeicherte Setup "
                          "(auch mit F2 im Hauptfenster)");
    w->addWidget(setupHistory, 1, 4);
    outer->addWidget(positions);
    outer->addStretch();
}

}  // namespace forms
