// The crank-angle diagram's convention, checked on drawn pixels: top dead centre at the top,
// the sensor sensorAngle before it, the crank turning clockwise, the element colours.
#include "setup/ExpertDiagram.h"

#include "support/TestApplication.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace setup;

namespace {

constexpr QSize canvas(400, 395);

DiagramElements none()
{
    DiagramElements e;
    e.injection = {false, false, false};
    e.charge = {false, false, false};
    e.sensor = e.tacho = e.accel = e.wheel = e.gap = e.dynamic1 = e.dynamic2 = false;
    return e;
}

QImage draw(const DiagramInput& in, const DiagramElements& show)
{
    testsupport::application();  // text needs the font database
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    drawCrankDiagram(p, canvas, in, show);
    return image;
}

// The colour at crank angle a and a radius in units of the diagram's size.
QColor at(const QImage& image, const DiagramInput& in, double a, double radius)
{
    const QPointF c(canvas.width() / 2.0, canvas.height() / 2.0);
    const double s = std::min(canvas.width(), canvas.height()) / 2.0 - 4;
    return image.pixelColor(pointAt(c, radius * s, circleAngle(a, in.sensorAngle)).toPoint());
}

TEST(ExpertDiagram, AngleConvention)
{
    const QPointF c(200, 200);
    // The sensor 90° before top dead centre sits at nine o'clock; top dead centre on top.
    const QPointF sensor = pointAt(c, 100, circleAngle(0, 90));
    EXPECT_NEAR(sensor.x(), 100, 1e-9);
    EXPECT_NEAR(sensor.y(), 200, 1e-9);
    const QPointF top = pointAt(c, 100, circleAngle(90, 90));
    EXPECT_NEAR(top.x(), 200, 1e-9);
    EXPECT_NEAR(top.y(), 100, 1e-9);
    // 10 ms at 5999 rpm is one revolution.
    EXPECT_DOUBLE_EQ(timeAsAngle(10000, 5999), 360);
    // A 12-tooth wheel with one gap misses its last position, the one before the sensor.
    EXPECT_TRUE(toothPresent(0, 12, 1));
    EXPECT_TRUE(toothPresent(10, 12, 1));
    EXPECT_FALSE(toothPresent(11, 12, 1));
    EXPECT_FALSE(toothPresent(-1, 12, 1));
    EXPECT_FALSE(toothPresent(10, 12, 2));
}

TEST(ExpertDiagram, ElementsAtTheirAnglesInTheirColours)
{
    DiagramInput in;
    in.sensorAngle = 60;
    in.rpm = 5999;
    in.reply.injectionStart = {100, 0, 0};
    in.reply.injectionTime = {2500, 0, 0};  // a quarter revolution: 100° to 190°
    in.reply.chargeStart = {300, 0, 0};
    in.reply.chargeAngle = {40, 0, 0};
    in.reply.timerDiff = -1000;  // -1000 × 5999 × 360 / 7500000 = -288°

    DiagramElements show = none();
    show.injection[0] = true;
    QImage image = draw(in, show);
    const double evRadius = 0.7 - 5.0 / 193.5;
    EXPECT_EQ(at(image, in, 145, evRadius), QColor(0, 50, 255));
    EXPECT_EQ(at(image, in, 60, evRadius), QColor(128, 128, 128));
    EXPECT_EQ(at(image, in, 230, evRadius), QColor(128, 128, 128));

    show = none();
    show.charge[0] = true;
    image = draw(in, show);
    const double ztRadius = 0.6 - 5.0 / 193.5;
    EXPECT_EQ(at(image, in, 320, ztRadius), QColor(255, 50, 0));
    EXPECT_EQ(at(image, in, 280, ztRadius - 0.0), QColor(128, 128, 128));

    show = none();
    show.sensor = true;
    image = draw(in, show);
    EXPECT_EQ(at(image, in, 0, 0.5), QColor(Qt::black));

    show = none();
    show.accel = true;
    image = draw(in, show);
    EXPECT_EQ(at(image, in, -144, 0.9), QColor(192, 0, 0));
    EXPECT_EQ(at(image, in, 40, 0.9), QColor(128, 128, 128));
    in.rpm = 0;  // only while the engine turns
    image = draw(in, show);
    EXPECT_EQ(at(image, in, -144, 0.9), QColor(128, 128, 128));
}

}  // namespace
