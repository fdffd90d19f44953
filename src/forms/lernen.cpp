// Layout of the learn mode window.
#include "forms/lernen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QLineEdit* fieldRow(QGridLayout* grid, int row, const char* text, const char* toolTip)
{
    grid->addWidget(new QLabel(u(text)), row, 0);
    auto* field = new QLineEdit;
    field->setFixedWidth(60);
    if (toolTip)
        field->setToolTip(u(toolTip));
    grid->addWidget(field, row, 1);
    return field;
}

}  // namespace

void lernen::setupUi(QWidget* content)
{
    auto* top = new QGridLayout(content);

    learnActive = new QCheckBox(u("Lernen aktiv"));
    learnActive->setToolTip(u("Aktiviert/Deaktiviert den Lern-Modus - wenn KVT verbunden, "
                              "geschieht dies sofort"));
    top->addWidget(learnActive, 0, 0);

    auto* limits = new QGroupBox(u("Lerngrenzen"));
    auto* l = new QGridLayout(limits);
    minEngineTemp = fieldRow(l, 0, "Mindest-Motortemperatur (°C):",
                             "Zum Lernen muß diese Motorttemperatur überschritten sein.");
    speedLow = fieldRow(l, 1, "untere Lerndrehzahl:",
                        "Zum Lernen muß diese Drehzahl überschritten sein");
    speedHigh = fieldRow(l, 2, "obere Lerndrehzahl:",
                         "Zum Lernen darf diese Drehzahl nicht überschritten sein");
    throttleLow = fieldRow(l, 3, "untere Drosselklappenstellung (%):",
                           "Zum Lernen muß die Drosselklappe diese Stellung überschritten haben");
    throttleHigh = fieldRow(l, 4, "obere Drosselklappenstellung (%):",
                            "Zum Lernen darf die Drosselklappe diese Stellung nicht "
                            "überschritten haben");
    top->addWidget(limits, 1, 0, 2, 1);

    auto* target = new QGroupBox(u("Lernziel"));
    auto* t = new QGridLayout(target);
    lambdaTarget = fieldRow(t, 0, "Lambdazielwert:",
                            "Die KVT fettet an oder magert ab, um diesen Lambdawert zu erreichen");
    t->addWidget(new QLabel(u("Vergleichswert wird gebildet aus:")), 1, 0, 1, 2);
    for (int i = 0; i < 3; ++i) {
        lambdaInputs[i] = new QCheckBox(u("Lambda ") + QString::number(i + 1));
        lambdaInputs[i]->setToolTip(u("Ist dieser Wert aktiviert, wird er mit den anderen "
                                      "aktivierten Werte gemittelt und mit dem Lambdazielwert "
                                      "verglichen"));
        t->addWidget(lambdaInputs[i], 2 + i, 0);
    }
    top->addWidget(target, 1, 1);

    auto* ability = new QGroupBox(u("Lernfähigkeit"));
    auto* a = new QGridLayout(ability);
    increment = fieldRow(a, 0, "Lerninkrement[µs]:", nullptr);
    rate = fieldRow(a, 1, "Änderungsgeschwindigkeit",
                    "Je höher der Wert, um so langsamer lernt die KVT");
    top->addWidget(ability, 2, 1);

    showMapUpdates = new QCheckBox(u("Kennfeldaktualisierung in Motrix zeigen"));
    showMapUpdates->setToolTip(u("zeigt das aktualisierte Kennfeld sofort an, wenn die KVT "
                                 "verbunden ist ... und lernt."));
    top->addWidget(showMapUpdates, 3, 0, 1, 2);
    top->setRowStretch(4, 1);
}

}  // namespace forms
