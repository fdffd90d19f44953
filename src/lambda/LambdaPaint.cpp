// The lambda grid and the printed lambda page.
#include "lambda/LambdaPaint.h"

#include "lambda/KllFile.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace lambda {

namespace {

QColor qcolor(app::Rgb c)
{
    return {c.r, c.g, c.b};
}

void text(QPainter& p, double x, double y, const QString& s)
{
    p.drawText(QPointF(x, y), s);
}

int throttleLabel(int j)  // halves to the even neighbour: 100, 88, 75, 62, 50, 38, 25, 12, 0
{
    return int(std::nearbyint((j - 1) * 12.5));
}

}  // namespace

std::pair<int, int> operatingPoint(int rpmForMaps, double throttle)
{
    const int i = int(std::floor(rpmForMaps / 1000.0 + 0.5)) + 1;
    const int j = int(std::floor(throttle / 12.5 + 0.5)) + 1;
    return {std::clamp(i, 1, kSpeedCells), std::clamp(j, 1, kThrottleCells)};
}

void paintGrid(QPainter& p, const LambdaTable& table, const GridView& view)
{
    p.save();
    p.fillRect(QRectF(0, 0, 725, 280), view.background);
    p.translate(15, 230);  // rows go upward from here
    QFont f = p.font();
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::black);
    // Positions name the top-left corner of each text; drawText wants the baseline.
    text(p, 10, -228 + 11, QStringLiteral("Drossel-"));
    text(p, 10, -214 + 11, QStringLiteral("klappe"));
    text(p, 20, -200 + 11, QStringLiteral("[%]"));
    for (int n = 0; n <= 8; ++n)
        text(p, 20, -20 * n - 20 + 11, QString::number(int(n * 12.5)).rightJustified(3));
    text(p, 610, 12 + 11, QStringLiteral("Drehzahl"));
    text(p, 585, 26 + 11, QStringLiteral("x1000 [Umin]"));
    for (int n = 0; n <= 16; ++n)
        text(p, 36 * n + 74, 11, QString::number(n).rightJustified(2));

    // Operating-point frame with a 2-unit border.
    const int i0 = view.pointSpeed, j0 = view.pointThrottle;
    p.fillRect(QRectF(36 * i0 + 26, -20 * j0 - 4, 38, 22),
               view.redFrame ? QColor(255, 0, 0) : QColor(0, 0, 0));
    p.fillRect(QRectF(36 * i0 + 28, -20 * j0 - 2, 34, 18), view.background);

    for (int i = 1; i <= kSpeedCells; ++i)
        for (int j = 1; j <= kThrottleCells; ++j) {
            const double a = table.average(i, j, view.probes);
            const QRectF cell(36 * i + 30, -20 * j, 30, 14);
            p.fillRect(cell, qcolor(cellColor(a, view.thresholds)));
            p.setPen(Qt::black);
            if (view.showValues)
                p.drawText(cell, Qt::AlignCenter, QString::number(a / 1000.0, 'f', 2));
            else
                text(p, 36 * i + 40, -20 * j + 11, judgementText(classify(a, view.thresholds)));
        }
    p.restore();
}

bool printPage(QPaintDevice& device, const LambdaTable& table, const Thresholds& t,
               const PrintHeader& header)
{
    QPainter p;
    if (!p.begin(&device))
        return false;
    // Page units: 600 wide, scaled to the device's width.
    const double scale = device.width() / 600.0;
    p.scale(scale, scale);
    const double pageHeight = device.height() / scale;
    const auto font = [&p](int size, bool bold = false) {
        QFont f(QStringLiteral("Sans"));
        f.setPixelSize(size);
        f.setBold(bold);
        p.setFont(f);
    };
    p.setPen(Qt::black);
    font(20, true);
    p.drawText(QRectF(0, 10, 600, 30), Qt::AlignHCenter, QStringLiteral("KVT - Lambdalog"));
    font(7);
    p.drawText(QRectF(0, 40, 570, 10), Qt::AlignRight,
               QStringLiteral("gedruckt am ") + header.printedAt);
    font(10);
    const QString lines[] = {
        QStringLiteral("Datei: ") + header.fileName,
        QStringLiteral("Datum: ") + header.date,
        QStringLiteral("Uhrzeit: ") + header.time,
        QStringLiteral("KVT HW: ") + header.hardware,
        QStringLiteral("KVT SW: ") + header.software,
        QStringLiteral("Kommentar: ") + header.comment,
    };
    for (int n = 0; n < 6; ++n)
        text(p, 30, 70 + 16 * n, lines[n]);

    // Threshold box.
    p.drawRect(QRectF(380, 60, 180, 100));
    text(p, 390, 76, QStringLiteral("Lambdabewertung [V]"));
    const std::pair<const char*, std::pair<double, LambdaClass>> rows[] = {
        {"sehr fett (++): ", {t.veryRich, LambdaClass::VeryRich}},
        {"fett (+): ", {t.rich, LambdaClass::Rich}},
        {"mager (-): ", {t.lean, LambdaClass::Lean}},
        {"sehr mager (--): ", {t.veryLean, LambdaClass::VeryLean}},
    };
    for (int n = 0; n < 4; ++n) {
        const double y = 96 + 16 * n;
        p.fillRect(QRectF(390, y - 9, 10, 10), qcolor(classColor(rows[n].second.second)));
        text(p, 405, y,
             QString::fromUtf8(rows[n].first) +
                 QString::number(rows[n].second.first / 1000.0, 'f', 2));
    }

    for (int k = 1; k <= kProbes; ++k) {
        const double top = 192 * k;
        font(10, true);
        text(p, 30, top + 10, QStringLiteral("Lambda ") + QString::number(k));
        font(7);
        text(p, 0, top + 24, QStringLiteral("Drossel-"));
        text(p, 0, top + 32, QStringLiteral("klappe"));
        text(p, 5, top + 40, QStringLiteral("[%]"));
        for (int r = 1; r <= 9; ++r) {
            const int j = 10 - r;
            const double y = top + 12 * r + 36;
            text(p, 40, y + 8, QString::number(throttleLabel(j)).rightJustified(3));
            for (int i = 1; i <= kSpeedCells; ++i) {
                const int mv = table.at(i, j, k);
                const QRectF cell(30 * i + 30, y, 29, 11);
                p.fillRect(cell, qcolor(cellColor(mv, t)));
                p.drawText(cell, Qt::AlignCenter, kllNumber(mv));
            }
        }
        const double below = top + 12 * 10 + 36 + 10;
        text(p, 0, below, QStringLiteral("x10 ->"));
        text(p, 0, below + 9, QStringLiteral("[Umin]"));
        for (int n = 0; n <= 16; ++n)
            p.drawText(QRectF(30 * (n + 1) + 30, below - 8, 29, 10), Qt::AlignCenter,
                       QString::number(n * 100));
    }

    font(7);
    p.drawText(QRectF(0, pageHeight - 30, 600, 10), Qt::AlignHCenter, header.description);
    p.drawText(QRectF(0, pageHeight - 18, 600, 10), Qt::AlignHCenter, header.systemLine);
    return p.end();
}

}  // namespace lambda
