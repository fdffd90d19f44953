// Layout of the settings window: the ten groups of the KVT's scalar setup values with their
// labels, unit labels and tool tips.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <array>

namespace forms {

class Einstellungendialog {
public:
    void setupUi(QWidget* content);

    // "Motor"
    QLineEdit* triggerTeeth = nullptr;
    QLineEdit* triggerGaps = nullptr;
    QLineEdit* sensorAngle = nullptr;
    QButtonGroup* triggerEdge = nullptr;  // ids 0 "fallend", 1 "steigend"
    QLineEdit* cylinderOffset12 = nullptr;
    QLineEdit* cylinderOffset23 = nullptr;
    QLineEdit* dynamicFactor1 = nullptr;
    QLineEdit* dynamicSpeed1 = nullptr;
    QLineEdit* dynamicFactor2 = nullptr;
    QLineEdit* dynamicSpeed2 = nullptr;

    // "Einspritzung"
    QLineEdit* injectionStartAngle = nullptr;
    std::array<QLineEdit*, 3> injectionExtension{};
    std::array<QLineEdit*, 3> injectorBalance{};  // read-only
    std::array<QLineEdit*, 3> injectorDeadTime{};

    // "Notprogramm"
    QLineEdit* limpMinEngineTemp = nullptr;
    QLineEdit* limpIgnitionOffSpeed = nullptr;
    QLineEdit* limpTiming = nullptr;
    QLineEdit* limpEnrichment = nullptr;

    // "Schubabschaltung"
    QCheckBox* overrunCutoff = nullptr;
    QLineEdit* overrunMinEngineTemp = nullptr;
    QLineEdit* overrunThrottleMax = nullptr;
    QLineEdit* overrunMinSpeed = nullptr;
    QLineEdit* overrunInjectionShare = nullptr;

    // "Sensoren": per row (engine temperature, intake air, throttle) the voltage and the
    // temperature or position of point 1, then of point 2, and the measured voltage.
    std::array<std::array<QLineEdit*, 4>, 3> calibration{};
    std::array<QLineEdit*, 3> measuredVoltage{};  // read-only, "Messwert:"
    QLineEdit* sensorDamping = nullptr;

    // "Schalteingänge": ids are the stored mode numbers.
    QButtonGroup* input1Mode = nullptr;
    QButtonGroup* input2Mode = nullptr;
    QButtonGroup* input3Mode = nullptr;

    // "Start"
    QLineEdit* quickStartSpeed = nullptr;
    QLineEdit* startInjectionTime = nullptr;
    QLineEdit* startInjectionRevs = nullptr;
    QCheckBox* startInjectionAdd = nullptr;
    QCheckBox* startInjectionOff = nullptr;

    // "Begrenzer"
    QLineEdit* limiterSpeed = nullptr;
    QLineEdit* limiterRetard = nullptr;
    QLineEdit* ignitionOffSpeed = nullptr;
    QLineEdit* limiterHysteresis = nullptr;

    // "Zündung"
    QLineEdit* coilChargeTime = nullptr;
    QButtonGroup* coilDriver = nullptr;  // ids 0 "Spule", 1 "ext. Treiber"
    QLineEdit* timingStep = nullptr;

    // "Schaltausgänge"
    QLineEdit* tachoPulses = nullptr;
    QButtonGroup* output1Mode = nullptr;
    QLineEdit* output1Speed1 = nullptr;
    QLineEdit* output1Speed2 = nullptr;
    QButtonGroup* output2Mode = nullptr;
    QLineEdit* output2Speed1 = nullptr;
    QLineEdit* output2Speed2 = nullptr;
};

}  // namespace forms
