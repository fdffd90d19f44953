// Layout of the logger window: the "Datei" group with the recording buttons, the cursor row,
// zoom and position bar, and the chart area with one row of controls per channel beside the
// strips. The window class places the channel rows and the chart as the strip heights change.
#pragma once

#include "forms/Lamp.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

namespace forms {

// "Zoom:": shows the text it is given; its arrows only report the step.
class ZoomSpin final : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit ZoomSpin(QWidget* parent = nullptr);
    void stepBy(int steps) override;
    void setText(const QString& text);

signals:
    void stepped(int steps);

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

class Loggerdialog {
public:
    static constexpr int channels = 14;

    void setupUi(QWidget* content);

    // group "Datei"
    QLabel* commentLabel = nullptr;  // "Kommentar:" with the tool tip
    QLineEdit* comment = nullptr;
    QLabel* logPath = nullptr;    // beside "Log-Pfad:"
    QLabel* fileName = nullptr;   // beside "Datei:"
    QLabel* dataPoint = nullptr;  // beside "Datenpunkt:"
    QLabel* logDate = nullptr;    // "Log_Datum:"
    QLabel* logTime = nullptr;    // "Log_Zeitpunkt:"
    QLabel* logHw = nullptr;      // "Log_HW:"
    QLabel* logSw = nullptr;      // "Log_SW:"
    Lamp* lamp = nullptr;  // recording lamp
    QProgressBar* progress = nullptr;
    QPushButton* startButton = nullptr;  // "START Log"
    QPushButton* stopButton = nullptr;   // "STOPP Log"
    QPushButton* pathButton = nullptr;   // "Log-Datei Pfad"
    QPushButton* saveButton = nullptr;   // "Log sichern"
    QPushButton* loadButton = nullptr;   // "Log laden"

    // chart row
    QLabel* cursorRow = nullptr;   // beside "Datenpunkt:"
    QLabel* cursorMs = nullptr;    // beside "Log-Zeitpunkt(ms):"
    QLabel* cursorTime = nullptr;  // "(hh:mm:ss.mmm)"
    ZoomSpin* zoom = nullptr;
    QLabel* visibleRows = nullptr;  // beside "= Datenpunkte:"
    QScrollBar* position = nullptr;

    // chart area: channel rows on the left, the chart canvas (added by the window) on the right
    QWidget* chartArea = nullptr;
    std::array<QCheckBox*, channels> channelBox{};
    std::array<QLabel*, channels> valueCaption{};  // "Wert:"
    std::array<QLabel*, channels> value{};
};

}  // namespace forms
