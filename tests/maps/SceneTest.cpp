// The drawings of the four views as data: colours of cells, the block highlight, the live
// marker and its cell, the cursor, the ignition curve mode and the curve marker range.
#include "maps/CurveScene.h"
#include "maps/MapScenes.h"

#include <gtest/gtest.h>

namespace {

using maps::Part;
using maps::Rgb;
namespace col = maps::colours;

QList<maps::Line> linesOf(const maps::Scene& scene, Part part)
{
    QList<maps::Line> out;
    for (const auto& l : scene.lines)
        if (l.part == part)
            out.append(l);
    return out;
}

// Colour of the segment from cell (s, t) to cell (s2, t2); nothing when it is not drawn.
std::optional<Rgb> segment(const maps::Scene& scene, int s, int t, int s2, int t2)
{
    for (const auto& l : scene.lines)
        if (l.part == Part::Cell && l.s == s && l.t == t && l.s2 == s2 && l.t2 == t2)
            return l.colour;
    return std::nullopt;
}

bool hasText(const maps::Scene& scene, const QString& text)
{
    for (const auto& t : scene.texts)
        if (t.text == text)
            return true;
    return false;
}

TEST(InjectionScene, AllZeroMapHasValueLabelsEvery12AndEveryCellBlue)
{
    setup::SetupRecord record;
    const auto scene = maps::injectionScene(record, {}, {}, {});
    EXPECT_EQ(scene.background, col::background);
    for (const char* label :
         {"0    ", "12   ", "24   ", "84   ", "96   ", "µs", "kUmin", "%", "100"})
        EXPECT_TRUE(hasText(scene, QString::fromUtf8(label))) << label;
    EXPECT_FALSE(hasText(scene, QStringLiteral("100  ")));
    const auto cells = linesOf(scene, Part::Cell);
    EXPECT_EQ(cells.size(), 9 * 16 + 17 * 8);
    for (const auto& l : cells)
        EXPECT_EQ(l.colour, col::line);
    // The value axis rises from the back left corner: the top of 100 µs is 120 pixels up.
    const auto p = maps::mapProjection(385, 255, 100);
    EXPECT_DOUBLE_EQ(p.at(0, 8, 100).y(), 225 - 80 - 120);
}

TEST(InjectionScene, CellsOfColumn3TurnOrangeAbove17000LessDeadTime)
{
    setup::SetupRecord record;
    record.setInjectionCell(3, 0, 17000);
    record.setInjectionCell(3, 1, 17001);
    auto scene = maps::injectionScene(record, {}, {}, {});
    EXPECT_EQ(segment(scene, 3, 0, 4, 0), col::line);
    EXPECT_EQ(segment(scene, 3, 1, 4, 1), col::warning);
    EXPECT_EQ(segment(scene, 3, 1, 3, 2), col::warning);
    // The same value in column 2 (limit 25500) stays blue.
    record.setInjectionCell(2, 1, 17001);
    scene = maps::injectionScene(record, {}, {}, {});
    EXPECT_EQ(segment(scene, 2, 1, 3, 1), col::line);

    // The largest of the three dead times lowers the limit.
    record.injectorDeadTime = {100, 700, 300};
    record.setInjectionCell(3, 0, 16301);
    scene = maps::injectionScene(record, {}, {}, {});
    EXPECT_EQ(segment(scene, 3, 0, 4, 0), col::warning);
    record.setInjectionCell(3, 0, 16300);
    scene = maps::injectionScene(record, {}, {}, {});
    EXPECT_EQ(segment(scene, 3, 0, 4, 0), col::line);
}

TEST(InjectionScene, StartMarksTheBlockBelowTheCursorGreen)
{
    setup::SetupRecord record;
    maps::InjectionViewOptions options;
    options.start = true;
    const maps::ViewCursor cursor{true, 4, 3};
    const auto scene = maps::injectionScene(record, options, {}, cursor);
    for (const auto& l : linesOf(scene, Part::Cell)) {
        const bool inBlock = l.s < 4 && l.t < 3;
        EXPECT_EQ(l.colour, inBlock ? col::block : col::line) << l.s << "," << l.t;
    }
    // Without "Start" the same cursor leaves everything blue.
    const auto plain = maps::injectionScene(record, {}, {}, cursor);
    EXPECT_EQ(segment(plain, 0, 0, 1, 0), col::line);
    // The cursor: red circles of radius 3 and 4 at the cell's point.
    const auto p = maps::mapProjection(385, 255, 100);
    int circles = 0;
    for (const auto& c : scene.circles) {
        if (c.part != Part::Cursor)
            continue;
        ++circles;
        EXPECT_EQ(c.colour, col::highlight);
        EXPECT_EQ(c.centre, p.at(4, 3, 0));
    }
    EXPECT_EQ(circles, 2);
}

TEST(InjectionScene, KappLeavesOutSegmentsAboveTheCap)
{
    setup::SetupRecord record;
    record.setInjectionCell(5, 4, 900);
    maps::InjectionViewOptions options;
    options.kapp = true;
    options.cap = 800;
    const auto scene = maps::injectionScene(record, options, {}, {});
    EXPECT_FALSE(segment(scene, 5, 4, 6, 4));
    EXPECT_FALSE(segment(scene, 4, 4, 5, 4));
    EXPECT_FALSE(segment(scene, 5, 3, 5, 4));
    EXPECT_TRUE(segment(scene, 5, 3, 6, 3));
    EXPECT_TRUE(hasText(scene, QStringLiteral("700  ")));  // ticks of the cap, 800 div 8
}

TEST(InjectionScene, LiveMarkerAbove16000SitsAtTheRightEdgeWithTheLastCell)
{
    setup::SetupRecord record;
    for (int t = 0; t <= 8; ++t)
        for (int s = 0; s <= 16; ++s)
            record.setInjectionCell(s, t, quint16(10 * s + t));
    maps::InjectionViewOptions options;
    options.pos = true;
    maps::LivePoint live;
    live.rpmForMaps = 20000;  // a caller that forgot the limit still lands on the edge
    live.throttle = 50;
    const auto scene = maps::injectionScene(record, options, live, {});
    const int ymax = maps::injectionYmax(record, false, 200);
    const auto p = maps::mapProjection(385, 255, ymax);

    const auto marker = linesOf(scene, Part::LiveMarker);
    ASSERT_EQ(marker.size(), 3);
    EXPECT_EQ(marker[0].colour, col::marker);
    EXPECT_EQ(marker[0].a, p.at(16, 0, 0));
    EXPECT_EQ(marker[0].b, p.at(16, 8, 0));
    EXPECT_EQ(marker[1].a, p.at(0, 4, 0));
    EXPECT_EQ(marker[1].b, p.at(16, 4, 0));
    // Stalk up to the interpolated value with s = 15, fs = 0.99, t = 4, ft = 0.
    const double value = (10 * 15 + 4) * 0.01 + (10 * 16 + 4) * 0.99;
    EXPECT_EQ(marker[2].colour, col::livePoint);
    EXPECT_NEAR(marker[2].b.y(), p.at(16, 4, value).y(), 1e-9);
    ASSERT_EQ(scene.circles.size(), 1);
    EXPECT_EQ(scene.circles[0].radius, 2);
    EXPECT_EQ(scene.circles[0].colour, col::livePoint);

    const auto cell = linesOf(scene, Part::LiveCell);
    ASSERT_EQ(cell.size(), 4);
    for (const auto& l : cell) {
        EXPECT_EQ(l.colour, col::highlight);
        EXPECT_TRUE(l.s == 15 || l.s == 16);
        EXPECT_TRUE(l.t == 4 || l.t == 5);
    }
}

TEST(InjectionScene, NoMarkerWithoutPos)
{
    setup::SetupRecord record;
    maps::LivePoint live{5000, 30, 20, 80};
    const auto scene = maps::injectionScene(record, {}, live, {});
    EXPECT_TRUE(linesOf(scene, Part::LiveMarker).isEmpty());
    EXPECT_TRUE(linesOf(scene, Part::LiveCell).isEmpty());
}

TEST(IgnitionScene, CurveModeDrawsRowsAboveZeroWhiteAndKeepsMarkerOnRow0)
{
    setup::SetupRecord record;
    record.ignitionMapEnabled = 0;
    record.setIgnitionCell(2, 5, 40);  // hidden row keeps its value
    maps::LivePoint live;
    live.rpmForMaps = 2500;
    live.throttle = 75;
    const auto scene = maps::ignitionScene(record, true, live, {true, 2, 5});
    EXPECT_EQ(segment(scene, 0, 0, 1, 0), col::line);
    EXPECT_EQ(segment(scene, 2, 1, 2, 0), col::unused);
    EXPECT_EQ(segment(scene, 2, 5, 3, 5), col::unused);
    EXPECT_TRUE(hasText(scene, QStringLiteral("°KW")));
    EXPECT_TRUE(hasText(scene, QStringLiteral("45   ")));

    const auto p = maps::mapProjection(385, 255, 50);
    const auto marker = linesOf(scene, Part::LiveMarker);
    ASSERT_EQ(marker.size(), 3);
    EXPECT_EQ(marker[1].a, p.at(0, 0, 0));  // the throttle line lies on row 0
    const auto cell = linesOf(scene, Part::LiveCell);
    ASSERT_EQ(cell.size(), 1);
    EXPECT_EQ(cell[0].t, 0);
    EXPECT_EQ(cell[0].t2, 0);
    EXPECT_EQ(cell[0].s, 2);
    EXPECT_EQ(cell[0].s2, 3);
    for (const auto& c : scene.circles)
        if (c.part == Part::Cursor)
            EXPECT_EQ(c.centre, p.at(2, 0, 0));
}

TEST(IgnitionScene, MapModeIsAllBlueWithFourRedEdges)
{
    setup::SetupRecord record;
    maps::LivePoint live;
    live.rpmForMaps = 2500;
    live.throttle = 75;
    const auto scene = maps::ignitionScene(record, true, live, {});
    for (const auto& l : linesOf(scene, Part::Cell))
        EXPECT_EQ(l.colour, col::line);
    const auto cell = linesOf(scene, Part::LiveCell);
    ASSERT_EQ(cell.size(), 4);
    EXPECT_EQ(cell[0].t, 6);
}

TEST(CurveScene, NoMarkerAtExactlyTheEndsOfTheRange)
{
    maps::CurveValues values{};
    values[4] = 150;
    for (double t : {-20.0, 140.0, -30.0, 150.0}) {
        const auto scene = maps::curveScene(values, true, t, {});
        EXPECT_TRUE(linesOf(scene, Part::LiveMarker).isEmpty()) << t;
    }
    const auto scene = maps::curveScene(values, true, 25, {});
    const auto marker = linesOf(scene, Part::LiveMarker);
    ASSERT_EQ(marker.size(), 1);
    const auto p = maps::curveProjection(385, 100);
    EXPECT_EQ(marker[0].a, p.at(4.5, 0));
    EXPECT_EQ(marker[0].b, p.at(4.5, 150));
    EXPECT_EQ(marker[0].colour, col::marker);
    // The curve is blue and reaches 67.5 pixels above the axis at value 150.
    const auto cells = linesOf(scene, Part::Cell);
    ASSERT_EQ(cells.size(), 16);
    EXPECT_EQ(cells[3].b, p.at(4, 150));
    EXPECT_EQ(cells[3].colour, col::line);
    for (const char* label : {"85 ", "135", "235", "-20", "140", "°C", "%"})
        EXPECT_TRUE(hasText(scene, QString::fromUtf8(label))) << label;
    EXPECT_FALSE(hasText(scene, QStringLiteral("-10")));
}

}  // namespace
