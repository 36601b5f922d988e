// Older-series files: the 6-byte real, gap filling, the interval and the
// moved-back start, and what the conversion leaves on disk.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "data/byte_io.h"
#include "data/file_error.h"
#include "support/temp_dir.h"
#include "tools/belvan.h"
#include "tools/tool_fixtures.h"

namespace corvan {
namespace {

using testing::Exists;
using testing::LoadSet;
using testing::TempDir;

using Real48 = std::array<std::uint8_t, 6>;

// Exact 6-byte reals for the values the tests use: exponent byte, then the
// fraction's 39 bits with the sign on top.
Real48 R48(double v) {
    if (v == 0.0) return {0, 0, 0, 0, 0, 0};
    int e = 0;
    const double m = std::frexp(std::fabs(v), &e);  // v = m * 2^e, m in [0.5, 1)
    const auto f = static_cast<std::uint64_t>(std::ldexp(m * 2.0 - 1.0, 39));
    Real48 r{static_cast<std::uint8_t>(e - 1 + 129)};
    for (int i = 1; i <= 5; ++i) r[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(f >> (8 * (i - 1)));
    if (v < 0) r[5] |= 0x80;
    return r;
}

struct Rec {
    int number;
    double speed;
    int direction;
    double temperature;
    int year, month, day, hour, minute;
};

std::vector<std::uint8_t> Dat(const std::vector<Rec>& recs) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    for (const Rec& r : recs) {
        w.I16(static_cast<std::int16_t>(r.number));
        const Real48 s = R48(r.speed);
        w.Bytes(s.data(), 6);
        w.I16(static_cast<std::int16_t>(r.direction));
        const Real48 t = R48(r.temperature);
        w.Bytes(t.data(), 6);
        w.I16(static_cast<std::int16_t>(r.year));
        for (int b : {r.month, r.day, r.hour, r.minute}) w.U8(static_cast<std::uint8_t>(b));
    }
    return out;
}

DateTime Fixed() { return *DateTime::FromCivil({2020, 6, 1, 8, 30, 0}); }

TEST(Real48, HandBuiltValues) {
    const Real48 zero{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // exponent 0 means 0 whatever follows
    const Real48 one{129, 0, 0, 0, 0, 0};
    const Real48 minusOne{129, 0, 0, 0, 0, 0x80};
    const Real48 twentyFiveAndAHalf{133, 0, 0, 0, 0, 0x4C};  // 1.59375 * 2^4
    const Real48 small{109, 0, 0, 0, 0, 0x20};               // 1.25 * 2^-20
    const Real48 tenth{125, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C};   // nearest to 0.1
    EXPECT_EQ(DecodeReal48(zero.data()), 0.0);
    EXPECT_EQ(DecodeReal48(one.data()), 1.0);
    EXPECT_EQ(DecodeReal48(minusOne.data()), -1.0);
    EXPECT_EQ(DecodeReal48(twentyFiveAndAHalf.data()), 25.5);
    EXPECT_EQ(DecodeReal48(small.data()), 1.25 / 1048576.0);
    EXPECT_NEAR(DecodeReal48(tenth.data()), 0.1, 1e-12);
    // The lowest fraction bit counts.
    const Real48 oneAndABit{129, 1, 0, 0, 0, 0};
    EXPECT_EQ(DecodeReal48(oneAndABit.data()), 1.0 + std::ldexp(1.0, -39));
    EXPECT_EQ(R48(25.5), twentyFiveAndAHalf);
}

TEST(BelvanConversion, GapsFilledAndInvalidFieldsKeepThePreviousValue) {
    const auto input = Dat({{1, 12.5, 90, 8.25, 1995, 5, 17, 10, 0},
                            {2, -1.0, -1, -25.0, 1995, 5, 17, 10, 10},
                            {5, 20.0, 180, 9.5, 1995, 5, 17, 10, 40}});
    const BelvanConversion c = ConvertBelvanRecords(input, "x.dat", Fixed);
    ASSERT_EQ(c.recordCount, 5);
    ASSERT_EQ(c.measurementFile.size(), 12u * 6);
    ByteReader r(c.measurementFile.data(), c.measurementFile.size());
    EXPECT_EQ(r.I16(), 1);
    EXPECT_EQ(r.I32(), 0);
    EXPECT_EQ(r.U8(), 1);
    EXPECT_EQ(r.I16(), 5);
    EXPECT_EQ(r.U8() | r.U8() | r.U8(), 0);
    const float halfPi = static_cast<float>(std::numbers::pi / 2);
    const float pi = static_cast<float>(std::numbers::pi);
    const float expected[5][3] = {{12.5f, halfPi, 8.25f},
                                  {12.5f, halfPi, 8.25f},
                                  {12.5f, halfPi, 8.25f},
                                  {12.5f, halfPi, 8.25f},
                                  {20.0f, pi, 9.5f}};
    for (const auto& e : expected) {
        EXPECT_EQ(r.F32(), e[0]);
        EXPECT_EQ(r.F32(), e[1]);
        EXPECT_EQ(r.F32(), e[2]);
    }
    // Ten minutes between numbers 1 and 2: the start lies one interval
    // before the first measurement.
    EXPECT_EQ(c.series.intervalMinutes, 10);
    EXPECT_EQ(c.series.year, 95);
    EXPECT_EQ(c.series.hour, 9);
    EXPECT_EQ(c.series.minute, 50);
    EXPECT_EQ(c.referenceFile, (std::vector<std::uint8_t>{0, 0, 0, 0, 95, 5, 17, 9, 50, 10, 0}));
}

TEST(BelvanConversion, IntervalAcrossMidnightAndOverSkippedNumbers) {
    const auto midnight =
        ConvertBelvanRecords(Dat({{7, 1, 0, 1, 2003, 12, 31, 23, 55}, {8, 1, 0, 1, 2004, 1, 1, 0, 5}}), "x", Fixed);
    EXPECT_EQ(midnight.series.intervalMinutes, 10);
    EXPECT_EQ(midnight.series.year, 3);
    EXPECT_EQ(midnight.series.month, 12);
    EXPECT_EQ(midnight.series.day, 31);
    EXPECT_EQ(midnight.series.hour, 23);
    EXPECT_EQ(midnight.series.minute, 45);
    // 30 minutes over three numbers: 10, and a start 10 minutes back that
    // crosses into the previous day.
    const auto skipped =
        ConvertBelvanRecords(Dat({{1, 1, 0, 1, 99, 3, 1, 0, 5}, {4, 1, 0, 1, 99, 3, 1, 0, 35}}), "x", Fixed);
    EXPECT_EQ(skipped.series.intervalMinutes, 10);
    EXPECT_EQ(skipped.series.month, 2);
    EXPECT_EQ(skipped.series.day, 28);
    EXPECT_EQ(skipped.series.hour, 23);
    EXPECT_EQ(skipped.series.minute, 55);
    EXPECT_EQ(skipped.recordCount, 4);
    // A start date off the calendar takes the present time instead.
    const auto bad =
        ConvertBelvanRecords(Dat({{1, 1, 0, 1, 2001, 2, 30, 10, 0}, {2, 1, 0, 1, 2001, 2, 30, 10, 20}}), "x", Fixed);
    EXPECT_EQ(bad.series.year, 20);
    EXPECT_EQ(bad.series.month, 6);
    EXPECT_EQ(bad.series.hour, 8);
    EXPECT_EQ(bad.series.minute, 10);
}

TEST(BelvanConversion, SingleEmptyAndRefusedInputs) {
    const auto single = ConvertBelvanRecords(Dat({{3, 4.0, 10, 6.0, 2010, 7, 8, 9, 10}}), "x", Fixed);
    EXPECT_EQ(single.recordCount, 1);
    EXPECT_EQ(single.referenceFile, (std::vector<std::uint8_t>{0, 0, 0, 0, 10, 7, 8, 9, 10, 0, 0}));
    // A piece of a record at the end is left out.
    auto withTail = Dat({{3, 4.0, 10, 6.0, 2010, 7, 8, 9, 10}});
    withTail.resize(withTail.size() + 7, 0xAB);
    EXPECT_EQ(ConvertBelvanRecords(withTail, "x", Fixed).recordCount, 1);

    const auto empty = ConvertBelvanRecords({}, "x", Fixed);
    EXPECT_EQ(empty.recordCount, 0);
    EXPECT_EQ(empty.measurementFile.size(), 12u);
    EXPECT_EQ(empty.referenceFile, std::vector<std::uint8_t>(11, 0));

    EXPECT_THROW(ConvertBelvanRecords(Dat({{4, 1, 0, 1, 99, 1, 1, 0, 0}, {4, 1, 0, 1, 99, 1, 1, 0, 10}}), "x", Fixed),
                 FileError);
    std::vector<std::uint8_t> tooMany;
    for (int k = 0; k <= 32767; ++k) {
        const auto r = Dat({{k % 30000, 1, 0, 1, 99, 1, 1, 0, 0}});
        tooMany.insert(tooMany.end(), r.begin(), r.end());
    }
    EXPECT_THROW(ConvertBelvanRecords(tooMany, "x", Fixed), FileError);
    // Numbering from -32768 to 32767 would need more records than a file
    // holds.
    EXPECT_THROW(
        ConvertBelvanRecords(Dat({{-32768, 1, 0, 1, 99, 1, 1, 0, 0}, {32767, 1, 0, 1, 99, 1, 1, 0, 10}}), "x", Fixed),
        FileError);
}

TEST(BelvanFiles, ConvertedSetOpensAsVersionFour) {
    TempDir dir;
    testing::WriteBytes(dir.Path("old.dat"),
                        Dat({{1, 12.5, 90, 8.25, 1995, 5, 17, 10, 0}, {2, 13.0, 45, 8.5, 1995, 5, 17, 10, 10}}));
    const std::string base = dir.Path("new");
    ConvertBelvanFile(dir.Path("old.dat"), base, Fixed);
    EXPECT_FALSE(Exists(base + ".CVN.part"));
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    EXPECT_EQ(ReadFileVersion(base), 4);
    EXPECT_EQ(d.header.instrumentType, 1);
    ASSERT_EQ(d.HeaderCount(), 2);
    EXPECT_EQ(d.records[1].speed, 13.0f);
    EXPECT_EQ(d.records[1].optional, 0.0f);
    ASSERT_EQ(d.seriesCount, 1);
    EXPECT_EQ(d.series[0].interval, 600);
    EXPECT_EQ(d.series[0].intervalCode, 2);
    EXPECT_EQ(RecordTime(d, 0, 1).Iso(), "1995-05-17T10:00:00");
}

TEST(BelvanFiles, ReplacingKeepsBackupsAndFailureLeavesNothing) {
    TempDir dir;
    const std::string base = dir.Path("set");
    testing::WriteBytes(dir.Path("a.dat"), Dat({{1, 1, 0, 1, 99, 1, 1, 0, 0}}));
    EXPECT_FALSE(BelvanOutputExists(base));
    ConvertBelvanFile(dir.Path("a.dat"), base, Fixed);
    EXPECT_TRUE(BelvanOutputExists(base));
    const auto first = testing::ReadBytes(base + ".CVN");
    testing::WriteBytes(dir.Path("b.dat"), Dat({{1, 2, 0, 1, 99, 1, 1, 0, 0}, {2, 3, 0, 1, 99, 1, 1, 0, 5}}));
    ConvertBelvanFile(dir.Path("b.dat"), base, Fixed);
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN"), first);
    EXPECT_TRUE(Exists(base + ".~RF6"));
    EXPECT_EQ(testing::ReadBytes(base + ".CVN").size(), 36u);

    const std::string other = dir.Path("other");
    testing::WriteBytes(dir.Path("bad.dat"), Dat({{4, 1, 0, 1, 99, 1, 1, 0, 0}, {4, 1, 0, 1, 99, 1, 1, 0, 10}}));
    try {
        ConvertBelvanFile(dir.Path("bad.dat"), other, Fixed);
        ADD_FAILURE() << "converted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), dir.Path("bad.dat"));
    }
    EXPECT_THROW(ConvertBelvanFile(dir.Path("missing.dat"), other, Fixed), FileError);
    for (const char* ext : {".CVN", ".RF6", ".CVN.part", ".RF6.part"}) EXPECT_FALSE(Exists(other + ext)) << ext;
}

TEST(BelvanFiles, DirectorySetting) {
    EXPECT_EQ(BelvanDirectorySetting("C:\\DATA\\"), "C:\\DATA");
    EXPECT_EQ(BelvanDirectorySetting("C:\\"), "C:");
    EXPECT_EQ(BelvanDirectorySetting("/home/u/data/"), "/home/u/data");
    EXPECT_EQ(BelvanDirectorySetting("/"), "/");
}

}  // namespace
}  // namespace corvan
