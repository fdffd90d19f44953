// Layout of the settings window.
#include "forms/Einstellungendialog.h"

#include "forms/FormKit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace forms {
namespace {

// Field widths in characters for the small values (teeth, angles, per mille, revolutions).
constexpr int smallChars = 3;
constexpr int mediumChars = 4;

// The window shows all ten groups at once: its groups sit close, rows without gaps.
QGroupBox* tightGroup(const Text& title, QGridLayout*& grid)
{
    QGroupBox* box = group(title, grid);
    grid->setContentsMargins(6, 1, 6, 2);
    grid->setVerticalSpacing(0);
    // Columns keep to their contents; what the group has to spare stays right of them.
    grid->setColumnStretch(12, 1);
    return box;
}

QGroupBox* motorGroup(Einstellungendialog& f, QWidget* owner)
{
    // Two fields to a row where they belong together: columns label | field | unit and, on the
    // right, label | field | unit.
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Motor", g);
    f.triggerTeeth = fieldRow(g, 0, "Triggerrad [Zähne inkl. Lücke]:", "",
                              u("Anzahl Zähne am Triggerrad. Die zwei fehlenden Zähne der "
                                "notwendigen Lücke werden mitgezählt."),
                              smallChars);
    label(g, 0, 3, "Anzahl Lücken:");
    f.triggerGaps = numberField({}, smallChars);
    g->addWidget(f.triggerGaps, 0, 4);
    f.sensorAngle = fieldRow(g, 1, "Sensor v. OT:", "°KW",
                             u("Angabe in Grad vor den oberen Totpunkt des Zylinder1. Sitzt der "
                               "Sensor in Kurbelwellendrehrichtung vor den OT, dann ist die "
                               "Winkelangabe positiv."),
                             smallChars);
    label(g, 2, 0, "Flanke:");
    f.triggerEdge = new QButtonGroup(owner);
    auto* edges = new QHBoxLayout;
    edges->addWidget(
        option(f.triggerEdge, 0, "fallend", u("Es wird die fallende Sensorflanke ausgewertet")));
    edges->addWidget(
        option(f.triggerEdge, 1, "steigend", u("Es wird die steigende Sensorflanke ausgewertet")));
    edges->addStretch();
    g->addLayout(edges, 2, 1, 1, 5);
    f.cylinderOffset12 = fieldRow(g, 3, "Zylinderversatz 1-2:", "°KW",
                                  u("Um wieviel Grad KW in Drehrichtung ist der 2. Zylinder "
                                    "nach dem 1. Zylinder angeordnet?"),
                                  smallChars);
    label(g, 3, 3, "Zylinderversatz 2-3:");
    f.cylinderOffset23 = numberField(u("Um wieviel Grad KW in Drehrichtung ist der 3. Zylinder "
                                       "nach dem 2. Zylinder angeordnet?"),
                                     smallChars);
    g->addWidget(f.cylinderOffset23, 3, 4);
    label(g, 3, 5, "°KW");
    const QString manual = u("Siehe Bedienungsanleitung");
    QLineEdit** factors[] = {&f.dynamicFactor1, &f.dynamicFactor2};
    QLineEdit** speeds[] = {&f.dynamicSpeed1, &f.dynamicSpeed2};
    for (int i = 0; i < 2; ++i) {
        const int row = 4 + i;
        *factors[i] = fieldRow(g, row, i == 0 ? "Dynamikfaktor 1:" : "Dynamikfaktor 2:", "", manual,
                               smallChars);
        label(g, row, 3, "bis:")->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *speeds[i] = numberField(manual);
        g->addWidget(*speeds[i], row, 4);
        label(g, row, 5, "Umin");
    }
    return box;
}

QGroupBox* injectionGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Einspritzung", g);
    label(g, 0, 0, "Einspritz-Startwinkel n.OT:", 2);
    f.injectionStartAngle = numberField(u("Ab diesem Kurbelwellenwinkel wird für jeden Zylinder "
                                          "das Einspritzventil geöffnet."),
                                        smallChars);
    g->addWidget(f.injectionStartAngle, 0, 2);
    label(g, 0, 3, "°KW");
    label(g, 1, 1, "Einspritzkorrektur:", 2);
    label(g, 1, 3, "Ausgleichswert:", 2);
    label(g, 1, 5, "Umschaltzeit:", 2);
    static const char* const names[3] = {
        "Einspritzdüse 1:", "Einspritzdüse 2:", "Einspritzdüse 3:"};
    for (int i = 0; i < 3; ++i) {
        const int row = 2 + i;
        label(g, row, 0, names[i]);
        f.injectionExtension[i] = numberField(
            u("Um diese Menge wird die berechnete Einspritzzeit individuell für Zylinder ") +
                QString::number(i + 1) + u(" erweitert."),
            smallChars);
        g->addWidget(f.injectionExtension[i], row, 1);
        label(g, row, 2, "°/oo");
        f.injectorBalance[i] =
            readOnlyField(u("Korrekturfaktor zur Gleichbehandlung aller Düsen"), mediumChars);
        g->addWidget(f.injectorBalance[i], row, 3);
        label(g, row, 4, "°/oo");
        f.injectorDeadTime[i] = numberField(
            u("Um diese Zeit wird die Einspritzdüse automatisch länger angesteuert"), mediumChars);
        g->addWidget(f.injectorDeadTime[i], row, 5);
        label(g, row, 6, "µs");
    }
    return box;
}

QGroupBox* limpGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Notprogramm", g);
    f.limpMinEngineTemp = fieldRow(g, 0, "Motor-Temp. min.:", "°C",
                                   u("Oberhalb dieser Motortemperatur wird das Notprogramm "
                                     "eingeschaltet."));
    f.limpIgnitionOffSpeed = fieldRow(g, 1, "Zündung Aus über:", "Umin",
                                      u("Im Notprogramm wird die Motordrehzahl begrenzt."));
    f.limpTiming = fieldRow(g, 2, "ZZP v.OT konstant:", "°KW",
                            u("Im Notprogramm wird konstant dieser ZZP verwendet."));
    f.limpEnrichment = fieldRow(g, 3, "Einspr. Anreich.:", "°/oo",
                                u("Im Norprogramm wird die Einspritzmenge um diesen Faktor "
                                  "angereichert."));
    return box;
}

QGroupBox* overrunGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Schubabschaltung", g);
    f.overrunCutoff = new QCheckBox(u("Ein"));
    f.overrunCutoff->setToolTip(u("Aktivieren oder Deaktivieren der Schubabschaltung"));
    g->addWidget(f.overrunCutoff, 0, 0);
    f.overrunMinEngineTemp = fieldRow(g, 1, "Motor-Temperatur min.:", "°C",
                                      u("Oberhalt dieser Motor-Temperatur kann die "
                                        "Schubabschaltung wirken"));
    f.overrunThrottleMax = fieldRow(g, 2, "Drosselklappe max.:", "%",
                                    u("Unterhalb dieser Drosselklappenstellung kann die "
                                      "schubabschaltung wirken"));
    f.overrunMinSpeed = fieldRow(g, 3, "Drehzahl min.:", "Umin",
                                 u("oberhalb dieser Drehzahl kann die Schubabschaltung wirken"));
    f.overrunInjectionShare = fieldRow(g, 4, "Einspritzanteil:", "%",
                                       u("Anteilige Benzinmenge zum berechneter Benzinmenge"));
    return box;
}

QGroupBox* sensorGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Sensoren", g);
    static const char* const rows[3] = {
        "Motorttemperatur-Sensor:", "Ansauglufttemperatur-Sensor:", "Drosselklappenpotentiometer:"};
    static const char* const firstUnit[3] = {"°C    und", "°C    und", "%    und"};
    static const char* const secondUnit[3] = {"°C", "°C", "%"};
    const QString point1 = u("Einstellpunkt 1");
    const QString point2 = u("Einstellpunkt 2");
    for (int r = 0; r < 3; ++r) {
        const int row = 1 + r;
        label(g, row, 0, rows[r]);
        auto& cal = f.calibration[r];
        cal[0] = numberField(point1, mediumChars);
        cal[1] = numberField(point1, smallChars);
        cal[2] = numberField(point2, mediumChars);
        cal[3] = numberField(point2, smallChars);
        g->addWidget(cal[0], row, 1);
        label(g, row, 2, "V bei");
        g->addWidget(cal[1], row, 3);
        label(g, row, 4, firstUnit[r]);
        g->addWidget(cal[2], row, 5);
        label(g, row, 6, "V bei");
        g->addWidget(cal[3], row, 7);
        label(g, row, 8, secondUnit[r]);
        f.measuredVoltage[r] =
            readOnlyField(u("aktuell gemessene Spannung des Sensoreingangs"), mediumChars);
        g->addWidget(f.measuredVoltage[r], row, 9);
        label(g, row, 10, "V");
    }
    // The damping shares the top row with the heading of the measured voltages.
    label(g, 0, 0, "Dämpfung:");
    f.sensorDamping = numberField({}, smallChars);
    g->addWidget(f.sensorDamping, 0, 1);
    label(g, 0, 9, "Messwert:", 2);
    return box;
}

QGroupBox* inputGroup(Einstellungendialog& f, QWidget* owner)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Schalteingänge", g);
    const QString unused = u("Der Eingang wird nicht verwendet");
    f.input1Mode = new QButtonGroup(owner);
    f.input2Mode = new QButtonGroup(owner);
    f.input3Mode = new QButtonGroup(owner);
    label(g, 0, 0, "Schalteingang 1:");
    g->addWidget(option(f.input1Mode, 0, "ohne Funktion", unused), 0, 1);
    label(g, 1, 0, "Schalteingang 2:");
    g->addWidget(option(f.input2Mode, 0, "ohne Funktion", unused), 1, 1);
    g->addWidget(option(f.input2Mode, 1, "Drehzahlbegrenzer ausschalten",
                        u("Der Drehzahlbegrenzer wird nicht beachtet")),
                 1, 2);
    label(g, 2, 0, "Schalteingang 3:");
    g->addWidget(option(f.input3Mode, 0, "ohne Funktion", unused), 2, 1);
    g->addWidget(option(f.input3Mode, 1, "Lern-Modus, EEPROM sichern",
                        u("Wenn der Lern-Modus eingeschaltet ist, speichert die KVT das Setup "
                          "ins EEPROM, wenn der Motor zum Stillstand gekommen ist.")),
                 2, 2);
    g->addWidget(option(f.input3Mode, 2, "Notprogramm", u("Die KVT arbeitet im Notprogramm")), 3,
                 2);
    return box;
}

QGroupBox* startGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Start", g);
    f.quickStartSpeed = fieldRow(g, 0, "Schnellstartdrehz.:", "Umin",
                                 u("Zwischen Erkennen eines Sensorsignals und dem sicheren "
                                   "Erkennen der ersten Umdrehung nimmt die KVT alle "
                                   "Einstellungen der hier genannten Drehzahl an, um den "
                                   "Motorstart zu unterstützen."));
    f.startInjectionTime = fieldRow(g, 1, "Start-Einspritzmenge:", "µs für",
                                    u("Beim Start des Motors wird für diesen Zeitraum konstant "
                                      "eingespritzt."));
    f.startInjectionRevs = numberField(u("Beim Start des Motors wird für diese Anzahl Umdrehungen "
                                         "konstant eingespritzt."),
                                       smallChars);
    g->addWidget(f.startInjectionRevs, 1, 3);
    label(g, 1, 4, "Umdr.");
    f.startInjectionAdd = new QCheckBox(u("Einspritzwert addieren"));
    f.startInjectionAdd->setToolTip(
        u("Der Start-Einspritzwert wird direkt verwendet oder zum "
          "berechneten Einspritzwert addiert."));
    f.startInjectionOff = new QCheckBox(u("Start Einspritzung Aus"));
    f.startInjectionOff->setToolTip(
        u("Überfetteten Zylinder leerpumpen (Einspritzung Aus): "
          "Starten aus 0Umin bei laufender Benzinpumpe"));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(f.startInjectionAdd);
    boxes->addWidget(f.startInjectionOff);
    boxes->addStretch();
    g->addLayout(boxes, 2, 0, 1, 5);
    return box;
}

QGroupBox* limiterGroup(Einstellungendialog& f)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Begrenzer", g);
    f.limiterSpeed = fieldRow(g, 0, "Zündwinkel-Rückn.:", "Umin",
                              u("Ab dieser Drehzahl wird der Zündzeitpunkt in Richtung 'spät' "
                                "verstellt."));
    f.limiterRetard = fieldRow(g, 1, "Winkel:", "°KW",
                               u("Oberhalb der Begrenzerdrehzahl wird der Zündzeitpunkt um diese "
                                 "Winkelangabe in Richtung 'spät' verstellt."));
    f.ignitionOffSpeed = fieldRow(g, 2, "Zündung Aus:", "Umin", {});
    f.limiterHysteresis = fieldRow(g, 3, "Hysterese:", "Umin",
                                   u("Der Begrenzer wird bei Unterschreiten der "
                                     "(Begrenzerdrehzahl minus Hysterese) abgeschaltet"));
    return box;
}

QGroupBox* ignitionGroup(Einstellungendialog& f, QWidget* owner)
{
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Zündung", g);
    f.coilChargeTime =
        fieldRow(g, 0, "Spulenladezeit:", "µs",
                 u("Dies ist die konstante Ladezeit der Zündspule(n)."), mediumChars);
    f.coilDriver = new QButtonGroup(owner);
    auto* drivers = new QHBoxLayout;
    drivers->addWidget(
        option(f.coilDriver, 0, "Spule", u("Es wird direkt eine Zündspule geschaltet.")));
    drivers->addWidget(option(f.coilDriver, 1, "ext. Treiber",
                              u("Es wird eine Zündspule mit eigenem Treiber verwendet. Die KVT "
                                "steuert diesen entsprechend an.")));
    drivers->addStretch();
    g->addLayout(drivers, 1, 0, 1, 3);
    f.timingStep = fieldRow(g, 2, "ZZP-Änderungsgschrittweite:", "",
                            u("ZZP-Änderungsgeschwindigkeit"), smallChars);
    return box;
}

// One switch output in columns column … column + 2 of the group's grid: its heading with "Aus",
// above a speed, between two speeds (and for output 2 "while the KVT learns" below). The third
// option shares the first speed field with the second.
void outputRows(QGridLayout* g, int column, int number, QButtonGroup* group, QLineEdit*& speed1,
                QLineEdit*& speed2, bool learnOption)
{
    const QString n = QString::number(number);
    auto* heading = new QHBoxLayout;
    heading->addWidget(label(number == 1 ? "Schaltausgang 1:" : "Schaltausgang 2:"));
    heading->addSpacing(6);
    heading->addWidget(option(group, 0, "Aus", u("Der Ausgang ist immer aus")));
    heading->addStretch();
    g->addLayout(heading, 0, column, 1, 3);
    g->addWidget(option(group, 1, "Ein, wenn Drehzahl größer als",
                        u("der Ausgang ") + n +
                            u(" schaltet ein, wenn die Drehzahl überschritten "
                              "ist")),
                 1, column);
    speed1 = numberField(u("Ober- oder unterhalb dieser Drehzahl wird der Ausgang ") + n +
                         u(" geschaltet."));
    g->addWidget(speed1, 1, column + 1);
    label(g, 1, column + 2, "Umin");
    g->addWidget(option(group, 2, "Ein, wenn Drehzahl größer als",
                        u("Der Ausgang ") + n +
                            u(" schaltet ein, wenn die Drehzahl zwischen "
                              "beiden Werten liegt.")),
                 2, column);
    // Indented under its option, so it reads as the option's second condition.
    auto* below = label("und wenn Drehzahl kleiner als");
    below->setIndent(20);
    g->addWidget(below, 3, column);
    speed2 = numberField({});
    g->addWidget(speed2, 3, column + 1);
    label(g, 3, column + 2, "Umin");
    if (learnOption)
        g->addWidget(option(group, 3, "Ein, wenn KVT lernt",
                            u("Wenn der Lern-Modus aktiv ist und alle Randbedingungen erfüllt "
                              "sind, lernt die KVT. Dann wird dieser Ausgang eingeschaltet")),
                     4, column);
}

QGroupBox* outputGroup(Einstellungendialog& f, QWidget* owner)
{
    // Output 1 in columns 0-2, output 2 in columns 4-6; the tachometer output takes the row
    // below output 1, which has no fourth option.
    QGridLayout* g = nullptr;
    QGroupBox* box = tightGroup("Schaltausgänge", g);
    f.output1Mode = new QButtonGroup(owner);
    f.output2Mode = new QButtonGroup(owner);
    outputRows(g, 0, 1, f.output1Mode, f.output1Speed1, f.output1Speed2, false);
    g->setColumnMinimumWidth(3, 18);
    outputRows(g, 4, 2, f.output2Mode, f.output2Speed1, f.output2Speed2, true);
    auto* pulses = new QHBoxLayout;
    pulses->addWidget(label("Drehzahlmesserausgang:"));
    pulses->addSpacing(6);
    pulses->addWidget(label("Impulse pro Umdrehung:"));
    f.tachoPulses =
        numberField(u("Anzahl der Impulse pro Umdrehung am Drehzahlmesserausgang"), smallChars);
    pulses->addWidget(f.tachoPulses);
    pulses->addStretch();
    g->addLayout(pulses, 4, 0, 1, 4);
    g->setColumnStretch(7, 1);
    return box;
}

}  // namespace

void Einstellungendialog::setupUi(QWidget* content)
{
    // Group frames are made in the order the window lists them, then placed: the wide sensor
    // table on top, two columns of groups, and the two switch outputs side by side below.
    QGroupBox* motor = motorGroup(*this, content);
    QGroupBox* injection = injectionGroup(*this);
    QGroupBox* limp = limpGroup(*this);
    QGroupBox* overrun = overrunGroup(*this);
    QGroupBox* sensors = sensorGroup(*this);
    QGroupBox* inputs = inputGroup(*this, content);
    QGroupBox* start = startGroup(*this);
    QGroupBox* limiter = limiterGroup(*this);
    QGroupBox* ignition = ignitionGroup(*this, content);
    QGroupBox* outputs = outputGroup(*this, content);
    // Owned in that order too, so that Tab walks the groups in the order the window lists them.
    for (QGroupBox* g :
         {motor, injection, limp, overrun, sensors, inputs, start, limiter, ignition, outputs})
        g->setParent(content);

    // Placed to fit the window: the wide sensor table on top, then two columns (the wide groups
    // left, the narrow ones right), and the two switch outputs side by side below. Should a
    // larger system font need more room, the window's content scrolls.
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);
    outer->addWidget(sensors);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(3);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->setSpacing(2);
    right->setSpacing(2);
    for (QGroupBox* g : {motor, injection, inputs, start})
        left->addWidget(g);
    for (QGroupBox* g : {limp, overrun, limiter, ignition})
        right->addWidget(g);
    left->addStretch();
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right, 1);
    outer->addLayout(columns);
    outer->addWidget(outputs);
    outer->addStretch();
}

}  // namespace forms
