// Layout of the power window.
#include "forms/leistungsvergleich.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

QLabel* value(QGridLayout* grid, int row, int column, const char* text)
{
    grid->addWidget(new QLabel(u(text)), row, column);
    auto* label = new QLabel;
    label->setMinimumWidth(60);
    grid->addWidget(label, row, column + 1);
    return label;
}

QLineEdit* field(QGridLayout* grid, int row, int column, const char* text, const char* tip)
{
    grid->addWidget(new QLabel(u(text)), row, column);
    auto* edit = new QLineEdit;
    edit->setFixedWidth(48);
    edit->setToolTip(u(tip));
    grid->addWidget(edit, row, column + 1);
    return edit;
}

QPushButton* button(const char* text, const char* tip)
{
    auto* b = new QPushButton(u(text));
    b->setToolTip(u(tip));
    return b;
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
    auto* label = new QLabel;
    label->setPixmap(pixmap);
    return label;
}

QCheckBox* check(const char* text, const char* tip = nullptr)
{
    auto* box = new QCheckBox(u(text));
    if (tip)
        box->setToolTip(u(tip));
    return box;
}

}  // namespace

void leistungsvergleich::setupUi(QWidget* content, QWidget* chart)
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
    auto* fileBox = new QGroupBox(u("Messungs-Datei"));
    auto* f = new QGridLayout(fileBox);
    f->setVerticalSpacing(1);
    folder = value(f, 0, 0, "Pfad:");
    fileName = value(f, 1, 0, "Datei:");
    f->addWidget(new QLabel(u("Beschreibung:")), 2, 0);
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

    auto* runBox = new QGroupBox(u("Messung"));
    auto* r = new QGridLayout(runBox);
    start = button("Start  (F11)", "Startet datenaufnahme");
    stop = button("Stopp (F12)", "Stoppt datenaufnahme");
    progress = new QProgressBar;
    progress->setToolTip(u("Fortschritt bis zur max. Aufzeichnungszeit"));
    progress->setRange(0, 60000);
    progress->setValue(0);
    progress->setTextVisible(false);
    remaining = new QLabel;
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
    auto* curves = new QGroupBox(u("Anzeige Kurven"));
    auto* c = new QGridLayout(curves);
    c->setVerticalSpacing(0);
    c->setContentsMargins(6, 2, 6, 2);
    const std::array<const char*, 3> slotTexts = {"akt. Messung", "Kurve 2", "Kurve 3"};
    const std::array<QColor, 3> colours = {QColor(0, 0, 255), QColor(0, 159, 0),
                                           QColor(255, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        slotShown[i] = check(slotTexts[i]);
        c->addWidget(slotShown[i], i, 0);
        c->addWidget(swatch(colours[i]), i, 1);
    }
    showPower = check("Leistung [kW]");
    showTorque = check("Drehmoment [Nm]");
    rawValues = check("Rohwerte (akt. M.)",
                      "Alle Werte des leistungsvergleichs, auch Werte der quasi-Schleppleistung "
                      "sowie unterhalb der Mindestauswertedrehzahl");
    c->addWidget(showPower, 3, 0);
    c->addWidget(swatch(Qt::black, Qt::SolidLine), 3, 1);
    c->addWidget(showTorque, 4, 0);
    c->addWidget(swatch(Qt::black, Qt::DashLine), 4, 1);
    c->addWidget(rawValues, 5, 0, 1, 2);
    side->addWidget(curves);

    auto* evaluation = new QGroupBox(u("Auswertung"));
    auto* e = new QVBoxLayout(evaluation);
    e->setSpacing(0);
    e->setContentsMargins(6, 2, 6, 2);
    ewg = check("EWG 80/1269", "Korrektur wird verwendet");
    din = check("DIN 70200", "Korrektur wird verwendet");
    addDrag = check("Add. Schlepp.", "Quasi-Schleppleistung wird addiert");
    e->addWidget(ewg);
    e->addWidget(din);
    e->addWidget(addDrag);
    side->addWidget(evaluation);

    auto* modes = new QHBoxLayout;
    auto* system = new QGroupBox(u("Messsystem"));
    auto* s = new QVBoxLayout(system);
    s->setSpacing(0);
    s->setContentsMargins(6, 2, 6, 2);
    roller = new QRadioButton(u("rotatorisch"));
    roller->setToolTip(u("Typ Rollenprüfstand, Luftwiderstand wird nicht berücksichtigt"));
    linear = new QRadioButton(u("linear"));
    linear->setToolTip(u("Ebene Straße, Luftwiderstand wird berücksichtigt"));
    s->addWidget(roller);
    s->addWidget(linear);
    modes->addWidget(system);

    auto* display = new QGroupBox(u("Messanzeige"));
    auto* d = new QVBoxLayout(display);
    d->setSpacing(0);
    d->setContentsMargins(6, 2, 6, 2);
    speedMode = new QRadioButton(u("Drehzahl"));
    speedMode->setToolTip(u("Drehzahlverlauf wird im Diagramm angezeigt"));
    measureMode = new QRadioButton(u("Messung"));
    measureMode->setToolTip(u("Messwerte (kW,Nm) werden im Diagramm angezeigt"));
    d->addWidget(speedMode);
    d->addWidget(measureMode);
    modes->addWidget(display);
    side->addLayout(modes);

    // Parameters: the surroundings and the vehicle on the left, the drive and the air on the
    // right.
    auto* settings = new QGroupBox(u("Einstellungen"));
    auto* p = new QGridLayout(settings);
    p->setVerticalSpacing(1);
    auto* environment = new QGroupBox(u("Umwelt"));
    auto* env = new QGridLayout(environment);
    env->setVerticalSpacing(1);
    env->setContentsMargins(4, 2, 4, 2);
    parameters[0] = field(env, 0, 0, "Temperatur [°C]:", "Umgebungstemperatur bei der Datenaufnahme");
    parameters[1] = field(env, 1, 0, "Luftdruck [hPa]:", "Umgebungsluftdruck bei der Datenaufnahme");
    parameters[2] = field(env, 2, 0, "Luftfeuchte [%]:",
                          "Umgebungsluftfeuchte (relative LF) bei der datenaufnahme");
    p->addWidget(environment, 0, 0, 3, 2);
    parameters[3] = field(p, 3, 0, "Gewicht Fahrzeug [kg]:",
                          "Testgewicht des Fahrzeugs, also inkl. Fahrer, etc.");
    parameters[4] = field(p, 0, 2, "Übersetzung (Rad:KW):",
                          "Übersetzungsverhältnis Abtriebsrad / Kurbelwelle");
    parameters[5] = field(p, 1, 2, "Radumfang [cm]:", "Abtriebsrad des Fahrzeugs");
    parameters[6] = field(p, 2, 2, "Umfang Rolle [cm]:",
                          "Die Rolle des Rollenprüfstandes auf der das Rad läuft");
    parameters[7] = field(p, 3, 2, "Trägheitsmoment Schwungmasse [kgm^2]:",
                          "Wert der gesamten vom Rd angetriebenen Schwungmasse");
    parameters[8] = field(p, 4, 2, "cw-Wert:",
                          "Hinweis: Autos ca. 0.35, Motorräder (naked/verkleidet) ca. 0.7 / 0.3 ");
    parameters[9] = field(p, 5, 2, "Windwiderstandsfläche [m^2]:",
                          "Die Fläche des Fahrzeugs von vorn gesehen, also die Schattenfläche");
    p->setColumnMinimumWidth(1, 56);
    p->setHorizontalSpacing(6);
    lastRow->addWidget(settings);

    // Loaded comparison curves.
    auto* loaded = new QGroupBox(u("Geladene Kurven"));
    auto* l = new QGridLayout(loaded);
    l->setVerticalSpacing(1);
    for (int i = 0; i < 2; ++i) {
        Comparison& cmp = comparisons[i];
        const int row = i * 4;
        l->addWidget(new QLabel(i == 0 ? u("Kurve 2:") : u("Kurve 3:")), row, 0);
        cmp.fileName = new QLabel;
        l->addWidget(cmp.fileName, row, 1);
        cmp.load = new QPushButton(u("Laden"));
        l->addWidget(cmp.load, row, 2);
        cmp.date = new QLabel;
        cmp.time = new QLabel;
        cmp.correction = new QLabel;
        cmp.system = new QLabel;
        cmp.drag = new QLabel;
        l->addWidget(cmp.date, row + 1, 0);
        l->addWidget(cmp.time, row + 1, 1);
        l->addWidget(cmp.system, row + 1, 2);
        l->addWidget(cmp.correction, row + 2, 0);
        l->addWidget(cmp.drag, row + 2, 1);
        l->addWidget(new QLabel(u("Beschreibung:")), row + 3, 0);
        cmp.description = new QLineEdit;
        cmp.description->setReadOnly(true);
        l->addWidget(cmp.description, row + 3, 1, 1, 2);
    }
    l->setColumnStretch(1, 1);
    lastRow->addWidget(loaded, 1);

    // Read-outs at the cursor: one line per curve.
    auto* values = new QGroupBox(u("Werte"));
    auto* v = new QGridLayout(values);
    v->setVerticalSpacing(0);
    v->setContentsMargins(6, 2, 6, 2);
    cursorSpeed = new QLabel;
    v->addWidget(cursorSpeed, 0, 0, 1, 5);
    const std::array<const char*, 3> slotLabels = {"akt. Messung:", "Kurve 2:", "Kurve 3:"};
    for (int i = 0; i < 3; ++i) {
        auto* name = new QLabel(u(slotLabels[i]));
        QPalette palette = name->palette();
        palette.setColor(QPalette::WindowText, colours[i]);
        name->setPalette(palette);
        v->addWidget(name, 1 + i, 0);
        readoutPower[i] = new QLabel;
        readoutTorque[i] = new QLabel;
        readoutPower[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readoutTorque[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readoutPower[i]->setMinimumWidth(38);
        readoutTorque[i]->setMinimumWidth(38);
        v->addWidget(readoutPower[i], 1 + i, 1);
        v->addWidget(new QLabel(u("kW")), 1 + i, 2);
        v->addWidget(readoutTorque[i], 1 + i, 3);
        v->addWidget(new QLabel(u("Nm")), 1 + i, 4);
    }
    side->addWidget(values);
    side->addStretch(1);
    chartRow->addLayout(side);
}

}  // namespace forms
