// Layout of the system window: the program's own preferences (big display, map, logger,
// device link, power measurement), the firmware area and the window-position buttons.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <array>

namespace forms {

class Systemdialog {
public:
    void setupUi(QWidget* content);

    // "Grossbild"
    QLineEdit* rpmWarning = nullptr;
    QLineEdit* rpmRounding = nullptr;
    QLineEdit* lambdaVeryRich = nullptr;  // "Lambdaanzeige" "[V]"
    QLineEdit* lambdaRich = nullptr;
    QLineEdit* lambdaLean = nullptr;
    QLineEdit* lambdaVeryLean = nullptr;
    QLabel* lambdaWarning = nullptr;
    QLineEdit* sensorErrorMinSpeed = nullptr;
    std::array<QCheckBox*, 3> showLambda{};  // under "Zeige an:"
    QCheckBox* showLearnLimits = nullptr;
    QCheckBox* sliderDisplays = nullptr;

    // "Kennfeld"
    QLineEdit* injectionWarnPercent = nullptr;

    // "Logger"
    QLineEdit* loggerPeriod = nullptr;
    QLineEdit* loggerCapacity = nullptr;
    QLabel* loggerTime = nullptr;  // beside "Ergibt eine max. Log-Zeit(s):"
    QLabel* loggerSize = nullptr;  // beside "... und eine Dateigröße von ca."

    // "KVT allgemein"
    QLineEdit* comTimer = nullptr;
    QCheckBox* comAtStart = nullptr;
    QCheckBox* readSetupAfterIdentification = nullptr;
    QCheckBox* messageFile = nullptr;
    QPushButton* setupHistory = nullptr;

    // "Leistungsmessung"
    QLineEdit* powerSampleInterval = nullptr;
    QLineEdit* powerMinSpeed = nullptr;
    QLineEdit* printoutText = nullptr;

    // "Firmware"
    QLabel* firmwareFolder = nullptr;  // under "Dateipfad:"
    QLabel* firmwareFile = nullptr;    // under "Dateiname:"
    QPushButton* chooseFirmware = nullptr;
    QPushButton* updateFirmware = nullptr;
    QProgressBar* firmwareProgress = nullptr;
    QLabel* firmwareStatus = nullptr;
    QPushButton* eraseEeprom = nullptr;
    QPushButton* findBootLoader = nullptr;

    // "Fensterposition rücksetzten"
    QPushButton* centreMain = nullptr;
    QPushButton* centreBigDisplay = nullptr;
    QPushButton* centreLogger = nullptr;
    QPushButton* centrePower = nullptr;
    QPushButton* centreLearn = nullptr;
    QPushButton* centreSettings = nullptr;
    QPushButton* centreLambdaLogger = nullptr;
    QPushButton* centreTest = nullptr;
    QPushButton* centreSystem = nullptr;
};

}  // namespace forms
