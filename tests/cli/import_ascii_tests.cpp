// `corvan import-ascii` run as a program on a text export made here.

#include <gtest/gtest.h>

#include <fstream>

#include "cli/run_command.h"
#include "data/data_set.h"
#include "data/measurement_files.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::RunCommand;
using testing::TempDir;

void WriteText(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

class ImportAscii : public ::testing::Test {
protected:
    void SetUp() override {
        hdr = dir.Path("site4.hdr");
        WriteText(hdr, "Number of measurements 2\nProfile interval 60\nNumber of cells 3\nCell size 0.50\n");
        WriteText(dir.Path("site4.v1"), "0.1 0.2 0.3\n0.1 0.2 0.3\n");
        WriteText(dir.Path("site4.v2"), "0   0   0.4\n0   0   0.4\n");
        WriteText(dir.Path("site4.sen"), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 9.5\n");
    }
    TempDir dir;
    std::string hdr;
};

TEST_F(ImportAscii, ListsCellsThenWritesOneAndRefusesToReplaceUnasked) {
    auto r = RunCommand(CORVAN_CLI, {"import-ascii", hdr});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Cells: 3\nCell size: 0.50\n");

    const std::string base = dir.Path("out");
    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "3", "-o", base});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, base + ".CVN\n" + base + ".RF6\n");
    DataSet data;
    data.baseName = base;
    LoadMeasurementFiles(data);
    ASSERT_EQ(data.HeaderCount(), 2);
    EXPECT_NEAR(data.records[0].speed, 50.0, 1e-4);
    EXPECT_FLOAT_EQ(data.records[0].temperature, 9.5f);
    EXPECT_FLOAT_EQ(data.records[1].temperature, 0.0f);

    const auto before = testing::ReadBytes(base + ".CVN");
    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "1", "-o", base + ".CVN"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(base + ".CVN"), std::string::npos) << r.err;
    EXPECT_EQ(testing::ReadBytes(base + ".CVN"), before);

    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "1", "-o", base, "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN"), before);

    // Without -o the set goes beside the header under the proposed name.
    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(testing::Exists(dir.Path("2-site4.CVN")));
}

TEST_F(ImportAscii, FailuresWriteNothing) {
    auto r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "4", "-o", dir.Path("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("1 to 3"), std::string::npos) << r.err;

    std::filesystem::remove(dir.Path("site4.v2"));
    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "1", "-o", dir.Path("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("site4.v2"), std::string::npos) << r.err;

    WriteText(dir.Path("empty.hdr"), "Number of measurements 5\n");
    r = RunCommand(CORVAN_CLI, {"import-ascii", dir.Path("empty.hdr")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no cells"), std::string::npos) << r.err;
    EXPECT_FALSE(testing::Exists(dir.Path("x.CVN")));

    r = RunCommand(CORVAN_CLI, {"import-ascii", dir.Path("none.hdr")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("none.hdr"), std::string::npos);

    r = RunCommand(CORVAN_CLI, {"import-ascii", hdr, "--cell", "two"});
    EXPECT_EQ(r.status, 2);
    r = RunCommand(CORVAN_CLI, {"import-ascii"});
    EXPECT_EQ(r.status, 2);
    r = RunCommand(CORVAN_CLI, {"import-ascii", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--force"), std::string::npos);
}

}  // namespace
}  // namespace corvan
