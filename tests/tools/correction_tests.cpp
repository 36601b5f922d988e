// Salinity per series and speed scaling, through the files they rewrite.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "tools/salinity.h"
#include "tools/speed_scaling.h"
#include "tools/tool_fixtures.h"

namespace corvan {
namespace {

using testing::Exists;
using testing::LoadSet;
using testing::SetLayout;
using testing::TempDir;
using testing::WriteSet;

SetLayout OxygenSet() {
    SetLayout s;
    s.type = 3;
    s.sensorKind = 1;
    s.count = 30;
    s.series = {SeriesHeader{0, 24, 3, 4, 12, 0, 600, 2, 33.0f}, SeriesHeader{10, 24, 3, 9, 7, 5, 600, 2, -1.0f},
                SeriesHeader{20, 4, 12, 31, 23, 59, 600, 2, 0.0f}};
    return s;
}

TEST(SalinityGrid, RowsShowTheTable) {
    TempDir dir;
    const std::string base = dir.Path("oxy");
    WriteSet(base, OxygenSet());
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    const auto rows = SalinityRows(d, ',');
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].series, 1);
    EXPECT_EQ(rows[0].first, 0);
    EXPECT_EQ(rows[0].date, "24.03.04");
    EXPECT_EQ(rows[0].time, "12:00");
    EXPECT_EQ(rows[0].salinity, "33,00");
    EXPECT_EQ(rows[1].first, 10);
    EXPECT_EQ(rows[1].time, "07:05");
    EXPECT_EQ(rows[1].salinity, "");
    EXPECT_EQ(rows[2].date, "04.12.31");
    EXPECT_EQ(rows[2].salinity, "0,00");
}

TEST(SalinityGrid, KeepOrClearAndTheWrittenReferenceFile) {
    EXPECT_FLOAT_EQ(ConvertSalinityCell("34,5", 33.0f), 34.5f);
    EXPECT_FLOAT_EQ(ConvertSalinityCell("abc", 33.0f), 33.0f);
    EXPECT_FLOAT_EQ(ConvertSalinityCell("", 33.0f), -1.0f);
    EXPECT_FLOAT_EQ(ConvertSalinityCell("  ", 33.0f), -1.0f);
    EXPECT_EQ(SalinityText(34.5f), "34.50");
    EXPECT_EQ(SalinityText(-1.0f), "");
    EXPECT_EQ(SalinityText(-0.5f), "");

    TempDir dir;
    const std::string base = dir.Path("oxy");
    WriteSet(base, OxygenSet());
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    ApplySalinityCells(d, {"abc", "34,5", ""});
    WriteReferenceFile(d, d.seriesCount);
    EXPECT_TRUE(Exists(base + ".~RF6"));

    DataSet again;
    ASSERT_TRUE(LoadSet(base, again));
    ASSERT_EQ(again.seriesCount, 3);
    EXPECT_FLOAT_EQ(again.series[0].salinity, 33.0f);
    EXPECT_FLOAT_EQ(again.series[1].salinity, 34.5f);
    EXPECT_FLOAT_EQ(again.series[2].salinity, -1.0f);
    // The rest of each entry is untouched.
    EXPECT_EQ(again.series[1].first, 10);
    EXPECT_EQ(again.series[2].day, 31);
    const auto rows = SalinityRows(again);
    EXPECT_EQ(rows[1].salinity, "34.50");
    EXPECT_EQ(rows[2].salinity, "");
}

TEST(SpeedScaling, OnlyValidSpeedsOfTheChosenRecords) {
    TempDir dir;
    const std::string base = dir.Path("cur");
    SetLayout layout;
    layout.count = 6;
    WriteSet(base, layout);
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    d.records[2].speed = kInvalidValue;
    d.records[3].speed = -1500.0f;

    EXPECT_EQ(ScaleSpeeds(d, 0, 99, 0.0), 4);
    EXPECT_EQ(d.records[0].speed, 0.0f);
    EXPECT_EQ(d.records[2].speed, kInvalidValue);
    EXPECT_EQ(d.records[3].speed, -1500.0f);
    EXPECT_EQ(d.records[5].speed, 0.0f);
    EXPECT_FLOAT_EQ(d.records[5].direction, 0.05f);
    EXPECT_FLOAT_EQ(d.records[5].temperature, 5.5f);
    EXPECT_FLOAT_EQ(d.records[5].optional, 85.0f);

    DataSet e;
    ASSERT_TRUE(LoadSet(base, e));
    EXPECT_EQ(ScaleSpeeds(e, 1, 2, 1.5), 2);
    EXPECT_FLOAT_EQ(e.records[0].speed, 10.0f);
    EXPECT_FLOAT_EQ(e.records[1].speed, 16.5f);
    EXPECT_FLOAT_EQ(e.records[2].speed, 18.0f);
    EXPECT_FLOAT_EQ(e.records[3].speed, 13.0f);
}

TEST(SpeedScaling, ByOneRewritesTheSameValuesWithABackup) {
    TempDir dir;
    const std::string base = dir.Path("cur");
    WriteSet(base, SetLayout{});
    const auto before = testing::ReadBytes(base + ".CVN");
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    ScaleSpeeds(d, 0, d.HeaderCount() - 1, 1.0);
    WriteMeasurementFile(d);
    EXPECT_EQ(testing::ReadBytes(base + ".CVN"), before);
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN"), before);
}

}  // namespace
}  // namespace corvan
