// `corvan export` as a user runs it: the built binary on real files, its
// output compared with what the writer makes of the same choices.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/run_command.h"
#include "export/export_fixture.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::RunCommand;
using testing::TempDir;

std::string ReadText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class CorvanExport : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = testing::CopySampleSet(CORVAN_SAMPLES, "buoy3", dir_);
        ASSERT_TRUE(testing::Load(base_, data_));
        ASSERT_EQ(data_.SeriesCount(), 2);
    }

    testing::CommandResult Export(std::vector<std::string> args) {
        args.insert(args.begin(), {"export", base_ + ".CVN"});
        return RunCommand(CORVAN_CLI, args);
    }

    std::string Expected(ExportLayout layout, const std::string& delimiter, ExportContents contents, int series,
                         int rangeFirst = 0, int rangeLast = 0) {
        data_.rangeFirst = rangeFirst;
        data_.rangeLast = rangeLast;
        TextExportOptions o;
        o.layout = layout;
        o.delimiter = delimiter;
        o.records = ExportRecords(data_, contents, series);
        return BuildTextExport(data_, o, IsoExportLocale());
    }

    TempDir dir_;
    std::string base_;
    DataSet data_;
};

TEST_F(CorvanExport, WritesWhatTheWriterWritesForTheSameChoices) {
    struct Case {
        std::vector<std::string> args;
        std::string file;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"--layout", "windows", "--series", "2", "-o", dir_.Path("a")},
         dir_.Path("a.txt"),
         Expected(ExportLayout::Windows, ";", ExportContents::SeriesNumber, 2)},
        {{"--layout", "dos", "--delimiter", "tab", "-o", dir_.Path("b")},
         dir_.Path("b.prn"),
         Expected(ExportLayout::Dos, "\t", ExportContents::AllMeasurements, 1)},
        {{"--layout", "windows", "--all", "--delimiter", "semicolon", "-o", dir_.Path("c.csv")},
         dir_.Path("c.csv"),
         Expected(ExportLayout::Windows, ";", ExportContents::AllMeasurements, 1)},
        // Measurement numbers from 1, within series 1 unless --series says.
        {{"--layout", "windows", "--first", "10", "--last", "20", "--delimiter", "|", "-o", dir_.Path("d")},
         dir_.Path("d.txt"),
         Expected(ExportLayout::Windows, "|", ExportContents::SelectedMeasurements, 1, 9, 19)},
        {{"--layout", "dos", "--series", "2", "--first", "1730", "--last", "1735", "-o", dir_.Path("e")},
         dir_.Path("e.prn"),
         Expected(ExportLayout::Dos, ";", ExportContents::SelectedMeasurements, 2, 1729, 1734)},
        {{"--layout", "windows", "--series", "2", "--last", "1730", "-o", dir_.Path("f")},
         dir_.Path("f.txt"),
         Expected(ExportLayout::Windows, ";", ExportContents::SelectedMeasurements, 2, 1728, 1729)},
        // Any one character, written in the Windows code page.
        {{"--layout", "windows", "--delimiter", "\xC2\xA6", "-o", dir_.Path("g")},
         dir_.Path("g.txt"),
         Expected(ExportLayout::Windows, "\xC2\xA6", ExportContents::AllMeasurements, 1)},
    };
    for (const Case& c : cases) {
        const auto r = Export(c.args);
        ASSERT_EQ(r.status, 0) << c.file << ": " << r.err;
        EXPECT_EQ(r.err, "");
        const std::string written = ReadText(c.file);
        EXPECT_EQ(written.size(), c.expected.size()) << c.file;
        EXPECT_TRUE(written == c.expected) << c.file;
    }
    EXPECT_EQ(ReadText(dir_.Path("g.txt")).substr(21, 6), "Ser\xA6Me");
    EXPECT_NE(ReadText(dir_.Path("f.txt")).find("\r\n2;1729;"), std::string::npos);
}

TEST_F(CorvanExport, AnExistingFileIsReplacedOnlyWithForce) {
    const std::string out = dir_.Path("out.txt");
    testing::WriteBytes(out, {'o', 'l', 'd'});
    auto r = Export({"--layout", "windows", "-o", dir_.Path("out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(out + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("already exists"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(out), "old");

    r = Export({"--layout", "windows", "-o", dir_.Path("out"), "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(out), Expected(ExportLayout::Windows, ";", ExportContents::AllMeasurements, 1));
}

TEST_F(CorvanExport, WrongChoicesAreUsageErrors) {
    const std::string o = dir_.Path("never");
    const std::vector<std::vector<std::string>> wrong = {
        {"-o", o},
        {"--layout", "mac", "-o", o},
        {"--layout", "windows"},
        {"--layout", "windows", "--all", "--series", "1", "-o", o},
        {"--layout", "windows", "--series", "3", "-o", o},
        {"--layout", "windows", "--series", "0", "-o", o},
        {"--layout", "windows", "--first", "1729", "-o", o},
        {"--layout", "windows", "--series", "2", "--first", "1728", "-o", o},
        {"--layout", "windows", "--first", "20", "--last", "10", "-o", o},
        {"--layout", "windows", "--delimiter", "ab", "-o", o},
        {"--layout", "windows", "--delimiter", "", "-o", o},
        {"--layout", "windows", "--colour", "-o", o},
    };
    for (const auto& args : wrong) {
        const auto r = Export(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("export"), std::string::npos) << r.err;
    }
    for (const char* ext : {".txt", ".prn", ""}) EXPECT_FALSE(testing::Exists(o + ext));

    // One past the end of series 2 is refused with the series' bounds, as
    // every other chooser of a range refuses it.
    const auto pastEnd = Export({"--layout", "windows", "--series", "2", "--first", "1729", "--last", "3025", "-o", o});
    EXPECT_EQ(pastEnd.status, 2);
    EXPECT_NE(pastEnd.err.find("last measurement 3025 is outside series 2 (1729..3024)"), std::string::npos)
        << pastEnd.err;
    for (const char* ext : {".txt", ".prn", ""}) EXPECT_FALSE(testing::Exists(o + ext));

    const auto missing = RunCommand(CORVAN_CLI, {"export", dir_.Path("nothere"), "--layout", "dos", "-o", o});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nothere"), std::string::npos) << missing.err;

    const auto unwritable = Export({"--layout", "dos", "-o", dir_.Path("no/such/folder/x")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find(dir_.Path("no/such/folder/x.prn") + ": "), std::string::npos) << unwritable.err;
}

#ifndef _WIN32
// Compiles a glibc locale into a private folder; false where the tools or
// their sources are missing.
bool CompileLocale(const std::string& folder, const std::string& name, const std::string& source) {
    if (std::system("command -v localedef >/dev/null 2>&1") != 0) return false;
    const std::string cmd = "localedef -c -i " + source + " -f UTF-8 '" + folder + "/" + name + "' >/dev/null 2>&1";
    std::system(cmd.c_str());
    return std::filesystem::exists(folder + "/" + name);
}

TEST(CorvanExportLocale, TheWindowsLayoutFollowsTheEnvironment) {
    TempDir dir;
    const std::string locales = dir.Path("locales");
    std::filesystem::create_directory(locales);
    if (!CompileLocale(locales, "de_DE.UTF-8", "de_DE") || !CompileLocale(locales, "en_US.UTF-8", "en_US")) {
        GTEST_SKIP() << "localedef cannot build the test locales here";
    }
    const std::string base = dir.Path("buoy.north");
    testing::WriteThreeSeries(base);
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));

    const auto run = [&](const std::string& locale, const std::string& layout, const std::string& out) {
        return RunCommand("env", {"LOCPATH=" + locales, "LC_ALL=" + locale, CORVAN_CLI, "export", base, "--layout",
                                  layout, "--series", "2", "-o", out});
    };
    TextExportOptions o;
    o.records = ExportRecords(d, ExportContents::SeriesNumber, 2);

    auto r = run("de_DE.UTF-8", "windows", dir.Path("de"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(dir.Path("de.txt")), BuildTextExport(d, o, testing::CommaLocale()));

    // Twelve-hour clocks keep their AM/PM but lose the seconds.
    r = run("en_US.UTF-8", "windows", dir.Path("us"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadText(dir.Path("us.txt")).find("2;5;8.13;12.3;29;03/01/1997;12:30 AM;\r\n"), std::string::npos)
        << ReadText(dir.Path("us.txt"));

    // The DOS layout is the same everywhere.
    r = run("de_DE.UTF-8", "dos", dir.Path("de"));
    ASSERT_EQ(r.status, 0) << r.err;
    o.layout = ExportLayout::Dos;
    EXPECT_EQ(ReadText(dir.Path("de.prn")), BuildTextExport(d, o, IsoExportLocale()));
}
#endif

}  // namespace
}  // namespace corvan
