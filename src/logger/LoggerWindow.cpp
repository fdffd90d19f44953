#include "logger/LoggerWindow.h"

#include "forms/Window.h"
#include "logger/ChartGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScrollArea>
#include <QStyle>

namespace logger {

LoggerWindow::LoggerWindow(forms::Window& window, LogRecorder& recorder, Hooks hooks)
    : m_window(window), m_recorder(recorder), m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    m_chart = new ChartCanvas(m_form.chartArea);
    m_form.zoom->setText(zoomText(1, true));
    m_form.progress->setMaximum(int(std::min<qint64>(recorder.maxRecords(), INT_MAX)));
    m_form.comment->setMaxLength(1000);

    connect(m_form.startButton, &QPushButton::clicked, this, [this] {
        takeComment();
        m_recorder.start();
    });
    connect(m_form.stopButton, &QPushButton::clicked, this, [this] { m_recorder.stop(); });
    connect(m_form.pathButton, &QPushButton::clicked, this, [this] { m_recorder.choosePath(); });
    connect(m_form.saveButton, &QPushButton::clicked, this, [this] {
        takeComment();
        m_recorder.save();
    });
    connect(m_form.loadButton, &QPushButton::clicked, this, [this] { m_recorder.load(); });
    connect(m_form.zoom, &forms::ZoomSpin::stepped, this,
            [this](int steps) { setZoom(steps > 0 ? zoomIn(m_zoom) : zoomOut(m_zoom)); });
    connect(m_form.position, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_settingPosition && m_zoom > 1)
            moveCursor(value);
    });
    for (QCheckBox* box : m_form.channelBox)
        connect(box, &QCheckBox::toggled, this, [this] { redraw(); });
    // The comment is cut whenever a control of the window loses the keyboard focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (old && m_window.isAncestorOf(old))
            takeComment();
    });

    m_chart->onWheel = [this](bool forward, bool control, bool shift) {
        if (control) {
            setZoom(forward ? zoomIn(m_zoom) : zoomOut(m_zoom));
            return;
        }
        if (auto row = wheelCursor(m_recorder.rowsAvailable(), m_recorder.cursor(), forward, shift))
            moveCursor(*row);
    };
    m_chart->onClick = [this](double x) {
        const qint64 rows = m_recorder.rowsAvailable();
        if (rows > 1)
            moveCursor(clickedRow(rows, m_zoom, m_recorder.cursor(), x, m_chart->width()));
    };
    window.installEventFilter(this);
    // Opened again, the window shows the last state laid out for its present width.
    window.setFiller([this] { redraw(); });
    m_recorder.setView(this);
    showFile(shortenedPath(recorder.logPath()), recorder.logFileName());
    layoutChart();
}

LoggerWindow::~LoggerWindow()
{
    m_recorder.setView(nullptr);
}

void LoggerWindow::takeComment()
{
    const QString cut = cutComment(m_form.comment->text());
    if (cut != m_form.comment->text())
        m_form.comment->setText(cut);
    m_recorder.setComment(cut);
}

void LoggerWindow::setZoom(int zoom)
{
    m_zoom = std::clamp(zoom, 1, maximumZoom);
    m_form.zoom->setText(zoomText(m_zoom));
    refreshChart();
}

void LoggerWindow::moveCursor(qint64 row)
{
    m_recorder.setCursor(row);
    refreshChart();
}

void LoggerWindow::drawLamp()
{
    const bool identified = m_hooks.identified && m_hooks.identified();
    QColor color;
    if (m_recorder.recording())
        color = identified ? QColor(0, 255, 0) : QColor(255, 204, 0);
    else
        color = identified ? QColor(255, 0, 0) : QColor(127, 127, 127);
    m_form.lamp->setColor(color);
}

void LoggerWindow::layoutChart()
{
    const int windowWidth = std::max(m_window.width(), minimumWindowWidth);
    int chartWidth = windowWidth - chartMargin;
    // While the strips are taller than the window, its content scrolls: the vertical scroll
    // bar takes its width from the chart, so that nothing needs scrolling sideways.
    QWidget* content = m_window.content();
    if (content->minimumHeight() > m_window.height())
        chartWidth -= m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The chart sits this far into the chart area (the window's margins take the rest of the
    // 165 pixels).
    const int chartLeft = chartMargin - 20;
    int top = 0;
    std::array<int, 14> heights{};
    for (int c = 0; c < 14; ++c) {
        const ChannelInfo& info = channelInfo[std::size_t(c)];
        const int h =
            m_form.channelBox[std::size_t(c)]->isChecked() ? info.expanded : info.collapsed;
        heights[std::size_t(c)] = h;
        // Each row stays left of the chart: box on top, "Wert:" and the value below it.
        QCheckBox* box = m_form.channelBox[std::size_t(c)];
        QLabel* caption = m_form.valueCaption[std::size_t(c)];
        QLabel* value = m_form.value[std::size_t(c)];
        const int room = chartLeft - 2;
        box->setGeometry(2, top, std::min(box->sizeHint().width(), room - 2),
                         box->sizeHint().height());
        const bool labels = h > labelMinHeight;
        caption->setVisible(labels);
        value->setVisible(labels);
        const int below = top + box->height();
        caption->setGeometry(20, below, caption->sizeHint().width(), caption->sizeHint().height());
        const int valueX = caption->geometry().right() + 4;
        value->setMinimumWidth(0);
        value->setGeometry(valueX, below, room - valueX, caption->height());
        top += h + stripGap;
    }
    m_form.chartArea->setFixedHeight(top);
    m_chart->setGeometry(chartLeft, 0, chartWidth, top);
    m_form.chartArea->setMinimumWidth(chartLeft + chartWidth);
    ChartCanvas::View view = m_chart->view();
    view.heights = heights;
    m_chart->setView(view);
    // The window's height follows the strips, down to its design height; hidden windows too,
    // so that it opens at the height its strips need instead of scrolling them.
    const int wanted = content->layout() ? content->layout()->sizeHint().height() : top;
    content->setMinimumHeight(wanted);
    const int height = std::max(m_window.info().height, wanted);
    if (m_window.height() != height)
        m_window.resize(m_window.width(), height);
}

void LoggerWindow::refreshChart()
{
    ChartCanvas::View view = m_chart->view();
    view.table = &m_recorder.table();
    view.pyramid = &m_recorder.pyramid();
    const qint64 rows = m_recorder.rowsAvailable();
    view.rows = rows;
    view.zoom = m_zoom;
    view.deadTimeUs = m_hooks.injectorDeadTimeUs ? m_hooks.injectorDeadTimeUs() : 0;
    view.quickStartSpeed = m_hooks.quickStartSpeed ? m_hooks.quickStartSpeed() : 10;
    qint64 cursor = std::clamp<qint64>(m_recorder.cursor(), 1, std::max<qint64>(rows, 1));
    m_recorder.setCursor(cursor);
    view.cursor = cursor;
    m_chart->setView(view);
    const ViewSpan span = visibleSpan(std::max<qint64>(rows, 1), m_zoom, cursor);
    m_form.visibleRows->setText(QString::number(span.span + 1));
    // With one row or none the labels and the position bar keep what they showed.
    if (rows <= 1)
        return;
    const LogTable& t = m_recorder.table();
    const double ms = t.time(cursor);
    m_form.cursorRow->setText(QString::number(cursor));
    m_form.cursorMs->setText(QString::number(ms, 'f', 0));
    m_form.cursorTime->setText(cursorTimeText(ms));
    for (int c = 1; c <= 14; ++c)
        m_form.value[std::size_t(c - 1)]->setText(
            valueText(c, t.channel(c)[cursor], t.channel(1)[cursor], view.deadTimeUs));
    const PositionBar bar = positionBar(rows, m_zoom, cursor);
    m_settingPosition = true;
    // The bar's values run from 1 to maximum - page length + 1 (the rows), as the program
    // counts them.
    const qint64 top = std::max<qint64>(bar.maximum - bar.pageLength + 1, 1);
    m_form.position->setRange(1, int(std::min<qint64>(top, INT_MAX)));
    m_form.position->setPageStep(int(std::clamp<qint64>(bar.pageLength, 1, INT_MAX)));
    m_form.position->setValue(int(std::min<qint64>(bar.position, INT_MAX)));
    m_settingPosition = false;
}

void LoggerWindow::showFile(const QString& shownPath, const QString& name)
{
    m_form.logPath->setText(shownPath);
    m_form.fileName->setText(name);
}

void LoggerWindow::showLogInfo(const QString& date, const QString& time, const QString& hw,
                               const QString& sw)
{
    m_form.logDate->setText(date);
    m_form.logTime->setText(time);
    m_form.logHw->setText(hw);
    m_form.logSw->setText(sw);
}

void LoggerWindow::showComment(const QString& comment)
{
    m_form.comment->setText(comment);
}

void LoggerWindow::showDataPoint(const QString& text)
{
    m_form.dataPoint->setText(text);
    // While a file is read the user sees the count move.
    m_form.dataPoint->repaint();
}

void LoggerWindow::showProgress(qint64 maximum, qint64 value)
{
    m_form.progress->setMaximum(int(std::clamp<qint64>(maximum, 1, INT_MAX)));
    m_form.progress->setValue(int(std::clamp<qint64>(value, 0, maximum)));
}

void LoggerWindow::redraw()
{
    layoutChart();
    refreshChart();
}

void LoggerWindow::rowRecorded()
{
    if (m_window.isVisible())
        refreshChart();
}

void LoggerWindow::capacityChanged(qint64 capacity)
{
    if (m_hooks.capacityChanged)
        m_hooks.capacityChanged(capacity);
}

bool LoggerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::Resize)
        layoutChart();
    return QObject::eventFilter(watched, event);
}

}  // namespace logger
