// Layout of the learn mode window: the learn switch, the learn limits, the learn target with
// its lambda inputs, the learn speed and the box that shows the learned map as it changes.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <array>

namespace forms {

class Lernen {
public:
    void setupUi(QWidget* content);

    QCheckBox* learnActive = nullptr;  // "Lernen aktiv"
    // "Lerngrenzen"
    QLineEdit* minEngineTemp = nullptr;
    QLineEdit* speedLow = nullptr;
    QLineEdit* speedHigh = nullptr;
    QLineEdit* throttleLow = nullptr;
    QLineEdit* throttleHigh = nullptr;
    // "Lernziel"
    QLineEdit* lambdaTarget = nullptr;
    std::array<QCheckBox*, 3> lambdaInputs{};  // "Lambda 1" .. "Lambda 3"
    // "Lernfähigkeit"
    QLineEdit* increment = nullptr;
    QLineEdit* rate = nullptr;
    QCheckBox* showMapUpdates = nullptr;  // "Kennfeldaktualisierung in Motrix zeigen"
};

}  // namespace forms
