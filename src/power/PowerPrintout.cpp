// Drawing the power comparison's printed page.
#include "power/PowerPrintout.h"

#include "app/core/AtomicFile.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace power {
namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("Ja") : QStringLiteral("Nein");
}

QString fixed(float v, int decimals)
{
    return QString::number(double(v), 'f', decimals);
}

class Page {
public:
    explicit Page(QPainter& p) : m_p(p) {}

    void font(int size, bool bold = false)
    {
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(size);
        f.setBold(bold);
        m_p.setFont(f);
    }
    void text(double x, double y, const QString& s) { m_p.drawText(QPointF(x, y), s); }
    // Lines of a block, one below the other; with a width, long lines end in an ellipsis.
    double lines(double x, double y, const QStringList& list, double step = 8.5, double width = 0)
    {
        for (const QString& s : list) {
            text(x, y, width > 0 ? m_p.fontMetrics().elidedText(s, Qt::ElideRight, int(width)) : s);
            y += step;
        }
        return y;
    }

private:
    QPainter& m_p;
};

QString systemName(const PowerOptions& o)
{
    return o.system == MeasurementSystem::Roller ? QStringLiteral("rotatorisch")
                                                 : QStringLiteral("linear");
}

QString correctionName(const PowerOptions& o)
{
    return o.din   ? QStringLiteral("DIN 70200")
           : o.ewg ? QStringLiteral("EWG 80/1269")
                   : QStringLiteral("keine Korr.");
}

}  // namespace

void drawPowerPage(QPainter& painter, const QSizeF& size, const PrintContent& c)
{
    Page page(painter);
    painter.save();
    painter.setPen(Qt::black);

    // Title, print date and the user's own text.
    page.font(16, true);
    page.text(40, 36, QString::fromLatin1(printJobName));
    page.font(7);
    page.text(40, 50,
              QStringLiteral("gedruckt am ") + c.printedAt.toString(QStringLiteral("dd.MM.yyyy")) +
                  QStringLiteral(", um ") + c.printedAt.toString(QStringLiteral("hh:mm:ss")));
    page.text(40, 60, QStringLiteral("--- ") + c.printText + QStringLiteral(" ---"));

    // Parameters in two columns.
    const PowerParameters& p = c.parameters;
    page.lines(40, 80,
               {u("Temperatur:"), u("Luftdruck:"), u("Luftfeuchte:"), u("Gewicht Fahrzeug:"),
                u("Übersetz. KW/Rad:")});
    page.lines(130, 80,
               {QString::number(p.temperature) + u(" °C"), QString::number(p.pressure) + u(" hPa"),
                QString::number(p.humidity) + u(" % rel."), QString::number(p.mass) + u(" kg"),
                fixed(p.ratio, 2)});
    page.lines(200, 80,
               {u("Radumfang Fahrzeug:"), u("cw-Wert:"), u("Rollenumfang:"),
                u("Windwiderstandsfläche:"), u("Trägh.-Mom. Schwungmasse:")});
    page.lines(310, 80,
               {QString::number(p.wheelCircumference) + u(" cm"), fixed(p.cw, 2),
                QString::number(p.rollerCircumference) + u(" cm"),
                fixed(p.frontalArea, 2) + u(" m^2"), fixed(p.inertia, 1) + u(" kgm^2")});

    // Display settings with line samples.
    page.lines(390, 80, {u("Leistung:"), u("Drehmoment:"), u("Rohwerte (akt.Mess):")});
    page.lines(478, 80,
               {yesNo(c.chart.showPower), yesNo(c.chart.showTorque), yesNo(c.chart.rawValues)});
    painter.setPen(QPen(Qt::black, 0.8));
    painter.drawLine(QPointF(500, 77.5), QPointF(525, 77.5));
    painter.setPen(QPen(Qt::black, 0.8, Qt::DashLine));
    painter.drawLine(QPointF(500, 85.5), QPointF(525, 85.5));
    painter.setPen(Qt::black);

    // One block per shown curve.
    const QStringList titles = {u("akt. Messung:"), u("Kurve 2:"), u("Kurve 3:")};
    for (int slot = 0; slot < slotCount; ++slot) {
        if (!c.chart.shown[slot])
            continue;
        const double x = 40 + slot * 115;
        painter.fillRect(QRectF(x, 124, 7, 7), slotColor(slot + 1));
        page.font(7, true);
        page.text(x + 10, 131, titles[slot]);
        page.font(7);
        QStringList block;
        if (slot == 0) {
            block = {u("am: ") + c.info.date,
                     u("um: ") + c.info.time,
                     systemName(c.options),
                     correctionName(c.options),
                     c.options.addDrag ? u("Add. Schlepp.") : u("ignor. Schlepp."),
                     u("Datei:") + c.fileName,
                     u("Beschreibung:") + c.info.description};
        } else {
            const ComparisonLabels& l = c.comparisons[slot - 1];
            block = {u("am: ") + l.date,
                     u("um: ") + l.time,
                     l.system,
                     l.correction,
                     l.drag,
                     u("Datei:") + l.fileName,
                     u("Beschreibung:") + l.description};
        }
        page.lines(x, 141, block, 8, 110);
    }

    // The chart, and the read-outs at the cursor.
    const QRectF plot = pagePlotArea(size.width(), size.height());
    ChartInput chart = c.chart;
    chart.lineWidth = 0.8;
    const ChartResult drawn = drawPowerChart(painter, plot, chart);
    page.font(7);
    if (drawn.cursor > 0) {
        QStringList readouts = {u("Drehzahl: ") + QString::number(drawn.cursor) + u("Umin")};
        for (int slot = 0; slot < slotCount; ++slot)
            readouts << titles[slot] + u(" ") + fixed(drawn.readouts[slot].power, 1) + u("kW ") +
                            fixed(drawn.readouts[slot].torque, 1) + u("Nm");
        page.lines(390, 131, readouts, 8);
    }

    // The footer, centred.
    page.font(7);
    painter.drawText(QRectF(0, size.height() - 60, size.width(), 12), Qt::AlignCenter,
                     app::footerText(c.system));
    painter.restore();
}

bool printPowerPage(QPagedPaintDevice& device, const PrintContent& content)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Page units are points, whatever the device's resolution.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, device.logicalDpiY() / 72.0);
    const QSizeF page(device.width() / scale, device.height() * 72.0 / device.logicalDpiY());
    drawPowerPage(painter, page, content);
    return painter.end();
}

bool printPowerPdf(const QString& path, const PrintContent& content)
{
    // Drawn into memory and saved whole, so that a failed or killed printout never leaves half
    // a PDF in place of an earlier one.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(QString::fromLatin1(printJobName));
        writer.setCreator(QStringLiteral("Motrix"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        if (!printPowerPage(writer, content))
            return false;
    }
    return app::writeFileAtomically(path, pdf.data());
}

}  // namespace power
