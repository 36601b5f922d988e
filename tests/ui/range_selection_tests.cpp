// The range dialog's arithmetic.

#include <gtest/gtest.h>

#include "ui/range_selection.h"

namespace corvan {
namespace {

void Series(DataSet& d, int count, std::vector<int> firsts) {
    d.header.count = static_cast<std::int16_t>(count);
    d.recordCount = count;
    d.seriesCount = static_cast<int>(firsts.size());
    for (std::size_t i = 0; i < firsts.size(); ++i) {
        d.series[i] = SeriesHeader{firsts[i], 97, 2, static_cast<std::uint8_t>(25 + i), 12, 5, 600, 2, -1.0f};
    }
    d.dataLoaded = true;
    d.rangeCount = 0;
    d.currentSeries = 1;
}

TEST(RangeSelection, ProposesTheWholeFirstSeriesAfterAnOpen) {
    DataSet d;
    Series(d, 500, {0});
    RangeSelection r(d);
    r.Show();
    EXPECT_EQ(r.First().value, 1);
    EXPECT_EQ(r.Last().value, 500);
    EXPECT_EQ(r.Count().value, 500);
    EXPECT_EQ(r.Accept(), "");
    EXPECT_EQ(d.rangeFirst, 0);
    EXPECT_EQ(d.rangeLast, 499);
    EXPECT_EQ(d.rangeCount, 500);
    EXPECT_EQ(d.rangeInterval, 600);

    // A second file resets the proposal.
    Series(d, 50, {0, 20});
    RangeSelection again(d);
    again.Show();
    EXPECT_EQ(again.Last().value, 20);
}

TEST(RangeSelection, SeriesItemsAndChoosingASeries) {
    DataSet d;
    Series(d, 400, {0, 100, 250});
    EXPECT_EQ(SeriesItemText(d, 1), "1\v1\v100\v100\v\t97.02.25\t12:05");
    EXPECT_EQ(SeriesItemText(d, 2), "2\v101\v250\v150\v\t97.02.26\t12:05");
    EXPECT_EQ(SeriesItemText(d, 3), "3\v251\v400\v150\v\t97.02.27\t12:05");
    RangeSelection r(d);
    r.Show();
    r.SelectSeries(2);
    EXPECT_EQ(r.First().value, 101);
    EXPECT_EQ(r.Last().value, 250);
    EXPECT_EQ(r.Count().value, 150);
    EXPECT_EQ(d.currentSeries, 1);  // only OK changes the data set
    r.CountChanged(10);
    EXPECT_EQ(r.Last().value, 110);
    EXPECT_EQ(r.Accept(), "");
    EXPECT_EQ(d.currentSeries, 2);
    EXPECT_EQ(d.rangeFirst, 100);
    EXPECT_EQ(d.rangeLast, 109);
    EXPECT_EQ(d.rangeCount, 10);
}

TEST(RangeSelection, SpinsDragEachOtherByTheirRules) {
    DataSet d;
    Series(d, 2000, {0});
    RangeSelection r(d);
    r.Show();
    r.FirstChanged(300);
    r.LastChanged(200);  // arrows: SpinFirst follows down
    EXPECT_EQ(r.First().value, 200);
    EXPECT_EQ(r.Count().value, 1);
    r.FirstChanged(500);
    EXPECT_EQ(r.Last().value, 500);
    EXPECT_EQ(r.Count().value, 1);
    EXPECT_EQ(r.Count().maximum, 2000 - 500 + 1);

    // Typing 1234: the first digit must not drag SpinFirst to 1.
    r.LastKeyPressed();
    r.LastChanged(1);
    EXPECT_EQ(r.First().value, 500);
    r.LastChanged(12);
    r.LastChanged(123);
    r.LastChanged(1234);
    r.LastTypingEnded();
    EXPECT_EQ(r.First().value, 500);
    EXPECT_EQ(r.Count().value, 735);

    // Typing a number below SpinFirst and leaving moves SpinFirst down.
    r.LastKeyPressed();
    r.LastChanged(42);
    EXPECT_EQ(r.First().value, 500);
    r.LastTypingEnded();
    EXPECT_EQ(r.First().value, 42);
    EXPECT_EQ(r.Count().value, 1);

    // Values outside the series are clamped.
    r.CountChanged(99999);
    EXPECT_EQ(r.Last().value, 2000);
    r.FirstChanged(-5);
    EXPECT_EQ(r.First().value, 1);
}

TEST(RangeSelection, TheAcceptedRangeStaysInsideTheSeries) {
    DataSet d;
    Series(d, 100, {0, 60});
    d.currentSeries = 2;
    RangeSelection r(d);
    r.Show();
    EXPECT_EQ(r.First().value, 61);
    EXPECT_EQ(r.Last().value, 100);
    EXPECT_EQ(r.Accept(), "");
    EXPECT_EQ(d.rangeFirst, 60);
    EXPECT_EQ(d.rangeLast, 99);
    // A one-record range.
    r.FirstChanged(70);
    r.LastChanged(70);
    EXPECT_EQ(r.Accept(), "");
    EXPECT_EQ(d.rangeCount, 1);
}

TEST(RangeSelection, OutsideTheSeriesIsNeitherProducedNorWritten) {
    DataSet d;
    Series(d, 100, {0, 60, 60});
    RangeSelection r(d);
    r.Show();
    ASSERT_EQ(r.Accept(), "");
    // One past the end of the last series cannot be typed into the spins...
    r.SelectSeries(3);
    r.LastKeyPressed();
    r.LastChanged(101);
    r.LastTypingEnded();
    EXPECT_EQ(r.Last().value, 100);
    // ...and a series without measurements has no range to accept: the
    // data set keeps the range it had.
    r.SelectSeries(2);
    EXPECT_NE(r.Accept(), "");
    EXPECT_EQ(d.currentSeries, 1);
    EXPECT_EQ(d.rangeCount, 60);
}

}  // namespace
}  // namespace corvan
