// Reading and writing the measurement file set: exact bytes, round trips,
// damaged files and backups.

#include <gtest/gtest.h>

#include <cstring>

#include "data/byte_io.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "data/list_format.h"
#include "data/measurement_files.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::uint8_t> HeaderBytes(std::int16_t version, std::int32_t ref, std::uint8_t type, std::int16_t count,
                                      std::uint8_t kind = 0, float coefficient = 0.0f) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.I16(version);
    w.I32(ref);
    w.U8(type);
    w.I16(count);
    w.U8(kind);
    w.F32(coefficient);
    w.I16(0);
    return out;
}

void AppendRecord(std::vector<std::uint8_t>& out, float s, float d, float t, float o) {
    ByteWriter w(out);
    w.F32(s);
    w.F32(d);
    w.F32(t);
    w.F32(o);
}

void AppendSeries(std::vector<std::uint8_t>& out, std::int32_t first, int y, int mo, int d, int h, int mi,
                  std::int32_t interval, float salinity = -1.0f) {
    ByteWriter w(out);
    w.I32(first);
    w.U8(static_cast<std::uint8_t>(y));
    w.U8(static_cast<std::uint8_t>(mo));
    w.U8(static_cast<std::uint8_t>(d));
    w.U8(static_cast<std::uint8_t>(h));
    w.U8(static_cast<std::uint8_t>(mi));
    w.I32(interval);
    w.I32(0);
    w.F32(salinity);
}

// A version 4 set with n records (speed = index) and the given series.
void WriteSet(const std::string& base, int headerCount, int recordsOnDisk, std::uint8_t type = 0,
              std::vector<std::int32_t> firsts = {0}) {
    auto cvn = HeaderBytes(4, 77, type, static_cast<std::int16_t>(headerCount));
    for (int i = 0; i < recordsOnDisk; ++i) AppendRecord(cvn, static_cast<float>(i), 1.0f, 10.0f, 0.0f);
    WriteBytes(base + ".CVN", cvn);
    std::vector<std::uint8_t> rf6;
    for (auto f : firsts) AppendSeries(rf6, f, 24, 3, 4, 12, 0, 600);
    WriteBytes(base + ".RF6", rf6);
}

TEST(RecordLayout, HeaderFieldsSitAtTheirOffsetsLittleEndian) {
    MeasurementFileHeader h;
    h.version = 4;
    h.referenceNumber = 0x01020304;
    h.instrumentType = 3;
    h.count = 0x0A0B;
    h.sensorKind = 2;
    h.sensorCoefficient = 1.5f;
    h.reserved = 0;
    std::uint8_t b[16];
    EncodeHeader(h, b);
    const std::uint8_t expected[16] = {4, 0, 4, 3, 2, 1, 3, 0x0B, 0x0A, 2, 0, 0, 0xC0, 0x3F, 0, 0};
    EXPECT_EQ(0, std::memcmp(b, expected, 16));
    const MeasurementFileHeader back = DecodeHeader(b);
    EXPECT_EQ(back.referenceNumber, h.referenceNumber);
    EXPECT_EQ(back.count, h.count);
    EXPECT_EQ(back.sensorCoefficient, 1.5f);

    SeriesHeader s;
    s.first = 100;
    s.year = 97;
    s.month = 2;
    s.day = 25;
    s.hour = 12;
    s.minute = 0;
    s.interval = 600;
    s.intervalCode = 2;
    s.salinity = -1.0f;
    std::uint8_t sb[21];
    EncodeSeriesHeader(s, sb);
    const std::uint8_t se[21] = {100, 0, 0, 0, 97, 2, 25, 12, 0, 0x58, 2, 0, 0, 2, 0, 0, 0, 0, 0, 0x80, 0xBF};
    EXPECT_EQ(0, std::memcmp(sb, se, 21));
    const SeriesHeader sback = DecodeSeriesHeader(sb);
    EXPECT_EQ(sback.first, 100);
    EXPECT_EQ(sback.interval, 600);
    EXPECT_EQ(sback.salinity, -1.0f);
}

TEST(FileSet, WritersRoundTripThroughTheLoader) {
    TempDir dir;
    DataSet out;
    out.baseName = dir.Path("buoy");
    out.header.version = 2;  // forced to 4 by the writer
    out.header.referenceNumber = 31337;
    out.header.instrumentType = 3;
    out.header.sensorKind = 3;
    out.header.sensorCoefficient = 0.25f;
    out.header.count = 300;
    for (int i = 0; i < 300; ++i) {
        out.records[static_cast<std::size_t>(i)] = {i * 0.5f, i * 0.01f, 5.0f + i * 0.001f, 42.0f + i};
    }
    out.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 2, 34.0f};
    out.series[1] = SeriesHeader{120, 97, 3, 1, 6, 30, 1200, 4, -1.0f};
    WriteMeasurementFile(out);
    WriteReferenceFile(out, 2);
    EXPECT_EQ(ReadBytes(out.baseName + ".CVN").size(), 16u + 300u * 16u);
    EXPECT_EQ(ReadBytes(out.baseName + ".RF6").size(), 42u);

    DataSet in;
    in.baseName = out.baseName;
    const LoadOutcome o = LoadMeasurementFiles(in);
    EXPECT_TRUE(o.measurementFileFound);
    EXPECT_TRUE(o.message.empty());
    EXPECT_TRUE(in.dataLoaded);
    EXPECT_TRUE(in.referenceLoaded);
    EXPECT_EQ(in.header.version, 4);
    EXPECT_EQ(in.header.referenceNumber, 31337);
    EXPECT_EQ(in.header.sensorCoefficient, 0.25f);
    EXPECT_EQ(in.recordCount, 300);
    EXPECT_EQ(in.seriesCount, 2);
    for (int i = 0; i < 300; ++i) {
        const auto& r = in.records[static_cast<std::size_t>(i)];
        ASSERT_EQ(r.speed, i * 0.5f);
        ASSERT_EQ(r.optional, 42.0f + i);
    }
    EXPECT_EQ(in.series[1].first, 120);
    EXPECT_EQ(in.series[1].minute, 30);
    EXPECT_EQ(in.series[0].salinity, 34.0f);
    EXPECT_EQ(in.optionalChannel, kChFluorescence);
    EXPECT_EQ(in.defaultSaveName, "buoy");
}

TEST(FileSet, ExtensionsAreFoundInAnyCase) {
    TempDir dir;
    const std::string base = dir.Path("lower");
    WriteSet(base, 3, 3);
    std::filesystem::rename(base + ".CVN", base + ".cvn");
    std::filesystem::rename(base + ".RF6", base + ".rf6");
    DataSet d;
    d.baseName = base;
    EXPECT_TRUE(LoadMeasurementFiles(d).measurementFileFound);
    EXPECT_TRUE(d.dataLoaded);
    EXPECT_EQ(ReadFileVersion(base), 4);
    // Rewriting keeps the spelling the set already has.
    WriteMeasurementFile(d);
    EXPECT_TRUE(Exists(base + ".cvn"));
    EXPECT_TRUE(Exists(base + ".~cvn"));
    EXPECT_FALSE(Exists(base + ".CVN"));
}

TEST(FileSet, HeaderCountAndRecordsOnDiskDiffer) {
    TempDir dir;
    // First a long file, so that stale records would show if they leaked.
    WriteSet(dir.Path("long"), 100, 100);
    WriteSet(dir.Path("short"), 50, 20);
    DataSet d;
    d.baseName = dir.Path("long");
    LoadMeasurementFiles(d);
    ASSERT_EQ(d.records[30].speed, 30.0f);
    d.baseName = dir.Path("short");
    LoadMeasurementFiles(d);
    EXPECT_EQ(d.recordCount, 20);
    EXPECT_EQ(d.HeaderCount(), 50);
    EXPECT_EQ(d.SeriesLast(1), 49);
    for (int i = 20; i < 50; ++i) {
        ASSERT_FALSE(IsValid(d.records[static_cast<std::size_t>(i)].speed)) << i;
        ASSERT_LT(d.records[static_cast<std::size_t>(i)].direction, 0.0f) << i;
    }
    // Writing uses the header count; the filled records go out as invalid.
    WriteMeasurementFile(d);
    EXPECT_EQ(ReadBytes(dir.Path("short.CVN")).size(), 16u + 50u * 16u);
}

TEST(FileSet, CountsBeyondTheArraysAreClamped) {
    TempDir dir;
    WriteSet(dir.Path("neg"), -5, 4, 0, {0, 2, 40000});
    DataSet d;
    d.baseName = dir.Path("neg");
    LoadMeasurementFiles(d);
    EXPECT_EQ(d.recordCount, 4);
    EXPECT_EQ(d.HeaderCount(), 0);
    EXPECT_EQ(d.SeriesFirst(3), 0);
    EXPECT_EQ(d.SeriesOfRecord(3), 2);
    WriteMeasurementFile(d);
    EXPECT_EQ(ReadBytes(dir.Path("neg.CVN")).size(), 16u);
}

TEST(FileSet, MaximumRecordsLoadAndLongerFilesAreCut) {
    TempDir dir;
    WriteSet(dir.Path("full"), 32767, 32767);
    WriteSet(dir.Path("over"), 32767, 32800);
    DataSet d;
    d.baseName = dir.Path("full");
    LoadMeasurementFiles(d);
    EXPECT_EQ(d.recordCount, 32767);
    EXPECT_EQ(d.records[32766].speed, 32766.0f);
    d.baseName = dir.Path("over");
    LoadMeasurementFiles(d);
    EXPECT_EQ(d.recordCount, 32767);
}

TEST(FileSet, FilesCutAtEveryLength) {
    TempDir dir;
    const std::string base = dir.Path("cut");
    WriteSet(base, 5, 5, 0, {0, 3});
    const auto cvn = ReadBytes(base + ".CVN");
    const auto rf6 = ReadBytes(base + ".RF6");
    for (std::size_t len = 0; len <= cvn.size(); ++len) {
        WriteBytes(base + ".CVN", std::vector<std::uint8_t>(cvn.begin(), cvn.begin() + static_cast<long>(len)));
        DataSet d;
        d.baseName = base;
        if (len < 16) {
            EXPECT_EQ(ReadFileVersion(base), -1);
            EXPECT_THROW(LoadMeasurementFiles(d), FileError) << len;
            continue;
        }
        LoadMeasurementFiles(d);
        const int n = static_cast<int>((len - 16) / 16);
        EXPECT_EQ(d.recordCount, n) << len;
        EXPECT_EQ(d.dataLoaded, n > 0) << len;
        EXPECT_EQ(d.seriesCount, n > 0 ? 2 : 0) << len;
    }
    WriteBytes(base + ".CVN", cvn);
    for (std::size_t len = 0; len <= rf6.size(); ++len) {
        WriteBytes(base + ".RF6", std::vector<std::uint8_t>(rf6.begin(), rf6.begin() + static_cast<long>(len)));
        DataSet d;
        d.baseName = base;
        const LoadOutcome o = LoadMeasurementFiles(d);
        EXPECT_TRUE(o.message.empty());
        EXPECT_EQ(d.seriesCount, static_cast<int>(len / 21)) << len;
        EXPECT_EQ(d.referenceLoaded, len >= 21) << len;
        EXPECT_TRUE(d.dataLoaded);
    }
}

TEST(FileSet, MissingPiecesAndUnknownVersions) {
    TempDir dir;
    DataSet d;
    d.baseName = dir.Path("nothing");
    EXPECT_FALSE(LoadMeasurementFiles(d).measurementFileFound);
    EXPECT_EQ(ReadFileVersion(d.baseName), -1);

    WriteSet(dir.Path("noref"), 3, 3);
    std::filesystem::remove(dir.Path("noref.RF6"));
    d.baseName = dir.Path("noref");
    LoadOutcome o = LoadMeasurementFiles(d);
    EXPECT_EQ(o.message, "Fatal error. Reference file not found.");
    EXPECT_FALSE(d.dataLoaded);
    EXPECT_EQ(d.seriesCount, 0);

    auto bytes = HeaderBytes(7, 1, 0, 1);
    AppendRecord(bytes, 1, 1, 1, 0);
    WriteBytes(dir.Path("v7.CVN"), bytes);
    d.baseName = dir.Path("v7");
    o = LoadMeasurementFiles(d);
    EXPECT_EQ(o.message, "Incompatible file version:7.");
    EXPECT_FALSE(d.dataLoaded);
    bytes[0] = 0xFF;
    bytes[1] = 0xFF;
    WriteBytes(dir.Path("v7.CVN"), bytes);
    EXPECT_EQ(LoadMeasurementFiles(d).message, "Incompatible file version:-1.");

    // A file with only a header: unloaded without a message, and the series
    // of the previous file do not linger.
    WriteSet(dir.Path("ok"), 3, 3, 0, {0, 1});
    WriteSet(dir.Path("empty"), 0, 0);
    d.baseName = dir.Path("ok");
    LoadMeasurementFiles(d);
    ASSERT_EQ(d.seriesCount, 2);
    d.baseName = dir.Path("empty");
    o = LoadMeasurementFiles(d);
    EXPECT_TRUE(o.message.empty());
    EXPECT_FALSE(d.dataLoaded);
    EXPECT_EQ(d.seriesCount, 0);
}

TEST(FileSet, LFileIsReadPrefilledAndDroppedWhenAbsent) {
    TempDir dir;
    WriteSet(dir.Path("l"), 4, 4, 3);
    std::vector<std::uint8_t> ln6;
    AppendRecord(ln6, 1.5f, 0.5f, 8.0f, 90.0f);
    AppendRecord(ln6, 2.5f, 0.5f, 8.0f, 90.0f);
    ln6.push_back(7);  // a torn record is not read
    WriteBytes(dir.Path("l.LN6"), ln6);
    DataSet d;
    d.baseName = dir.Path("l");
    LoadMeasurementFiles(d);
    ASSERT_TRUE(d.lFilePresent);
    EXPECT_EQ(d.lRecords[1].speed, 2.5f);
    EXPECT_EQ(d.lRecords[2].speed, 9.0e9f);
    EXPECT_EQ(d.lRecords[32766].optional, 9.0e9f);

    WriteSet(dir.Path("nol"), 4, 4);
    d.baseName = dir.Path("nol");
    LoadMeasurementFiles(d);
    EXPECT_FALSE(d.lFilePresent);
    EXPECT_TRUE(d.lRecords.empty());
}

TEST(Backups, NamesAreTakenInOrderAndTheLastIsReused) {
    TempDir dir;
    const std::string f = dir.Path("buoy3.CVN");
    EXPECT_EQ(MakeBackupName(f), dir.Path("buoy3.~CVN"));
    WriteBytes(dir.Path("buoy3.~CVN"), {1});
    EXPECT_EQ(MakeBackupName(f), dir.Path("buoy3.~CVN~1"));
    WriteBytes(dir.Path("buoy3.~CVN~1"), {1});
    EXPECT_EQ(MakeBackupName(f), dir.Path("buoy3.~CVN~2"));
    for (int n = 2; n <= 99; ++n) WriteBytes(dir.Path("buoy3.~CVN~" + std::to_string(n)), {9});
    EXPECT_EQ(MakeBackupName(f), dir.Path("buoy3.~CVN~99"));
    EXPECT_FALSE(Exists(dir.Path("buoy3.~CVN~99")));

    // Every write keeps the previous file's bytes.
    WriteSet(dir.Path("w"), 2, 2);
    const auto before = ReadBytes(dir.Path("w.CVN"));
    DataSet d;
    d.baseName = dir.Path("w");
    LoadMeasurementFiles(d);
    d.records[0].speed = 99.0f;
    WriteMeasurementFile(d);
    WriteMeasurementFile(d);
    EXPECT_EQ(ReadBytes(dir.Path("w.~CVN")), before);
    EXPECT_TRUE(Exists(dir.Path("w.~CVN~1")));
}

TEST(ReferenceFile, CompactionKeepsTheLaterOfEqualStartsAndDropsAnEmptyLastSeries) {
    TempDir dir;
    DataSet d;
    d.baseName = dir.Path("c");
    d.header.count = 500;
    const std::int32_t firsts[] = {0, 100, 100, 300, 500};
    for (int i = 0; i < 5; ++i) {
        d.series[static_cast<std::size_t>(i)] =
            SeriesHeader{firsts[i], 24, 1, 1, 0, static_cast<std::uint8_t>(i), 600, 0, -1.0f};
    }
    WriteReferenceFile(d, 5);
    EXPECT_EQ(d.seriesCount, 3);
    const auto bytes = ReadBytes(dir.Path("c.RF6"));
    ASSERT_EQ(bytes.size(), 3u * 21u);
    EXPECT_EQ(DecodeSeriesHeader(bytes.data() + 21).first, 100);
    EXPECT_EQ(DecodeSeriesHeader(bytes.data() + 21).minute, 2);  // the later of the two survived
    EXPECT_EQ(DecodeSeriesHeader(bytes.data() + 42).first, 300);

    // More than the table holds is cut to 16.
    for (int i = 0; i < kMaxSeries; ++i) d.series[static_cast<std::size_t>(i)].first = i * 10;
    WriteReferenceFile(d, 40);
    EXPECT_EQ(d.seriesCount, 16);
    EXPECT_EQ(ReadBytes(dir.Path("c.RF6")).size(), 16u * 21u);
    EXPECT_TRUE(Exists(dir.Path("c.~RF6")));
}

}  // namespace
}  // namespace corvan

namespace corvan {
namespace {

// Any byte of any file of a set may be damaged: loading never reads or
// writes outside the arrays and every count stays inside them.
TEST(FileSet, FlippedBytesAnywhereKeepTheLoaderInsideItsArrays) {
    testing::TempDir dir;
    const std::string base = dir.Path("flip");
    WriteSet(base, 40, 40, 3, {0, 10, 30});
    std::vector<std::uint8_t> ln6;
    for (int i = 0; i < 40; ++i) AppendRecord(ln6, 1.0f, 0.5f, 9.0f, 80.0f);
    testing::WriteBytes(base + ".LN6", ln6);
    const auto cvn = testing::ReadBytes(base + ".CVN");
    const auto rf6 = testing::ReadBytes(base + ".RF6");
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    DataSet d;
    d.baseName = base;
    for (int round = 0; round < 400; ++round) {
        auto c = cvn;
        auto r = rf6;
        // Keep the version word at 4 most of the time so the records are read.
        for (int k = 0; k < 3; ++k) c[2 + next() % (c.size() - 2)] ^= static_cast<std::uint8_t>(1u << (next() % 8));
        for (int k = 0; k < 3; ++k) r[next() % r.size()] = static_cast<std::uint8_t>(next());
        testing::WriteBytes(base + ".CVN", c);
        testing::WriteBytes(base + ".RF6", r);
        LoadMeasurementFiles(d);
        ASSERT_GE(d.HeaderCount(), 0);
        ASSERT_LE(d.HeaderCount(), kMaxRecords);
        ASSERT_LE(d.SeriesCount(), kMaxSeries);
        for (int s = 1; s <= d.SeriesCount(); ++s) {
            ASSERT_GE(d.SeriesFirst(s), 0);
            ASSERT_LE(d.SeriesFirst(s), d.HeaderCount());
            ASSERT_GE(d.SeriesOfRecord(d.recordCount - 1), 1);
        }
        // Walking the records with their series as the list and export do.
        const auto columns = RebuildListColumns(d);
        SeriesCursor cursor(d, 0);
        std::vector<std::string> cells;
        bool starts = false;
        for (int i = 0; i < d.recordCount; ++i) {
            FormatListRow(d, columns, i, cursor, cells, starts);
            ASSERT_LE(cursor.Series(), d.SeriesCount());
            ASSERT_EQ(cells.size(), columns.size());
        }
    }
}

}  // namespace
}  // namespace corvan
