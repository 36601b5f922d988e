// Files of versions 0..3 are upgraded on disk when opened, keeping the old
// bytes under backup names.

#include <gtest/gtest.h>

#include "data/byte_io.h"
#include "data/data_set.h"
#include "data/measurement_files.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// An old-layout measurement file: a 12-byte header, then 12-byte records.
// The first 16 bytes are what the upgrade reads as the header.
std::vector<std::uint8_t> OldMeasurementFile(std::int16_t version, int records) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.I16(version);
    w.I32(5150);                            // reference number
    w.U8(0);                                // instrument type
    w.I16(static_cast<std::int16_t>(999));  // stale count, replaced by what is read
    w.U8(0);                                // sensor kind
    w.U16(0xBEEF);                          // rest of the old header
    for (int i = 0; i < records; ++i) {
        w.F32(10.0f + i);
        w.F32(0.5f);
        w.F32(4.0f + i * 0.1f);
    }
    return out;
}

std::vector<std::uint8_t> OldReferenceFile(std::size_t recordSize, std::vector<std::pair<int, int>> firstAndMinutes) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    for (auto [first, minutes] : firstAndMinutes) {
        w.I32(first);
        w.U8(95);
        w.U8(7);
        w.U8(14);
        w.U8(9);
        w.U8(45);
        w.I16(static_cast<std::int16_t>(minutes));
        if (recordSize == 15) w.U32(0xDEADBEEF);
    }
    return out;
}

TEST(Conversion, Version1IsUpgradedInOnePass) {
    TempDir dir;
    const std::string base = dir.Path("old");
    const auto oldCvn = OldMeasurementFile(1, 6);
    const auto oldRf6 = OldReferenceFile(11, {{0, 10}, {4, 1}});
    WriteBytes(base + ".CVN", oldCvn);
    WriteBytes(base + ".RF6", oldRf6);

    DataSet d;
    d.baseName = base;
    const LoadOutcome o = LoadMeasurementFiles(d);
    EXPECT_TRUE(o.message.empty());
    EXPECT_TRUE(d.dataLoaded);
    EXPECT_EQ(ReadBytes(base + ".~CVN"), oldCvn);
    EXPECT_EQ(ReadBytes(base + ".~RF6"), oldRf6);
    EXPECT_EQ(ReadFileVersion(base), 4);

    // The header's first 16 bytes are the old header plus 4 bytes of the
    // first record; count and coefficient are rewritten.
    const auto cvn = ReadBytes(base + ".CVN");
    ASSERT_EQ(cvn.size(), 16u + 6u * 16u);
    const MeasurementFileHeader h = DecodeHeader(cvn.data());
    EXPECT_EQ(h.referenceNumber, 5150);
    EXPECT_EQ(h.count, 6);
    EXPECT_EQ(h.sensorCoefficient, 0.0f);
    EXPECT_EQ(h.reserved, 0);
    for (int i = 0; i < 6; ++i) {
        const MeasurementRecord r = DecodeRecord(cvn.data() + 16 + i * 16);
        EXPECT_EQ(r.speed, 10.0f + i);
        EXPECT_EQ(r.temperature, 4.0f + i * 0.1f);
        EXPECT_EQ(r.optional, 0.0f);
    }
    const auto rf6 = ReadBytes(base + ".RF6");
    ASSERT_EQ(rf6.size(), 42u);
    const SeriesHeader s0 = DecodeSeriesHeader(rf6.data());
    const SeriesHeader s1 = DecodeSeriesHeader(rf6.data() + 21);
    EXPECT_EQ(s0.interval, 600);
    EXPECT_EQ(s0.intervalCode, 2);
    EXPECT_EQ(s1.interval, 60);
    EXPECT_EQ(s1.intervalCode, 1);
    EXPECT_EQ(s0.salinity, -1.0f);
    EXPECT_EQ(s0.year, 95);
    EXPECT_EQ(s0.minute, 45);
    EXPECT_EQ(d.seriesCount, 2);
    EXPECT_EQ(d.recordCount, 6);

    // Opening again reads version 4 and changes nothing.
    DataSet again;
    again.baseName = base;
    LoadMeasurementFiles(again);
    EXPECT_EQ(again.recordCount, 6);
    EXPECT_FALSE(Exists(base + ".~CVN~1"));
}

TEST(Conversion, Version0WithATornLastRecordKeepsTheWholeOnes) {
    TempDir dir;
    const std::string base = dir.Path("v0");
    auto oldCvn = OldMeasurementFile(0, 3);
    oldCvn.push_back(1);
    oldCvn.push_back(2);
    WriteBytes(base + ".CVN", oldCvn);
    WriteBytes(base + ".RF6", OldReferenceFile(11, {{0, 20}}));
    DataSet d;
    d.baseName = base;
    LoadMeasurementFiles(d);
    EXPECT_EQ(d.recordCount, 3);
    EXPECT_EQ(d.header.count, 3);
    EXPECT_EQ(d.series[0].intervalCode, 4);
}

TEST(Conversion, Versions2And3PatchTheHeaderAndConvertTheReference) {
    for (int version : {2, 3}) {
        TempDir dir;
        const std::string base = dir.Path("v");
        std::vector<std::uint8_t> cvn;
        ByteWriter w(cvn);
        w.I16(static_cast<std::int16_t>(version));
        w.I32(12);
        w.U8(4);
        w.I16(2);
        w.U8(0);
        w.F32(1.0f);
        w.I16(0);
        for (int i = 0; i < 2; ++i) {
            w.F32(-999.0f);
            w.F32(-1.0f);
            w.F32(12.5f);
            w.F32(0.0f);
        }
        WriteBytes(base + ".CVN", cvn);
        const std::size_t size = version == 2 ? 11 : 15;
        WriteBytes(base + ".RF6", OldReferenceFile(size, {{0, 5}}));
        DataSet d;
        d.baseName = base;
        LoadMeasurementFiles(d);
        EXPECT_TRUE(d.dataLoaded) << version;
        auto expected = cvn;
        expected[0] = 4;
        EXPECT_EQ(ReadBytes(base + ".CVN"), expected) << version;
        EXPECT_FALSE(Exists(base + ".~CVN")) << version;
        EXPECT_TRUE(Exists(base + ".~RF6")) << version;
        EXPECT_EQ(ReadBytes(base + ".RF6").size(), 21u) << version;
        EXPECT_EQ(d.series[0].interval, 300) << version;
        EXPECT_EQ(d.series[0].intervalCode, 1) << version;
    }
}

TEST(Conversion, WithoutAReferenceFileNothingIsHalfConverted) {
    TempDir dir;
    const std::string base = dir.Path("v2");
    std::vector<std::uint8_t> cvn(16 + 16, 0);
    cvn[0] = 2;
    cvn[7] = 1;
    WriteBytes(base + ".CVN", cvn);
    DataSet d;
    d.baseName = base;
    const LoadOutcome o = LoadMeasurementFiles(d);
    EXPECT_EQ(o.message, "Fatal error. Reference file not found.");
    EXPECT_EQ(ReadFileVersion(base), 2);

    const std::string old = dir.Path("v1");
    WriteBytes(old + ".CVN", OldMeasurementFile(1, 2));
    d.baseName = old;
    EXPECT_EQ(LoadMeasurementFiles(d).message, "Fatal error. Reference file not found.");
    EXPECT_FALSE(d.dataLoaded);
    EXPECT_EQ(d.seriesCount, 0);
}

}  // namespace
}  // namespace corvan
