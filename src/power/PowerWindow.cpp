// The power window's filling, take-over, run control, files, cursor and printing.
#include "power/PowerWindow.h"

#include "app/core/MenuEvents.h"

#include "forms/FieldBinding.h"
#include "forms/Window.h"
#include "power/PowerChartCanvas.h"

#include <QDir>
#include <utility>

namespace power {

PowerWindow::PowerWindow(forms::Window& window, app::Dialogs& dialogs, app::MessageLog& log,
                         Hooks hooks, QObject* parent)
    : QObject(parent), m_window(window), m_dialogs(dialogs), m_log(log), m_hooks(std::move(hooks)),
      m_files(dialogs, log)
{
    m_canvas = new PowerChartCanvas;
    m_form.setupUi(window.content(), m_canvas);
    auto& f = m_form;
    if (m_hooks.clock)
        m_files.setClock(m_hooks.clock);

    // Return and Enter, or a field losing the focus, take all fields over at once.
    m_fields = new forms::FieldBinding(
        window, {app::FieldMenuEvent::TakeOver, app::FieldMenuEvent::TakeOverKeypad}, this);
    for (int i = 0; i < parameterCount; ++i)
        m_fields->bind(
            f.parameters[i], [this, i](const QString& text) { m_typed[i] = text; },
            [this, i] { return parameterTexts(m_document.parameters)[i]; });
    m_fields->setAfterRead([this] { m_document.parameters = parametersFromTexts(m_typed); });
    m_fields->setAfterShow([this] { recompute(); });
    window.setFiller([this] { redrawPowerChart(); });
    connect(&window, &forms::Window::menuEvent, this, [this](int event) {
        if (app::FieldMenuEvent(event) == app::FieldMenuEvent::StartPowerRun)
            start();
        else if (app::FieldMenuEvent(event) == app::FieldMenuEvent::StopPowerRun)
            stop();
    });

    // The description is cleaned with the parameters: Return in it ends its edit as well (the
    // window's Return shortcut keeps the key from the field, which then never finished).
    m_fields->bind(
        f.description,
        [this](const QString& text) { m_document.info.description = cleanDescription(text); },
        [this] { return m_document.info.description; });
    connect(f.load, &QPushButton::clicked, this, &PowerWindow::load);
    connect(f.save, &QPushButton::clicked, this, &PowerWindow::save);
    connect(f.print, &QPushButton::clicked, this, &PowerWindow::print);
    connect(f.start, &QPushButton::clicked, this, &PowerWindow::start);
    connect(f.stop, &QPushButton::clicked, this, &PowerWindow::stop);
    connect(f.comparisons[0].load, &QPushButton::clicked, this, [this] { loadComparison(2); });
    connect(f.comparisons[1].load, &QPushButton::clicked, this, [this] { loadComparison(3); });
    connect(f.ewg, &QCheckBox::clicked, this, [this] { correctionClicked(m_form.ewg); });
    connect(f.din, &QCheckBox::clicked, this, [this] { correctionClicked(m_form.din); });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             f.slotShown[0], f.slotShown[1], f.slotShown[2], f.showPower, f.showTorque, f.rawValues,
             f.addDrag, f.roller, f.linear, f.speedMode, f.measureMode})
        connect(b, &QAbstractButton::clicked, this, &PowerWindow::recompute);
    connect(m_canvas, &PowerChartCanvas::wheelTurned, this, &PowerWindow::wheel);
    connect(m_canvas, &PowerChartCanvas::clicked, this, &PowerWindow::click);

    // Built hidden with the defaults: the current curve, the roller, the measurement display.
    f.slotShown[0]->setChecked(true);
    f.showPower->setChecked(true);
    f.showTorque->setChecked(true);
    f.roller->setChecked(true);
    f.measureMode->setChecked(true);
    f.progress->setRange(0, maxRecordingMs);
    f.progress->setValue(0);
    m_document.info.description = QString();
    showParameters();
    showMeasurementTexts();
    for (int slot = 2; slot <= 3; ++slot)
        showComparison(slot);
    clearRemaining();
    m_evaluation = compute(m_capture.samples(), m_document.parameters, optionsFromForm());
    m_curves[0] = m_evaluation.curve;
    redrawPowerChart();
}

PowerWindow::~PowerWindow() = default;

QDateTime PowerWindow::now() const
{
    return m_hooks.clock ? m_hooks.clock() : QDateTime::currentDateTime();
}

void PowerWindow::open()
{
    m_window.open();
}

PowerOptions PowerWindow::optionsFromForm() const
{
    PowerOptions o;
    o.system = m_form.linear->isChecked() ? MeasurementSystem::Linear : MeasurementSystem::Roller;
    o.ewg = m_form.ewg->isChecked();
    o.din = m_form.din->isChecked();
    o.addDrag = m_form.addDrag->isChecked();
    return o;
}

void PowerWindow::showOptions(const PowerOptions& o)
{
    (o.system == MeasurementSystem::Linear ? m_form.linear : m_form.roller)->setChecked(true);
    m_form.ewg->setChecked(o.ewg && !o.din);
    m_form.din->setChecked(o.din);
    m_form.addDrag->setChecked(o.addDrag);
}

void PowerWindow::showParameters()
{
    const ParameterTexts texts = parameterTexts(m_document.parameters);
    for (int i = 0; i < parameterCount; ++i)
        m_form.parameters[i]->setText(texts[i]);
}

void PowerWindow::showMeasurementTexts()
{
    m_form.folder->setText(PowerFiles::shortFolder(QDir::toNativeSeparators(m_files.directory())));
    m_form.fileName->setText(m_files.fileName());
    m_form.description->setText(m_document.info.description);
    m_form.date->setText(m_document.info.date);
    m_form.time->setText(m_document.info.time);
    m_form.hardware->setText(m_document.info.hardware);
    m_form.software->setText(m_document.info.software);
}

void PowerWindow::showComparison(int slot)
{
    const ComparisonLabels& l = m_comparisons[slot - 2];
    forms::Leistungsvergleich::Comparison& c = m_form.comparisons[slot - 2];
    c.fileName->setText(l.fileName);
    c.date->setText(l.date);
    c.time->setText(l.time);
    c.correction->setText(l.correction);
    c.system->setText(l.system);
    c.description->setText(l.description);
    c.drag->setText(l.drag);
}

void PowerWindow::clearRemaining()
{
    m_form.remaining->clear();
    m_form.remaining->setPalette(m_form.remaining->parentWidget()->palette());
}

void PowerWindow::takeOver()
{
    m_fields->takeOver();
}

void PowerWindow::correctionClicked(QCheckBox* clicked)
{
    // The two corrections exclude each other.
    if (clicked == m_form.ewg && clicked->isChecked())
        m_form.din->setChecked(false);
    if (clicked == m_form.din && clicked->isChecked())
        m_form.ewg->setChecked(false);
    recompute();
}

void PowerWindow::recompute()
{
    m_document.options = optionsFromForm();
    m_evaluation = compute(m_capture.samples(), m_document.parameters, m_document.options);
    m_curves[0] = m_evaluation.curve;
    redrawPowerChart();
}

ChartInput PowerWindow::chartInput() const
{
    ChartInput in;
    in.curves = &m_curves;
    in.samples = &m_evaluation.samples;
    for (int i = 0; i < slotCount; ++i)
        in.shown[i] = m_form.slotShown[i]->isChecked();
    in.showPower = m_form.showPower->isChecked();
    in.showTorque = m_form.showTorque->isChecked();
    in.rawValues = m_form.rawValues->isChecked();
    in.minSpeed = m_hooks.minSpeed ? m_hooks.minSpeed() : 500;
    in.cursor = m_cursor;
    return in;
}

void PowerWindow::redrawPowerChart()
{
    const ChartInput in = chartInput();
    m_scale = chartScale(m_curves, m_evaluation.samples, in.minSpeed, in.rawValues);
    m_cursor = clampCursor(m_cursor, m_scale);
    m_form.cursorSpeed->setText(QString::number(m_cursor) + QStringLiteral(" Umin"));
    for (int slot = 0; slot < slotCount; ++slot) {
        const Readout r = readoutAt(m_curves[slot], m_cursor, in.minSpeed);
        m_form.readoutPower[slot]->setText(QString::number(double(r.power), 'f', 1));
        m_form.readoutTorque[slot]->setText(QString::number(double(r.torque), 'f', 1));
    }
    const auto mode = m_form.speedMode->isChecked() ? PowerChartCanvas::Mode::Speed
                                                    : PowerChartCanvas::Mode::Measurement;
    m_canvas->setChart(in, mode, m_hooks.limiterSpeed ? m_hooks.limiterSpeed() : 0);
}

void PowerWindow::setCursor(int rpm)
{
    m_cursor = rpm;
    redrawPowerChart();
}

void PowerWindow::wheel(int direction, bool shift, bool control)
{
    setCursor(m_cursor + (direction > 0 ? 1 : -1) * wheelStep(shift, control));
}

void PowerWindow::click(double x)
{
    setCursor(cursorFromClick(x, m_canvas->plotArea().width(), m_scale.xMax));
}

void PowerWindow::start()
{
    m_form.progress->setRange(0, maxRecordingMs);
    m_form.progress->setValue(0);
    m_capture.start(m_hooks.nowMs ? m_hooks.nowMs() : 0);
    recompute();
}

void PowerWindow::stop()
{
    m_capture.stop();
    m_form.progress->setValue(0);
    clearRemaining();
    recompute();
}

void PowerWindow::liveSample(int rpmForMaps, quint32 timeStamp)
{
    m_capture.sampleHook(rpmForMaps, timeStamp, m_hooks.dataInterval ? m_hooks.dataInterval() : 3);
}

void PowerWindow::timerTick()
{
    if (!m_capture.measuring())
        return;
    const TimerStep step = m_capture.timerHook(m_hooks.nowMs ? m_hooks.nowMs() : 0);
    m_form.progress->setValue(step.progress);
    if (step.ended) {
        clearRemaining();
        return;
    }
    QPalette palette = m_form.remaining->palette();
    palette.setColor(QPalette::Window, chartBackground());
    palette.setColor(QPalette::WindowText, Qt::black);
    m_form.remaining->setPalette(palette);
    m_form.remaining->setText(QString::number(step.remainingSeconds.value_or(0)));
    if (step.recompute)
        recompute();
}

void PowerWindow::save()
{
    m_document.samples = m_capture.samples();
    m_document.curve = m_curves[0];
    m_document.options = optionsFromForm();
    const QString hw = m_hooks.hardware ? m_hooks.hardware() : QString();
    const QString sw = m_hooks.software ? m_hooks.software() : QString();
    if (m_files.save(m_document, hw, sw) == PowerFiles::Outcome::Done) {
        showMeasurementTexts();
        showParameters();
    }
}

void PowerWindow::load()
{
    if (m_files.loadMeasurement(m_document) != PowerFiles::Outcome::Done)
        return;
    m_capture.replaceSamples(m_document.samples);
    showMeasurementTexts();
    showParameters();
    showOptions(m_document.options);
    m_form.measureMode->setChecked(true);
    recompute();
}

void PowerWindow::loadComparison(int slot)
{
    if (slot < 2 || slot > 3)
        return;
    const PowerFiles::Outcome outcome =
        m_files.loadComparison(slot, m_curves[slot - 1], m_comparisons[slot - 2]);
    if (outcome == PowerFiles::Outcome::Cancelled || outcome == PowerFiles::Outcome::Refused)
        return;
    showComparison(slot);
    redrawPowerChart();
}

PrintContent PowerWindow::printContent() const
{
    PrintContent c;
    c.parameters = m_document.parameters;
    c.options = optionsFromForm();
    c.info = m_document.info;
    c.fileName = m_files.fileName();
    c.comparisons = m_comparisons;
    c.chart = chartInput();
    c.printText = m_hooks.printText ? m_hooks.printText() : QString();
    c.printedAt = now();
    c.system = m_hooks.systemInfo ? m_hooks.systemInfo() : app::currentSystemInfo();
    return c;
}

void PowerWindow::print()
{
    const PrintContent content = printContent();
    const bool printed =
        m_dialogs.print(QString::fromLatin1(printJobName),
                        [&](QPagedPaintDevice& device) { printPowerPage(device, content); });
    m_log.logMessage(printed ? QStringLiteral("Leistungsvergleich gedruckt")
                             : QStringLiteral("Drucken abgebrochen"));
}

}  // namespace power
