// The lambda logger window.
#include "lambda/LambdaWindow.h"

#include "app/core/ProgramInfo.h"
#include "app/core/SystemInfo.h"
#include "forms/Window.h"

#include <QDateTime>
#include <QGuiApplication>

namespace lambda {

namespace {

// Buttons of this window act only on a click without Shift, Ctrl or Alt held.
bool plainClick()
{
    return QGuiApplication::keyboardModifiers() == Qt::NoModifier;
}

}  // namespace

LambdaWindow::LambdaWindow(forms::Window& window, LambdaLogger& logger,
                           const app::ProgramSettings& settings, app::MessageLog& log, Hooks hooks,
                           QObject* parent)
    : QObject(parent), m_window(window), m_logger(logger), m_settings(settings), m_log(log),
      m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    m_form.comment->setText(m_logger.document().comment);
    m_form.grid->setPainter([this](QPainter& p) { paintGrid(p, m_logger.table(), gridView()); });
    m_form.legend->setPainter([this](QPainter& p) {
        // One square per class, the leanest at the bottom.
        const LambdaClass order[] = {LambdaClass::VeryRich, LambdaClass::Rich, LambdaClass::Right,
                                     LambdaClass::Lean, LambdaClass::VeryLean};
        for (int n = 0; n < 5; ++n) {
            const app::Rgb c = classColor(order[n]);
            p.fillRect(QRectF(1, 2 + 14 * n, 10, 10), QColor(c.r, c.g, c.b));
        }
    });
    connectButtons();
    drawAxes();
}

LambdaWindow::~LambdaWindow() = default;

Thresholds LambdaWindow::thresholds() const
{
    return {m_settings.lambdaVeryRich, m_settings.lambdaRich, m_settings.lambdaLean,
            m_settings.lambdaVeryLean};
}

GridView LambdaWindow::gridView() const
{
    GridView v;
    for (int k = 0; k < 3; ++k)
        v.probes[k] = m_form.probes[k]->isChecked();
    v.showValues = m_form.showValues->isChecked();
    v.thresholds = thresholds();
    v.pointSpeed = m_point.first;
    v.pointThrottle = m_point.second;
    v.redFrame = m_hooks.injectionMapEdited && m_hooks.injectionMapEdited();
    v.background = m_window.palette().color(QPalette::Window);
    return v;
}

bool LambdaWindow::shown() const
{
    return m_window.isVisible();
}

void LambdaWindow::connectButtons()
{
    const auto plain = [this](QPushButton* button, std::function<void()> action) {
        connect(button, &QPushButton::clicked, this, [action] {
            if (plainClick())
                action();
        });
    };
    const auto kvt = [this, plain](QPushButton* button, std::function<void()> action) {
        plain(button, [this, action] {
            if (m_hooks.identified && m_hooks.identified())
                action();
        });
    };
    plain(m_form.loadButton, [this] {
        if (m_logger.load())
            showDocument();
    });
    plain(m_form.saveButton, [this] {
        m_form.comment->setText(m_logger.editComment(m_form.comment->text()));
        m_logger.save();
        m_form.path->setText(shortenedPath(m_logger.directory()));
        m_form.fileName->setText(m_logger.fileName());
    });
    plain(m_form.printButton, [this] { print(); });
    const auto read = [this](bool eeprom) {
        if (m_logger.readFromKvt(eeprom))
            m_form.grid->update();
    };
    kvt(m_form.readRam, [read] { read(false); });
    kvt(m_form.readEeprom, [read] { read(true); });
    kvt(m_form.clearRam, [this] { m_logger.clearInKvt(false); });
    kvt(m_form.clearEeprom, [this] { m_logger.clearInKvt(true); });
    connect(m_form.clearValues, &QPushButton::clicked, this, [this] {
        m_logger.clearTable();
        m_form.grid->update();
    });
    connect(m_form.recordLive, &QCheckBox::toggled, this,
            [this](bool on) { m_logger.setRecording(on); });
    connect(m_form.kvtLogs, &QCheckBox::clicked, this, [this](bool on) {
        if (m_hooks.setLambdaLogging)
            m_hooks.setLambdaLogging(on);
    });
    m_logger.setLoggingFlagHook([this](bool on) {
        m_form.kvtLogs->setChecked(on);
        if (m_hooks.setLambdaLogging)
            m_hooks.setLambdaLogging(on);
    });
    connect(m_form.comment, &QLineEdit::editingFinished, this,
            [this] { m_form.comment->setText(m_logger.editComment(m_form.comment->text())); });
    for (QRadioButton* r : {m_form.showValues, m_form.showJudgement})
        connect(r, &QRadioButton::toggled, m_form.grid, qOverload<>(&QWidget::update));
    for (QCheckBox* c : m_form.probes)
        connect(c, &QCheckBox::toggled, m_form.grid, qOverload<>(&QWidget::update));
}

void LambdaWindow::drawAxes()
{
    const double values[] = {m_settings.lambdaVeryRich, m_settings.lambdaRich,
                             m_settings.lambdaLean, m_settings.lambdaVeryLean};
    for (int n = 0; n < 4; ++n)
        m_form.thresholdValues[n]->setText(QString::number(values[n] / 1000.0, 'f', 2));
    if (m_hooks.lambdaLogging)
        m_form.kvtLogs->setChecked(m_hooks.lambdaLogging());
    m_form.legend->update();
    m_form.grid->update();
}

void LambdaWindow::tick()
{
    if (!shown())
        return;
    if (m_hooks.liveRecord) {
        const devlink::LiveRecord r = m_hooks.liveRecord();
        m_point = operatingPoint(r.rpmForMaps, r.throttle);
    }
    if (m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < kRepaintMs)
        return;
    m_sinceRepaint.start();
    // Painted within the tick, not as a queued event that would hold off the next poll.
    m_form.grid->repaint();
}

void LambdaWindow::showDocument()
{
    const KllDocument& doc = m_logger.document();
    m_form.comment->setText(doc.comment);
    m_form.path->setText(shortenedPath(m_logger.directory()));
    m_form.fileName->setText(m_logger.fileName());
    m_form.logDate->setText(doc.date);
    m_form.logTime->setText(doc.time);
    m_form.logHw->setText(doc.hardware);
    m_form.logSw->setText(doc.software);
    m_form.grid->update();
}

void LambdaWindow::print()
{
    const KllDocument& doc = m_logger.document();
    PrintHeader header;
    header.fileName = m_logger.fileName();
    header.date = doc.date;
    header.time = doc.time;
    header.hardware = doc.hardware;
    header.software = doc.software;
    header.comment = doc.comment;
    header.printedAt =
        QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy, 'um' hh:mm:ss"));
    header.description = app::programName + QStringLiteral(" ") + app::versionText +
                         QStringLiteral(" - Zünd- & Einspritzsteuerung");
    header.systemLine = app::footerText(app::currentSystemInfo());
    bool printed = false;
    const bool chosen =
        m_hooks.print &&
        m_hooks.print(QStringLiteral("KVT - Lambdalog"), [&](QPagedPaintDevice& device) {
            printed = printPage(device, m_logger.table(), thresholds(), header);
        });
    if (!chosen) {
        m_log.logMessage(
            QStringLiteral("Lambdalog drucken fehlgeschlagen oder kein Drucker gewählt "));
        return;
    }
    if (!printed) {
        m_log.logMessage(QStringLiteral("Lambdalog drucken abgebrochen oder Fehler "));
        return;
    }
    m_log.logMessage(QStringLiteral("Lambdalog gedruckt"));
}

}  // namespace lambda
