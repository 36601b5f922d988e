#include <gtest/gtest.h>

#include "data/series_range.h"

using namespace corvan;

namespace {
void ThreeSeries(DataSet& d) {
    d.header.count = 300;
    d.series[0].first = 0;
    d.series[1].first = 100;
    d.series[2].first = 100;  // an empty series between two others
    d.series[1].interval = 600;
    d.seriesCount = 3;
    d.series[2].first = 250;
    d.series[2].interval = 60;
}
}  // namespace

TEST(SeriesRange, BoundsAreTheMeasurementNumbersTheDialogShows) {
    DataSet d;
    ThreeSeries(d);
    EXPECT_EQ(BoundsOfSeries(d, 1).lowest, 1);
    EXPECT_EQ(BoundsOfSeries(d, 1).highest, 100);
    EXPECT_EQ(BoundsOfSeries(d, 3).highest, 300);
    EXPECT_EQ(BoundsOfSeries(d, 3).Count(), 50);
    EXPECT_TRUE(BoundsOfSeries(d, 4).Empty());
    EXPECT_TRUE(BoundsOfSeries(d, 0).Empty());
    d.series[2].first = 100;  // series 2 now ends where it starts
    EXPECT_TRUE(BoundsOfSeries(d, 2).Empty());
}

TEST(SeriesRange, WholeSeriesByDefaultAndExactRangesWritten) {
    DataSet d;
    ThreeSeries(d);
    EXPECT_EQ(SelectSeriesRange(d, RangeRequest{2, {}, {}}), "");
    EXPECT_EQ(d.currentSeries, 2);
    EXPECT_EQ(d.rangeFirst, 100);
    EXPECT_EQ(d.rangeLast, 249);
    EXPECT_EQ(d.rangeCount, 150);
    EXPECT_EQ(d.rangeInterval, 600);
    EXPECT_EQ(SelectSeriesRange(d, RangeRequest{3, 251, 251}), "");
    EXPECT_EQ(d.rangeFirst, 250);
    EXPECT_EQ(d.rangeCount, 1);
    EXPECT_EQ(d.rangeInterval, 60);
}

TEST(SeriesRange, OutsideTheSeriesIsRefusedAndNothingChanges) {
    DataSet d;
    ThreeSeries(d);
    ASSERT_EQ(SelectSeriesRange(d, RangeRequest{1, 10, 20}), "");
    const RangeRequest bad[] = {{0, {}, {}}, {4, {}, {}}, {1, 0, 5}, {1, 5, 101}, {2, 100, 120}, {1, 50, 40}};
    for (const RangeRequest& r : bad) {
        EXPECT_NE(SelectSeriesRange(d, r), "");
        EXPECT_EQ(d.currentSeries, 1);
        EXPECT_EQ(d.rangeFirst, 9);
        EXPECT_EQ(d.rangeLast, 19);
    }
    DataSet empty;
    EXPECT_NE(SelectSeriesRange(empty, RangeRequest{}), "");
}

TEST(SeriesRange, NamedRangesKeepColonsThatAreNotNumbers) {
    auto plain = ParseNamedRange("samples/buoy3");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->base, "samples/buoy3");
    EXPECT_FALSE(plain->request.first);
    auto full = ParseNamedRange("C:\\data\\buoy3:2:5:90");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->base, "C:\\data\\buoy3");
    EXPECT_EQ(full->request.series, 2);
    EXPECT_EQ(*full->request.first, 5);
    EXPECT_EQ(*full->request.last, 90);
    auto series = ParseNamedRange("x:3");
    ASSERT_TRUE(series);
    EXPECT_EQ(series->request.series, 3);
    EXPECT_FALSE(ParseNamedRange("x:3:4"));
    EXPECT_FALSE(ParseNamedRange(":1:2:3"));
}
