// The big display's texts at several window sizes, measured as drawn: none covers another and
// none leaves the canvas, with everyday values and with the longest texts and numbers.
#include "display/BigDisplayPaint.h"
#include "display/BigDisplayRules.h"
#include "support/TestApplication.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct Picture {
    const char* name;
    display::BigDisplayState state;
    app::ProgramSettings settings;
    setup::SetupRecord setup;
};

Picture everyday()
{
    Picture p{"everyday", {}, {}, {}};
    p.state.record.rpm = p.state.record.rpmForMaps = 4300;
    p.state.record.throttle = 87;
    p.state.record.engineTemp = 74;
    p.state.record.airTemp = 19;
    p.state.record.lambda = {850, 450, 120};
    p.state.record.injectionTime = 3000;
    p.state.record.ignitionAngle = 75;
    p.state.record.cpuTemperature = 41;
    p.state.maximum = 8700;
    p.setup.coilChargeTime = 12;
    p.setup.limiterSpeed = 110;
    p.setup.ignitionOffSpeed = 120;
    return p;
}

// The longest texts each place can get: five-digit numbers, a lambda out of range, the modes
// with the longest state texts, every optional row switched on.
Picture longest()
{
    Picture p{"longest", {}, {}, {}};
    devlink::LiveRecord& r = p.state.record;
    r.rpm = r.rpmForMaps = 16000;
    r.throttle = 100;
    r.engineTemp = -20;
    r.airTemp = 235;
    r.lambda = {1600, 1600, 1600};
    r.injectionTime = 65535;
    r.ignitionAngle = 0;
    r.cpuTemperature = 125;
    p.state.maximum = 16000;
    p.state.sensorErrors = 9999;
    p.settings.rpmWarning = 16000;
    p.settings.sliderDisplays = true;
    p.settings.showLearnLimits = true;
    p.setup.coilChargeTime = 32;
    p.setup.limiterSpeed = p.setup.ignitionOffSpeed = 160;
    p.setup.output1Mode = p.setup.output2Mode = 2;
    p.setup.output1Speed1 = p.setup.output1Speed2 = 160;
    p.setup.output2Speed1 = p.setup.output2Speed2 = 160;
    p.setup.input2Mode = p.setup.input3Mode = 1;
    return p;
}

TEST(BigDisplayTexts, NoTextCoversAnotherOrLeavesTheCanvasAtAnySize)
{
    testsupport::application();
    // The design size, the size of a window made 1000 × 500, the smallest and a large one.
    const QSize sizes[] = {
        {640, 480}, display::fitFourToThree({1000, 500}), {160, 120}, {1280, 960}};
    for (const Picture& picture : {everyday(), longest()}) {
        for (const QSize size : sizes) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            QPainter p(&image);
            const QTransform surface = display::surfaceTransform(size);
            p.setTransform(surface);
            display::TextLog texts;
            display::paintBigDisplay(p, picture.state, picture.settings, picture.setup, &texts);
            const std::string where = std::string(picture.name) + " at " +
                                      std::to_string(size.width()) + "x" +
                                      std::to_string(size.height());
            ASSERT_GT(texts.size(), 40) << where;
            const QRectF canvas(QPointF(0, 0), QSizeF(size));
            for (int i = 0; i < texts.size(); ++i) {
                const QRectF ink = surface.mapRect(texts[i].ink);
                EXPECT_TRUE(canvas.contains(ink))
                    << where << ": \"" << texts[i].text.toStdString() << "\" is cut";
                for (int j = i + 1; j < texts.size(); ++j)
                    EXPECT_FALSE(ink.intersects(surface.mapRect(texts[j].ink)))
                        << where << ": \"" << texts[i].text.toStdString() << "\" covers \""
                        << texts[j].text.toStdString() << "\"";
            }
        }
    }
}

}  // namespace
