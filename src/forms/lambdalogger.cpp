// Layout of the lambda logger window.
#include "forms/lambdalogger.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// A caption and its value in the grid at (row, column); the value spans span columns.
QLabel* infoRow(QGridLayout* grid, int row, const char* caption, int column = 0, int span = 3)
{
    grid->addWidget(new QLabel(u(caption)), row, column);
    auto* value = new QLabel;
    value->setMinimumWidth(50);
    grid->addWidget(value, row, column + 1, 1, span);
    return value;
}

}  // namespace

void Lambdalogger::setupUi(QWidget* content)
{
    // A compact font: four groups and the 725-unit grid share the window's 755 × 485.
    QFont small = content->font();
    small.setPixelSize(11);
    content->setFont(small);
    auto* top = new QVBoxLayout(content);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(4);
    auto* upper = new QHBoxLayout;
    upper->setSpacing(4);
    top->addLayout(upper);

    auto* file = new QGroupBox(u("Datei"));
    auto* f = new QGridLayout(file);
    f->setContentsMargins(4, 2, 4, 2);
    f->setHorizontalSpacing(3);
    f->setVerticalSpacing(1);
    f->addWidget(new QLabel(u("Kommentar:")), 0, 0);
    comment = new QLineEdit;
    comment->setMaxLength(200);
    f->addWidget(comment, 0, 1, 1, 3);
    path = infoRow(f, 1, "Pfad:");
    fileName = infoRow(f, 2, "Datei:");
    logDate = infoRow(f, 3, "Log_Datum:");
    logTime = infoRow(f, 4, "Log_Zeitpunkt:");
    // HW and SW side by side: the grid below needs the height.
    logHw = infoRow(f, 5, "Log_HW:", 0, 1);
    logSw = infoRow(f, 5, "Log_SW:", 2, 1);
    loadButton = new QPushButton(u("Laden"));
    saveButton = new QPushButton(u("Sichern"));
    printButton = new QPushButton(u("Drucken"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(loadButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(printButton);
    f->addLayout(buttons, 6, 0, 1, 4);
    upper->addWidget(file, 4);

    auto* display = new QGroupBox(u("Anzeige"));
    auto* d = new QVBoxLayout(display);
    d->setContentsMargins(4, 2, 4, 2);
    d->setSpacing(1);
    showValues = new QRadioButton(u("Werte [V]"));
    showJudgement = new QRadioButton(u("++ / --"));
    showValues->setChecked(true);
    d->addWidget(showValues);
    d->addWidget(showJudgement);
    for (int k = 0; k < 3; ++k) {
        probes[k] = new QCheckBox(u("Lambda ") + QString::number(k + 1));
        probes[k]->setChecked(true);
        d->addWidget(probes[k]);
    }
    clearValues = new QPushButton(u("Werte löschen"));
    recordLive = new QCheckBox(u("Vitaldaten lesen"));
    d->addWidget(clearValues);
    d->addWidget(recordLive);
    upper->addWidget(display, 1);

    auto* kvt = new QGroupBox(u("KVT"));
    auto* k = new QGridLayout(kvt);
    k->setContentsMargins(4, 2, 4, 2);
    k->setHorizontalSpacing(3);
    readRam = new QPushButton(u("RAM lesen"));
    readEeprom = new QPushButton(u("EEPROM lesen"));
    clearRam = new QPushButton(u("RAM löschen"));
    clearEeprom = new QPushButton(u("EEPROM löschen"));
    kvtLogs = new QCheckBox(u("KVT loggt Lambda im EEPROM"));
    // One column: the check box sets the group's width, the buttons fit under it.
    k->setVerticalSpacing(2);
    k->addWidget(readRam, 0, 0);
    k->addWidget(readEeprom, 1, 0);
    k->addWidget(clearRam, 2, 0);
    k->addWidget(clearEeprom, 3, 0);
    k->addWidget(kvtLogs, 4, 0);
    upper->addWidget(kvt, 3);

    auto* legendBox = new QGroupBox(u("Lambdaanzeige"));
    auto* l = new QGridLayout(legendBox);
    l->setContentsMargins(4, 2, 4, 2);
    l->setHorizontalSpacing(4);
    const char* names[] = {"sehr fett (++)", "fett (+)", "mager (-)", "sehr mager (--)"};
    legend = new PaintBox;
    legend->setFixedSize(12, 70);
    l->addWidget(legend, 0, 0, 4, 1);
    for (int n = 0; n < 4; ++n) {
        l->addWidget(new QLabel(u(names[n])), n, 1);
        thresholdValues[n] = new QLabel;
        l->addWidget(thresholdValues[n], n, 2);
    }
    // The unit under the values keeps the group narrow.
    l->addWidget(new QLabel(u("[V]")), 4, 2);
    upper->addWidget(legendBox, 1);

    grid = new PaintBox;
    grid->setFixedSize(725, 280);
    top->addWidget(grid);
}

}  // namespace forms
