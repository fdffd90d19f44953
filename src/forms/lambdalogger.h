// Layout of the lambda logger window: the file group, the display options, the KVT buttons,
// the legend with the thresholds and the grid canvas.
#pragma once

#include "forms/PaintBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace forms {

class Lambdalogger {
public:
    void setupUi(QWidget* content);

    // "Datei"
    QLineEdit* comment = nullptr;        // "Kommentar:"
    QLabel* path = nullptr;              // "Pfad:"
    QLabel* fileName = nullptr;          // "Datei:"
    QLabel* logDate = nullptr;           // "Log_Datum:"
    QLabel* logTime = nullptr;           // "Log_Zeitpunkt:"
    QLabel* logHw = nullptr;             // "Log_HW:"
    QLabel* logSw = nullptr;             // "Log_SW:"
    QPushButton* loadButton = nullptr;   // "Laden"
    QPushButton* saveButton = nullptr;   // "Sichern"
    QPushButton* printButton = nullptr;  // "Drucken"
    // "Anzeige"
    QRadioButton* showValues = nullptr;     // "Werte [V]"
    QRadioButton* showJudgement = nullptr;  // "++ / --"
    std::array<QCheckBox*, 3> probes{};     // "Lambda 1" … "Lambda 3"
    QPushButton* clearValues = nullptr;     // "Werte löschen"
    QCheckBox* recordLive = nullptr;        // "Vitaldaten lesen"
    // "KVT"
    QPushButton* readRam = nullptr;
    QPushButton* readEeprom = nullptr;
    QPushButton* clearRam = nullptr;
    QPushButton* clearEeprom = nullptr;
    QCheckBox* kvtLogs = nullptr;  // "KVT loggt Lambda im EEPROM"
    // "Lambdaanzeige": the four threshold values in V and the legend canvas
    std::array<QLabel*, 4> thresholdValues{};  // ++, +, -, --
    PaintBox* legend = nullptr;                // 12 × 70
    PaintBox* grid = nullptr;                  // 725 × 280
};

}  // namespace forms
