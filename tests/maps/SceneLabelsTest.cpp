// The labels of the four map and curve views, drawn in the views' font on this machine: none
// runs into another and none leaves its canvas, also at the narrow speed steps of the maps.
#include "maps/CurveScene.h"
#include "maps/MapScenes.h"
#include "maps/SceneView.h"
#include "support/TestApplication.h"

#include <gtest/gtest.h>

namespace {

struct SceneCase {
    const char* what;
    maps::Scene scene;
};

TEST(SceneLabels, NoTwoLabelsOverlapAndAllStayOnTheCanvas)
{
    testsupport::application();
    setup::SetupRecord record;
    setup::SetupRecord full = record;
    full.injectionMap.fill(60000);  // five-digit value labels
    maps::InjectionViewOptions capped;
    capped.kapp = true;
    capped.cap = 60000;
    const maps::CurveValues curve{};
    const SceneCase cases[] = {
        {"injection", maps::injectionScene(record, {}, {}, {})},
        {"injection at the largest values", maps::injectionScene(full, {}, {}, {})},
        {"injection capped", maps::injectionScene(record, capped, {}, {})},
        {"ignition", maps::ignitionScene(record, false, {}, {})},
        {"curve", maps::curveScene(curve, false, 20, {})},
    };
    const QFont font = maps::SceneView::viewFont();
    for (const SceneCase& c : cases) {
        const QRectF canvas(0, 0, c.scene.width, c.scene.height);
        QList<QRectF> boxes;
        // Half a pixel around the ink: labels that touch run together to the eye.
        for (const maps::Text& t : c.scene.texts)
            boxes.append(maps::SceneView::textBox(font, t).adjusted(-0.5, -0.5, 0.5, 0.5));
        ASSERT_GT(boxes.size(), 12) << c.what;
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(canvas.contains(boxes[i].adjusted(0.5, 0.5, -0.5, -0.5)))
                << c.what << ": " << c.scene.texts[i].text.toStdString();
            for (qsizetype j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(boxes[i].intersects(boxes[j]))
                    << c.what << ": \"" << c.scene.texts[i].text.toStdString() << "\" and \""
                    << c.scene.texts[j].text.toStdString() << "\"";
        }
    }
}

// A label with room to spare keeps the view's font; one without is narrowed to its room.
TEST(SceneLabels, OnlyLabelsWithoutRoomAreNarrowed)
{
    testsupport::application();
    const QFont font = maps::SceneView::viewFont();
    const maps::Text roomy{{50, 50}, QStringLiteral("16"), {}, true, 100};
    EXPECT_EQ(maps::SceneView::fittedFont(font, roomy), font);
    const double wide = QFontMetricsF(font).horizontalAdvance(QStringLiteral("16"));
    const maps::Text tight{{50, 50}, QStringLiteral("16"), {}, true, wide - 3};
    const QFont narrow = maps::SceneView::fittedFont(font, tight);
    EXPECT_LE(QFontMetricsF(narrow).horizontalAdvance(QStringLiteral("16")), wide - 3);
    EXPECT_LT(maps::SceneView::textOrigin(font, tight).x(), 50);
}

}  // namespace
