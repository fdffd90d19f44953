// The expert window's behaviour on its form.
#include "setup/ExpertWindow.h"

#include <QPainter>

namespace setup {

ExpertWindow::ExpertWindow(forms::Window& window, const SetupRecord& record, Hooks hooks)
    : QObject(&window), m_window(window), m_record(record), m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    m_form.canvas->draw = [this](QPainter& p, QSize size) {
        DiagramElements show;
        for (int i = 0; i < 3; ++i) {
            show.injection[i] = m_form.showInjection[i]->isChecked();
            show.charge[i] = m_form.showCharge[i]->isChecked();
        }
        show.sensor = m_form.showSensor->isChecked();
        show.tacho = m_form.showTacho->isChecked();
        show.accel = m_form.showAccel->isChecked();
        show.wheel = m_form.showWheel->isChecked();
        show.gap = m_form.showGap->isChecked();
        show.dynamic1 = m_form.showDynamic1->isChecked();
        show.dynamic2 = m_form.showDynamic2->isChecked();
        DiagramInput in = m_diagram;
        in.sensorAngle = m_record.sensorAngle;
        in.tachoPulses = m_record.tachoPulses;
        in.triggerTeeth = m_record.triggerTeeth;
        in.triggerGaps = m_record.triggerGaps;
        in.dynamicFactor1 = m_record.dynamicFactor1;
        in.dynamicFactor2 = m_record.dynamicFactor2;
        in.dynamicSpeed1 = m_record.dynamicSpeed1;
        in.dynamicSpeed2 = m_record.dynamicSpeed2;
        drawCrankDiagram(p, size, in, show);
    };
    for (QCheckBox* box : m_form.elementBoxes())
        connect(box, &QCheckBox::toggled, m_form.canvas, qOverload<>(&QWidget::update));
    connect(m_form.calibrationUp, &QPushButton::clicked, this, [this] { stepCalibration(+1); });
    connect(m_form.calibrationDown, &QPushButton::clicked, this, [this] { stepCalibration(-1); });
    connect(m_form.resetStampDiff, &QPushButton::clicked, this, [this] {
        m_hooks.resetClockOffset();
        m_timing.resetDrift();
        showTiming();
    });
}

void ExpertWindow::stepCalibration(int delta)
{
    if (!m_hooks.identified())
        return;
    m_calibration = calibrationStep(m_calibration, delta);
    m_form.calibrationByte->setText(QString::number(m_calibration));
    m_hooks.sendCalibrationByte(quint8(m_calibration));
}

void ExpertWindow::liveRecord(int rpmForMaps, quint32 timeStamp, int teethSeen, int toothPeriod,
                              int gapPeriod)
{
    if (!shown())
        return;
    m_rpm = rpmForMaps;
    m_timing.add(timeStamp, m_hooks.nowMs(), m_hooks.clockOffset());
    const std::optional<WheelWidths> w = measuredWheelWidths(teethSeen, toothPeriod, gapPeriod);
    auto degrees = [&](double v) {
        return w ? QString::fromUtf8("%1 °KW").arg(v, 0, 'f', 1) : QStringLiteral("--");
    };
    m_form.gapWidth->setText(QString::fromUtf8("Zahnlücke: ") + degrees(w ? w->gap : 0));
    m_form.toothWidth->setText(QString::fromUtf8("Zahnbreite: ") + degrees(w ? w->tooth : 0));
    showTiming();
}

void ExpertWindow::showTiming()
{
    m_form.stamp->setText(m_timing.stampText());
    m_form.frequency->setText(m_timing.frequencyText());
    m_form.frequencyMean->setText(m_timing.frequencyMeanText());
    m_form.cpuDiff->setText(m_timing.cpuDiffText());
    m_form.drift->setText(m_timing.driftText());
}

void ExpertWindow::expertValues(const QByteArray& data)
{
    const std::optional<ExpertReply> reply = decodeExpertReply(data);
    if (!reply)
        return;  // a short reply leaves the last values
    const ExpertReply& r = *reply;
    const ExpertDerived d =
        deriveExpertValues(r, m_rpm, m_record.quickStartSpeed, m_record.coilChargeTime);
    auto num = [](int v) { return QString::number(v); };
    for (int i = 0; i < 3; ++i) {
        m_form.injectionStart[i]->setText(num(r.injectionStart[i]));
        m_form.injectionTime[i]->setText(num(r.injectionTime[i]));
        m_form.injectionPercent[i]->setText(num(d.injectionPercent[i]));
        m_form.chargeStart[i]->setText(num(r.chargeStart[i]));
        m_form.chargeAngle[i]->setText(num(r.chargeAngle[i]));
        m_form.chargeUs[i]->setText(num(d.chargeUs[i]));
        m_form.chargePercent[i]->setText(num(d.chargePercent[i]));
    }
    m_form.angleLimit->setText(num(r.angleLimit));
    m_form.dynamicAngle1->setText(num(r.dynamicAngle1));
    m_form.dynamicAngle2->setText(num(r.dynamicAngle2));
    m_form.timerDiff->setText(QStringLiteral("%1 (%2)").arg(r.timerDiffRaw).arg(r.timerDiff));
    m_form.timerDiffAngle->setText(QString::number(d.timerDiffAngle, 'f', 2));
    m_form.setRevolutions->setText(num(r.setRevolutions));
    m_form.controlValue->setText(num(r.controlValue));
    m_calibration = r.calibrationByte;
    m_form.calibrationByte->setText(num(m_calibration));

    m_speeds.add(m_rpm);
    m_form.meanSpeed->setText(QString::number(m_speeds.mean(), 'f', 1));
    m_diagram.reply = r;
    m_diagram.rpm = m_rpm;
    m_form.canvas->update();
}

}  // namespace setup
