// Layout of the main window: the four map and curve groups, the live panel ("Einspritzung
// berechnet", "Zündwinkel berechnet", "Vitaldaten", "Ein- / Ausgänge"), "Motor",
// "Kommunikation", the setup and window buttons, and the status line at the bottom.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

namespace forms {

class Lamp;

class Hauptdialog {
public:
    void setupUi(QWidget* content);

    // Puts a view's canvas into one of the canvas slots below, filling it. The slot keeps its
    // grey background until then, so the window looks whole before the views exist.
    static void placeCanvas(QWidget* slot, QWidget* canvas);

    // --- "Einspritzung zu Drehzahl und Drosselklappe (F5)": canvas 385 × 255 ---
    QGroupBox* injectionGroup = nullptr;
    QWidget* injectionCanvasSlot = nullptr;
    QLabel* injectionSpeedValue = nullptr;     // "Drehzahl:"
    QLabel* injectionThrottleValue = nullptr;  // "Drosselkl.:"
    QLabel* injectionValue = nullptr;          // "Einspr. (µs):"
    QCheckBox* injectionAutoCheck = nullptr;   // "auto"
    QCheckBox* injectionPosCheck = nullptr;    // "pos"
    QCheckBox* injectionCapCheck = nullptr;    // "kapp"
    QCheckBox* injectionX100Check = nullptr;   // "x100"
    QCheckBox* injectionStartCheck = nullptr;  // "Start"

    // --- "Einspritzkorrektur zu Ansauglufttemperatur (F6)": canvas 385 × 100 ---
    QGroupBox* airTempGroup = nullptr;
    QWidget* airTempCanvasSlot = nullptr;
    QLabel* airTempValue = nullptr;        // "Ansaugtemperatur:"
    QLabel* airCorrectionValue = nullptr;  // "Korrektur (%):"
    QCheckBox* airTempAutoCheck = nullptr;
    QCheckBox* airTempPosCheck = nullptr;

    // --- "Einspritzkorrektur zu Motortemperatur (F7)": canvas 385 × 100 ---
    QGroupBox* engineTempGroup = nullptr;
    QWidget* engineTempCanvasSlot = nullptr;
    QLabel* engineTempValue = nullptr;        // "Motortemperatur:"
    QLabel* engineCorrectionValue = nullptr;  // "Korrenkur (%):"
    QCheckBox* engineTempAutoCheck = nullptr;
    QCheckBox* engineTempPosCheck = nullptr;

    // --- "Zündung zu Drehzahl ( und Drosselklappe) (F8)": canvas 385 × 255 ---
    QGroupBox* ignitionGroup = nullptr;
    QWidget* ignitionCanvasSlot = nullptr;
    QLabel* ignitionSpeedValue = nullptr;     // "Drehzahl:"
    QLabel* ignitionThrottleValue = nullptr;  // "Drosselkl.:"
    QLabel* ignitionValue = nullptr;          // "Zündwinkel v.OT:"
    QCheckBox* ignitionAutoCheck = nullptr;
    QCheckBox* ignitionPosCheck = nullptr;
    QCheckBox* ignitionMapCheck = nullptr;  // "Kennfeld"

    // --- "Einspritzung berechnet" ---
    QLabel* calcInjectionBase = nullptr;         // "Grundwert (Kennfeld):"
    QLabel* calcAirCorrectionPercent = nullptr;  // "Korr. Ansaugluft-Temp:"
    QLabel* calcAirCorrectionUs = nullptr;
    QLabel* calcEngineCorrectionPercent = nullptr;  // "Korr. Motor-Temp:"
    QLabel* calcEngineCorrectionUs = nullptr;
    QLabel* calcInjectionTime = nullptr;  // "Einspritzung: (µs)"

    // --- "Zündwinkel berechnet" ---
    QLabel* calcIgnitionBase = nullptr;    // "Grundwert (Kennlinie):"
    QLabel* limiterSpeedValue = nullptr;   // after "Begrenzer ("
    QLabel* limiterRetardValue = nullptr;  // after "):"
    QLabel* calcIgnitionAngle = nullptr;   // "Zündwinkel: (°KW)"

    // --- "Ein- / Ausgänge" ---
    QLabel* output1Value = nullptr;
    QLabel* output2Value = nullptr;
    QLabel* input1Value = nullptr;
    QLabel* input2Value = nullptr;
    QLabel* input3Value = nullptr;

    // --- "Vitaldaten" ---
    QLabel* liveRpm = nullptr;
    QLabel* liveThrottle = nullptr;
    QLabel* liveEngineTemp = nullptr;
    QLabel* liveAirTemp = nullptr;
    std::array<QLabel*, 3> liveLambda{};
    QLabel* liveCpuTemp = nullptr;

    // --- "Motor" ---
    QLabel* setupFileName = nullptr;       // "Datei:"
    QLineEdit* descriptionEdit = nullptr;  // "Beschreibung:", at most 100 characters

    // --- "Kommunikation" ---
    QComboBox* portCombo = nullptr;
    QCheckBox* comCheck = nullptr;
    Lamp* comLamp = nullptr;
    QPushButton* refreshPortsButton = nullptr;
    QLabel* kvtHwValue = nullptr;  // "Verbundene KVT: HW:"
    QLabel* kvtSwValue = nullptr;  // "SW:"

    // --- setup buttons ---
    QPushButton* loadButton = nullptr;         // "Laden"
    QPushButton* saveButton = nullptr;         // "Speichern"
    QPushButton* readFromKvtButton = nullptr;  // "-> PC"
    QPushButton* writeToKvtButton = nullptr;   // "-> KVT"
    QPushButton* eepromButton = nullptr;       // "-> EEPROM"

    // --- window buttons ---
    QPushButton* settingsButton = nullptr;      // "Einstellungen"
    QPushButton* testButton = nullptr;          // "Test"
    QPushButton* learnButton = nullptr;         // "Lernmodus"
    QPushButton* lambdaLoggerButton = nullptr;  // "Lambda-Logger"
    QPushButton* loggerButton = nullptr;        // "Vitaldaten-Logger"
    QPushButton* powerButton = nullptr;         // "Leistungsvergleich"
    QPushButton* bigDisplayButton = nullptr;    // "Grossbild"
    QPushButton* systemButton = nullptr;        // "System"

    // The grid of all groups: "Motor" and "Kommunikation" in row 0, the views in rows 1 and 2,
    // the live panel and the buttons in row 3.
    QGridLayout* groups = nullptr;
    // The status line (last logged message).
    QLabel* statusLine = nullptr;
};

}  // namespace forms
