// The big display window and the emergency notice.
#include "display/BigDisplayWindow.h"

#include "display/BigDisplayRules.h"
#include "forms/Window.h"

#include <QEvent>
#include <QResizeEvent>

namespace display {

BigDisplayWindow::BigDisplayWindow(forms::Window& window, const app::ProgramSettings& settings,
                                   const setup::SetupRecord& setup, Hooks hooks, QObject* parent)
    : QObject(parent), m_window(window), m_settings(settings), m_setup(setup),
      m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    window.setMinimumSize(160, 120);
    m_form.canvas->setPainter([this](QPainter& p) { paint(p, m_form.canvas->size()); });
    m_form.canvas->setClicked([this](QMouseEvent& e) {
        const double s = m_form.canvas->height() / 480.0;
        clickAt(e.position() / s);
    });
    window.installEventFilter(this);
}

BigDisplayWindow::~BigDisplayWindow() = default;

bool BigDisplayWindow::shown() const
{
    return m_window.isVisible();
}

void BigDisplayWindow::paint(QPainter& p, QSize pixels) const
{
    const QTransform surface = surfaceTransform(pixels);
    // The static picture is drawn as vectors at the current size once and then copied, so a
    // tick only draws the values.
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const QSize physical = pixels * dpr;
    if (m_background.size() != physical) {
        m_background = QImage(physical, QImage::Format_ARGB32_Premultiplied);
        m_background.setDevicePixelRatio(dpr);
        QPainter bg(&m_background);
        bg.setRenderHint(QPainter::Antialiasing);
        bg.setRenderHint(QPainter::TextAntialiasing);
        bg.setTransform(surface);
        paintBigDisplayBackground(bg, m_window.palette().color(QPalette::Window), m_settings,
                                  m_setup);
    }
    // An opaque copy: no blending needed.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPointF(0, 0), m_background);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setTransform(surface, true);
    paintBigDisplayValues(p, m_state, m_settings, m_setup);
    p.restore();
}

void BigDisplayWindow::tick()
{
    if (!shown())
        return;
    if (m_hooks.liveRecord)
        m_state.record = m_hooks.liveRecord();
    // The maximum follows the shown (rounded) speed.
    m_state.maximum =
        std::max(m_state.maximum, shownSpeed(m_state.record.rpm, m_settings.rpmRounding));
    if (m_hooks.sensorErrors)
        m_state.sensorErrors = m_hooks.sensorErrors();
    if (m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < kRepaintMs)
        return;
    m_sinceRepaint.start();
    // Painted within the tick: a queued paint event would count as an event of its own and
    // hold off the next poll by a whole COM-Timer period.
    m_form.canvas->repaint();
}

void BigDisplayWindow::redrawBackground()
{
    m_background = QImage();
    m_form.canvas->update();
}

void BigDisplayWindow::clickAt(QPointF p)
{
    if (hitsSensorErrorReset(p)) {
        if (m_hooks.resetSensorErrors)
            m_hooks.resetSensorErrors();
        m_state.sensorErrors = 0;
    } else if (hitsMaximumReset(p)) {
        m_state.maximum = 0;
    } else {
        return;
    }
    m_form.canvas->update();
}

bool BigDisplayWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::Resize && !m_fitting) {
        const QSize wanted = fitFourToThree(static_cast<QResizeEvent*>(event)->size());
        if (wanted != m_window.size()) {
            m_fitting = true;
            m_window.resize(wanted);
            m_fitting = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

EmergencyNotice::EmergencyNotice(QObject* parent)
    : QObject(parent), m_window(std::make_unique<QWidget>(nullptr, Qt::Window))
{
    m_form.setupUi(m_window.get());
    connect(m_form.closeButton, &QPushButton::clicked, m_window.get(), &QWidget::hide);
}

EmergencyNotice::~EmergencyNotice() = default;

void EmergencyNotice::tick(bool identified, int emergencyByte)
{
    const NoticeStep step = emergencyNoticeStep(identified, emergencyByte, m_window->isVisible());
    m_form.closeButton->setVisible(step.closeButtonVisible);
    if (step.shown && !m_window->isVisible())
        m_window->show();
    else if (!step.shown && m_window->isVisible())
        m_window->hide();
}

}  // namespace display
