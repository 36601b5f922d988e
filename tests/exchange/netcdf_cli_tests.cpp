// `corvan export-netcdf` as a user runs it: the built binary on real files,
// read back through the NetCDF library and through ncdump.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/run_command.h"
#include "exchange/netcdf_reader.h"
#include "exchange/netcdf_writer.h"
#include "export/export_fixture.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::NcReader;
using testing::RunCommand;
using testing::TempDir;

class CorvanExportNetcdf : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = testing::CopySampleSet(CORVAN_SAMPLES, "buoy3", dir_);
        ASSERT_TRUE(testing::Load(base_, data_));
        ASSERT_EQ(data_.SeriesCount(), 2);
    }

    testing::CommandResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"export-netcdf", base_ + ".CVN"});
        return RunCommand(CORVAN_CLI, args);
    }

    // What the writer makes of records first..last (from 0).
    std::vector<float> ExpectedSpeeds(int first, int last) {
        NetcdfExportOptions o;
        o.first = first;
        o.last = last;
        NetcdfContent c;
        EXPECT_EQ(BuildNetcdfContent(data_, o, c), "");
        return c.Variable("CSPD")->floats;
    }

    TempDir dir_;
    std::string base_;
    DataSet data_;
};

TEST_F(CorvanExportNetcdf, RangeOptionsChooseTheRecords) {
    const int end1 = data_.SeriesFirst(2);  // first record of series 2
    struct Case {
        std::vector<std::string> args;
        int first;
        int last;
    };
    const std::vector<Case> cases = {
        {{}, 0, data_.recordCount - 1},
        {{"--all"}, 0, data_.recordCount - 1},
        {{"--series", "2"}, end1, data_.recordCount - 1},
        {{"--first", "10", "--last", "20"}, 9, 19},
        {{"--series", "2", "--first", std::to_string(end1 + 1), "--last", std::to_string(end1 + 3)}, end1, end1 + 2},
        {{"--series", "2", "--last", std::to_string(end1 + 2)}, end1, end1 + 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string out = dir_.Path("out" + std::to_string(n++));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", out});
        const auto r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        // The name gets its extension.
        NcReader nc(out + ".nc");
        EXPECT_EQ(nc.Floats("CSPD"), ExpectedSpeeds(c.first, c.last)) << args[0];
        EXPECT_NE(nc.Text("", "history").find("corvan export-netcdf"), std::string::npos);
    }
}

TEST_F(CorvanExportNetcdf, SiteOptionsReachTheFile) {
    const std::string out = dir_.Path("site.nc");
    const auto r = Run({"--lat", "-33.75", "--lon=151.5", "--depth", "18", "--site", "SYD-1", "--institution",
                        "Harbour Lab", "--pi", "J. Smith", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    NcReader nc(out);
    EXPECT_EQ(nc.Doubles("LATITUDE"), std::vector<double>{-33.75});
    EXPECT_EQ(nc.Doubles("LONGITUDE"), std::vector<double>{151.5});
    EXPECT_EQ(nc.Floats("DEPTH"), std::vector<float>{18.0f});
    EXPECT_EQ(nc.Text("", "site_code"), "SYD-1");
    EXPECT_EQ(nc.Text("", "institution"), "Harbour Lab");
    EXPECT_EQ(nc.Text("", "principal_investigator"), "J. Smith");
}

TEST_F(CorvanExportNetcdf, BadRequestsAreRefusedWithOneLine) {
    const std::string out = dir_.Path("bad.nc");
    const std::vector<std::vector<std::string>> usage = {
        {},                                            // no -o
        {"--all", "--series", "1", "-o", out},         // --all with a range
        {"--series", "3", "-o", out},                  // no such series
        {"--first", "0", "-o", out},                   // numbers count from 1
        {"--first", "20", "--last", "10", "-o", out},  // backwards
        {"--lat", "91", "-o", out},
        {"--depth", "-5", "-o", out},
        {"--lat", "north", "-o", out},
        {"--colour", "red", "-o", out},
    };
    for (const auto& args : usage) {
        const auto r = Run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(testing::Exists(out));
    }
    const auto missing = RunCommand(CORVAN_CLI, {"export-netcdf", dir_.Path("nothing"), "-o", out});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nothing"), std::string::npos);
    EXPECT_EQ(RunCommand(CORVAN_CLI, {"export-netcdf", "--help"}).status, 0);
}

TEST_F(CorvanExportNetcdf, AnExistingFileIsReplacedOnlyWithForce) {
    const std::string out = dir_.Path("there.nc");
    testing::WriteBytes(out, {'o', 'l', 'd'});
    const auto refused = Run({"-o", out});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(out), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    ASSERT_EQ(Run({"-o", out, "--force"}).status, 0);
    EXPECT_EQ(NcReader(out).Records(), static_cast<std::size_t>(data_.recordCount));
}

TEST_F(CorvanExportNetcdf, NcdumpReadsTheHeader) {
    const std::string ncdump = CORVAN_NCDUMP;
    if (ncdump.empty() || ncdump.ends_with("NOTFOUND")) GTEST_SKIP() << "ncdump is not installed";
    const std::string out = dir_.Path("dump.nc");
    ASSERT_EQ(Run({"--series", "1", "--depth", "12.5", "-o", out}).status, 0);
    const auto r = RunCommand(ncdump, {"-h", out});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {
             "TIME = 1728 ;",  // series 1 alone
             "double TIME(TIME) ;",
             "TIME:units = \"days since 1950-01-01T00:00:00Z\" ;",
             "TIME:standard_name = \"time\" ;",
             "float CSPD(TIME) ;",
             "CSPD:standard_name = \"sea_water_speed\" ;",
             "CSPD:units = \"m s-1\" ;",
             "CSPD:_FillValue = 99999.f ;",
             "CSPD:ancillary_variables = \"CSPD_QC\" ;",
             "byte CSPD_QC(TIME) ;",
             "CDIR:units = \"degree\" ;",
             "TEMP:standard_name = \"sea_water_temperature\" ;",
             "float DEPTH ;",
             "short SERIES(TIME) ;",
             ":Conventions = \"CF-1.8 OceanSITES-1.4\" ;",
             ":instrument = \"Corvan\" ;",
             ":geospatial_vertical_min = 12.5 ;",
         }) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace corvan
