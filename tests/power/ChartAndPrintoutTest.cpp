// The chart's scale rules, the cursor input and read-outs, and the printed page's texts as a
// PDF reader extracts them.
#include "app/core/SystemInfo.h"
#include "power/ChartPainter.h"
#include "power/ChartScale.h"
#include "power/PowerCompute.h"
#include "power/PowerPrintout.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace power;

namespace {

QGuiApplication& guiApplication()
{
    static int argc = 1;
    static char name[] = "power-test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QGuiApplication(argc, argv);
    return *app;
}

PowerCurve curveWith(float speed, float torque, float power)
{
    PowerCurve c{};
    c[int(speed) / 50 - 1] = {speed, torque, power};
    return c;
}

}  // namespace

TEST(ChartScale, EmptyChartShows1000RpmAnd10)
{
    const ChartScale s = chartScale(PowerCurves{}, PowerSamples{}, 500, false);
    EXPECT_EQ(s.xMax, 1000);
    EXPECT_EQ(s.highestPower, 10.0f);
    EXPECT_EQ(s.highestTorque, 10.0f);
    EXPECT_EQ(s.k, 1.0f);
    const QRectF plot = windowPlotArea(905, 500);
    EXPECT_EQ(plot, QRectF(50, 40, 800, 410));
    const QVector<Tick> across = horizontalTicks(plot, s);
    ASSERT_EQ(across.size(), 27);
    EXPECT_EQ(across[1].label, QStringLiteral("37"));  // Int(1000 / (800 / 30) · 1)
    const QVector<Tick> up = verticalTicks(plot, s);
    EXPECT_EQ(up.front().label, QStringLiteral("0.0"));
    EXPECT_EQ(up.front().position, plot.bottom());
}

TEST(ChartScale, TorqueFactorLetsBothPeaksMeet)
{
    PowerCurves curves{};
    curves[1] = curveWith(6000, 100, 50);
    const ChartScale s = chartScale(curves, PowerSamples{}, 500, false);
    EXPECT_EQ(s.xMax, 6000);
    EXPECT_FLOAT_EQ(s.k, 0.5f);
    const QRectF plot = windowPlotArea(905, 500);
    const auto power = powerLine(plot, s, curves[1], 500);
    const auto torque = torqueLine(plot, s, curves[1], 500);
    ASSERT_EQ(power.size(), 1);
    EXPECT_DOUBLE_EQ(power[0].y(), plot.top());
    EXPECT_DOUBLE_EQ(torque[0].y(), plot.top());
    // Points at or below the minimum speed only count from Int(min / 50) on.
    const ChartScale high = chartScale(curves, PowerSamples{}, 6000, false);
    EXPECT_EQ(high.xMax, 1000);
}

TEST(ChartScale, NegativeRawValuesOnlyWithRawValuesShown)
{
    PowerSamples s{};
    s[0] = {0, 3000, 0, -40, -10};
    s[1] = {100, 4000, 0, 80, 30};
    EXPECT_EQ(chartScale(PowerCurves{}, s, 500, false).lowestPower, 0.0f);
    const ChartScale raw = chartScale(PowerCurves{}, s, 500, true);
    EXPECT_EQ(raw.lowestPower, -10.0f);
    EXPECT_EQ(raw.lowestTorque, -40.0f);
    EXPECT_FLOAT_EQ(raw.k, 0.25f);  // -10 > -40 · 30/80: both minima meet
    const QVector<Tick> ticks = verticalTicks(windowPlotArea(905, 500), raw);
    EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(),
                            [](const Tick& t) { return t.label.startsWith(QLatin1Char('-')); }));
}

TEST(ChartScale, CursorInput)
{
    EXPECT_EQ(wheelStep(false, false), 1);
    EXPECT_EQ(wheelStep(true, false), 10);
    EXPECT_EQ(wheelStep(false, true), 100);
    EXPECT_EQ(wheelStep(true, true), 109);
    EXPECT_EQ(cursorFromClick(450, 800, 8000), 4000);
    ChartScale s;
    s.xMax = 6000;
    EXPECT_EQ(clampCursor(7000, s), 6000);
    EXPECT_EQ(clampCursor(-5, s), 0);
}

TEST(ChartScale, ReadoutsInterpolateAboveTheMinimumSpeed)
{
    PowerCurve c{};
    c[99] = {5000, 100, 40};
    c[100] = {5050, 110, 44};
    const Readout r = readoutAt(c, 5020, 500);
    EXPECT_FLOAT_EQ(r.torque, 104);
    EXPECT_FLOAT_EQ(r.power, 41.6f);
    c[9] = {500, 5, 5};
    EXPECT_EQ(readoutAt(c, 500, 500).power, 0.0f);    // at the minimum: 0.0
    EXPECT_EQ(readoutAt(c, 16000, 500).power, 0.0f);  // beyond the grid: no crash
}

TEST(ChartScale, SpeedChartReachesTheLimiterOrTheRun)
{
    PowerSamples s{};
    s[3].speed = 12345.4f;
    EXPECT_EQ(speedChartTop(11000, s), 12345);
    EXPECT_EQ(speedChartTop(13000, s), 13000);
}

TEST(ChartPainter, DrawsTheShownCurvesAndTheCursor)
{
    guiApplication();
    PowerSamples run{};
    for (int i = 0; i < 60; ++i)
        run[i] = {100.0f * i, 3000.0f + 150 * i, 0, 0, 0};
    const Evaluation e = compute(run, PowerParameters{}, PowerOptions{});
    PowerCurves curves{e.curve, e.curve, e.curve};
    for (GridPoint& g : curves[1]) {
        g.power *= 0.5f;
        g.torque *= 0.5f;
    }
    // Pixels close to a colour (lines are drawn smoothed over the grey background).
    auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) < 60 && std::abs(a.green() - b.green()) < 60 &&
               std::abs(a.blue() - b.blue()) < 60;
    };
    auto count = [&](const QImage& image, const QColor& color) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += near(image.pixelColor(x, y), color);
        return n;
    };
    QImage image(600, 430, QImage::Format_RGB32);
    image.fill(chartBackground());
    ChartInput in;
    in.curves = &curves;
    in.samples = &e.samples;
    in.shown = {true, true, false};
    in.cursor = 6000;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const ChartResult r = drawPowerChart(painter, windowPlotArea(600, 430), in);
    painter.end();
    EXPECT_GT(count(image, slotColor(1)), 200);
    EXPECT_GT(count(image, slotColor(2)), 200);
    EXPECT_EQ(count(image, slotColor(3)), 0);
    const int cursorX = int(xOf(windowPlotArea(600, 430), r.scale, 6000));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int dx = -1; dx <= 1; ++dx)
            red += near(image.pixelColor(cursorX + dx, y), QColor(255, 0, 0));
    EXPECT_GT(red, 300);
    EXPECT_NEAR(r.readouts[1].power, r.readouts[0].power * 0.5f, 1e-3);
}

TEST(Printout, FooterText)
{
    app::SystemInfo info{QString(), 4, qint64(3) << 30 | 12345, QStringLiteral("werkstatt"),
                         QStringLiteral("otto")};
    EXPECT_EQ(app::footerText(info), QStringLiteral("[ CPU: Unknown CPU (4x), RAM: 3072MB, PC: "
                                                    "werkstatt, Benutzer: otto ]"));
    const app::SystemInfo here = app::currentSystemInfo();
    EXPECT_GE(here.cpuCount, 1);
    EXPECT_GT(here.memoryBytes, 0);
}

TEST(Printout, PageTextsInAPdf)
{
    guiApplication();
    QTemporaryDir dir;
    PowerSamples run{};
    for (int i = 0; i < 60; ++i)
        run[i] = {100.0f * i, 3000.0f + 150 * i, 0, 0, 0};
    const Evaluation e = compute(run, PowerParameters{}, PowerOptions{});
    PowerCurves curves{};
    curves[0] = e.curve;
    curves[1] = e.curve;
    PrintContent c;
    c.info = {QStringLiteral("01.02.2024"),
              QStringLiteral("13:14:15"),
              {},
              {},
              QStringLiteral("Erster Lauf")};
    c.fileName = QStringLiteral("lauf1.klv");
    c.comparisons[0] = {QStringLiteral("alt.klv"),        QStringLiteral("02.01.2024"),
                        QStringLiteral("10:00:00"),       QStringLiteral("Vorher"),
                        QStringLiteral("(linear)"),       QStringLiteral("(DIN70200)"),
                        QStringLiteral("(Add. Schlepp.)")};
    c.chart.curves = &curves;
    c.chart.samples = &e.samples;
    c.chart.shown = {true, true, false};
    c.chart.showTorque = false;
    c.chart.cursor = 5000;
    c.printText = QStringLiteral("Werkstatt Süd");
    c.printedAt = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9));
    c.system = {QStringLiteral("Test CPU"), 2, qint64(2048) << 20, QStringLiteral("pc1"),
                QStringLiteral("otto")};
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    ASSERT_TRUE(printPowerPdf(pdf, c));

    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    // Compatibility form: ligatures the PDF may carry ("fl") read as their letters.
    const QString text = QString::fromUtf8(p.readAllStandardOutput())
                             .normalized(QString::NormalizationForm_KC)
                             .simplified();
    for (const char* expected : {"KVT - Leistungsvergleich",
                                 "gedruckt am 05.03.2024, um 07:08:09",
                                 "--- Werkstatt Süd ---",
                                 "Temperatur:",
                                 "25 °C",
                                 "% rel.",
                                 "Übersetz. KW/Rad:",
                                 "Windwiderstandsfläche:",
                                 "2.50 m^2",
                                 "Trägh.-Mom. Schwungmasse:",
                                 "15.0 kgm^2",
                                 "akt. Messung:",
                                 "am: 01.02.2024",
                                 "rotatorisch",
                                 "keine Korr.",
                                 "ignor. Schlepp.",
                                 "Datei:lauf1.klv",
                                 "Beschreibung:Erster Lauf",
                                 "Kurve 2:",
                                 "(DIN70200)",
                                 "Beschreibung:Vorher",
                                 "Drehzahl: 5000Umin",
                                 "P[kW M[Nm]]",
                                 "n [Umin]",
                                 "[ CPU: Test CPU (2x), RAM: 2048MB, PC: pc1, Benutzer: otto ]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    // Torque box cleared while power is shown: "Drehmoment:" says "Nein".
    EXPECT_TRUE(
        text.contains(QStringLiteral("Leistung: Drehmoment: Rohwerte (akt.Mess): Ja Nein Nein")))
        << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("Beschreibung:")), 2);  // no block for "Kurve 3:"
    const Readout r = readoutAt(e.curve, 5000, 500);
    EXPECT_TRUE(text.contains(QStringLiteral("akt. Messung: %1kW %2Nm")
                                  .arg(double(r.power), 0, 'f', 1)
                                  .arg(double(r.torque), 0, 'f', 1)));
}
