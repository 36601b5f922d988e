#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "instrument/erase_measurements.h"

namespace corvan {
namespace {

std::unique_ptr<DataSet> Set(int n, int type = 0) {
    auto d = std::make_unique<DataSet>();
    d->header.instrumentType = static_cast<std::uint8_t>(type);
    d->header.count = static_cast<std::int16_t>(n);
    d->recordCount = n;
    for (int i = 0; i < n; ++i) {
        auto& r = d->records[static_cast<std::size_t>(i)];
        r.speed = static_cast<float>(i);
        r.direction = 1.0f;
        r.temperature = 5.0f;
        r.optional = 2.0f * i;
    }
    d->seriesCount = 1;
    d->series[0].first = 0;
    return d;
}

TEST(EraseTest, InterpolatesBetweenTheNeighboursOfTheRun) {
    auto d = Set(10);
    d->records[3].speed = 10.0f;  // record 4
    d->records[7].speed = 18.0f;  // record 8
    ASSERT_TRUE(EraseMeasurements(*d, 5, 7));
    EXPECT_FLOAT_EQ(d->records[4].speed, 12.0f);
    EXPECT_FLOAT_EQ(d->records[5].speed, 14.0f);
    EXPECT_FLOAT_EQ(d->records[6].speed, 16.0f);
    EXPECT_FLOAT_EQ(d->records[5].optional, 6.0f + (14.0f - 6.0f) / 2.0f);
    EXPECT_FLOAT_EQ(d->records[7].speed, 18.0f);
    EXPECT_FLOAT_EQ(d->records[3].speed, 10.0f);
}

TEST(EraseTest, DirectionTurnsThroughNorth) {
    auto d = Set(3);
    d->records[0].direction = 6.2f;
    d->records[2].direction = 0.1f;
    ASSERT_TRUE(EraseMeasurements(*d, 2, 2));
    const double twoPi = 2 * std::numbers::pi;
    const double expected = std::fmod(6.2 + (0.1 + twoPi - 6.2) / 2.0, twoPi);
    EXPECT_NEAR(d->records[1].direction, expected, 1e-5);
    EXPECT_GE(d->records[1].direction, 0.0f);
    EXPECT_LT(d->records[1].direction, twoPi);
}

TEST(EraseTest, FromTheFirstRecordTheRunTakesTheRecordAfterIt) {
    auto d = Set(6);
    d->records[3] = {9.0f, 2.0f, 7.0f, 1.0f};
    ASSERT_TRUE(EraseMeasurements(*d, 1, 3));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(d->records[static_cast<std::size_t>(i)].speed, 9.0f);
        EXPECT_FLOAT_EQ(d->records[static_cast<std::size_t>(i)].temperature, 7.0f);
    }
}

TEST(EraseTest, UpToTheLastRecordTheRunCopiesTheRecordBefore) {
    auto d = Set(6);
    ASSERT_TRUE(EraseMeasurements(*d, 4, 6));
    for (int i = 3; i < 6; ++i) EXPECT_FLOAT_EQ(d->records[static_cast<std::size_t>(i)].speed, 2.0f);
}

TEST(EraseTest, SeriesBoundariesAreNotCrossed) {
    auto d = Set(10);
    d->seriesCount = 2;
    d->series[1].first = 5;
    // The run starts a series: no record before it counts, so the one after is used.
    ASSERT_TRUE(EraseMeasurements(*d, 6, 7));
    EXPECT_FLOAT_EQ(d->records[5].speed, 7.0f);
    EXPECT_FLOAT_EQ(d->records[6].speed, 7.0f);

    auto e = Set(10);
    e->seriesCount = 2;
    e->series[1].first = 5;
    // The record after the run starts the next series: the one before is used.
    ASSERT_TRUE(EraseMeasurements(*e, 4, 5));
    EXPECT_FLOAT_EQ(e->records[3].speed, 2.0f);
    EXPECT_FLOAT_EQ(e->records[4].speed, 2.0f);
}

TEST(EraseTest, InvalidRangesChangeNothing) {
    auto d = Set(10);
    for (auto [f, l] : {std::pair{0, 3}, std::pair{5, 4}, std::pair{-1, -2}, std::pair{8, 11}, std::pair{11, 11}}) {
        EXPECT_FALSE(EraseMeasurements(*d, f, l)) << f << ".." << l;
    }
    for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(d->records[static_cast<std::size_t>(i)].speed, static_cast<float>(i));
    // Fewer records read than the header counts: the records read decide.
    d->recordCount = 5;
    EXPECT_FALSE(EraseMeasurements(*d, 4, 6));
    EXPECT_TRUE(EraseMeasurements(*d, 4, 5));
}

TEST(EraseTest, PositionsKeepTheirMarkersAndLoseTheOptionalValue) {
    auto d = Set(5, 2);
    d->records[0] = {600.0f, 300.0f, 4.0f, 3.0f};
    d->records[2] = {-999.0f, 330.0f, 8.0f, 3.0f};
    ASSERT_TRUE(EraseMeasurements(*d, 2, 2));
    EXPECT_FLOAT_EQ(d->records[1].speed, 600.0f);
    EXPECT_FLOAT_EQ(d->records[1].direction, 315.0f);
    EXPECT_FLOAT_EQ(d->records[1].temperature, 6.0f);
    EXPECT_FLOAT_EQ(d->records[1].optional, 0.0f);
}

TEST(EraseTest, RecordNumbersAsTyped) {
    EXPECT_EQ(ParseRecordNumber(" 12 ", -1), 12);
    EXPECT_EQ(ParseRecordNumber("", -1), -1);
    EXPECT_EQ(ParseRecordNumber("1x", -2), -2);
    EXPECT_EQ(ParseRecordNumber("-3", -2), -3);
}

}  // namespace
}  // namespace corvan
