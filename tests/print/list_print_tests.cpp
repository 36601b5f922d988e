#include "print/list_print.h"

#include <gtest/gtest.h>

#include "../graphs/stats_test_data.h"
#include "print_test_support.h"

namespace corvan {
namespace {

using testing::FixedPitchMeasure;

std::vector<std::string> TextsOf(const PrintJob& job) {
    std::vector<std::string> out;
    for (const PrintedPage& p : job.pages)
        for (const PrintText& t : p.texts) out.push_back(t.text);
    return out;
}

// Four series of 20 records each, 600 s apart; series 2 starts 1997-03-01.
void FourSeries(DataSet& d) {
    std::vector<testing::Rec> recs;
    for (int i = 0; i < 80; ++i) recs.push_back({10.0f + static_cast<float>(i % 7), (i * 37) % 360 * 1.0, 7.5f});
    recs[3].speed = -999.0f;
    testing::FillDataSet(d, recs);
    for (int s = 1; s < 4; ++s) {
        d.series[static_cast<std::size_t>(s)] = d.series[0];
        d.series[static_cast<std::size_t>(s)].first = 20 * s;
        d.series[static_cast<std::size_t>(s)].month = 3;
        d.series[static_cast<std::size_t>(s)].day = static_cast<std::uint8_t>(s);
        d.series[static_cast<std::size_t>(s)].interval = 600 + 30 * s;
    }
    d.seriesCount = 4;
}

class ListPrint : public ::testing::Test {
protected:
    void SetUp() override { FourSeries(data_); }
    DataSet data_;
    FixedPitchMeasure measure_;
    const PageFrame a4_{10.0, 10.0, 200.0, 287.0};
};

TEST_F(ListPrint, RangeChoices) {
    data_.rangeFirst = 25;
    data_.rangeLast = 39;
    auto resolve = [&](PrintRangeKind k, std::string from = {}, std::string to = {}) {
        const RecordRange r = ResolveListRange(data_, PrintRangeChoice{k, from, to});
        return std::pair(r.first, r.last);
    };
    EXPECT_EQ(resolve(PrintRangeKind::All), std::pair(0, 79));
    EXPECT_EQ(resolve(PrintRangeKind::Selected), std::pair(25, 39));
    EXPECT_EQ(resolve(PrintRangeKind::Measurements, "5", "9"), std::pair(4, 8));
    EXPECT_EQ(resolve(PrintRangeKind::Measurements, "x", ""), std::pair(25, 39));
    EXPECT_EQ(resolve(PrintRangeKind::Measurements, "0", "500"), std::pair(0, 79));
    EXPECT_EQ(resolve(PrintRangeKind::Measurements, "50", "10"), std::pair(49, 49));
    EXPECT_EQ(resolve(PrintRangeKind::Measurements, "900", "2"), std::pair(79, 79));
    data_.recordCount = 0;
    const RecordRange none = ResolveListRange(data_, PrintRangeChoice{PrintRangeKind::All, {}, {}});
    EXPECT_LT(none.last, none.first);
}

TEST_F(ListPrint, ColumnsShrinkOnANarrowPageWithGapsOfAtMostTenMillimetres) {
    const std::vector<ListColumn> columns = RebuildListColumns(data_);  // Ser Meas Temp Curr Dir Date Time
    ASSERT_EQ(columns.size(), 7u);
    // 3 + 4 + 6 + 6 + 4 + 10 + 6 = 39 digit widths.
    const ListPrintColumns wide = FitListColumns(columns, 190.0, measure_);
    EXPECT_DOUBLE_EQ(wide.points, 12.0);
    EXPECT_DOUBLE_EQ(wide.gap, 10.0);
    const double d12 = FixedPitchMeasure::CharWidth(12.0);
    EXPECT_DOUBLE_EQ(wide.ends[0], 3 * d12);
    EXPECT_DOUBLE_EQ(wide.ends[1], 7 * d12 + 10.0);
    EXPECT_DOUBLE_EQ(wide.ends.back(), 39 * d12 + 60.0);

    // 80 mm holds 39 digits and six one-digit gaps at 10 points (79.4 mm)
    // but not at 11 (87.3 mm).
    const ListPrintColumns narrow = FitListColumns(columns, 80.0, measure_);
    EXPECT_DOUBLE_EQ(narrow.points, 10.0);
    EXPECT_NEAR(narrow.gap, (80.0 - 39 * FixedPitchMeasure::CharWidth(10.0)) / 6, 1e-9);
    EXPECT_GE(narrow.gap, FixedPitchMeasure::CharWidth(10.0));
    EXPECT_LE(narrow.ends.back(), 80.0 + 1e-9);

    // Nothing fits 2 mm: one point, and no negative gap.
    const ListPrintColumns none = FitListColumns(columns, 2.0, measure_);
    EXPECT_DOUBLE_EQ(none.points, 1.0);
    EXPECT_DOUBLE_EQ(none.gap, 0.0);
}

TEST_F(ListPrint, SeriesHeadingsWhenPrintingStartsInsideASeries) {
    // From record 10 of series 2 (record index 29) to the end.
    const PrintJob job = LayoutListPrint(data_, "FOUR.CVN", RecordRange{29, 79}, a4_, measure_);
    EXPECT_EQ(job.title, "Corvan List");
    EXPECT_FALSE(job.landscape);
    std::vector<std::string> headings;
    for (const std::string& t : TextsOf(job))
        if (t.find("eas series no. ") != std::string::npos) headings.push_back(t);
    ASSERT_EQ(headings.size(), 3u);
    EXPECT_EQ(headings[0], "Meas series no. 2. Started: Date : 01.Mar-97 Time: 12:00");
    EXPECT_EQ(headings[1], "Start of meas series no. 3. Date: 02.Mar-97 Time: 12:00");
    EXPECT_EQ(headings[2], "Start of meas series no. 4. Date: 03.Mar-97 Time: 12:00");
    const std::vector<std::string> texts = TextsOf(job);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Intv.: 10:30 minutes."), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Intv.: 11 minutes."), texts.end());
}

TEST_F(ListPrint, PagesHeadersAndRecordLines) {
    // One series of 300 records: a page holds fewer lines than that.
    std::vector<testing::Rec> recs;
    for (int i = 0; i < 300; ++i) recs.push_back({12.5f, 90.0, 7.25f});
    recs[4].speed = -999.0f;
    recs[5].degrees = -1.0;
    testing::FillDataSet(data_, recs);
    const double l = measure_.LineHeight(PrintFont{});
    const int linesPerPage = static_cast<int>(277.0 / l);
    const PrintJob job = LayoutListPrint(data_, "ONE.CVN", RecordRange{0, 299}, a4_, measure_);

    // Page 1: header, heading, interval, empty, column headers; the later
    // pages: header, empty, column headers.
    const int first = linesPerPage - 5;
    const int later = linesPerPage - 3;
    const int expectedPages = 1 + (300 - first + later - 1) / later;
    ASSERT_EQ(static_cast<int>(job.pages.size()), expectedPages);
    for (std::size_t p = 0; p < job.pages.size(); ++p) {
        const PrintedPage& page = job.pages[p];
        EXPECT_EQ(page.texts[0].text, "List of Corvan data from file ONE.CVN.  Ref. number: 4711");
        EXPECT_EQ(page.texts[1].text, "Page " + std::to_string(p + 1));
        EXPECT_EQ(page.texts[1].align, TextAlign::Right);
        EXPECT_DOUBLE_EQ(page.texts[1].x, 200.0);
        bool headers = false;
        for (const PrintText& t : page.texts) {
            headers = headers || t.text == "Curr";
            EXPECT_LE(t.y + l, 287.0 + 1e-9);
        }
        EXPECT_TRUE(headers) << "page " << p + 1;
    }

    // Record 5 (index 4): invalid speed keeps its blanks; index 5 shows no direction.
    const PrintedPage& page = job.pages[0];
    auto lineOf = [&](const std::string& meas) {
        std::vector<std::string> cells;
        for (std::size_t k = 0; k < page.texts.size(); ++k)
            if (page.texts[k].text == meas && page.texts[k].align == TextAlign::Right) {
                for (std::size_t j = k - 1; j < page.texts.size() && page.texts[j].y == page.texts[k].y; ++j)
                    cells.push_back(page.texts[j].text);
                break;
            }
        return cells;
    };
    EXPECT_EQ(lineOf("5"), (std::vector<std::string>{"1", "5", "7.25", "-  ", "90", "25.Feb-97", "12:50"}));
    EXPECT_EQ(lineOf("6"), (std::vector<std::string>{"1", "6", "7.25", "12.5", "-", "25.Feb-97", "13:00"}));
}

TEST_F(ListPrint, ASeriesHeadingNeedsFiveLinesLeft) {
    // Page header, series 1's heading block (heading, interval, empty,
    // column headers) and its 20 records fill 25 lines; series 2's block
    // and first record need five more.
    const double l = measure_.LineHeight(PrintFont{});
    auto pageOfSecondHeading = [&](double lines) {
        const PageFrame frame{10.0, 10.0, 200.0, 10.0 + lines * l};
        const PrintJob job = LayoutListPrint(data_, "FOUR.CVN", RecordRange{0, 39}, frame, measure_);
        for (std::size_t p = 0; p < job.pages.size(); ++p)
            for (const PrintText& t : job.pages[p].texts)
                if (t.text.rfind("Start of meas series no. 2", 0) == 0) return static_cast<int>(p);
        return -1;
    };
    EXPECT_EQ(pageOfSecondHeading(30.0), 0);
    EXPECT_EQ(pageOfSecondHeading(29.5), 1);
}

TEST_F(ListPrint, ALongFileNameMovesToASecondHeaderLine) {
    const std::string name(70, 'F');
    const PrintJob job = LayoutListPrint(data_, name, RecordRange{0, 5}, a4_, measure_);
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_EQ(job.pages[0].texts[0].text, "List of Corvan data. Ref. number: 4711");
    EXPECT_EQ(job.pages[0].texts[2].text, "File name: " + name);
}

}  // namespace
}  // namespace corvan
