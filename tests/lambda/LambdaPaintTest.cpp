// The printed lambda page in a PDF, read back as text; the grid's colours on an image.
#include "lambda/LambdaPaint.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lambda;

namespace {

// Fonts need the one application of the program; never destroyed, as in the window tests.
void application()
{
    static int argc = 1;
    static char name[] = "lambda-paint-test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QGuiApplication(argc, argv);
    (void)app;
}

TEST(LambdaPrint, PageHoldsHeaderThresholdsThreeGridsAndFooters)
{
    application();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    LambdaTable table;
    table.set(1, 9, 1, 850);
    table.set(17, 1, 2, 1230);
    table.set(9, 5, 3, 470);
    PrintHeader header{"run.kll",
                       "01.02.2026",
                       "03:04:05",
                       "2.1",
                       "4.7",
                       "Lauf drei",
                       "08.12.2026, um 04:00:00",
                       "Motrix Lambdalog",
                       "[ CPU: Test (2x), RAM: 4096MB, PC: bench, Benutzer: werk ]"};
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        ASSERT_TRUE(printPage(writer, table, Thresholds{}, header));
    }
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* expected :
         {"KVT - Lambdalog", "gedruckt am 08.12.2026, um 04:00:00", "Datei: run.kll",
          "Kommentar: Lauf drei", "Lambdabewertung [V]", "sehr fett (++): 0.80",
          "sehr mager (--): 0.20", "Lambda 1", "Lambda 2", "Lambda 3", "0.85", "1.23", "0.47",
          "x10 ->", "1600", "Motrix Lambdalog", "Benutzer: werk ]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    // Three separate grids, not averaged: 459 cells, three of them filled.
    EXPECT_EQ(text.count("0.00"), 459 - 3);
}

TEST(LambdaGrid, CellColoursFrameAndGreyOutsideEveryClass)
{
    LambdaTable table;
    table.set(1, 1, 1, 2500);  // outside every class
    table.set(2, 1, 1, 700);   // rich
    GridView view;
    view.probes = {true, false, false};
    view.pointSpeed = 17;
    view.pointThrottle = 9;
    view.redFrame = true;
    application();
    QImage image(725, 280, QImage::Format_RGB32);
    QPainter p(&image);
    paintGrid(p, table, view);
    p.end();
    // Cell (i, j) starts at (15 + 36 i + 30, 230 - 20 j); look at a corner free of text.
    const auto at = [&](int i, int j) {
        return image.pixelColor(15 + 36 * i + 31, 230 - 20 * j + 1);
    };
    EXPECT_EQ(at(1, 1), QColor(kNoClassColor.r, kNoClassColor.g, kNoClassColor.b));
    EXPECT_EQ(at(2, 1), QColor(230, 255, 2));
    EXPECT_EQ(at(3, 1), QColor(2, 123, 255));  // empty: leanest colour
    // The frame sits on the top-right cell, red while the injection map is edited.
    EXPECT_EQ(image.pixelColor(15 + 36 * 17 + 27, 230 - 20 * 9 - 3), QColor(255, 0, 0));
    EXPECT_EQ(operatingPoint(16000, 100), std::make_pair(17, 9));
}

}  // namespace
