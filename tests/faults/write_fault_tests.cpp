// Every writer against a file system that fails it half way: a file size
// limit (a full disk), a folder that became read-only after an earlier save
// made its backup, a folder removed before the save. The user must get a
// text that names the file, the previous data must survive, and nothing
// half written may carry a name the program would open.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "convert_cell.h"
#include "converter_ui.h"
#include "data/ascii_import.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "data/measurement_files.h"
#include "data/text_export.h"
#if CORVAN_FAULTS_WITH_DOCUMENTS
#include "exchange/netcdf_writer.h"
#include "report/office_package.h"
#endif
#include "failing_child.h"
#include "instrument/download_store.h"
#include "support/temp_dir.h"
#include "tarsen_file.h"
#include "tarsen_synth.h"
#include "tools/belvan.h"

namespace corvan::faults {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// A type-0 set of n records in two series; values depend on `seed` so that
// an old and a new file differ in every record.
void FillSet(DataSet& d, const std::string& base, int n, float seed) {
    d.baseName = base;
    d.header = MeasurementFileHeader{};
    d.header.count = static_cast<std::int16_t>(n);
    d.recordCount = n;
    for (int i = 0; i < n; ++i) {
        d.records[static_cast<std::size_t>(i)] = {seed + static_cast<float>(i % 50), 1.0f, 7.0f + seed, 0.0f};
    }
    d.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 2, -1.0f};
    d.series[1] = SeriesHeader{n / 2, 97, 3, 1, 0, 0, 600, 2, -1.0f};
    d.seriesCount = 2;
}

void WriteSet(const std::string& base, int n, float seed) {
    DataSet d;
    FillSet(d, base, n, seed);
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 2);
}

class QuietUi final : public tarsen::ConverterUi {
public:
    void ShowMessage(tarsen::MessageKind kind, const std::string& text) override {
        if (kind == tarsen::MessageKind::kError) errors += text;
    }
    bool AskTimeGlitch(int, const std::string&) override { return true; }
    void SetProgress(int) override {}
    std::string errors;
};

DateTime FixedNow() { return *DateTime::FromCivil({2020, 6, 1, 8, 30, 0}); }

// n records of the older instruments' data file: numbers from 1, a speed of
// 1 cm/s, north, 8 degrees, ten minutes apart.
std::vector<std::uint8_t> BelvanRecords(int n) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t one[6] = {129, 0, 0, 0, 0, 0};
        const std::uint8_t eight[6] = {132, 0, 0, 0, 0, 0};
        out.push_back(static_cast<std::uint8_t>((i + 1) & 0xFF));
        out.push_back(static_cast<std::uint8_t>((i + 1) >> 8));
        out.insert(out.end(), one, one + 6);
        out.push_back(0);
        out.push_back(0);
        out.insert(out.end(), eight, eight + 6);
        out.push_back(static_cast<std::uint8_t>(1994 & 0xFF));
        out.push_back(static_cast<std::uint8_t>(1994 >> 8));
        for (int b : {7, 14, (i / 6) % 24, (i % 6) * 10}) out.push_back(static_cast<std::uint8_t>(b));
    }
    return out;
}

std::string ConvertFirstCell(const std::string& input, const std::string& outputFolder) {
    QuietUi ui;
    tarsen::TarsenFile file;
    if (!file.ReadConfiguration(input, ui)) return ui.errors.empty() ? "not read" : ui.errors;
    tarsen::ImportSettings settings;
    settings.outputFolder = outputFolder;
    if (!tarsen::ConvertCell(file, settings, ui, 1)) return ui.errors.empty() ? "not converted" : ui.errors;
    return {};
}

// One writer: what stands in the folder before, the write itself (reading
// what it needs from one folder, writing into another), the file whose name
// the user must be told, and a file size limit too small for the new file.
struct Writer {
    const char* name;
    std::function<void(const std::string& folder)> makePrevious;
    std::function<std::string(const std::string& from, const std::string& to)> write;
    std::string fileNamed;
    rlim_t tooSmall;
    // Converts a file in place, so it cannot write into another folder.
    bool inPlace = false;
};

void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }

std::string Catching(const std::function<void()>& f) {
    try {
        f();
    } catch (const FileError& e) {
        return e.what();
    }
    return {};
}

std::vector<Writer> Writers() {
    std::vector<Writer> w;
    w.push_back({"measurement file", [](const std::string& dir) { WriteSet(dir + "/set", 10, 1.0f); },
                 [](const std::string&, const std::string& dir) {
                     return Catching([&] {
                         DataSet d;
                         FillSet(d, dir + "/set", 1000, 5.0f);
                         WriteMeasurementFile(d);
                     });
                 },
                 "set.CVN", 4096});
    w.push_back({"reference file", [](const std::string& dir) { WriteSet(dir + "/set", 10, 1.0f); },
                 [](const std::string&, const std::string& dir) {
                     return Catching([&] {
                         DataSet d;
                         FillSet(d, dir + "/set", 1000, 5.0f);
                         for (int s = 0; s < kMaxSeries; ++s) d.series[static_cast<std::size_t>(s)].first = 10 * s;
                         WriteReferenceFile(d, kMaxSeries);
                     });
                 },
                 "set.RF6", 100});
    w.push_back({"old version conversion",
                 [](const std::string& dir) {
                     std::vector<std::uint8_t> cvn(12, 0);
                     cvn[0] = 1;
                     for (int i = 0; i < 400 * 12; ++i) cvn.push_back(static_cast<std::uint8_t>(i % 7));
                     testing::WriteBytes(dir + "/old.CVN", cvn);
                     testing::WriteBytes(dir + "/old.RF6", std::vector<std::uint8_t>(11, 0));
                 },
                 [](const std::string& dir, const std::string&) {
                     return Catching([&] {
                         DataSet d;
                         d.baseName = dir + "/old";
                         LoadMeasurementFiles(d);
                     });
                 },
                 "old.CVN", 5000, true});
    w.push_back({"download save", [](const std::string& dir) { WriteSet(dir + "/set", 10, 1.0f); },
                 [](const std::string&, const std::string& dir) {
                     return Catching([&] {
                         DataSet d;
                         FillSet(d, "", 1000, 5.0f);
                         SaveDownload(d, dir + "/set");
                     });
                 },
                 "set.CVN", 4096});
    w.push_back({"text export",
                 [](const std::string& dir) {
                     WriteSet(dir + "/set", 10, 1.0f);
                     DataSet d;
                     d.baseName = dir + "/set";
                     LoadMeasurementFiles(d);
                     TextExportOptions o;
                     o.records = ExportRecords(d, ExportContents::AllMeasurements, 1);
                     WriteTextExport(dir + "/out.txt", d, o, IsoExportLocale());
                 },
                 [](const std::string& from, const std::string& to) {
                     return Catching([&] {
                         DataSet d;
                         FillSet(d, from + "/set", 1000, 5.0f);
                         TextExportOptions o;
                         o.records = ExportRecords(d, ExportContents::AllMeasurements, 1);
                         WriteTextExport(to + "/out.txt", d, o, IsoExportLocale());
                     });
                 },
                 "out.txt", 4096});
    w.push_back({"converter output",
                 [](const std::string& dir) {
                     tarsen_synth::Deployment small;
                     small.setup = tarsen_synth::SetupFor(0);
                     small.profiles = 20;
                     tarsen_synth::WriteDeployment(small, dir + "/in.prf");
                     ASSERT_EQ(ConvertFirstCell(dir + "/in.prf", ""), "");
                     tarsen_synth::Deployment big = small;
                     big.profiles = 600;
                     tarsen_synth::WriteDeployment(big, dir + "/in.prf");
                 },
                 [](const std::string& from, const std::string& to) {
                     return ConvertFirstCell(from + "/in.prf", from == to ? "" : to);
                 },
                 "in-1.cvn", 4096});
    w.push_back({"belvan conversion",
                 [](const std::string& dir) {
                     WriteSet(dir + "/set", 10, 1.0f);
                     testing::WriteBytes(dir + "/old.dat", BelvanRecords(400));
                 },
                 [](const std::string& from, const std::string& to) {
                     return Catching([&] { ConvertBelvanFile(from + "/old.dat", to + "/set", FixedNow); });
                 },
                 "set.", 4096});
    w.push_back({"ascii import", [](const std::string& dir) { WriteSet(dir + "/set", 10, 1.0f); },
                 [](const std::string&, const std::string& to) {
                     return Catching([&] {
                         AsciiImport import;
                         import.header.count = 1000;
                         import.series = SeriesHeader{0, 24, 3, 14, 12, 0, 600, 0, 35.0f};
                         import.records.assign(1000, MeasurementRecord{12.0f, 1.0f, 8.0f, 0.0f});
                         WriteAsciiImport(import, to + "/set");
                     });
                 },
                 "set.", 4096});
#if CORVAN_FAULTS_WITH_DOCUMENTS
    w.push_back({"netcdf export",
                 [](const std::string& dir) {
                     WriteSet(dir + "/set", 10, 1.0f);
                     testing::WriteBytes(dir + "/out.nc", std::vector<std::uint8_t>(300, 7));
                 },
                 [](const std::string& from, const std::string& to) {
                     return Catching([&] {
                         DataSet d;
                         FillSet(d, from + "/set", 1000, 5.0f);
                         NetcdfExportOptions o;
                         o.last = 999;
                         o.created = FixedNow();
                         const std::string refused = WriteNetcdfExport(to + "/out.nc", d, o);
                         if (!refused.empty()) throw FileError(to + "/out.nc", refused);
                     });
                 },
                 "out.nc", 4096});
    w.push_back(
        {"report document",
         [](const std::string& dir) { testing::WriteBytes(dir + "/report.docx", std::vector<std::uint8_t>(300, 7)); },
         [](const std::string&, const std::string& to) {
             return Catching([&] {
                 // Bytes that do not compress, so the archive outgrows the limit.
                 std::string noise(20000, '\0');
                 std::uint32_t state = 12345;
                 for (char& c : noise) {
                     state = state * 1664525u + 1013904223u;
                     c = static_cast<char>(state >> 24);
                 }
                 OfficePackage p;
                 p.Put("word/document.xml", noise);
                 p.Write(to + "/report.docx");
             });
         },
         "report.docx", 2048});
#endif
    return w;
}

class WriteFaults : public ::testing::TestWithParam<Writer> {
protected:
    void SetUp() override { OpenToEveryone(dir.Root()); }
    void TearDown() override { OpenToEveryone(dir.Root()); }
    std::string Root() const { return dir.Root().string(); }
    TempDir dir;
};

TEST_P(WriteFaults, AFullDiskKeepsThePreviousDataAndLeavesNoPartialFile) {
    const Writer& w = GetParam();
    w.makePrevious(Root());
    const FolderContents before = ReadFolder(dir.Root());

    const ChildOutcome out = RunWithFault({w.tooSmall, false}, [&] { return w.write(Root(), Root()); });
    ASSERT_TRUE(out.ran);
    EXPECT_NE(out.message.find(w.fileNamed), std::string::npos) << out.message;
    EXPECT_TRUE(NothingLostNothingHalfWritten(before, ReadFolder(dir.Root())));

    // Without the fault the same write goes through.
    EXPECT_EQ(RunWithFault({}, [&] { return w.write(Root(), Root()); }).message, "");
}

TEST_P(WriteFaults, AFolderMadeReadOnlyAfterTheBackupKeepsEverything) {
    const Writer& w = GetParam();
    w.makePrevious(Root());
    // A first save, so that the backups exist as after a day's work; a
    // conversion in place has nothing left to convert after it.
    if (!w.inPlace) {
        ASSERT_EQ(RunWithFault({}, [&] { return w.write(Root(), Root()); }).message, "");
    }
    const FolderContents before = ReadFolder(dir.Root());
    MakeReadOnly(dir.Root());

    const ChildOutcome out = RunWithFault({0, true}, [&] { return w.write(Root(), Root()); });
    OpenToEveryone(dir.Root());
    ASSERT_TRUE(out.ran);
    EXPECT_NE(out.message.find(w.fileNamed), std::string::npos) << out.message;
    EXPECT_TRUE(NothingLostNothingHalfWritten(before, ReadFolder(dir.Root())));
}

TEST_P(WriteFaults, AFolderRemovedBeforeTheSaveIsReportedAndNotRecreated) {
    const Writer& w = GetParam();
    if (w.inPlace) GTEST_SKIP() << "nothing to convert where the file is gone";
    w.makePrevious(Root());
    const fs::path gone = dir.Root() / "gone";
    fs::create_directory(gone);
    fs::remove(gone);

    const ChildOutcome out = RunWithFault({}, [&] { return w.write(Root(), gone.string()); });
    ASSERT_TRUE(out.ran);
    EXPECT_NE(out.message.find(w.fileNamed), std::string::npos) << out.message;
    EXPECT_FALSE(fs::exists(gone));
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, ::testing::ValuesIn(Writers()),
                         [](const ::testing::TestParamInfo<Writer>& info) {
                             std::string n = info.param.name;
                             for (char& c : n) c = c == ' ' ? '_' : c;
                             return n;
                         });

}  // namespace
}  // namespace corvan::faults
