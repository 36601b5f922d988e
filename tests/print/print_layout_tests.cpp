#include "print/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../graphs/stats_test_data.h"
#include "graphs/scale_settings.h"
#include "print_test_support.h"

namespace corvan {
namespace {

using testing::FixedPitchMeasure;

const PrintText* Find(const PrintedPage& page, const std::string& text) {
    for (const PrintText& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

class PrintLayout : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<testing::Rec> recs;
        for (int i = 0; i < 30; ++i) recs.push_back({static_cast<float>(5 + i), i * 12.0, 8.0f});
        testing::FillDataSet(data_, recs);
        ComputeStatistics(data_, scale_, stats_);
        ASSERT_TRUE(data_.statisticsValid);
    }
    DataSet data_;
    ScaleSettings scale_;
    Statistics stats_;
    FixedPitchMeasure measure_;
    const PageFrame a4Portrait_{10.0, 10.0, 200.0, 287.0};
    const PageFrame a4Landscape_{10.0, 10.0, 287.0, 200.0};
};

TEST_F(PrintLayout, HeaderBlockLinesAndSecondColumn) {
    const PrintHeader h = MakePrintHeader(kSummaryTitle, data_, "BUOY.CVN");
    PrintedPage page;
    const double l = measure_.LineHeight(PrintFont{});
    const double content = LayoutHeaderBlock(h, a4Portrait_, measure_, page);
    EXPECT_DOUBLE_EQ(content, 10.0 + 6.5 * l);

    const PrintText* title = Find(page, kSummaryTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->font.bold);
    EXPECT_DOUBLE_EQ(title->y, 10.0);
    const PrintText* file = Find(page, "File name: BUOY.CVN");
    ASSERT_NE(file, nullptr);
    EXPECT_DOUBLE_EQ(file->y, 10.0 + 1.5 * l);
    const PrintText* count = Find(page, "Number of measurements in data set: 30");
    ASSERT_NE(count, nullptr);
    EXPECT_DOUBLE_EQ(count->y, 10.0 + 3.5 * l);
    const PrintText* range = Find(page, "Data displayed from: 12:10 - 25.Feb-97   To: 17:00 - 25.Feb-97");
    ASSERT_NE(range, nullptr);
    EXPECT_DOUBLE_EQ(range->y, 10.0 + 4.5 * l);

    // 47 characters to the second column.
    const double column = 10.0 + 47 * FixedPitchMeasure::CharWidth(12.0);
    const PrintText* ref = Find(page, "Ref. number: 4711");
    ASSERT_NE(ref, nullptr);
    EXPECT_DOUBLE_EQ(ref->x, column);
    EXPECT_DOUBLE_EQ(ref->y, 10.0 + 1.5 * l);
    const PrintText* interval = Find(page, "Interval time: 10 Minutes");
    ASSERT_NE(interval, nullptr);
    EXPECT_DOUBLE_EQ(interval->y, 10.0 + 2.5 * l);

    // A file name reaching into the column pushes both down one line.
    PrintedPage longPage;
    const std::string longName(40, 'N');
    LayoutHeaderBlock(MakePrintHeader(kSummaryTitle, data_, longName), a4Portrait_, measure_, longPage);
    EXPECT_DOUBLE_EQ(Find(longPage, "Ref. number: 4711")->y, 10.0 + 2.5 * l);
    EXPECT_DOUBLE_EQ(Find(longPage, "Interval time: 10 Minutes")->y, 10.0 + 3.5 * l);
    PrintedPage fitPage;
    LayoutHeaderBlock(MakePrintHeader(kSummaryTitle, data_, std::string(34, 'N')), a4Portrait_, measure_, fitPage);
    EXPECT_DOUBLE_EQ(Find(fitPage, "Ref. number: 4711")->y, 10.0 + 1.5 * l);
}

TEST_F(PrintLayout, SummaryColumnsRowsAndAlignedValues) {
    const SummaryPageTexts texts = SummaryTexts(data_, stats_, ",");
    const PrintJob job =
        LayoutSummaryPrint(MakePrintHeader(kSummaryTitle, data_, "B.CVN"), texts, a4Portrait_, measure_);
    EXPECT_EQ(job.title, "Corvan Statistical summary");
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.pages.size(), 1u);
    const PrintedPage& page = job.pages[0];

    for (const char* caption :
         {kSummaryRowMean, kSummaryRowVariance, kSummaryRowStdDev, kSummaryRowRelStdDev, kSummaryRowMaxSpeed,
          kSummaryRowMinSpeed, kSummaryRowSignificantMax, kSummaryRowSignificantMin})
        EXPECT_NE(Find(page, caption), nullptr) << caption;
    EXPECT_EQ(Find(page, kValidMeasurementsCaption), nullptr);

    const PrintText* total = Find(page, "Total");
    const PrintText* eastWest = Find(page, "East / west");
    const PrintText* northSouth = Find(page, "North / south");
    ASSERT_TRUE(total && eastWest && northSouth);
    EXPECT_EQ(total->align, TextAlign::Centre);
    EXPECT_LT(total->x, eastWest->x);
    EXPECT_LT(eastWest->x, northSouth->x);

    // Mean speed 19.5 in the Total column with the caller's separator; the
    // east/west mean (sine) under "East / west".
    const PrintText* mean = Find(page, "19,5");
    ASSERT_NE(mean, nullptr);
    EXPECT_EQ(mean->align, TextAlign::Right);
    const double digit = FixedPitchMeasure::CharWidth(12.0);
    EXPECT_NEAR(mean->x, total->x + 3.5 * digit, 1e-9);
    const std::string ew = texts.mean[2].substr(texts.mean[2].find_first_not_of(' '));
    bool ewUnderEastWest = false;
    for (const PrintText& t : page.texts)
        if (t.text == ew && std::abs(t.x - (eastWest->x + 3.5 * digit)) < 1e-9) ewUnderEastWest = true;
    EXPECT_TRUE(ewUnderEastWest) << ew;
    // Spreads end on a field of ten digits, so their decimals line up too.
    const std::string var = texts.variance[0].substr(texts.variance[0].find_first_not_of(' '));
    const PrintText* variance = Find(page, var);
    ASSERT_NE(variance, nullptr);
    EXPECT_NEAR(variance->x, total->x + 5 * digit, 1e-9);
    EXPECT_EQ(texts.maxSpeed.substr(texts.maxSpeed.find_first_not_of(' ')), "34,0");
    EXPECT_NE(Find(page, "34,0"), nullptr);

    // Ten horizontal rules for nine rows, five vertical ones for four columns.
    const auto horizontal =
        std::count_if(page.lines.begin(), page.lines.end(), [](const PrintLine& l) { return l.y1 == l.y2; });
    EXPECT_EQ(horizontal, 10);
    EXPECT_EQ(static_cast<long>(page.lines.size()) - horizontal, 5);
    // The table keeps the padding around every text.
    const double l = measure_.LineHeight(PrintFont{});
    EXPECT_DOUBLE_EQ(Find(page, kSummaryRowMean)->y, 10.0 + 6.5 * l + (l + 2.0) + 1.0);
    EXPECT_DOUBLE_EQ(Find(page, kSummaryRowMean)->x, 12.0);
}

TEST_F(PrintLayout, MatrixPrintsEveryCellAndShrinksToFit) {
    const TextGrid cells = MatrixCellTexts(data_, stats_);
    const PrintHeader h = MakePrintHeader(kMatrixTitle, data_, "B.CVN");
    // At 12 points the grid would reach 16 mm below this frame.
    const PageFrame frame{10.0, 30.0, 287.0, 200.0};
    const PrintJob job = LayoutMatrixPrint(h, cells, frame, measure_);
    EXPECT_EQ(job.title, "Corvan Table");
    EXPECT_TRUE(job.landscape);
    ASSERT_EQ(job.pages.size(), 1u);
    const PrintedPage& page = job.pages[0];

    for (const std::vector<std::string>& row : cells)
        for (const std::string& cell : row) {
            const std::string t = cell.substr(std::min(cell.size(), cell.find_first_not_of(' ')));
            if (!t.empty()) {
                EXPECT_NE(Find(page, t), nullptr) << t;
            }
        }
    const PrintText* groups = Find(page, kSpeedGroupsCaption);
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->align, TextAlign::Centre);

    // Everything lies inside the frame, and the font is the largest size
    // with which it does.
    double lowest = 0.0, rightmost = 0.0;
    for (const PrintLine& l : page.lines) {
        lowest = std::max({lowest, l.y1, l.y2});
        rightmost = std::max({rightmost, l.x1, l.x2});
    }
    EXPECT_LE(lowest, frame.bottom);
    EXPECT_LE(rightmost, frame.right);
    const double points = groups->font.points;
    EXPECT_LT(points, kPrintFontPoints);
    const double content = 30.0 + 6.5 * measure_.LineHeight(PrintFont{});
    const double biggerRow = measure_.LineHeight(PrintFont{points + 1.0}) + 0.6;
    EXPECT_GT(content + 27 * biggerRow, frame.bottom);

    // A frame too small for any size stops at two points.
    const PageFrame tiny{0.0, 0.0, 30.0, 60.0};
    const PrintJob small = LayoutMatrixPrint(h, cells, tiny, measure_);
    EXPECT_DOUBLE_EQ(Find(small.pages[0], kSpeedGroupsCaption)->font.points, kMatrixMinimumPoints);
}

TEST_F(PrintLayout, MatrixWithSensorFluxKeepsItsColumnsOnThePage) {
    std::vector<testing::Rec> recs;
    for (int i = 0; i < 30; ++i) recs.push_back({static_cast<float>(5 + i), i * 12.0, 8.0f, 90.0f});
    testing::FillDataSet(data_, recs, 3, 1);
    ComputeStatistics(data_, scale_, stats_);
    const TextGrid cells = MatrixCellTexts(data_, stats_);
    ASSERT_EQ(cells[0].size(), 19u);
    const PrintJob job =
        LayoutMatrixPrint(MakePrintHeader(kMatrixTitle, data_, "O.CVN"), cells, a4Landscape_, measure_);
    const PrintText* flux = Find(job.pages[0], kOxygenFluxCaption);
    ASSERT_NE(flux, nullptr);
    const PrintText* unit = Find(job.pages[0], kOxygenFluxUnit);
    ASSERT_NE(unit, nullptr);
    EXPECT_LE(unit->x, a4Landscape_.right);
    EXPECT_GT(unit->x, Find(job.pages[0], kMaxCaption)->x);
    // The grid spans the printable width, from edge to edge.
    double leftmost = a4Landscape_.right, rightmost = 0.0;
    for (const PrintLine& line : job.pages[0].lines) {
        leftmost = std::min({leftmost, line.x1, line.x2});
        rightmost = std::max({rightmost, line.x1, line.x2});
    }
    EXPECT_DOUBLE_EQ(leftmost, a4Landscape_.left);
    EXPECT_NEAR(rightmost, a4Landscape_.right, 1e-9);
}

TEST_F(PrintLayout, GraphPagesLeaveTheRestOfTheLandscapePageToTheChart) {
    const PrintHeader h = MakePrintHeader("CURRENT SPEED", data_, "BUOY.CVN");
    const double l = measure_.LineHeight(PrintFont{});

    const GraphPrintLayout line = LayoutGraphPrint(h, false, a4Landscape_, measure_);
    EXPECT_TRUE(line.job.landscape);
    ASSERT_EQ(line.job.pages.size(), 1u);
    EXPECT_NE(Find(line.job.pages[0], "Ref. number: 4711"), nullptr);
    EXPECT_NE(Find(line.job.pages[0], "Number of measurements in data set: 30"), nullptr);
    EXPECT_DOUBLE_EQ(line.chart.top, 10.0 + 6.5 * l);
    EXPECT_DOUBLE_EQ(line.chart.left, a4Landscape_.left);
    EXPECT_DOUBLE_EQ(line.chart.right, a4Landscape_.right);
    EXPECT_DOUBLE_EQ(line.chart.bottom, a4Landscape_.bottom);

    // The progressive vector: title, then file and series on one line, the
    // chart three lines down.
    const GraphPrintLayout vector = LayoutGraphPrint(h, true, a4Landscape_, measure_);
    ASSERT_EQ(vector.job.pages[0].texts.size(), 2u);
    EXPECT_TRUE(vector.job.pages[0].texts[0].font.bold);
    const PrintText* fileAndSeries = Find(vector.job.pages[0], "File name: BUOY.CVN   Series number: 1");
    ASSERT_NE(fileAndSeries, nullptr);
    EXPECT_DOUBLE_EQ(fileAndSeries->y, 10.0 + 1.5 * l);
    EXPECT_DOUBLE_EQ(vector.chart.top, 10.0 + 3.0 * l);

    const std::vector<std::string> legend = {"Neumann parameter: 0.5", "Rest speed: 2.0", "Rest direction: 90"};
    const PrintJob legendJob = LayoutVectorLegendPrint(h, legend, a4Portrait_, measure_);
    EXPECT_FALSE(legendJob.landscape);
    EXPECT_EQ(legendJob.title, "Corvan Vector graph legend");
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const PrintText* t = Find(legendJob.pages[0], legend[i]);
        ASSERT_NE(t, nullptr);
        EXPECT_DOUBLE_EQ(t->y, 10.0 + (5.5 + static_cast<double>(i)) * l);
        EXPECT_DOUBLE_EQ(t->x, 10.0);
    }
    EXPECT_NE(Find(legendJob.pages[0], "CURRENT SPEED"), nullptr);
}

}  // namespace
}  // namespace corvan
