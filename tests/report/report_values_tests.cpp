// The report's texts against numbers worked by hand for a six-record file.

#include <gtest/gtest.h>

#include <map>

#include "graphs/stats_test_data.h"
#include "report/report_builder.h"
#include "report/report_values.h"

namespace corvan {
namespace {

using testing::FillDataSet;
using testing::Rec;

std::map<std::string, std::string> AsMap(const std::vector<Replacement>& r) { return {r.begin(), r.end()}; }

// dt 600 s. Sectors: 10 deg -> 1, 20 and 22 deg -> 2, 100 deg -> 7,
// 200 deg -> 14. Classes of range 1: 0.5 -> 1, 2 -> 2, 4 -> 3, 10 -> 7,
// 20 -> 9. Water flux 6 v per record: sector 1 12, 2 123, 7 24, 14 180.
const std::vector<Rec> kSmallFile = {
    {2.0f, 10.0}, {0.5f, 20.0}, {4.0f, 100.0}, {10.0f, 200.0}, {20.0f, 200.0}, {20.0f, 22.0},
};

struct Computed {
    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    explicit Computed(const std::vector<Rec>& recs, int type = 0, int kind = 0, int interval = 600) {
        FillDataSet(data, recs, type, kind, interval);
        ComputeStatistics(data, scale, stats);
        stats.progressive = ComputeProgressiveFigures(data);
    }
};

TEST(ReportValues, SmallFileAgainstHandWorkedNumbers) {
    Computed c(kSmallFile);
    const auto v = AsMap(PositionReplacements(c.data, c.stats, "{corvanOf", "."));
    EXPECT_EQ(v.at("{corvanOfInstr}"), "Corvan - nr4711");
    EXPECT_EQ(v.at("{corvanOfInstrNr}"), "4711");
    // Start 25.02.1997 12:00 is one interval before the first measurement.
    EXPECT_EQ(v.at("{corvanOfTid}"), "25.02.1997-25.02.1997");
    // 5 x 600 s is 0.03 days: rounds to 0, at least 1.
    EXPECT_EQ(v.at("{corvanOfFrekvens}"), "2 min/10 min - 1 døgn");
    EXPECT_EQ(v.at("{corvanOfAvgC}"), "9.4");  // 56.5 / 6
    // E = 16.891, N = -79.022, L = 565: |R| = 80.807.
    EXPECT_EQ(v.at("{corvanOfNeu}"), "0.143");
    EXPECT_EQ(v.at("{corvanOfRestC}"), "1.3");  // 80.807 / (600 * 6 / 60)
    EXPECT_EQ(v.at("{corvanOfMaxC}"), "20.0 - 20.0");
    // Two sectors with 2 records: the later (195) first; then 90 before 0.
    EXPECT_EQ(v.at("{corvanOfHovedD}"), "195, 15, 90, 0");
    EXPECT_EQ(v.at("{corvanOfHovedC}"), "15-25, 8-10, 3-4, 1-3");
    EXPECT_EQ(v.at("{corvanOfMaxFlow}"), "180m#3 ved 195-210 grader. 180m#3/m#2/døgn");
    // Empty sectors have no flux; the first of them (30-45) wins.
    EXPECT_EQ(v.at("{corvanOfMinFlow}"), "0m#3 ved 30-45 grader. 0m#3/m#2/døgn");
    EXPECT_EQ(v.at("{corvanOfAvgFlow}"), "339m#3/døgn");
    EXPECT_EQ(v.at("{corvanOfPct0}"), "16.7 %");
    EXPECT_EQ(v.size(), kPositionSuffixes.size());
}

TEST(ReportValues, InvalidSpeedsAddTheMeasurementCountAndSeparatorIsTheCallers) {
    std::vector<Rec> recs = kSmallFile;
    recs.push_back({-999.0f, 10.0});
    Computed c(recs);
    const auto v = AsMap(PositionReplacements(c.data, c.stats, "{corvanBn", ","));
    EXPECT_EQ(v.at("{corvanBnAvgC}"), "9,4 (6 målinger)");
    EXPECT_EQ(v.at("{corvanBnNeu}"), "0,143 (6 målinger)");
    EXPECT_EQ(v.at("{corvanBnRestC}"), "1,3 (6 målinger)");
    EXPECT_EQ(v.at("{corvanBnMaxC}"), "20,0 - 20,0");
}

TEST(ReportValues, InstrumentsWithoutCurrentLeaveTheCurrentValuesEmpty) {
    Computed c({{0.0f, 0.0}, {0.0f, 0.0}}, 4);
    c.data.header.referenceNumber = 0;
    const auto v = AsMap(PositionReplacements(c.data, c.stats, "{corvanSp", "."));
    EXPECT_EQ(v.at("{corvanSpInstr}"), "CorvanT");
    EXPECT_EQ(v.at("{corvanSpInstrNr}"), "0");
    for (const char* s :
         {"AvgC}", "RestC}", "Neu}", "MaxC}", "HovedD}", "HovedC}", "MaxFlow}", "MinFlow}", "AvgFlow}", "Pct0}"}) {
        EXPECT_EQ(v.at(std::string("{corvanSp") + s), "") << s;
    }
}

TEST(ReportValues, IntervalTextsAndDays) {
    EXPECT_EQ(IntervalText(0, 60, 0), "1 min");
    EXPECT_EQ(IntervalText(0, 600, 0), "2 min/10 min");
    EXPECT_EQ(IntervalText(3, 1200, 0), "4 min/20 min");
    for (int type = 5; type <= 12; ++type) EXPECT_EQ(IntervalText(type, 600, 45), "45 sec/10 min") << type;
    EXPECT_EQ(IntervalText(13, 600, 45), "2 min/10 min");
    // Halves go to the even day count; short series count one day.
    EXPECT_EQ(ReportDays(0, 72, 600), 1);    // 0.5 -> 0 -> 1
    EXPECT_EQ(ReportDays(0, 216, 600), 2);   // 1.5
    EXPECT_EQ(ReportDays(0, 360, 600), 2);   // 2.5
    EXPECT_EQ(ReportDays(10, 514, 600), 4);  // 3.5
    EXPECT_EQ(ReportDays(5, 5, 600), 1);
}

TEST(ReportValues, FlowRoundingAndTies) {
    SectorStatistics s;
    s.sectorWaterFlux[3] = 2.5f;
    s.sectorWaterFlux[5] = 2.5f;
    s.sectorWaterFlux[7] = 0.5f;
    for (std::size_t i = 0; i < s.sectorWaterFlux.size(); ++i) {
        if (s.sectorWaterFlux[i] == 0.0f) s.sectorWaterFlux[i] = 9.0f;
    }
    EXPECT_EQ(LargestFluxSector(s), 0);  // many 9s: the first
    EXPECT_EQ(SmallestFluxSector(s), 7);
    s.sectorWaterFlux[7] = 2.5f;
    EXPECT_EQ(SmallestFluxSector(s), 3);
    // 2.5 rounds to 2; per day 2.5 / 1 likewise; 7.5 / 3 = 2.5 -> 2.
    EXPECT_EQ(FlowText(s, 3, 1), "2m#3 ved 45-60 grader. 2m#3/m#2/døgn");
    s.sectorWaterFlux[3] = 7.5f;
    EXPECT_EQ(FlowText(s, 3, 3), "8m#3 ved 45-60 grader. 2m#3/m#2/døgn");
}

TEST(ReportValues, ContentsLinesForEverySet) {
    const std::pair<std::string, std::string> expected[8] = {
        {"", ""},
        {"Overflatestrøm", "Overflatestrøm"},
        {"Spredningsstrøm", "Spredningsstrøm"},
        {"Overflate- og spredningsstrøm", "Overflatestrøm og spredningsstrøm"},
        {"Bunnstrøm", "Bunnstrøm"},
        {"Overflate- og bunnstrøm", "Overflatestrøm og bunnstrøm"},
        {"Sprednings- og bunnstrøm", "Spredningsstrøm og bunnstrøm"},
        {"Overflate- sprednings- og bunnstrøm", "Overflatestrøm, spredningsstrøm og bunnstrøm"},
    };
    for (int set = 0; set < 8; ++set) EXPECT_EQ(ContentsLines(set), expected[set]) << set;
}

TEST(ReportValues, HeadingsDateAndMeasuringMode) {
    EXPECT_EQ(SurfaceHeadingText("5"), "Overflatestrøm - 5 meter");
    EXPECT_EQ(SurfaceHeadingText(" 12 "), "Overflatestrøm - 12 meter");
    for (const char* no : {"0", "", "abc", "-3", "2.5", "1e2"})
        EXPECT_EQ(SurfaceHeadingText(no), "Overflatestrøm") << no;
    EXPECT_EQ(PositionHeading(1, "5"), "Spredningsstrøm");
    EXPECT_EQ(PositionHeading(2, "5"), "Bunnstrøm");
    EXPECT_EQ(ReportDateText({2009, 2, 23, 14, 5, 1}), "23/02-2009");
    EXPECT_EQ(ReportFileName({2009, 2, 23, 14, 5, 1}), "CorvanReport20090223140501.docx");
    EXPECT_EQ(MeasuringModeTexts(7).second, "Måler type");
    EXPECT_EQ(MeasuringModeTexts(0).second, "Måler type - nummer");
    EXPECT_NE(MeasuringModeTexts(12).first, MeasuringModeTexts(4).first);
}

TEST(ReportValues, SummaryTableRowsAndHeaderCells) {
    Computed all(kSmallFile);
    const SummaryTable plain = ReportSummaryTable(all.data, all.stats, ".");
    ASSERT_EQ(plain.cells.size(), 9u);
    EXPECT_EQ(plain.cells[0][1], "Total");
    EXPECT_EQ(plain.cells[0][2], "East / west");
    EXPECT_EQ(plain.cells[0][3], "North / south");
    EXPECT_EQ(plain.cells[1][0], "Mean current speed (cm/s)");
    EXPECT_EQ(plain.cells[1][1], "9.4");  // no padding for the proportional font
    EXPECT_EQ(plain.cells[6][0], "Minimum  current velocity");
    EXPECT_EQ(plain.cells[5][2], "");
    EXPECT_EQ(plain.headerCells.size(), 3u);

    std::vector<Rec> recs = kSmallFile;
    recs.push_back({-999.0f, -1.0, -999.0f});
    Computed some(recs);
    const SummaryTable valid = ReportSummaryTable(some.data, some.stats, ".");
    ASSERT_EQ(valid.cells.size(), 12u);
    EXPECT_EQ(valid.cells[10][1], "Velocity");
    EXPECT_EQ(valid.cells[10][2], "Dir");
    EXPECT_EQ(valid.cells[10][3], "Temp");
    EXPECT_EQ(valid.cells[11][0], "Valid measurements");
    EXPECT_EQ(valid.cells[11][1], "6");
    EXPECT_EQ(valid.cells[9][0], "");
    EXPECT_EQ(valid.headerCells.size(), 9u);
}

TEST(ReportViews, PictureCountAndOrderByInstrument) {
    const auto descriptions = [](int type, int kind) {
        DataSet d;
        FillDataSet(d, kSmallFile, type, kind);
        std::vector<std::string> out;
        for (const ReportViewItem& v : ReportViews(d)) out.push_back(v.description);
        return out;
    };
    EXPECT_EQ(descriptions(0, 0),
              (std::vector<std::string>{"TEMPERATURE", "CURRENT SPEED", "CURRENT SPEED BAR CHART",
                                        "CURRENT DIRECTION BAR CHART", "PROGRESSIVE VECTOR",
                                        "CURRENT VELOCITY DISTRIBUTION DIAGRAM - Max / mean velocity",
                                        "CURRENT VELOCITY DISTRIBUTION DIAGRAM - Relative flux / Number measured",
                                        "STICK DIAGRAM", "CURRENT SPEED / DIRECTION MATRIX"}));
    const auto oxygen = descriptions(3, 1);
    ASSERT_EQ(oxygen.size(), 13u);
    EXPECT_EQ(oxygen[2], "OX SAT");
    EXPECT_EQ(oxygen[3], "OXYGEN mg/l");
    EXPECT_EQ(oxygen[4], "OXYGEN FLUX");
    EXPECT_EQ(oxygen[10], "OXYGEN FLUX DISTRIBUTION DIAGRAM - Relative Ox flux");
    EXPECT_EQ(oxygen[11], "STICK DIAGRAM");
    EXPECT_EQ(descriptions(3, 2).size(), 11u);  // turbidity: optional and flux lines, no oxygen rose
    EXPECT_EQ(descriptions(2, 0), std::vector<std::string>{"TEMPERATURE"});
}

}  // namespace
}  // namespace corvan
