// Layout of the logger window.
#include "forms/logger.h"

#include "forms/FormKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace forms {
namespace {

// A caption and, beside it, a label the window writes later.
QLabel* captioned(QGridLayout* grid, int row, int column, const char* caption, int chars = 12)
{
    label(grid, row, column, caption);
    QLabel* value = valueLabel(chars);
    grid->addWidget(value, row, column + 1);
    return value;
}

// Channel names as the check boxes show them.
const char* const channelNames[Loggerdialog::channels] = {
    "Drehzahl (Umin)",  "Drosselklappe (%)", "Motortemp. (°C)", "Ansauglufttemp. (°C)",
    "Lambda1 (V)",      "Lambda2 (V)",       "Lambda3 (V)",     "Ausgang1",
    "Ausgang2",         "Eingang1",          "Eingang2",        "Eingang3",
    "Zündwinkel (°KW)", "Einspritzung (µs)"};

}  // namespace

ZoomSpin::ZoomSpin(QWidget* parent) : QAbstractSpinBox(parent)
{
    setReadOnly(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFixedWidth(90);
    // Tall enough for its text field in any style.
    setMinimumHeight(lineEdit()->minimumSizeHint().height() + 8);
}

void ZoomSpin::stepBy(int steps)
{
    emit stepped(steps);
}

void ZoomSpin::setText(const QString& text)
{
    lineEdit()->setText(text);
}

void Loggerdialog::setupUi(QWidget* content)
{
    // Close margins and spacing: with every strip collapsed the whole window fits its design
    // height, the strips of all fourteen channels included.
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->setSpacing(3);

    QGridLayout* grid = nullptr;
    QGroupBox* file = group("Datei", grid);
    grid->setContentsMargins(6, 1, 6, 2);
    grid->setVerticalSpacing(0);
    commentLabel = label(grid, 0, 0, "Kommentar:");
    commentLabel->setToolTip(u("Beschreibung der gespeicherten Log-Datei"));
    comment = new QLineEdit;
    grid->addWidget(comment, 0, 1, 1, 3);
    logPath = captioned(grid, 1, 0, "Log-Pfad:", 40);
    grid->addWidget(logPath, 1, 1, 1, 3);
    fileName = captioned(grid, 2, 0, "Datei:", 26);
    dataPoint = captioned(grid, 2, 2, "Datenpunkt:", 16);
    logDate = captioned(grid, 3, 0, "Log_Datum:");
    logTime = captioned(grid, 3, 2, "Log_Zeitpunkt:");
    logHw = captioned(grid, 4, 0, "Log_HW:");
    logSw = captioned(grid, 4, 2, "Log_SW:");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* controls = new QGridLayout;
    grid->addLayout(controls, 0, 4, 5, 1);
    lamp = new Lamp(nullptr, 41, Lamp::Rim::BlackRing);
    controls->addWidget(lamp, 0, 0, 2, 1, Qt::AlignCenter);
    startButton = button("START Log", "Startet einen Mitschnitt");
    stopButton = button("STOPP Log", "Stoppt einen Mitschnitt");
    pathButton = button("Log-Datei Pfad", "Legt den Speicherpfd für eine Log-Datei fest");
    saveButton = button("Log sichern", "Sichert den aktuellen Mitschnitt im Log-Datei-Pfad");
    loadButton = button("Log laden", "Läd einen Mitschnitt");
    controls->addWidget(startButton, 0, 1);
    controls->addWidget(stopButton, 1, 1);
    controls->addWidget(pathButton, 0, 2);
    controls->addWidget(saveButton, 1, 2);
    controls->addWidget(loadButton, 2, 2);
    progress = new QProgressBar;
    progress->setTextVisible(false);
    controls->addWidget(progress, 2, 0, 1, 2);
    rows->addWidget(file);

    auto* cursorLine = new QHBoxLayout;
    cursorLine->addWidget(label("Datenpunkt:"));
    cursorLine->addWidget(cursorRow = valueLabel(9));
    cursorLine->addWidget(label("Log-Zeitpunkt(ms):"));
    cursorLine->addWidget(cursorMs = valueLabel(10));
    cursorLine->addWidget(cursorTime = valueLabel(14));
    cursorLine->addStretch(1);
    cursorLine->addWidget(label("Zoom:"));
    zoom = new ZoomSpin;
    cursorLine->addWidget(zoom);
    cursorLine->addWidget(label("= Datenpunkte:"));
    cursorLine->addWidget(visibleRows = valueLabel(9));
    rows->addLayout(cursorLine);

    position = new QScrollBar(Qt::Horizontal);
    rows->addWidget(position);

    chartArea = new QWidget;
    rows->addWidget(chartArea);
    // Room the strips do not take stays below them.
    rows->addStretch(1);
    // The channel rows share the 145 pixels left of the chart: a slightly smaller font.
    QFont small = chartArea->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chartArea->setFont(small);
    for (int c = 0; c < channels; ++c) {
        channelBox[std::size_t(c)] = new QCheckBox(u(channelNames[c]), chartArea);
        valueCaption[std::size_t(c)] = new QLabel(u("Wert:"), chartArea);
        value[std::size_t(c)] = new QLabel(chartArea);
    }
}

}  // namespace forms
