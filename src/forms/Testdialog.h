// Layout of the test window: identity, output tests, injector flow measurement, sensor
// position and ignition mode, sensor checks, and the injector and coil estimates.
#pragma once

#include "forms/CheckMark.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

namespace forms {

class Testdialog {
public:
    void setupUi(QWidget* content);

    // "Allgemeines"
    QLabel* deviceType = nullptr;
    QLabel* restarts = nullptr;
    std::array<QLabel*, 3> loadedVersion{};     // HW, SW, BL of the loaded setup
    std::array<QLabel*, 3> connectedVersion{};  // of the connected KVT

    // "Ausgänge"
    QPushButton* fuelPump = nullptr;
    std::array<QPushButton*, 2> outputs{};
    std::array<QPushButton*, 3> injectors{};
    std::array<QPushButton*, 3> coils{};
    QLineEdit* coilTime = nullptr;
    QRadioButton* once = nullptr;
    QRadioButton* tenTimes = nullptr;
    QLineEdit* tachoSpeed = nullptr;
    QPushButton* tacho = nullptr;

    // "Einspritzdüsen"
    std::array<QLineEdit*, 3> longWeight{};
    std::array<QLineEdit*, 3> shortWeight{};
    std::array<QPushButton*, 3> longTest{};
    std::array<QPushButton*, 3> shortTest{};
    std::array<QLabel*, 3> flow{};
    std::array<QLabel*, 3> balance{};
    std::array<QLabel*, 3> switchingTime{};
    QPushButton* resetValues = nullptr;
    QPushButton* takeValues = nullptr;
    QLabel* fullLoad = nullptr;

    // "Sensorposition"
    QLabel* sensorAngle = nullptr;
    QPushButton* sensorUp = nullptr;
    QPushButton* sensorDown = nullptr;
    QRadioButton* fromCurve = nullptr;
    QRadioButton* constant = nullptr;
    QLineEdit* constantAngle = nullptr;
    QLabel* currentAngle = nullptr;
    QPushButton* restart = nullptr;

    // "Sensorstabilität"
    QLabel* signal = nullptr;
    QLabel* revolution = nullptr;
    QLabel* teeth = nullptr;
    QLabel* gap = nullptr;
    CheckMark* checkMark = nullptr;

    // "Einspritzdüsenschätzung"
    QLineEdit* injFlow = nullptr;
    QLineEdit* injMaxSpeed = nullptr;
    QLineEdit* injVolume = nullptr;
    QLineEdit* injEfficiency = nullptr;
    QLineEdit* injMaxDuty = nullptr;
    QLabel* injGramPerMin = nullptr;
    QLabel* injRequired = nullptr;
    QLabel* injAvailable = nullptr;

    // "Zündspulenschätzung"
    QLineEdit* coilMaxSpeed = nullptr;
    QLineEdit* coilVoltage = nullptr;
    QLineEdit* coilResistance = nullptr;
    QLineEdit* coilInductance = nullptr;
    QLabel* coilCharge = nullptr;
    QLabel* coilCurrent = nullptr;
    QLabel* coilAvailable = nullptr;

    // Every input field, for the validation pass on focus loss.
    QList<QLineEdit*> inputs() const;
};

}  // namespace forms
