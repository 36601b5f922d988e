// The correction tools' commands as a user runs them: the built binary on
// real files in a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/run_command.h"
#include "data/byte_io.h"
#include "support/temp_dir.h"
#include "tools/tool_fixtures.h"

namespace corvan {
namespace {

using testing::Exists;
using testing::LoadSet;
using testing::RunCommand;
using testing::SetLayout;
using testing::TempDir;
using testing::WriteSet;

testing::CommandResult Corvan(const std::vector<std::string>& args) { return RunCommand(CORVAN_CLI, args); }

// One line on stderr naming the file.
void ExpectFailure(const testing::CommandResult& r, const std::string& file, const std::string& reason) {
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_EQ(r.err, file + ": " + reason + "\n");
}

TEST(CalibrateCommand, SheetJsonAndUsage) {
    auto r = Corvan({"calibrate", "6000", "0", "2000", "20,0", "700", "40", "--test", "2000", "--test", "0",
                     "--instrument", " 17"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Temperature calibration from RAW data.\n\nInstrument number: 17\n\n"
              "R1 =   6000  T1=  0.00\nR2 =   2000  T2= 20.00\nR3 =    700  T3= 40.00\n"
              "A = 2.118338E-03\nB = 1.467553E-04\nC = 4.037406E-07\n\n"
              "R =   2000  T = 20.00\nR =      0  T =  0.00\n");
    r = Corvan({"calibrate", "6000", "0", "2000", "20", "0", "40", "--test", "1,5e3", "--test", "-1", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"a\": \"-9.990000E+02\", \"b\": \"-9.990000E+02\", \"c\": \"-9.990000E+02\", "
              "\"tests\": [{\"r\": \"1,5e3\", \"t\": \"-273.16\"}, {\"r\": \"-1\", \"t\": \"Error\"}]}\n");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"calibrate", "1", "2", "3"},
                                               {"calibrate", "1", "2", "3", "4", "5", "x"},
                                               {"calibrate", "1", "2", "3", "4", "5", "6", "--bad"}}) {
        r = Corvan(bad);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(Corvan({"calibrate", "--help"}).status, 0);
}

TEST(RecalcCommand, BoxesOfTheSecondDialog) {
    auto r =
        Corvan({"recalc", "2.118338E-03", "1.467553E-04", "4,037406E-07", "--measured", "20", "--reference", "20.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("A: 2.118338E-03\nB: 1.467553E-04\nC: 4.037406E-07\nRt: 2000.0\nNew A: 2.", 0), 0u) << r.out;
    r = Corvan(
        {"recalc", "2.118338E-03", "1.467553E-04", "4.037406E-07", "--rt", "0,04", "--reference", "20", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"a\": \"2.118338E-03\", \"b\": \"1.467553E-04\", \"c\": \"4.037406E-07\", "
              "\"rt\": \"0,04\", \"new_a\": \"\"}\n");
    r = Corvan({"recalc", "2.118338E-03", "1.467553E-04", "4.037406E-07", "--measured", "-30"});
    EXPECT_NE(r.out.find("Rt: Underflow\nNew A: \n"), std::string::npos) << r.out;
    EXPECT_EQ(Corvan({"recalc", "1", "2", "3", "--measured", "1", "--rt", "2"}).status, 2);
}

TEST(SalinityCommand, GridSetAndRefusal) {
    TempDir dir;
    const std::string base = dir.Path("oxy");
    SetLayout layout;
    layout.type = 3;
    layout.sensorKind = 1;
    layout.count = 20;
    layout.series[0].salinity = 33.0f;
    layout.series.push_back(SeriesHeader{10, 24, 3, 9, 7, 5, 600, 2, -1.0f});
    WriteSet(base, layout);

    auto r = Corvan({"salinity", base + ".CVN"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Ser\tFirst\tDate\tTime\tSalinity\n1\t0\t24.03.04\t12:00\t33.00\n2\t10\t24.03.09\t07:05\t\n");
    r = Corvan({"salinity", base, "--set", "2=34,5", "--set", "1=abc", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"series\": [{\"ser\": 1, \"first\": 0, \"date\": \"24.03.04\", \"time\": \"12:00\", "
              "\"salinity\": \"33.00\"}, {\"ser\": 2, \"first\": 10, \"date\": \"24.03.09\", \"time\": "
              "\"07:05\", \"salinity\": \"34.50\"}]}\n");
    EXPECT_TRUE(Exists(base + ".~RF6"));
    r = Corvan({"salinity", base, "--set", "1="});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1\t0\t24.03.04\t12:00\t\n2\t10\t24.03.09\t07:05\t34.50\n"), std::string::npos) << r.out;
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    EXPECT_EQ(d.series[0].salinity, -1.0f);
    EXPECT_EQ(Corvan({"salinity", base, "--set", "3=1"}).status, 2);

    ExpectFailure(Corvan({"salinity", std::string(CORVAN_SAMPLES) + "/buoy3"}),
                  std::string(CORVAN_SAMPLES) + "/buoy3.CVN",
                  "the file has no oxygen sensor; salinity is used only for oxygen");
}

TEST(ScaleCommand, AllOrOneSeriesAndBadFactors) {
    TempDir dir;
    const std::string base = dir.Path("cur");
    SetLayout layout;
    layout.count = 8;
    layout.series.push_back(SeriesHeader{4, 24, 3, 9, 7, 5, 600, 2, -1.0f});
    WriteSet(base, layout);

    auto r = Corvan({"scale", base, "--factor", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testing::ReadBytes(base + ".CVN"), testing::ReadBytes(base + ".~CVN"));
    r = Corvan({"scale", base, "--factor", "0,5", "--series", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    EXPECT_EQ(d.records[3].speed, 13.0f);
    EXPECT_EQ(d.records[4].speed, 7.0f);
    EXPECT_EQ(d.records[7].speed, 8.5f);

    ExpectFailure(Corvan({"scale", base, "--factor", "two"}), base + ".CVN", "Error in scale value");
    ExpectFailure(Corvan({"scale", base, "--factor", "2", "--series", "3"}), base + ".CVN", "series 3 is not in 1..2");
    EXPECT_EQ(Corvan({"scale", base}).status, 2);
    ExpectFailure(Corvan({"scale", dir.Path("none"), "--factor", "2"}), dir.Path("none") + ".CVN", "file not found");
}

TEST(MergeGpsCommand, RunsDefaultsAndRefusals) {
    TempDir dir;
    const std::string t = dir.Path("temp");
    const std::string g = dir.Path("gps");
    SetLayout ts;
    ts.count = 12;
    ts.series.push_back(SeriesHeader{6, 24, 3, 9, 7, 5, 600, 2, -1.0f});
    WriteSet(t, ts);
    SetLayout gs;
    gs.type = 2;
    gs.count = 5;
    WriteSet(g, gs);

    // Defaults: the whole of series 1 on both sides.
    auto r = Corvan({"merge-gps", "--temperature", t, "--gps", g + ".CVN"});
    ASSERT_EQ(r.status, 0) << r.err;
    DataSet d;
    ASSERT_TRUE(LoadSet(g, d));
    EXPECT_FLOAT_EQ(d.records[0].temperature, 5.0f);
    EXPECT_FLOAT_EQ(d.records[4].temperature, 5.4f);

    r = Corvan({"merge-gps", "--temperature", t, "--t-series", "2", "--t-first", "10", "--gps", g, "--g-first", "2",
                "--g-last", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(LoadSet(g, d));
    EXPECT_FLOAT_EQ(d.records[0].temperature, 5.0f);
    EXPECT_FLOAT_EQ(d.records[1].temperature, 5.9f);
    EXPECT_FLOAT_EQ(d.records[2].temperature, 6.0f);
    EXPECT_FLOAT_EQ(d.records[3].temperature, 5.3f);

    const auto before = testing::ReadBytes(g + ".CVN");
    ExpectFailure(Corvan({"merge-gps", "--temperature", t, "--t-first", "7", "--gps", g}), t + ".CVN",
                  "first measurement 7 is outside series 1 (1..6)");
    ExpectFailure(Corvan({"merge-gps", "--temperature", t, "--gps", t}), t + ".CVN", "Not a valid GPS file.");
    ExpectFailure(Corvan({"merge-gps", "--temperature", t, "--gps", dir.Path("x")}), dir.Path("x") + ".CVN",
                  "File: \"" + dir.Path("x") + "\" not found.");
    EXPECT_EQ(testing::ReadBytes(g + ".CVN"), before);
    EXPECT_EQ(Corvan({"merge-gps", "--temperature", t}).status, 2);
}

std::vector<std::uint8_t> BelvanRecord(int number, int minute) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.I16(static_cast<std::int16_t>(number));
    for (int b : {133, 0, 0, 0, 0, 0x4C}) w.U8(static_cast<std::uint8_t>(b));  // 25.5 cm/s
    w.I16(90);
    for (int b : {129, 0, 0, 0, 0, 0}) w.U8(static_cast<std::uint8_t>(b));  // 1 deg C
    w.I16(1996);
    for (int b : {4, 2, 6, minute}) w.U8(static_cast<std::uint8_t>(b));
    return out;
}

TEST(BelvanCommand, ConvertsRefusesToReplaceAndKeepsBackups) {
    TempDir dir;
    std::vector<std::uint8_t> dat = BelvanRecord(1, 0);
    const auto second = BelvanRecord(3, 20);
    dat.insert(dat.end(), second.begin(), second.end());
    testing::WriteBytes(dir.Path("old.dat"), dat);
    const std::string base = dir.Path("set");

    auto r = Corvan({"belvan", dir.Path("old.dat"), "-o", base});
    ASSERT_EQ(r.status, 0) << r.err;
    DataSet d;
    ASSERT_TRUE(LoadSet(base, d));
    EXPECT_EQ(d.HeaderCount(), 3);
    EXPECT_EQ(d.records[2].speed, 25.5f);
    EXPECT_EQ(d.series[0].interval, 600);

    const auto converted = testing::ReadBytes(base + ".CVN");
    r = Corvan({"belvan", dir.Path("old.dat"), "-o", base + ".CVN"});
    ExpectFailure(r, base + ".CVN", "already exists; give --force to replace the set (its files are kept as backups)");
    r = Corvan({"belvan", dir.Path("old.dat"), "-o", base, "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The set as opening upgraded it is the one kept.
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN~1"), converted);
    EXPECT_TRUE(Exists(base + ".~RF6"));

    testing::WriteBytes(dir.Path("twin.dat"), [] {
        auto a = BelvanRecord(4, 0);
        const auto b = BelvanRecord(4, 10);
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }());
    r = Corvan({"belvan", dir.Path("twin.dat"), "-o", dir.Path("twin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind(dir.Path("twin.dat") + ": ", 0), 0u) << r.err;
    r = Corvan({"belvan", dir.Path("none.dat"), "-o", dir.Path("none")});
    EXPECT_EQ(r.status, 1);
    for (const char* name : {"twin.CVN", "twin.RF6", "none.CVN", "none.RF6"}) EXPECT_FALSE(Exists(dir.Path(name)));
    EXPECT_EQ(Corvan({"belvan", dir.Path("old.dat")}).status, 2);
}

TEST(ToolCommands, ListedInTheHelp) {
    const auto r = Corvan({"--help"});
    for (const char* name :
         {"calibrate R1", "recalc A B C", "salinity FILE", "scale FILE", "merge-gps --temperature", "belvan IN.dat"})
        EXPECT_NE(r.out.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace corvan
