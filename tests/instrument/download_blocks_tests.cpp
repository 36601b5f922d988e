#include <gtest/gtest.h>

#include <cmath>

#include "download_stream.h"
#include "instrument/download_blocks.h"

namespace corvan {
namespace {

using test::Block;

std::span<const std::uint8_t, kBlockSize> View(const Block& b) { return std::span<const std::uint8_t, kBlockSize>(b); }

TEST(BcdTest, DigitsAndFloats) {
    EXPECT_EQ(BcdDigits(0x59), 59);
    EXPECT_EQ(BcdDigits(0x00), 0);
    EXPECT_EQ(BcdDigits(0xA5), 105);  // not a BCD pair, read as the formula has it

    const std::array<std::uint8_t, 6> f{0x12, 0x34, 0x50, 0x00, 0x00, 0x01};
    EXPECT_DOUBLE_EQ(*BcdFloat(f), 1.2345);
    const std::array<std::uint8_t, 6> negative{0x12, 0x34, 0x50, 0x00, 0x00, 0x7F};
    EXPECT_NEAR(*BcdFloat(negative), 0.012345, 1e-15);
    // Bit 7 of the exponent byte is not part of it.
    const std::array<std::uint8_t, 6> high{0x50, 0x00, 0x00, 0x00, 0x00, 0x82};
    EXPECT_DOUBLE_EQ(*BcdFloat(high), 50.0);
    const std::array<std::uint8_t, 6> bad{0x1A, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_FALSE(BcdFloat(bad).has_value());
}

TEST(HeaderBlockTest, OutOfRangeDateFieldsAreReplaced) {
    test::SeriesEntry s;
    s.year = 0xA3;   // 103
    s.month = 0x13;  // 13
    s.day = 0x00;
    s.hour = 0x24;
    s.minute = 0x75;
    const HeaderBlock h = ParseHeaderBlock(View(test::HeaderBlock(0, {s})), 10);
    EXPECT_EQ(h.series[0].year, 99);
    EXPECT_EQ(h.series[0].month, 1);
    EXPECT_EQ(h.series[0].day, 31);
    EXPECT_EQ(h.series[0].hour, 0);
    EXPECT_EQ(h.series[0].minute, 0);
    EXPECT_EQ(h.series[0].interval, 600);
    EXPECT_FLOAT_EQ(h.series[0].salinity, -1.0f);

    test::SeriesEntry ok;
    ok.year = 0x59;
    ok.month = 0x12;
    ok.day = 0x31;
    ok.hour = 0x23;
    ok.minute = 0x59;
    const HeaderBlock g = ParseHeaderBlock(View(test::HeaderBlock(0, {ok})), 10);
    EXPECT_EQ(g.series[0].year, 59);
    EXPECT_EQ(g.series[0].month, 12);
    EXPECT_EQ(g.series[0].day, 31);
    EXPECT_EQ(g.series[0].hour, 23);
    EXPECT_EQ(g.series[0].minute, 59);
}

TEST(HeaderBlockTest, SeriesTableNeverReachesBeyondItsLimits) {
    Block b = test::HeaderBlock(0, {{}});
    b[130] = 40;
    // Series 2 starts at record 0x1234, far beyond the 100 records.
    b[10] = 0x12;
    b[11] = 0x34;
    const HeaderBlock h = ParseHeaderBlock(View(b), 100);
    EXPECT_EQ(h.seriesCountSent, 40);
    EXPECT_EQ(h.seriesCount, kMaxSeries);
    EXPECT_EQ(h.series[1].first, 100);
}

TEST(HeaderBlockTest, SensorCoefficientOfTheKindOrOne) {
    Block b = test::HeaderBlock(3, {{}}, 2);
    const std::uint8_t coefficient[6] = {0x25, 0x00, 0x00, 0x00, 0x00, 0x01};  // 2.5
    std::copy(std::begin(coefficient), std::end(coefficient), b.begin() + 198);
    EXPECT_FLOAT_EQ(ParseHeaderBlock(View(b), 1).sensorCoefficient, 2.5f);
    // Kind 1 reads its own slot, which is empty: 0 becomes 1.
    b[135] = 1;
    EXPECT_FLOAT_EQ(ParseHeaderBlock(View(b), 1).sensorCoefficient, 1.0f);
    b[192] = 0xFF;  // unreadable digits
    EXPECT_FLOAT_EQ(ParseHeaderBlock(View(b), 1).sensorCoefficient, 1.0f);
    b[135] = 7;
    EXPECT_FLOAT_EQ(ParseHeaderBlock(View(b), 1).sensorCoefficient, 1.0f);
}

TEST(RecordDecoderTest, CurrentMeterRecords) {
    Block b{};
    test::PutCurrentRecord(b, 0, 0xABC, 0x2F1, 0x1FF);
    test::PutCurrentRecord(b, 4, 0, 0, 0);
    MeasurementRecord out[2]{};
    for (int type : {0, 1}) {
        RecordDecoder d{type, 0, 1.0};
        EXPECT_EQ(d.DecodeBlock(View(b), 0, 2, out), 2);
        EXPECT_FLOAT_EQ(out[0].speed, 2748 / 5.0f);
        EXPECT_FLOAT_EQ(out[0].direction, static_cast<float>(753 / 160.0));
        EXPECT_FLOAT_EQ(out[0].temperature, static_cast<float>(511 / 20.0 - 2.0));
        EXPECT_FLOAT_EQ(out[0].optional, 0.0f);
        EXPECT_FLOAT_EQ(out[1].temperature, -2.0f);
    }
}

TEST(RecordDecoderTest, PositionLoggerRecords) {
    Block b{};
    const std::uint8_t rec[8] = {0x34, 0x12, 0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x30};
    std::copy(std::begin(rec), std::end(rec), b.begin());
    MeasurementRecord out[2]{};
    RecordDecoder d{2, 0, 1.0};
    EXPECT_EQ(d.DecodeBlock(View(b), 0, 2, out), 2);
    EXPECT_FLOAT_EQ(out[0].speed, static_cast<float>(0x1234 / 6.0));
    EXPECT_FLOAT_EQ(out[0].direction, kNoPosition);
    EXPECT_FLOAT_EQ(out[0].temperature, 0.0f);
    EXPECT_FLOAT_EQ(out[1].speed, kNoPosition);
    EXPECT_FLOAT_EQ(out[1].direction, static_cast<float>(0x3000 / 3.0));
}

TEST(RecordDecoderTest, OptionalSensorRecordsAlternateByTheirNumberInTheDownload) {
    Block b{};
    test::PutCurrentRecord(b, 0, 50, 160, 1023);
    test::PutCurrentRecord(b, 4, 50, 160, 1023);
    MeasurementRecord out[66]{};
    // Start at record 64, an even one, to see the parity counts the whole download.
    RecordDecoder kind1{3, 1, 2.0};
    EXPECT_EQ(kind1.DecodeBlock(View(b), 64, 66, out), 66);
    EXPECT_FLOAT_EQ(out[64].temperature, static_cast<float>(1023 / 20.0 - 2.0));
    EXPECT_FLOAT_EQ(out[64].optional, 0.0f);
    EXPECT_FLOAT_EQ(out[65].temperature, 0.0f);
    EXPECT_FLOAT_EQ(out[65].optional, static_cast<float>(89822.33 / 2.0));
    EXPECT_FLOAT_EQ(out[65].speed, 10.0f);
    EXPECT_FLOAT_EQ(out[65].direction, 1.0f);

    EXPECT_DOUBLE_EQ(OptionalSensorValue(2, 1023, 1.0), 2.5);
    EXPECT_DOUBLE_EQ(OptionalSensorValue(3, 1023, 0.5), 5.0);
    EXPECT_DOUBLE_EQ(OptionalSensorValue(4, 1023, 1.0), 5.0);
    EXPECT_DOUBLE_EQ(OptionalSensorValue(9, 1023, 2.0), 2.5);
}

TEST(RecordDecoderTest, TemperatureLoggerRecords) {
    Block b{};
    b[0] = 0xFF;
    b[1] = 0xFF;
    MeasurementRecord out[1]{};
    RecordDecoder d{4, 0, 1.0};
    d.DecodeBlock(View(b), 0, 1, out);
    EXPECT_FLOAT_EQ(out[0].temperature, static_cast<float>(65535 / 1000.0 - 5.0));
    EXPECT_FLOAT_EQ(out[0].speed, 0.0f);
}

std::array<SeriesHeader, kMaxSeries> Series(std::initializer_list<int> firsts) {
    std::array<SeriesHeader, kMaxSeries> t{};
    int i = 0;
    for (int f : firsts) t[static_cast<std::size_t>(i++)].first = f;
    return t;
}

TEST(GapFillingTest, ThreeRecordsOfOneSeries) {
    std::vector<MeasurementRecord> r(3);
    r[0].temperature = 10.0f;
    r[1].optional = 50.0f;
    r[2].temperature = 12.0f;
    FillType3Gaps(r, Series({0}), 1);
    EXPECT_FLOAT_EQ(r[0].temperature, 10.0f);
    EXPECT_FLOAT_EQ(r[0].optional, 50.0f);
    EXPECT_FLOAT_EQ(r[1].temperature, 11.0f);
    EXPECT_FLOAT_EQ(r[2].optional, 50.0f);
}

TEST(GapFillingTest, ASeriesStartTakesOnlyItsPreviousNeighbour) {
    std::vector<MeasurementRecord> r(6);
    for (int i = 0; i < 6; ++i) {
        if (i % 2 == 0) {
            r[static_cast<std::size_t>(i)].temperature = 10.0f * (i + 1);
        } else {
            r[static_cast<std::size_t>(i)].optional = 100.0f * (i + 1);
        }
    }
    FillType3Gaps(r, Series({0, 3}), 2);
    EXPECT_FLOAT_EQ(r[0].optional, 200.0f);              // next only
    EXPECT_FLOAT_EQ(r[1].temperature, (10 + 30) / 2.f);  // both
    EXPECT_FLOAT_EQ(r[2].optional, (200 + 400) / 2.f);   // both, across the boundary
    EXPECT_FLOAT_EQ(r[3].temperature, 30.0f);            // first of series 2: previous only
    EXPECT_FLOAT_EQ(r[4].optional, (400 + 600) / 2.f);
    EXPECT_FLOAT_EQ(r[5].temperature, 50.0f);  // last record: previous only
}

TEST(GapFillingTest, LoneRecordAndAFirstSeriesStartingLate) {
    std::vector<MeasurementRecord> one(1);
    one[0].temperature = 5.0f;
    one[0].optional = 7.0f;
    FillType3Gaps(one, Series({0}), 1);
    EXPECT_FLOAT_EQ(one[0].optional, 0.0f);

    // The first series claims to start at record 2: record 0 must still not
    // look before the records.
    std::vector<MeasurementRecord> r(3);
    r[1].optional = 8.0f;
    FillType3Gaps(r, Series({2}), 1);
    EXPECT_FLOAT_EQ(r[0].optional, 8.0f);
}

}  // namespace
}  // namespace corvan
