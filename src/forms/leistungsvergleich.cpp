// Layout of the power window.
#include "forms/leistungsvergleich.h"

#include "forms/FormKit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace forms {
namespace {

// A label for a value the window writes, beside its caption.
QLabel* value(QGridLayout* grid, int row, int column, const char* text, int chars = 10)
{
    label(grid, row, column, text);
    QLabel* l = valueLabel(chars);
    grid->addWidget(l, row, column + 1);
    return l;
}

// Caption and number field; the parameter fields hold values like "-25", "1013", "15.00".
QLineEdit* field(QGridLayout* grid, int row, int column, const char* text, const char* tip)
{
    label(grid, row, column, text);
    QLineEdit* edit = numberField(tip, 6);
    grid->addWidget(edit, row, column + 1);
    return edit;
}

// A small swatch: a filled colour, or a solid or dashed line sample.
QLabel* swatch(const QColor& fill, Qt::PenStyle line = Qt::NoPen)
{
    QPixmap pixmap(22, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (line == Qt::NoPen) {
        p.fillRect(QRect(3, 1, 16, 10), fill);
    } else {
        QPen pen(Qt::black, 2, line);
        p.setPen(pen);
        p.drawLine(1, 6, 21, 6);
    }
    p.end();
    auto* swatchLabel = new QLabel;
    swatchLabel->setPixmap(pixmap);
    return swatchLabel;
}

}  // namespace

void Leistungsvergleich::setupUi(QWidget* content, QWidget* chart)
{
    auto* top = new QVBoxLayout(content);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(4);
    auto* firstRow = new QHBoxLayout;
    auto* chartRow = new QHBoxLayout;
    auto* lastRow = new QHBoxLayout;
    top->addLayout(firstRow);
    top->addLayout(chartRow, 1);
    top->addLayout(lastRow);

    // Measurement file and buttons.
    QGridLayout* f = nullptr;
    QGroupBox* fileBox = group("Messungs-Datei", f);
    f->setVerticalSpacing(1);
    folder = value(f, 0, 0, "Pfad:");
    fileName = value(f, 1, 0, "Datei:");
    label(f, 2, 0, "Beschreibung:");
    description = new QLineEdit;
    description->setToolTip(u("Beschreibung der Leistungsaufzeichnung"));
    f->addWidget(description, 2, 1, 1, 3);
    date = value(f, 0, 2, "Datum:");
    time = value(f, 1, 2, "Uhrzeit:");
    hardware = value(f, 0, 4, "HW:");
    software = value(f, 1, 4, "SW:");
    f->setColumnStretch(1, 1);
    firstRow->addWidget(fileBox, 1);

    auto* buttons = new QVBoxLayout;
    load = button("Laden", "Leistungsvergleichsdatei laden");
    save = button("Sichern", "Leistungsvergleichsdatei sichern");
    print = button("Druck", "Aktuelle Daten drucken");
    buttons->addWidget(load);
    buttons->addWidget(save);
    buttons->addWidget(print);
    firstRow->addLayout(buttons);

    QGridLayout* r = nullptr;
    QGroupBox* runBox = group("Messung", r);
    start = button("Start  (F11)", "Startet datenaufnahme");
    stop = button("Stopp (F12)", "Stoppt datenaufnahme");
    progress = new QProgressBar;
    progress->setToolTip(u("Fortschritt bis zur max. Aufzeichnungszeit"));
    progress->setRange(0, 60000);
    progress->setValue(0);
    progress->setTextVisible(false);
    remaining = label("");
    remaining->setToolTip(u("Verbleibende Aufnahmezeit in Sekunden"));
    remaining->setFixedSize(36, 22);
    remaining->setAlignment(Qt::AlignCenter);
    remaining->setAutoFillBackground(true);
    r->addWidget(start, 0, 0);
    r->addWidget(stop, 0, 1);
    r->addWidget(progress, 1, 0);
    r->addWidget(remaining, 1, 1);
    firstRow->addWidget(runBox);

    // The chart with the display and evaluation options beside it.
    chart->setMinimumSize(560, 300);
    chartRow->addWidget(chart, 1);

    auto* side = new QVBoxLayout;
    QGridLayout* c = nullptr;
    QGroupBox* curves = group("Anzeige Kurven", c);
    c->setVerticalSpacing(0);
    c->setContentsMargins(6, 2, 6, 2);
    const std::array<const char*, 3> slotTexts = {"akt. Messung", "Kurve 2", "Kurve 3"};
    const std::array<QColor, 3> colours = {QColor(0, 0, 255), QColor(0, 159, 0),
                                           QColor(255, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        slotShown[i] = checkBox(slotTexts[i]);
        c->addWidget(slotShown[i], i, 0);
        c->addWidget(swatch(colours[i]), i, 1);
    }
    showPower = checkBox("Leistung [kW]");
    showTorque = checkBox("Drehmoment [Nm]");
    rawValues = checkBox("Rohwerte (akt. M.)",
                         "Alle Werte des leistungsvergleichs, auch Werte der quasi-Schleppleistung "
                         "sowie unterhalb der Mindestauswertedrehzahl");
    c->addWidget(showPower, 3, 0);
    c->addWidget(swatch(Qt::black, Qt::SolidLine), 3, 1);
    c->addWidget(showTorque, 4, 0);
    c->addWidget(swatch(Qt::black, Qt::DashLine), 4, 1);
    c->addWidget(rawValues, 5, 0, 1, 2);
    side->addWidget(curves);

    QGridLayout* e = nullptr;
    QGroupBox* evaluation = group("Auswertung", e);
    ewg = checkBox("EWG 80/1269", "Korrektur wird verwendet");
    din = checkBox("DIN 70200", "Korrektur wird verwendet");
    addDrag = checkBox("Add. Schlepp.", "Quasi-Schleppleistung wird addiert");
    e->addWidget(ewg, 0, 0);
    e->addWidget(din, 1, 0);
    e->addWidget(addDrag, 2, 0);
    side->addWidget(evaluation);

    auto* modes = new QHBoxLayout;
    QGridLayout* s = nullptr;
    QGroupBox* system = group("Messsystem", s);
    auto* systems = new QButtonGroup(content);
    roller = option(systems, 0, "rotatorisch",
                    "Typ Rollenprüfstand, Luftwiderstand wird nicht berücksichtigt");
    linear = option(systems, 1, "linear", "Ebene Straße, Luftwiderstand wird berücksichtigt");
    s->addWidget(roller, 0, 0);
    s->addWidget(linear, 1, 0);
    modes->addWidget(system);

    QGridLayout* d = nullptr;
    QGroupBox* display = group("Messanzeige", d);
    auto* displays = new QButtonGroup(content);
    speedMode = option(displays, 0, "Drehzahl", "Drehzahlverlauf wird im Diagramm angezeigt");
    measureMode = option(displays, 1, "Messung", "Messwerte (kW,Nm) werden im Diagramm angezeigt");
    d->addWidget(speedMode, 0, 0);
    d->addWidget(measureMode, 1, 0);
    modes->addWidget(display);
    side->addLayout(modes);

    // Parameters: the surroundings and the vehicle on the left, the drive and the air on the
    // right.
    QGridLayout* p = nullptr;
    QGroupBox* settings = group("Einstellungen", p);
    p->setVerticalSpacing(1);
    QGridLayout* env = nullptr;
    QGroupBox* environment = group("Umwelt", env);
    env->setVerticalSpacing(1);
    env->setContentsMargins(4, 2, 4, 2);
    parameters[0] =
        field(env, 0, 0, "Temperatur [°C]:", "Umgebungstemperatur bei der Datenaufnahme");
    parameters[1] =
        field(env, 1, 0, "Luftdruck [hPa]:", "Umgebungsluftdruck bei der Datenaufnahme");
    parameters[2] = field(
        env, 2, 0, "Luftfeuchte [%]:", "Umgebungsluftfeuchte (relative LF) bei der datenaufnahme");
    p->addWidget(environment, 0, 0, 3, 2);
    parameters[3] = field(
        p, 3, 0, "Gewicht Fahrzeug [kg]:", "Testgewicht des Fahrzeugs, also inkl. Fahrer, etc.");
    parameters[4] =
        field(p, 0, 2, "Übersetzung (Rad:KW):", "Übersetzungsverhältnis Abtriebsrad / Kurbelwelle");
    parameters[5] = field(p, 1, 2, "Radumfang [cm]:", "Abtriebsrad des Fahrzeugs");
    parameters[6] = field(
        p, 2, 2, "Umfang Rolle [cm]:", "Die Rolle des Rollenprüfstandes auf der das Rad läuft");
    parameters[7] = field(p, 3, 2, "Trägheitsmoment Schwungmasse [kgm^2]:",
                          "Wert der gesamten vom Rd angetriebenen Schwungmasse");
    parameters[8] =
        field(p, 4, 2,
              "cw-Wert:", "Hinweis: Autos ca. 0.35, Motorräder (naked/verkleidet) ca. 0.7 / 0.3 ");
    parameters[9] = field(p, 5, 2, "Windwiderstandsfläche [m^2]:",
                          "Die Fläche des Fahrzeugs von vorn gesehen, also die Schattenfläche");
    p->setColumnMinimumWidth(1, 56);
    p->setHorizontalSpacing(6);
    lastRow->addWidget(settings);

    // Loaded comparison curves.
    QGridLayout* l = nullptr;
    QGroupBox* loaded = group("Geladene Kurven", l);
    l->setVerticalSpacing(1);
    for (int i = 0; i < 2; ++i) {
        Comparison& cmp = comparisons[i];
        const int row = i * 4;
        label(l, row, 0, i == 0 ? "Kurve 2:" : "Kurve 3:");
        cmp.fileName = valueLabel(12);
        l->addWidget(cmp.fileName, row, 1);
        cmp.load = button("Laden");
        l->addWidget(cmp.load, row, 2);
        cmp.date = valueLabel(10);
        cmp.time = valueLabel(8);
        cmp.correction = valueLabel(12);
        cmp.system = valueLabel(12);
        cmp.drag = valueLabel(14);
        l->addWidget(cmp.date, row + 1, 0);
        l->addWidget(cmp.time, row + 1, 1);
        l->addWidget(cmp.system, row + 1, 2);
        l->addWidget(cmp.correction, row + 2, 0);
        l->addWidget(cmp.drag, row + 2, 1);
        label(l, row + 3, 0, "Beschreibung:");
        cmp.description = new QLineEdit;
        cmp.description->setReadOnly(true);
        l->addWidget(cmp.description, row + 3, 1, 1, 2);
    }
    l->setColumnStretch(1, 1);
    lastRow->addWidget(loaded, 1);

    // Read-outs at the cursor: one line per curve.
    QGridLayout* v = nullptr;
    QGroupBox* values = group("Werte", v);
    v->setVerticalSpacing(0);
    v->setContentsMargins(6, 2, 6, 2);
    cursorSpeed = valueLabel(10);
    v->addWidget(cursorSpeed, 0, 0, 1, 5);
    const std::array<const char*, 3> slotLabels = {"akt. Messung:", "Kurve 2:", "Kurve 3:"};
    for (int i = 0; i < 3; ++i) {
        QLabel* name = label(slotLabels[i]);
        QPalette palette = name->palette();
        palette.setColor(QPalette::WindowText, colours[i]);
        name->setPalette(palette);
        v->addWidget(name, 1 + i, 0);
        readoutPower[i] = valueLabel(6);
        readoutTorque[i] = valueLabel(6);
        readoutPower[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readoutTorque[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readoutPower[i]->setMinimumWidth(38);
        readoutTorque[i]->setMinimumWidth(38);
        v->addWidget(readoutPower[i], 1 + i, 1);
        label(v, 1 + i, 2, "kW");
        v->addWidget(readoutTorque[i], 1 + i, 3);
        label(v, 1 + i, 4, "Nm");
    }
    side->addWidget(values);
    side->addStretch(1);
    chartRow->addLayout(side);
}

}  // namespace forms
