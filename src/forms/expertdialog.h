// Layout of the expert window: the KVT's control values, the oscillator fine tune, the timing
// of the serial exchange and the crank-angle diagram with the check boxes of its elements.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

namespace forms {

// The diagram's canvas; whoever owns the values draws through the painter hook.
class AngleCanvas final : public QWidget {
public:
    explicit AngleCanvas(QWidget* parent = nullptr);
    std::function<void(class QPainter&, QSize)> draw;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class Expertdialog {
public:
    void setupUi(QWidget* content);

    // "Kontrollwerte", per cylinder
    std::array<QLabel*, 3> injectionStart{};
    std::array<QLabel*, 3> injectionTime{};
    std::array<QLabel*, 3> injectionPercent{};
    std::array<QLabel*, 3> chargeStart{};
    std::array<QLabel*, 3> chargeAngle{};
    std::array<QLabel*, 3> chargeUs{};
    std::array<QLabel*, 3> chargePercent{};
    QLabel* angleLimit = nullptr;
    QLabel* dynamicAngle1 = nullptr;
    QLabel* dynamicAngle2 = nullptr;
    QLabel* timerDiff = nullptr;
    QLabel* timerDiffAngle = nullptr;
    QLabel* setRevolutions = nullptr;
    QLabel* controlValue = nullptr;

    // "Kalibrierung"
    QPushButton* calibrationUp = nullptr;
    QLabel* calibrationByte = nullptr;
    QPushButton* calibrationDown = nullptr;
    QLabel* meanSpeed = nullptr;

    QPushButton* resetStampDiff = nullptr;
    QPushButton* unused = nullptr;

    // Serial timing
    QLabel* stamp = nullptr;
    QLabel* frequency = nullptr;
    QLabel* frequencyMean = nullptr;
    QLabel* cpuDiff = nullptr;
    QLabel* drift = nullptr;

    // "Schaltwinkel SET"
    AngleCanvas* canvas = nullptr;
    std::array<QCheckBox*, 3> showInjection{};  // "EV1" … "EV3"
    std::array<QCheckBox*, 3> showCharge{};     // "Zt1" … "Zt3"
    QCheckBox* showSensor = nullptr;
    QCheckBox* showTacho = nullptr;
    QCheckBox* showAccel = nullptr;
    QCheckBox* showWheel = nullptr;
    QCheckBox* showGap = nullptr;
    QLabel* gapWidth = nullptr;
    QLabel* toothWidth = nullptr;
    QCheckBox* showDynamic1 = nullptr;
    QCheckBox* showDynamic2 = nullptr;

    QList<QCheckBox*> elementBoxes() const;
};

}  // namespace forms
