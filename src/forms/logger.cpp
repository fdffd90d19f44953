// Layout of the logger window.
#include "forms/logger.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QPushButton* button(const char* text, const char* toolTip)
{
    auto* b = new QPushButton(u(text));
    b->setToolTip(u(toolTip));
    return b;
}

QLabel* valueLabel(QGridLayout* grid, int row, int column, const char* caption)
{
    grid->addWidget(new QLabel(u(caption)), row, column);
    auto* label = new QLabel;
    label->setMinimumWidth(90);
    grid->addWidget(label, row, column + 1);
    return label;
}

// Channel names as the check boxes show them.
const char* const channelNames[logger::channels] = {
    "Drehzahl (Umin)", "Drosselklappe (%)", "Motortemp. (°C)", "Ansauglufttemp. (°C)",
    "Lambda1 (V)",     "Lambda2 (V)",       "Lambda3 (V)",     "Ausgang1",
    "Ausgang2",        "Eingang1",          "Eingang2",        "Eingang3",
    "Zündwinkel (°KW)", "Einspritzung (µs)"};

}  // namespace

RecordingLamp::RecordingLamp(QWidget* parent) : QWidget(parent)
{
    setFixedSize(41, 41);
}

void RecordingLamp::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void RecordingLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(0.5, 0.5, 40, 40));
    p.setBrush(m_color);
    p.drawEllipse(QRectF(2.5, 2.5, 36, 36));
}

ZoomSpin::ZoomSpin(QWidget* parent) : QAbstractSpinBox(parent)
{
    setReadOnly(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFixedWidth(90);
}

void ZoomSpin::stepBy(int steps)
{
    emit stepped(steps);
}

void ZoomSpin::setText(const QString& text)
{
    lineEdit()->setText(text);
}

void logger::setupUi(QWidget* content)
{
    auto* rows = new QVBoxLayout(content);

    auto* file = new QGroupBox(u("Datei"));
    auto* top = new QHBoxLayout(file);
    auto* grid = new QGridLayout;
    top->addLayout(grid, 1);
    commentLabel = new QLabel(u("Kommentar:"));
    commentLabel->setToolTip(u("Beschreibung der gespeicherten Log-Datei"));
    grid->addWidget(commentLabel, 0, 0);
    comment = new QLineEdit;
    grid->addWidget(comment, 0, 1, 1, 3);
    logPath = valueLabel(grid, 1, 0, "Log-Pfad:");
    grid->addWidget(logPath, 1, 1, 1, 3);
    fileName = valueLabel(grid, 2, 0, "Datei:");
    dataPoint = valueLabel(grid, 2, 2, "Datenpunkt:");
    logDate = valueLabel(grid, 3, 0, "Log_Datum:");
    logTime = valueLabel(grid, 3, 2, "Log_Zeitpunkt:");
    logHw = valueLabel(grid, 4, 0, "Log_HW:");
    logSw = valueLabel(grid, 4, 2, "Log_SW:");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* controls = new QGridLayout;
    top->addLayout(controls);
    lamp = new RecordingLamp;
    controls->addWidget(lamp, 0, 0, 2, 1);
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
    cursorLine->addWidget(new QLabel(u("Datenpunkt:")));
    cursorRow = new QLabel;
    cursorRow->setMinimumWidth(70);
    cursorLine->addWidget(cursorRow);
    cursorLine->addWidget(new QLabel(u("Log-Zeitpunkt(ms):")));
    cursorMs = new QLabel;
    cursorMs->setMinimumWidth(70);
    cursorLine->addWidget(cursorMs);
    cursorTime = new QLabel;
    cursorTime->setMinimumWidth(100);
    cursorLine->addWidget(cursorTime);
    cursorLine->addStretch(1);
    cursorLine->addWidget(new QLabel(u("Zoom:")));
    zoom = new ZoomSpin;
    cursorLine->addWidget(zoom);
    cursorLine->addWidget(new QLabel(u("= Datenpunkte:")));
    visibleRows = new QLabel;
    visibleRows->setMinimumWidth(70);
    cursorLine->addWidget(visibleRows);
    rows->addLayout(cursorLine);

    position = new QScrollBar(Qt::Horizontal);
    rows->addWidget(position);

    chartArea = new QWidget;
    rows->addWidget(chartArea, 1);
    // The channel rows share the 145 pixels left of the chart: a slightly smaller font.
    QFont small = chartArea->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chartArea->setFont(small);
    for (int c = 0; c < channels; ++c) {
        channelBox[std::size_t(c)] = new QCheckBox(u(channelNames[c]), chartArea);
        valueCaption[std::size_t(c)] = new QLabel(u("Wert:"), chartArea);
        value[std::size_t(c)] = new QLabel(chartArea);
        value[std::size_t(c)]->setMinimumWidth(110);
    }
}

}  // namespace forms
