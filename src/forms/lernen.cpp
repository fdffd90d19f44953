// Layout of the learn mode window.
#include "forms/lernen.h"

#include "forms/FormKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace forms {

void Lernen::setupUi(QWidget* content)
{
    // The limits on the left; the switch and the learn speed on the right; the target with its
    // lambda inputs in one band below, so that the long labels fit side by side.
    auto* top = new QGridLayout(content);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(4);

    learnActive = checkBox("Lernen aktiv",
                           "Aktiviert/Deaktiviert den Lern-Modus - wenn KVT verbunden, "
                           "geschieht dies sofort");

    QGridLayout* l = nullptr;
    QGroupBox* limits = group("Lerngrenzen", l);
    minEngineTemp = fieldRow(l, 0, "Mindest-Motortemperatur (°C):", {},
                             "Zum Lernen muß diese Motorttemperatur überschritten sein.");
    speedLow = fieldRow(l, 1, "untere Lerndrehzahl:", {},
                        "Zum Lernen muß diese Drehzahl überschritten sein");
    speedHigh = fieldRow(l, 2, "obere Lerndrehzahl:", {},
                         "Zum Lernen darf diese Drehzahl nicht überschritten sein");
    throttleLow = fieldRow(l, 3, "untere Drosselklappenstellung (%):", {},
                           "Zum Lernen muß die Drosselklappe diese Stellung überschritten haben");
    throttleHigh = fieldRow(l, 4, "obere Drosselklappenstellung (%):", {},
                            "Zum Lernen darf die Drosselklappe diese Stellung nicht "
                            "überschritten haben");

    QGridLayout* t = nullptr;
    QGroupBox* target = group("Lernziel", t);
    lambdaTarget = fieldRow(t, 0, "Lambdazielwert:", {},
                            "Die KVT fettet an oder magert ab, um diesen Lambdawert zu erreichen");
    t->addWidget(label("Vergleichswert wird gebildet aus:"), 1, 0);
    auto* inputs = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        lambdaInputs[i] = checkBox(QStringLiteral("Lambda ") + QString::number(i + 1),
                                   "Ist dieser Wert aktiviert, wird er mit den anderen "
                                   "aktivierten Werte gemittelt und mit dem Lambdazielwert "
                                   "verglichen");
        inputs->addWidget(lambdaInputs[i]);
    }
    t->addLayout(inputs, 1, 1, 1, 2);
    t->setColumnStretch(3, 1);

    // Labels above their fields, so that the long label keeps the limits beside it.
    QGridLayout* a = nullptr;
    QGroupBox* ability = group("Lernfähigkeit", a);
    a->addWidget(label("Lerninkrement[µs]:"), 0, 0);
    increment = numberField();
    a->addWidget(increment, 1, 0);
    a->addWidget(label("Änderungsgeschwindigkeit"), 2, 0);
    rate = numberField("Je höher der Wert, um so langsamer lernt die KVT");
    a->addWidget(rate, 3, 0);
    a->setColumnStretch(1, 1);

    showMapUpdates = checkBox("Kennfeldaktualisierung in Motrix zeigen",
                              "zeigt das aktualisierte Kennfeld sofort an, wenn die KVT "
                              "verbunden ist ... und lernt.");

    top->addWidget(limits, 0, 0, 3, 1);
    top->addWidget(learnActive, 0, 1);
    top->addWidget(ability, 1, 1);
    top->addWidget(target, 3, 0, 1, 2);
    top->addWidget(showMapUpdates, 4, 0, 1, 2);
    top->setRowStretch(2, 1);
    top->setRowStretch(5, 1);
}

}  // namespace forms
