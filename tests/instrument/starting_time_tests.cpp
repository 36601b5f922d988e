#include <gtest/gtest.h>

#include <memory>

#include "data/series_range.h"
#include "instrument/starting_time.h"

namespace corvan {
namespace {

TEST(StartingTimeTest, DaysOfTheMonthFollowTheYear) {
    EXPECT_EQ(DayMaximum(0, 2), 29);   // 2000
    EXPECT_EQ(DayMaximum(99, 2), 28);  // 1999
    EXPECT_EQ(DayMaximum(96, 2), 29);
    EXPECT_EQ(DayMaximum(0, 12), 31);
    EXPECT_EQ(DayMaximum(5, 4), 30);
    EXPECT_EQ(ClampDay(99, 2, 31), 28);
    EXPECT_EQ(ClampDay(0, 2, 31), 29);
    EXPECT_EQ(ClampDay(0, 3, 31), 31);
}

TEST(StartingTimeTest, SeriesListLines) {
    auto d = std::make_unique<DataSet>();
    d->header.count = 1500;
    d->series[0] = SeriesHeader{0, 97, 2, 5, 9, 7, 600, 0, -1.0f};
    d->series[1] = SeriesHeader{1000, 3, 11, 30, 23, 59, 600, 0, -1.0f};
    const auto lines = SeriesListLines(*d, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].series, "01");
    EXPECT_EQ(lines[0].first, "01");
    EXPECT_EQ(lines[0].last, "1000");
    EXPECT_EQ(lines[0].count, "1000");
    EXPECT_EQ(lines[0].date, "97.02.05");
    EXPECT_EQ(lines[0].time, "09:07");
    EXPECT_EQ(lines[1].first, "1001");
    EXPECT_EQ(lines[1].last, "1500");
    EXPECT_EQ(lines[1].count, "500");
    EXPECT_EQ(lines[1].date, "03.11.30");
    EXPECT_TRUE(SeriesListLines(*d, -1).empty());
}

// The list, `corvan info` and the range dialog must agree on where each
// series ends, even for a table the records do not fill.
TEST(StartingTimeTest, ListAndSeriesLastAgreeWithTheRangeBounds) {
    auto d = std::make_unique<DataSet>();
    d->header.count = 300;
    d->seriesCount = 4;
    d->series[0].first = 0;
    d->series[1].first = 100;
    d->series[2].first = 100;  // series 2 holds nothing
    d->series[3].first = 500;  // starts beyond the last record
    const auto lines = SeriesListLines(*d, 4);
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<std::vector<std::string>> expected = {
        {"01", "100", "100"}, {"101", "100", "00"}, {"101", "300", "200"}, {"301", "300", "00"}};
    for (int s = 1; s <= 4; ++s) {
        const auto& l = lines[static_cast<std::size_t>(s - 1)];
        const SeriesBounds b = BoundsOfSeries(*d, s);
        EXPECT_EQ((std::vector<std::string>{l.first, l.last, l.count}), expected[static_cast<std::size_t>(s - 1)]) << s;
        EXPECT_EQ(std::stoi(l.first), b.lowest) << s;
        EXPECT_EQ(std::stoi(l.count), b.Count()) << s;
        EXPECT_EQ(d->SeriesLast(s) + 1, std::stoi(l.last)) << s;
    }
}

TEST(StartingTimeTest, FieldsRoundTripIntoTheSeriesHeader) {
    SeriesHeader h{};
    h.interval = 600;
    StoreStartFields(h, {0, 2, 29, 23, 59});
    EXPECT_EQ(h.year, 0);
    EXPECT_EQ(h.month, 2);
    EXPECT_EQ(h.day, 29);
    EXPECT_EQ(h.interval, 600);
    const SeriesStartFields f = StartFields(h);
    EXPECT_EQ(f.minute, 59);
}

}  // namespace
}  // namespace corvan
