// Layout of the expert window.
#include "forms/expertdialog.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace forms {
namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

QLabel* number()
{
    auto* l = new QLabel(QStringLiteral("0"));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(34);
    return l;
}

QLabel* row(QGridLayout* grid, int r, const char* caption, int span = 3)
{
    grid->addWidget(new QLabel(u(caption)), r, 0, 1, span);
    QLabel* l = number();
    grid->addWidget(l, r, span, 1, 2);
    return l;
}

QCheckBox* box(const char* caption)
{
    auto* b = new QCheckBox(u(caption));
    b->setChecked(true);
    return b;
}

}  // namespace

AngleCanvas::AngleCanvas(QWidget* parent) : QWidget(parent)
{
    setFixedSize(400, 395);
}

void AngleCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    if (draw)
        draw(p, size());
}

void Expertdialog::setupUi(QWidget* content)
{
    auto* top = new QHBoxLayout(content);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(4);
    auto* left = new QVBoxLayout;
    top->addLayout(left);

    // The control values and the element boxes in a smaller type: eight columns beside the
    // 400-unit diagram.
    QFont small = content->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    auto* values = new QGroupBox(u("Kontrollwerte"));
    values->setFont(small);
    auto* v = new QGridLayout(values);
    v->setHorizontalSpacing(12);
    v->setContentsMargins(4, 4, 4, 4);
    v->setVerticalSpacing(2);
    // One row per value, one column per cylinder: eight columns would not fit beside the
    // 400-unit diagram.
    const char* heads[] = {
        "Ev-Startwinkel [°KW]", "Einspritzzeit [µs]", "[% Umdr.]", "ZT Ladestartw. [°KW]",
        "Zündw. [°KW]",         "Ladezeit [µs]",      "[%Soll]"};
    for (int i = 0; i < 3; ++i) {
        auto* h = new QLabel(u("Zylinder %1:").arg(i + 1));
        h->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        v->addWidget(h, 0, i + 1);
    }
    std::array<std::array<QLabel*, 3>*, 7> rows{&injectionStart, &injectionTime, &injectionPercent,
                                                &chargeStart,    &chargeAngle,   &chargeUs,
                                                &chargePercent};
    for (int r = 0; r < 7; ++r) {
        v->addWidget(new QLabel(u(heads[r])), r + 1, 0);
        for (int i = 0; i < 3; ++i) {
            (*rows[r])[i] = number();
            v->addWidget((*rows[r])[i], r + 1, i + 1);
        }
    }
    auto* single = new QGridLayout;
    angleLimit = row(single, 0, "Winkelgrenze berechnet:");
    dynamicAngle1 = row(single, 1, "dyn Winkel 1:");
    dynamicAngle2 = row(single, 2, "dyn. Winkel2:");
    timerDiff = row(single, 3, "Beschl.-Korr.timerdiff.:");
    timerDiff->setMinimumWidth(110);
    timerDiffAngle = row(single, 4, "Beschl.-Korr.timerdiff. [°KW]:");
    setRevolutions = row(single, 5, "Umdr. für Set_Berechnung:");
    controlValue = row(single, 6, "Kontrollwert:");
    controlValue->setToolTip(u("irgendein Kontrollwert"));
    single->setColumnStretch(5, 1);
    v->addLayout(single, 8, 0, 1, 4);
    left->addWidget(values);

    auto* middle = new QHBoxLayout;
    auto* cal = new QGroupBox(u("Kalibrierung"));
    auto* k = new QGridLayout(cal);
    k->addWidget(new QLabel(u("Setze 32MHz- µC-Osc. calib. fine tune byte")), 0, 0, 1, 4);
    calibrationUp = new QPushButton(u(" + "));
    calibrationUp->setToolTip(u("Erhöhe calibrationbyte um 1"));
    calibrationDown = new QPushButton(u(" - "));
    calibrationDown->setToolTip(u("Erniedrige calibrationbyte um 1"));
    calibrationByte = number();
    calibrationByte->setAlignment(Qt::AlignCenter);
    k->addWidget(calibrationUp, 1, 0);
    k->addWidget(calibrationByte, 1, 1);
    k->addWidget(calibrationDown, 1, 2);
    k->addWidget(new QLabel(u("Erkannte")), 2, 0);
    meanSpeed = number();
    k->addWidget(meanSpeed, 2, 1);
    k->addWidget(new QLabel(u("Umin")), 2, 2);
    middle->addWidget(cal);
    auto* buttons = new QVBoxLayout;
    resetStampDiff = new QPushButton(u("Reset Zeitstempel-Diff."));
    unused = new QPushButton(u("Button unbelegt"));
    buttons->addWidget(resetStampDiff);
    buttons->addWidget(unused);
    buttons->addStretch(1);
    middle->addLayout(buttons);
    left->addLayout(middle);

    auto* timing = new QGridLayout;
    timing->addWidget(new QLabel(u("100kHz-Zeitstempel:")), 0, 0);
    stamp = new QLabel;
    stamp->setToolTip(u("KVT-interner Zeitstempel"));
    timing->addWidget(stamp, 0, 1, 1, 3);
    timing->addWidget(new QLabel(u("reale COM Frequenz [Hz]:")), 1, 0);
    frequency = number();
    timing->addWidget(frequency, 1, 1);
    timing->addWidget(new QLabel(u("im Ø:")), 1, 2);
    frequencyMean = number();
    timing->addWidget(frequencyMean, 1, 3);
    timing->addWidget(new QLabel(u("Diff. zu CPU [ms]:")), 2, 0);
    cpuDiff = number();
    timing->addWidget(cpuDiff, 2, 1);
    timing->addWidget(new QLabel(u("in %:")), 2, 2);
    drift = number();
    timing->addWidget(drift, 2, 3);
    timing->setColumnStretch(4, 1);
    left->addLayout(timing);
    left->addStretch(1);

    auto* set = new QGroupBox(u("Schaltwinkel SET"));
    auto* s = new QVBoxLayout(set);
    s->setContentsMargins(4, 4, 4, 4);
    s->setSpacing(2);
    canvas = new AngleCanvas;
    s->addWidget(canvas);
    auto* boxArea = new QWidget;
    boxArea->setFont(small);
    auto* boxes = new QGridLayout(boxArea);
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->setVerticalSpacing(0);
    for (int i = 0; i < 3; ++i) {
        showInjection[i] = box(("EV" + QByteArray::number(i + 1)).constData());
        showCharge[i] = box(("Zt" + QByteArray::number(i + 1)).constData());
        boxes->addWidget(showInjection[i], 0, i);
        boxes->addWidget(showCharge[i], 1, i);
    }
    showSensor = box("Sensorpos.");
    showTacho = box("Drehzahlimp.");
    showAccel = box("Beschl.Korr.");
    showWheel = box("Triggerrad");
    showGap = box("Zahnlücke");
    showDynamic1 = box("Dyn.Fakt. 1");
    showDynamic2 = box("Dyn.Fakt. 2");
    boxes->addWidget(showSensor, 0, 3);
    boxes->addWidget(showTacho, 1, 3);
    boxes->addWidget(showAccel, 0, 4);
    boxes->addWidget(showWheel, 1, 4);
    boxes->addWidget(showDynamic1, 0, 5);
    boxes->addWidget(showDynamic2, 1, 5);
    boxes->addWidget(showGap, 2, 0, 1, 2);
    gapWidth = new QLabel(u("Zahnlücke:"));
    toothWidth = new QLabel(u("Zahnbreite:"));
    boxes->addWidget(gapWidth, 2, 2, 1, 2);
    boxes->addWidget(toothWidth, 2, 4, 1, 2);
    s->addWidget(boxArea);
    top->addWidget(set, 0, Qt::AlignTop);
}

QList<QCheckBox*> Expertdialog::elementBoxes() const
{
    return {showInjection[0], showInjection[1], showInjection[2], showCharge[0], showCharge[1],
            showCharge[2],    showSensor,       showTacho,        showAccel,     showWheel,
            showGap,          showDynamic1,     showDynamic2};
}

}  // namespace forms
