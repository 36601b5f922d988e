// Temperatures into a position logger's file: runs of unequal length, the
// cut at the header count, older temperature files and the file tests.

#include <gtest/gtest.h>

#include "data/byte_io.h"
#include "support/temp_dir.h"
#include "tools/gps_merge.h"
#include "tools/tool_fixtures.h"

namespace corvan {
namespace {

using testing::LoadSet;
using testing::SetLayout;
using testing::TempDir;
using testing::WriteSet;

MergeSideState Side(const std::string& base, int first, int last) {
    MergeSideState s;
    s.baseName = base;
    s.header = *ReadHeaderRecord(base);
    s.seriesCount = ReadSeriesTableOfVersion(base, s.series);
    s.first = first;
    s.last = last;
    return s;
}

struct MergeFiles {
    TempDir dir;
    std::string t = dir.Path("temp");
    std::string g = dir.Path("gps");
    MergeFiles(int tCount, int gCount) {
        SetLayout ts;
        ts.count = tCount;
        WriteSet(t, ts);
        SetLayout gs;
        gs.type = 2;
        gs.count = gCount;
        WriteSet(g, gs);
    }
    std::vector<float> GpsTemperatures() {
        DataSet d;
        EXPECT_TRUE(LoadSet(g, d));
        std::vector<float> out;
        for (int i = 0; i < d.HeaderCount(); ++i) out.push_back(d.records[static_cast<std::size_t>(i)].temperature);
        return out;
    }
};

// Temperature of measurement m (1-based) of the fixture's temperature file.
float T(int m) { return 5.0f + static_cast<float>(m - 1) / 10.0f; }
constexpr float X = kInvalidValue;

TEST(GpsMerge, LongerTemperatureRunFillsOnlyTheGpsRun) {
    MergeFiles f(20, 10);
    DataSet gps;
    const MergeOutcome o = RunGpsMerge(Side(f.t, 3, 20), Side(f.g, 2, 4), gps);
    ASSERT_EQ(o.message, "");
    EXPECT_EQ(o.copied, 3);
    EXPECT_EQ(f.GpsTemperatures(), (std::vector<float>{X, T(3), T(4), T(5), X, X, X, X, X, X}));
    // Positions stay as they were; the old file is kept.
    DataSet d;
    ASSERT_TRUE(LoadSet(f.g, d));
    EXPECT_EQ(d.records[2].speed, 3602.0f);
    EXPECT_EQ(d.records[2].direction, 602.0f);
    EXPECT_TRUE(testing::Exists(f.g + ".~CVN"));
}

TEST(GpsMerge, ShorterTemperatureRunAndARunPastTheEnds) {
    MergeFiles f(5, 10);
    DataSet gps;
    // Temperature run 4..7 reaches past the temperature file's 5 records;
    // GPS run 8..15 past the GPS file's 10.
    const MergeOutcome o = RunGpsMerge(Side(f.t, 4, 7), Side(f.g, 8, 15), gps);
    ASSERT_EQ(o.message, "");
    EXPECT_EQ(o.copied, 2);
    EXPECT_EQ(f.GpsTemperatures(), (std::vector<float>{X, X, X, X, X, X, X, T(4), T(5), X}));

    MergeFiles h(20, 6);
    DataSet gps2;
    ASSERT_EQ(RunGpsMerge(Side(h.t, 1, 20), Side(h.g, 5, 99), gps2).copied, 2);
    EXPECT_EQ(h.GpsTemperatures(), (std::vector<float>{X, X, X, X, T(1), T(2)}));
}

TEST(GpsMerge, OlderTemperatureFileIsUpgradedFirst) {
    MergeFiles f(3, 4);
    // A version 1 temperature file: 12-byte records and 11-byte series.
    std::vector<std::uint8_t> cvn;
    ByteWriter w(cvn);
    w.I16(1);
    w.I32(7);
    w.U8(0);
    w.I16(3);
    w.Zeros(3);
    for (int i = 0; i < 3; ++i) {
        w.F32(20.0f);
        w.F32(1.0f);
        w.F32(12.5f + static_cast<float>(i));
    }
    testing::WriteBytes(f.t + ".CVN", cvn);
    std::vector<std::uint8_t> rf6;
    ByteWriter r(rf6);
    r.I32(0);
    for (int b : {24, 3, 4, 12, 0}) r.U8(static_cast<std::uint8_t>(b));
    r.I16(10);
    testing::WriteBytes(f.t + ".RF6", rf6);

    // The series table of the old layout is read as it is, without touching
    // the files.
    MergeSideState ts = Side(f.t, 1, 3);
    ASSERT_EQ(ts.seriesCount, 1);
    EXPECT_EQ(ts.series[0].interval, 600);
    EXPECT_EQ(ReadFileVersion(f.t), 1);

    DataSet gps;
    ASSERT_EQ(RunGpsMerge(ts, Side(f.g, 1, 4), gps).message, "");
    EXPECT_EQ(ReadFileVersion(f.t), 4);
    EXPECT_TRUE(testing::Exists(f.t + ".~CVN"));
    EXPECT_EQ(f.GpsTemperatures(), (std::vector<float>{12.5f, 13.5f, 14.5f, X}));
}

TEST(GpsMerge, FileTestsAndMissingFiles) {
    TempDir dir;
    for (int type : {0, 1, 2, 3, 4, 12, 13}) {
        SetLayout s;
        s.type = type;
        s.count = 2;
        const std::string base = dir.Path("t" + std::to_string(type));
        WriteSet(base, s);
        const auto h = ReadHeaderRecord(base);
        EXPECT_EQ(CheckMergeFile(MergeSide::Temperature, h), type < 13 ? "" : kNotTemperatureFileText) << type;
        EXPECT_EQ(CheckMergeFile(MergeSide::Gps, h), type == 2 ? "" : kNotGpsFileText) << type;
    }
    // A file too short for a header is no file of either kind, whatever
    // was read before.
    testing::WriteBytes(dir.Path("short.CVN"), {4, 0, 0, 0, 0, 0, 2});
    EXPECT_EQ(CheckMergeFile(MergeSide::Gps, ReadHeaderRecord(dir.Path("short"))), kNotGpsFileText);
    EXPECT_EQ(CheckMergeFile(MergeSide::Temperature, ReadHeaderRecord(dir.Path("none"))), kNotTemperatureFileText);

    MergeFiles f(3, 3);
    DataSet gps;
    MergeSideState t = Side(f.t, 1, 3);
    MergeSideState g = Side(f.g, 1, 3);
    t.baseName = f.dir.Path("gone");
    EXPECT_EQ(RunGpsMerge(t, g, gps).message, "File: \"" + f.dir.Path("gone") + "\" not found.");
    t.baseName = f.t;
    g.baseName = f.dir.Path("lost");
    EXPECT_EQ(RunGpsMerge(t, g, gps).message, "File: \"" + f.dir.Path("lost") + "\" not found.");
    EXPECT_FALSE(testing::Exists(f.g + ".~CVN"));
}

TEST(GpsMerge, UnknownTemperatureVersionLeavesBothFilesAlone) {
    MergeFiles f(3, 3);
    auto bytes = testing::ReadBytes(f.t + ".CVN");
    bytes[0] = 9;
    testing::WriteBytes(f.t + ".CVN", bytes);
    const auto gpsBefore = testing::ReadBytes(f.g + ".CVN");
    DataSet gps;
    EXPECT_EQ(RunGpsMerge(Side(f.t, 1, 3), Side(f.g, 1, 3), gps).message, "Incompatible file version:9.");
    EXPECT_EQ(testing::ReadBytes(f.t + ".CVN"), bytes);
    EXPECT_EQ(testing::ReadBytes(f.g + ".CVN"), gpsBefore);
}

}  // namespace
}  // namespace corvan
