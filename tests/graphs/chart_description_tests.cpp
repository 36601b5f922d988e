// Chart descriptions built from a data set, and their layout at a size.

#include <gtest/gtest.h>

#include <cmath>

#include "data/series_range.h"
#include "graphs/chart_description.h"
#include "graphs/chart_layout.h"
#include "stats_test_data.h"

namespace corvan {
namespace {

struct Graphs {
    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    GraphSettings settings;
    explicit Graphs(const std::vector<testing::Rec>& recs, int interval = 600, int type = 0, int kind = 0) {
        testing::FillDataSet(data, recs, type, kind, interval);
        ComputeStatistics(data, scale, stats);
    }
    GraphPageDescription Page(GraphKind graphKind, int sub, bool startOfDays = false,
                              ChartTarget target = ChartTarget::Screen) {
        GraphRequest r;
        r.kind = graphKind;
        r.barKind = r.lineKind = r.vectorKind = sub;
        r.startOfDays = startOfDays;
        return DescribeGraphPage(data, stats, scale, settings, r, target);
    }
};

ChartMetrics Metrics(double w, double h) {
    ChartMetrics m;
    m.width = w;
    m.height = h;
    return m;
}

std::vector<testing::Rec> Wavy(int n) {
    std::vector<testing::Rec> recs;
    for (int i = 0; i < n; ++i)
        recs.push_back({static_cast<float>(12 + 9 * std::sin(i / 7.0)), std::fmod(i * 13.0, 360.0), 9.5f + i % 5});
    return recs;
}

TEST(ChartDescription, EveryGraphStartsFreshWhateverWasShownBefore) {
    Graphs s(Wavy(300));
    // What a line, bar and stick graph show first ...
    const ChartLayout lineFirst = LayOutChart(s.Page(kGraphLine, kLineTemperature).chart1, Metrics(640, 400));
    const ChartLayout barFirst = LayOutChart(s.Page(kGraphBar, kBarSpeed).chart1, Metrics(640, 400));
    const ChartLayout stickFirst = LayOutChart(s.Page(kGraphVector, kVectorStick).chart1, Metrics(640, 400));
    // ... they show again after the sector diagrams and the progressive vector.
    for (int kind : {kVectorMaxMean, kVectorProgressive}) {
        const GraphPageDescription vector = s.Page(kGraphVector, kind);
        EXPECT_FALSE(vector.chart1.autoAxis);
        const ChartLayout line = LayOutChart(s.Page(kGraphLine, kLineTemperature).chart1, Metrics(640, 400));
        EXPECT_DOUBLE_EQ(line.leftAxis.minimum, lineFirst.leftAxis.minimum);
        EXPECT_DOUBLE_EQ(line.leftAxis.maximum, lineFirst.leftAxis.maximum);
        const ChartLayout bar = LayOutChart(s.Page(kGraphBar, kBarSpeed).chart1, Metrics(640, 400));
        EXPECT_DOUBLE_EQ(bar.leftAxis.maximum, barFirst.leftAxis.maximum);
        const ChartLayout stick = LayOutChart(s.Page(kGraphVector, kVectorStick).chart1, Metrics(640, 400));
        EXPECT_DOUBLE_EQ(stick.leftAxis.maximum, stickFirst.leftAxis.maximum);
    }
    // The rounded limits lie on the label increment and hold the data.
    const double g = lineFirst.leftAxis.increment;
    EXPECT_NEAR(std::remainder(lineFirst.leftAxis.minimum, g), 0.0, 1e-9);
    EXPECT_LE(lineFirst.leftAxis.minimum, 9.5);
    EXPECT_GT(lineFirst.leftAxis.maximum, 13.5);
}

TEST(ChartDescription, StickDiagramGivesMTheHeightOfAFifthOfTheBottomAxis) {
    Graphs s(Wavy(100));
    const ChartDescription c = s.Page(kGraphVector, kVectorStick).chart1;
    ASSERT_EQ(c.mode, kModeStick);
    ASSERT_TRUE(c.sticks.has_value());
    EXPECT_FALSE(c.line->lineVisible);
    const double m = s.scale.speedMax;
    const ChartLayout L = LayOutChart(c, Metrics(800, 500));
    // The plot keeps to the middle 80 % of the width.
    EXPECT_GE(L.plot.left, 80.0);
    EXPECT_LE(L.plot.right, 720.0);
    const double g = L.plot.Height() / (L.plot.Width() / 5.0) * m;
    EXPECT_NEAR(L.leftAxis.maximum, g, 1e-9);
    EXPECT_NEAR(L.leftAxis.minimum, -g, 1e-9);
    // So -M .. M spans a fifth of the bottom axis' length in pixels.
    const double mPixels = L.leftMap.ValueToPixel(-m) - L.leftMap.ValueToPixel(m);
    EXPECT_NEAR(mPixels, L.plot.Width() / 5.0, 1e-6);
    EXPECT_FALSE(L.sticks.empty());
}

TEST(ChartDescription, SectorDiagramsAndTheOxygenFluxHalfPage) {
    Graphs s(std::vector<testing::Rec>(50, {30.0f, 97.0, 10.0f, 90.0f}), 600, 3, 1);
    const GraphPageDescription two = s.Page(kGraphVector, kVectorMaxMean);
    EXPECT_TRUE(two.chart1HalfWidth);
    ASSERT_TRUE(two.chart2.has_value());
    EXPECT_EQ(two.chart2->modeCaption2, "Mean velocity (cm/s)\rper 15 deg sector");
    const GraphPageDescription ox = s.Page(kGraphVector, kVectorOxygenFlux);
    EXPECT_TRUE(ox.chart1HalfWidth);
    EXPECT_FALSE(ox.chart2.has_value());
    ASSERT_TRUE(ox.chart1.polar.has_value());
    EXPECT_DOUBLE_EQ(ox.chart1.polar->values[6], 100.0);
    // The ring labels end inside their rings, the outer ring holds 100.
    const ChartLayout L = LayOutChart(ox.chart1, Metrics(400, 400));
    EXPECT_GE(L.polarRadiusMaximum, 100.0);
    ASSERT_FALSE(L.polarLabels.empty());
    const ChartText& outer = L.polarLabels.back();
    EXPECT_LT(outer.x + 7.0 * outer.text.size(), L.polarCentreX + L.polarRadius);
    // The foot is centred.
    ASSERT_EQ(L.foot.size(), 2u);
    EXPECT_NEAR(L.foot[0].x + 7.0 * L.foot[0].text.size() / 2.0, 200.0, 1.0);
}

TEST(ChartDescription, DateAxisStartsAtTheFirstShownRecord) {
    Graphs s(std::vector<testing::Rec>(400, {10.0f, 45.0}), 600);
    s.settings.dateGridVisible = true;
    ASSERT_EQ(SelectSeriesRange(s.data, {1, 11, 400}), "");
    ComputeStatistics(s.data, s.scale, s.stats);
    const ChartDescription c = s.Page(kGraphLine, kLineSpeed, true).chart1;
    ASSERT_TRUE(c.dateAxis);
    // The series starts 1997-02-25 12:00; record 10 lies 11 intervals on.
    const double t0 = DateTime::FromCivil({1997, 2, 25, 12, 0, 0})->Days() + 11 * 600 / 86400.0;
    EXPECT_NEAR(c.dateT0, t0, 1e-9);
    const ChartLayout L = LayOutChart(c, Metrics(900, 500));
    // The first day start is 1997-02-26 00:00.
    ASSERT_FALSE(L.dayGrid.empty());
    const double first = (DateTime::FromCivil({1997, 2, 26, 0, 0, 0})->Days() - t0) * 86400.0;
    EXPECT_EQ(L.dayGrid.front(), static_cast<int>(std::lround(L.bottomMap.ValueToPixel(first))));
    ASSERT_FALSE(L.dateLabels.empty());
    EXPECT_EQ(L.dateLabels.front().text, "26.Feb");
    // Printed: white paper and no day grid.
    const ChartDescription paper = s.Page(kGraphLine, kLineSpeed, true, ChartTarget::Paper).chart1;
    EXPECT_EQ(paper.background, kChartWhite);
    EXPECT_TRUE(LayOutChart(paper, Metrics(900, 500)).dayGrid.empty());
    EXPECT_FALSE(LayOutChart(paper, Metrics(900, 500)).dateLabels.empty());
}

TEST(ChartDescription, WhatAFileCannotShow) {
    Graphs temperatureOnly(Wavy(20), 600, 4);
    GraphRequest r;
    r.kind = kGraphLine;
    r.lineKind = kLineTemperature;
    EXPECT_TRUE(GraphAvailable(temperatureOnly.data.header, r));
    r.lineKind = kLineSpeed;
    EXPECT_FALSE(GraphAvailable(temperatureOnly.data.header, r));
    r.kind = kGraphVector;
    r.vectorKind = kVectorStick;
    EXPECT_FALSE(GraphAvailable(temperatureOnly.data.header, r));
    Graphs oxygen(Wavy(20), 600, 3, 1);
    r.vectorKind = kVectorOxygenFlux;
    EXPECT_TRUE(GraphAvailable(oxygen.data.header, r));
    EXPECT_FALSE(GraphAvailable(Graphs(Wavy(20)).data.header, r));
    // Without valid statistics nothing is drawn.
    temperatureOnly.data.statisticsValid = false;
    EXPECT_FALSE(temperatureOnly.Page(kGraphLine, kLineTemperature).drawable);
}

TEST(ChartLayoutRules, StickWindowBarLabelsAndPolarScale) {
    EXPECT_EQ(StickRecordWindow(false, 3000, 6000, 600, 50).lo, 0);
    EXPECT_EQ(StickRecordWindow(false, 3000, 6000, 600, 50).hi, 49);
    // Zoomed: the first record at or after the left end, the last before
    // the right end, never past the range.
    const IndexWindow w = StickRecordWindow(true, 3000, 6200, 600, 50);
    EXPECT_EQ(w.lo, 5);
    EXPECT_EQ(w.hi, 10);
    EXPECT_EQ(StickRecordWindow(true, 3000, 1e9, 600, 50).hi, 49);
    EXPECT_LT(StickRecordWindow(true, 0, 1e9, 600, 0).hi, 0);

    // Labels 30 px wide every 20 px with 10 px spacing: every other one.
    const std::vector<int> kept = ThinnedLabels({10, 30, 50, 70, 90}, {30, 30, 30, 30, 30}, 10);
    EXPECT_EQ(kept, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(ThinnedLabels({10, 60}, {30, 30}, 0).size(), 2u);

    std::array<double, kSectorCount> small{};
    small[3] = 2.0;
    EXPECT_DOUBLE_EQ(PolarRadiusScale(small, 150, 28).maximum, 2.01);
    std::array<double, kSectorCount> big{};
    big[3] = 73.0;
    const PolarScale s = PolarRadiusScale(big, 150, 28);
    EXPECT_GE(s.maximum, 73.0);
    EXPECT_LT(s.maximum, 73.0 + s.increment);
    EXPECT_NEAR(std::remainder(s.maximum, s.increment), 0.0, 1e-9);
}

TEST(ChartLayoutRules, ProgressiveVectorHasOneScaleAndBarsHaveRoom) {
    Graphs s(std::vector<testing::Rec>(100, {5.0f, 30.0}));
    const GraphPageDescription page = s.Page(kGraphVector, kVectorProgressive);
    EXPECT_TRUE(page.legendShown);
    const ChartLayout L = LayOutChart(page.chart1, Metrics(700, 420));
    const double bx = (L.bottomMap.maximum - L.bottomMap.minimum) / L.bottomMap.Length();
    const double by = (L.leftMap.maximum - L.leftMap.minimum) / L.leftMap.Length();
    EXPECT_NEAR(bx, by, 1e-9);
    EXPECT_EQ(L.footCaption, "meters E");
    EXPECT_EQ(L.zeroLines.size(), 2u);

    // Minor ticks between the time labels; none under the bars.
    const ChartLayout line = LayOutChart(s.Page(kGraphLine, kLineSpeed).chart1, Metrics(700, 420));
    EXPECT_GT(line.minorTicks.size(), line.bottomTicks.size());
    for (const PixelLine& t : line.minorTicks) {
        EXPECT_GE(t.x0, line.plot.left);
        EXPECT_LE(t.x0, line.plot.right);
    }
    const ChartLayout bars = LayOutChart(s.Page(kGraphBar, kBarDirection).chart1, Metrics(300, 300));
    EXPECT_TRUE(bars.minorTicks.empty());
    ASSERT_FALSE(bars.bottomLabels.empty());
    // 24 direction labels do not fit in 300 px: thinned, none overlapping.
    EXPECT_LT(bars.bottomLabels.size(), 24u);
    for (std::size_t i = 1; i < bars.bottomLabels.size(); ++i) {
        const ChartText& a = bars.bottomLabels[i - 1];
        EXPECT_GE(bars.bottomLabels[i].x, a.x + 7.0 * a.text.size() + 10.0);
    }
}

}  // namespace
}  // namespace corvan
