// Layout of the power window: the measurement file area, the buttons, the run controls, the
// parameters, the curve and evaluation options, the loaded comparison curves, the read-outs and
// the chart canvas (a widget the power subsystem gives, since it draws the chart).
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

namespace forms {

class Leistungsvergleich {
public:
    // chart is placed in the chart area and owned by the content from then on.
    void setupUi(QWidget* content, QWidget* chart);

    // "Messungs-Datei"
    QLabel* folder = nullptr;          // "Pfad:"
    QLabel* fileName = nullptr;        // "Datei:"
    QLineEdit* description = nullptr;  // "Beschreibung:"
    QLabel* date = nullptr;
    QLabel* time = nullptr;
    QLabel* hardware = nullptr;    // "HW:"
    QLabel* software = nullptr;    // "SW:"
    QPushButton* load = nullptr;   // "Laden"
    QPushButton* save = nullptr;   // "Sichern"
    QPushButton* print = nullptr;  // "Druck"
    // "Messung"
    QPushButton* start = nullptr;  // "Start  (F11)"
    QPushButton* stop = nullptr;   // "Stopp (F12)"
    QProgressBar* progress = nullptr;
    QLabel* remaining = nullptr;  // remaining seconds of the run
    // "Einstellungen", in the order of power::Parameter.
    std::array<QLineEdit*, 10> parameters{};
    // "Anzeige Kurven"
    std::array<QCheckBox*, 3> slotShown{};  // "akt. Messung", "Kurve 2", "Kurve 3"
    QCheckBox* showPower = nullptr;         // "Leistung [kW]"
    QCheckBox* showTorque = nullptr;        // "Drehmoment [Nm]"
    QCheckBox* rawValues = nullptr;         // "Rohwerte (akt. M.)"
    // "Auswertung"
    QCheckBox* ewg = nullptr;      // "EWG 80/1269"
    QCheckBox* din = nullptr;      // "DIN 70200"
    QCheckBox* addDrag = nullptr;  // "Add. Schlepp."
    // "Messsystem"
    QRadioButton* roller = nullptr;  // "rotatorisch"
    QRadioButton* linear = nullptr;  // "linear"
    // "Messanzeige"
    QRadioButton* speedMode = nullptr;    // "Drehzahl"
    QRadioButton* measureMode = nullptr;  // "Messung"
    // "Geladene Kurven": slot 2 and slot 3.
    struct Comparison {
        QLabel* fileName = nullptr;
        QPushButton* load = nullptr;
        QLabel* date = nullptr;
        QLabel* time = nullptr;
        QLabel* correction = nullptr;
        QLabel* system = nullptr;
        QLineEdit* description = nullptr;
        QLabel* drag = nullptr;
    };
    std::array<Comparison, 2> comparisons{};
    // "Werte"
    QLabel* cursorSpeed = nullptr;
    std::array<QLabel*, 3> readoutPower{};
    std::array<QLabel*, 3> readoutTorque{};
};

}  // namespace forms
