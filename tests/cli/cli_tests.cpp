// The `corvan` command as a user runs it: the built binary, real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/run_command.h"
#include "data/byte_io.h"
#include "data/data_set.h"
#include "data/measurement_files.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::RunCommand;
using testing::TempDir;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void WriteTypedSet(const std::string& base, int type, int kind, int count) {
    DataSet d;
    d.baseName = base;
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    d.header.sensorKind = static_cast<std::uint8_t>(kind);
    d.header.count = static_cast<std::int16_t>(count);
    for (int i = 0; i < count; ++i) {
        d.records[static_cast<std::size_t>(i)] = type == 2 ? MeasurementRecord{3545.5f, 600.0f + i, 4.0f, 0.0f}
                                                           : MeasurementRecord{10.0f + i, 0.1f * i, 8.0f, 90.0f};
    }
    d.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 2, -1.0f};
    d.series[1] = SeriesHeader{count / 2, 97, 3, 1, 0, 0, 1800, 6, 35.0f};
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 2);
}

TEST(CorvanInfo, JsonDescribesTheSampleSet) {
    const auto r = RunCommand(CORVAN_CLI, {"info", std::string(CORVAN_SAMPLES) + "/buoy3.CVN", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"base\": \"" + std::string(CORVAN_SAMPLES) + "/buoy3\""), std::string::npos);
    EXPECT_NE(r.out.find("\"version\": 4"), std::string::npos);
    EXPECT_NE(r.out.find("\"type_name\": \"Corvan\""), std::string::npos);
    EXPECT_NE(r.out.find("\"header_count\": 3024, \"records_read\": 3024"), std::string::npos);
    EXPECT_NE(r.out.find("{\"number\": 2, \"first\": 1728, \"last\": 3023, \"count\": 1296, "
                         "\"start\": \"2024-03-16T15:00:00\", \"interval\": 600"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"channels\": {\"temperature\": true, \"current\": true, \"optional\": false"),
              std::string::npos);
}

TEST(CorvanInfo, EveryInstrumentTypeAndSensorKind) {
    TempDir dir;
    const std::pair<int, int> kinds[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {3, 2},  {3, 3},
                                         {3, 4}, {4, 0}, {5, 0}, {8, 0}, {11, 0}, {12, 0}};
    for (auto [type, kind] : kinds) {
        const std::string base = dir.Path("t" + std::to_string(type) + "k" + std::to_string(kind));
        WriteTypedSet(base, type, kind, 10);
        const auto r = RunCommand(CORVAN_CLI, {"info", base + ".cvn", "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("\"type_name\": \"" + InstrumentTypeName(type) + "\""), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("\"salinity\": 35.0"), std::string::npos);
        EXPECT_NE(r.out.find("\"interval_code\": 6"), std::string::npos);
        const auto text = RunCommand(CORVAN_CLI, {"info", base});
        EXPECT_EQ(text.status, 0);
        EXPECT_NE(text.out.find(InstrumentTypeName(type)), std::string::npos);
    }
    const auto r = RunCommand(CORVAN_CLI, {"info", dir.Path("t3k3"), "--json"});
    EXPECT_NE(r.out.find("\"optional_channel\": \"Fluorescence\", \"flux_channel\": \"v * Fluorescence\""),
              std::string::npos);
}

TEST(CorvanInfo, OldVersionsAreUpgradedOnOpen) {
    TempDir dir;
    const std::string base = dir.Path("old");
    std::vector<std::uint8_t> cvn;
    ByteWriter w(cvn);
    w.I16(1);
    w.I32(9);
    w.U8(4);
    w.I16(0);
    w.U8(0);
    w.U16(0);
    for (int i = 0; i < 3; ++i) {
        w.F32(0.0f);
        w.F32(0.0f);
        w.F32(5.0f + i);
    }
    testing::WriteBytes(base + ".CVN", cvn);
    std::vector<std::uint8_t> rf6;
    ByteWriter wr(rf6);
    wr.I32(0);
    for (int b : {99, 12, 31, 23, 55}) wr.U8(static_cast<std::uint8_t>(b));
    wr.I16(10);
    testing::WriteBytes(base + ".RF6", rf6);

    const auto r = RunCommand(CORVAN_CLI, {"info", base, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"version\": 4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"records_read\": 3"), std::string::npos);
    EXPECT_NE(r.out.find("\"start\": \"1999-12-31T23:55:00\", \"interval\": 600, \"interval_code\": 2, "
                         "\"salinity\": -1.0"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(testing::Exists(base + ".~CVN"));
    EXPECT_TRUE(testing::Exists(base + ".~RF6"));
    const auto list = Lines(RunCommand(CORVAN_CLI, {"list", base}).out);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "\tSer\tMeas\tTemp\tDate\tTime");
    EXPECT_EQ(list[1], "*\t1\t1\t5.00\t01.Jan-00\t00:05");
}

TEST(CorvanList, PrintsTheListViewLines) {
    const std::string sample = std::string(CORVAN_SAMPLES) + "/buoy3";
    const auto all = RunCommand(CORVAN_CLI, {"list", sample});
    ASSERT_EQ(all.status, 0) << all.err;
    const auto lines = Lines(all.out);
    ASSERT_EQ(lines.size(), 3025u);
    EXPECT_EQ(lines[0], "\tSer\tMeas\tTemp\tCurr\tDir\tDate\tTime");
    EXPECT_EQ(lines[1].substr(0, 5), "*\t1\t1");
    EXPECT_EQ(lines[1729].substr(0, 8), "*\t2\t1729");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty() && l[0] == '*'; }),
              2);
    // Record 218 is one of the sample's invalid speeds.
    const auto part = Lines(RunCommand(CORVAN_CLI, {"list", sample, "--from", "218", "--to", "219"}).out);
    ASSERT_EQ(part.size(), 3u);
    EXPECT_NE(part[1].find("\t218\t"), std::string::npos);
    EXPECT_NE(part[1].find("\t-\t"), std::string::npos) << part[1];
    EXPECT_NE(part[1].find("06.Mar-24\t00:20"), std::string::npos) << part[1];

    // The oxygen sample has an L-file: its columns follow the time, and the
    // records the companion file lacks show dashes.
    const auto oxy = Lines(RunCommand(CORVAN_CLI, {"list", std::string(CORVAN_SAMPLES) + "/oxy17"}).out);
    ASSERT_EQ(oxy.size(), 505u);
    EXPECT_EQ(oxy[0],
              "\tSer\tMeas\tTemp\tOx %\tmg/l\tCurr\tDir\tv.mg/l\tDate\tTime\tL-Temp\tL-Ox %\tL-mg/l\tL-Curr"
              "\tL-Dir\tL-v.mg/l");
    EXPECT_EQ(oxy[504].substr(oxy[504].size() - 12), "\t-\t-\t-\t-\t-\t-");
    const auto oxyInfo = RunCommand(CORVAN_CLI, {"info", std::string(CORVAN_SAMPLES) + "/oxy17", "--json"});
    EXPECT_NE(oxyInfo.out.find("\"l_file\": true"), std::string::npos);

    TempDir dir;
    WriteTypedSet(dir.Path("gps"), 2, 0, 4);
    const auto gps = Lines(RunCommand(CORVAN_CLI, {"list", dir.Path("gps.CVN")}).out);
    EXPECT_EQ(gps[0], "\tSer\tMeas\tTemp\tLat\tLong\tDate\tTime");
    EXPECT_EQ(gps[1], "*\t1\t1\t4.00\t59\u00B005.5'\t10\u00B000.0'\t25.Feb-97\t12:10");
    EXPECT_EQ(gps[3], "*\t2\t3\t4.00\t59\u00B005.5'\t10\u00B002.0'\t01.Mar-97\t00:30");
}

// Every command answers --help on standard output with its own usage line,
// and refuses an unknown option, a missing value or a stray word with exit
// status 2 and one line on standard error that names it.
TEST(CorvanCommand, EveryCommandHasTheSameHelpAndUsageErrors) {
    const auto overview = RunCommand(CORVAN_CLI, {"--help"});
    ASSERT_EQ(overview.status, 0);
    std::vector<std::string> names;
    for (const std::string& line : Lines(overview.out)) {
        if (line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    for (const char* expected : {"info", "list", "stats", "export", "download", "convert-tarsen", "plot"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    }
    for (const std::string& name : names) {
        const auto help = RunCommand(CORVAN_CLI, {name, "--help"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_NE(help.out.find("Usage: corvan " + name), std::string::npos) << name << ": " << help.out;
        EXPECT_TRUE(help.err.empty()) << name;

        for (const std::vector<std::string>& wrong :
             {std::vector<std::string>{name, "x", "--no-such-option"}, std::vector<std::string>{name, "x", "y", "z"},
              std::vector<std::string>{name, "--series"}}) {
            const auto r = RunCommand(CORVAN_CLI, wrong);
            EXPECT_EQ(r.status, 2) << ::testing::PrintToString(wrong);
            EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
            EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
        }
    }
}

TEST(CorvanCommand, UsageAndFailuresHaveTheirExitStatus) {
    EXPECT_EQ(RunCommand(CORVAN_CLI, {}).status, 2);
    EXPECT_EQ(RunCommand(CORVAN_CLI, {"frobnicate"}).status, 2);
    EXPECT_EQ(RunCommand(CORVAN_CLI, {"info"}).status, 2);
    EXPECT_EQ(RunCommand(CORVAN_CLI, {"info", "a", "--bogus"}).status, 2);
    EXPECT_EQ(RunCommand(CORVAN_CLI, {"list", "a", "--from", "x"}).status, 2);
    TempDir dir;
    const auto missing = RunCommand(CORVAN_CLI, {"info", dir.Path("nope")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(Lines(missing.err).size(), 1u);
    EXPECT_NE(missing.err.find("nope.CVN"), std::string::npos);

    WriteTypedSet(dir.Path("noref"), 0, 0, 3);
    std::filesystem::remove(dir.Path("noref.RF6"));
    const auto noref = RunCommand(CORVAN_CLI, {"list", dir.Path("noref")});
    EXPECT_EQ(noref.status, 1);
    EXPECT_NE(noref.err.find("Fatal error. Reference file not found."), std::string::npos);

    testing::WriteBytes(dir.Path("short.CVN"), {4, 0, 1});
    const auto shortFile = RunCommand(CORVAN_CLI, {"info", dir.Path("short")});
    EXPECT_EQ(shortFile.status, 1);
    EXPECT_EQ(Lines(shortFile.err).size(), 1u);
}

TEST(Samples, TheGeneratorReproducesTheBundledFiles) {
    TempDir dir;
    ASSERT_EQ(RunCommand(CORVAN_SAMPLEGEN, {dir.Root().string()}).status, 0);
    for (const char* name : {"buoy3.CVN", "buoy3.RF6", "oxy17.CVN", "oxy17.RF6", "oxy17.LN6"}) {
        EXPECT_EQ(testing::ReadBytes(dir.Path(name)), testing::ReadBytes(std::string(CORVAN_SAMPLES) + "/" + name))
            << name;
    }
}

}  // namespace
}  // namespace corvan
