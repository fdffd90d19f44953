// Layout of the test window.
#include "forms/Testdialog.h"

#include <QButtonGroup>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace forms {
namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

QLabel* value(QGridLayout* grid, int row, int column, const char* caption)
{
    grid->addWidget(new QLabel(u(caption)), row, column);
    auto* label = new QLabel(QStringLiteral("--"));
    label->setMinimumWidth(40);
    grid->addWidget(label, row, column + 1);
    return label;
}

QLineEdit* field(QGridLayout* grid, int row, int column, const char* caption, const char* toolTip)
{
    if (caption)
        grid->addWidget(new QLabel(u(caption)), row, column++);
    auto* f = new QLineEdit;
    f->setFixedWidth(52);
    if (toolTip)
        f->setToolTip(u(toolTip));
    grid->addWidget(f, row, column);
    return f;
}

QPushButton* button(const char* caption, const char* toolTip)
{
    auto* b = new QPushButton(u(caption));
    if (toolTip)
        b->setToolTip(u(toolTip));
    b->setAutoDefault(false);
    // Wide enough for the countdown a test writes into its caption ("(500)", "Start"), so the
    // layout does not move while a test runs.
    const int captionWidth = b->sizeHint().width();
    b->setText(QStringLiteral("(500)"));
    b->setMinimumWidth(std::max(captionWidth, b->sizeHint().width()));
    b->setText(u(caption));
    return b;
}

// A push button as narrow as the longest text it shows: the style's usual minimum button width
// would leave the groups too wide for the window.
class CompactButton final : public QPushButton {
public:
    CompactButton(const QString& caption, const QString& widest) : QPushButton(caption)
    {
        setAutoDefault(false);
        const QFontMetrics fm(font());
        setMinimumWidth(fm.horizontalAdvance(widest) + 2 * fm.horizontalAdvance(u'x') + 8);
    }
    QSize sizeHint() const override { return {minimumWidth(), QPushButton::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

}  // namespace

void Testdialog::setupUi(QWidget* content)
{
    // Two columns, each group as tall as its rows: identity, outputs, sensor position and
    // sensor checks on the left; the injector measurement and the estimates on the right.
    auto* top = new QHBoxLayout(content);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(6);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->setSpacing(6);
    right->setSpacing(6);
    top->addLayout(left);
    top->addLayout(right, 1);

    // --- Allgemeines
    auto* general = new QGroupBox(u("Allgemeines"));
    auto* g = new QGridLayout(general);
    g->addWidget(new QLabel(u("Gerätetyp:")), 0, 0);
    deviceType = new QLabel;
    g->addWidget(deviceType, 0, 1, 1, 2);
    restarts = value(g, 1, 0, "Neustarts:");
    g->addWidget(new QLabel(u("geladnes Setup")), 2, 1);
    g->addWidget(new QLabel(u("verbundene KVT")), 2, 2);
    const char* rows[] = {"HW:", "SW:", "BL:"};
    for (int i = 0; i < 3; ++i) {
        g->addWidget(new QLabel(u(rows[i])), 3 + i, 0);
        loadedVersion[i] = new QLabel;
        connectedVersion[i] = new QLabel;
        g->addWidget(loadedVersion[i], 3 + i, 1);
        g->addWidget(connectedVersion[i], 3 + i, 2);
    }
    g->setVerticalSpacing(1);
    left->addWidget(general);

    // --- Ausgänge
    auto* outs = new QGroupBox(u("Ausgänge"));
    auto* o = new QGridLayout(outs);
    fuelPump =
        button("Benzinpumpe", "Der Ausgang für die Benzinpumpe wird für 3 Sekunden geschaltet.");
    o->addWidget(fuelPump, 0, 0);
    outputs[0] = button("Ausgang 1", "Der Ausgang 1 wird geschaltet.");
    outputs[1] = button("Ausgang 2", "Der Ausgang 2 wird geschaltet.");
    o->addWidget(outputs[0], 0, 1);
    o->addWidget(outputs[1], 0, 2);
    for (int k = 0; k < 3; ++k) {
        const QByteArray n = QByteArray::number(k + 1);
        injectors[k] =
            button(("E-Ventil " + n).constData(),
                   ("Der Ausgang für das Einspritzventil " + n + " wird geschaltet.").constData());
        coils[k] = button(("Zündschalter " + n).constData(),
                          ("Der Ausgang für die Zündspule " + n + " wird geschaltet.").constData());
        o->addWidget(injectors[k], 1, k);
        o->addWidget(coils[k], 2, k);
    }
    auto* coilRow = new QGridLayout;
    coilRow->setHorizontalSpacing(6);
    coilTime = field(coilRow, 0, 0, "Spulenladezeit [µs]:", "Ladezeit der Zündspule");
    once = new QRadioButton(u("1x"));
    once->setToolTip(u("Die Ausgänge werden 1x automatisch geschaltet"));
    tenTimes = new QRadioButton(u("10x"));
    tenTimes->setToolTip(u("Die Ausgänge werden 10x automatisch geschaltet"));
    once->setChecked(true);
    auto* repeat = new QButtonGroup(outs);
    repeat->addButton(once);
    repeat->addButton(tenTimes);
    coilRow->addWidget(once, 0, 2);
    coilRow->addWidget(tenTimes, 0, 3);
    tachoSpeed =
        field(coilRow, 1, 0, "Drehzahlanzeige [Umin]:", "Drehzahl für Drehzahlausgangstest");
    tacho = button("Drehz.-Ausg.",
                   "Schaltet den Ausgang zum Test des angeschlossenen Drehzahlmessers mit");
    coilRow->addWidget(tacho, 1, 2, 1, 2);
    o->addLayout(coilRow, 3, 0, 1, 3);
    o->setVerticalSpacing(3);
    left->addWidget(outs);

    // --- Einspritzdüsen
    auto* inj = new QGroupBox(u("Einspritzdüsen"));
    auto* e = new QGridLayout(inj);
    e->setHorizontalSpacing(3);
    e->setContentsMargins(6, 2, 6, 4);
    e->addWidget(new QLabel(u("Test 1 (lang)")), 0, 1, 1, 2);
    e->addWidget(new QLabel(u("Test 2 (kurz)")), 0, 3, 1, 2);
    e->addWidget(new QLabel(u("Gewicht\n[g]")), 1, 1);
    e->addWidget(new QLabel(u("Gewicht\n[g]")), 1, 3);
    e->addWidget(new QLabel(u("Durchfluss\n[ml/min]")), 1, 5);
    e->addWidget(new QLabel(u("Ausgleichs-\nwert [°/oo]")), 1, 6);
    e->addWidget(new QLabel(u("Umschalt-\nzeit [µs]")), 1, 7);
    // The flow test buttons are as wide as their longest caption, the countdown "(500)".
    for (int k = 0; k < 3; ++k) {
        const int r = 2 + k;
        e->addWidget(new QLabel(u("Einspritzdüse ") + QString::number(k + 1)), r, 0);
        longWeight[k] = field(e, r, 1, nullptr, nullptr);
        longTest[k] = new CompactButton(QStringLiteral("Test"), QStringLiteral("(500)"));
        e->addWidget(longTest[k], r, 2);
        shortWeight[k] = field(e, r, 3, nullptr, nullptr);
        shortTest[k] = new CompactButton(QStringLiteral("Test"), QStringLiteral("(500)"));
        e->addWidget(shortTest[k], r, 4);
        flow[k] = new QLabel(QStringLiteral("--"));
        balance[k] = new QLabel(QStringLiteral("--"));
        switchingTime[k] = new QLabel(QStringLiteral("--"));
        e->addWidget(flow[k], r, 5);
        e->addWidget(balance[k], r, 6);
        e->addWidget(switchingTime[k], r, 7);
    }
    resetValues = button("Werte rücksetzten", "Die ermittelten Werte werden rückgesetzt.");
    takeValues = button("Werte übernehmen", "Die ermittelten Werte werden ins setup übernommen.");
    e->addWidget(resetValues, 5, 0, 1, 2);
    e->addWidget(takeValues, 5, 3, 1, 3);
    e->addWidget(new QLabel(u("Verbrauch bei Volllast Einspritzdüse 1 [l/h]:")), 6, 0, 1, 5);
    fullLoad = new QLabel(QStringLiteral("--"));
    e->addWidget(fullLoad, 6, 5);
    e->setVerticalSpacing(3);
    right->addWidget(inj);

    // --- Sensorposition and ignition mode
    auto* pos = new QGroupBox(u("Sensorposition"));
    auto* p = new QGridLayout(pos);
    sensorAngle = value(p, 0, 0, "Sensor v.OT [°KW]:");
    sensorUp = new CompactButton(QStringLiteral("+"), QStringLiteral("++"));
    sensorUp->setToolTip(u("Die Positionsangabe wird um 1° erhöht"));
    sensorDown = new CompactButton(QStringLiteral("-"), QStringLiteral("++"));
    sensorDown->setToolTip(u("Die Positionsangabe wird um 1° erniedrigt"));
    p->addWidget(sensorUp, 0, 2);
    p->addWidget(sensorDown, 0, 3);
    fromCurve = new QRadioButton(u("Kennlinie"));
    fromCurve->setToolTip(
        u("Der Zündzeitpunkt wird anhand der Kennlinie ermittelt (normaler Modus)."));
    constant = new QRadioButton(u("Konstant v.OT [°KW]:"));
    constant->setToolTip(
        u("Es wird ein konstanter Zündzeitpunkt in Bezug zum oberen Totpunkt des "
          "Zylinders verwendet (nur temporär für Test-Modus)"));
    fromCurve->setChecked(true);
    p->addWidget(fromCurve, 1, 0);
    p->addWidget(constant, 2, 0);
    constantAngle = field(p, 2, 1, nullptr, "Der im Test-Modus verwendete konstante Zündzeitpunkt");
    currentAngle = value(p, 3, 0, "ZZP v.OT aktuell [°KW]:");
    restart = button("KVT Neustart", "Neustart der KVT (nur bei COM-Verbindung)");
    p->addWidget(restart, 3, 2, 1, 2);
    p->setVerticalSpacing(1);
    left->addWidget(pos);

    // --- Sensorstabilität
    auto* stab = new QGroupBox(u("Sensorstabilität"));
    auto* s = new QGridLayout(stab);
    signal = value(s, 0, 0, "Signal erkannt:");
    revolution = value(s, 1, 0, "Umdrehung erkannt:");
    teeth = value(s, 2, 0, "erkannte Zähnezahl:");
    gap = value(s, 3, 0, "Lückenerkennung:");
    checkMark = new CheckMark;
    s->addWidget(checkMark, 0, 2, 4, 1, Qt::AlignCenter);
    s->setVerticalSpacing(1);
    left->addWidget(stab);
    left->addStretch();

    // --- Estimates
    // The estimates in a smaller type: their captions are long for the room left.
    auto* est = new QWidget;
    QFont small = content->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    est->setFont(small);
    auto* estRow = new QHBoxLayout(est);
    estRow->setContentsMargins(0, 0, 0, 0);
    auto* injEst = new QGroupBox(u("Einspritzdüsenschätzung"));
    auto* ie = new QGridLayout(injEst);
    injFlow = field(ie, 0, 0, "Durchfluss Düse [ml/min]:", "Datenblattangabe der Einspritzdüse");
    injMaxSpeed = field(ie, 1, 0, "max. Drehzahl [Umin]:", "höchste Einsatzdrehzahl");
    injVolume = field(ie, 2, 0, "Zylindervolumen [ccm]:", "Hubvolumen des Zylinders");
    injEfficiency = field(ie, 3, 0, "Liefergrad Zylinder[%]:",
                          "100% heißt, dass das Hubvolumen genau bei athmosphärischen Druck "
                          "gefüllt wird");
    injMaxDuty = field(ie, 4, 0, "max. Düsennutzgrad [%]:",
                       "100% bedeutet, dass die Düse nicht länger geöffnet werden kann, "
                       "typische Regelungsabweichungen sind nicht mehr möglich");
    injGramPerMin = value(ie, 5, 0, "Durchfluss Düse (Benzin) [g/min]:");
    injRequired = value(ie, 6, 0, "erforderliche Öffnungszeit Düse [µs]:");
    injAvailable = value(ie, 7, 0, "max. verfügbare Öffnungszeit [µs]:");
    estRow->addWidget(injEst, 11);
    auto* coilEst = new QGroupBox(u("Zündspulenschätzung"));
    auto* ce = new QGridLayout(coilEst);
    coilMaxSpeed = field(ce, 0, 0, "max. Drehzahl [Umin]:", "größte erwartbare Einsatzdrehzahl");
    coilVoltage = field(ce, 1, 0, "Betriebsspannung [V]:", "Ladespannung der Zündspule");
    coilResistance = field(
        ce, 2, 0, "Widerstand primar [Ohm]:", "ohm'sch gemessener Widerstand der Primärspule");
    coilInductance = field(ce, 3, 0, "Induktivität [mH]:", "Induktivität der Primärspule");
    coilCharge = value(ce, 4, 0, "Ladezeit [µs]:");
    coilCurrent = value(ce, 5, 0, "max. Ladestrom [A]:");
    coilAvailable = value(ce, 6, 0, "max. verfügbare Ladezeit [µs]:");
    ce->setRowStretch(7, 1);
    ie->setVerticalSpacing(1);
    ce->setVerticalSpacing(1);
    estRow->addWidget(coilEst, 9);
    right->addWidget(est);
    right->addStretch();
}

QList<QLineEdit*> Testdialog::inputs() const
{
    QList<QLineEdit*> all{coilTime, constantAngle, tachoSpeed};
    for (int k = 0; k < 3; ++k)
        all << longWeight[k] << shortWeight[k];
    all << injFlow << injMaxSpeed << injVolume << injEfficiency << injMaxDuty << coilMaxSpeed
        << coilVoltage << coilResistance << coilInductance;
    return all;
}

}  // namespace forms
