// The shared library loaded by name as its callers load it, its two
// entries, and `corvan convert-tarsen` run as a program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tarsen_cvn_loader.h"
#include "test_support.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace tarsen {
namespace {

namespace fs = std::filesystem;
using tarsen_synth::Civil;
using tarsen_synth::Deployment;
using tarsen_synth::KnownCurrent;
using tarsen_synth::Profile;
using tarsen_test::HoldsCurrent;
using tarsen_test::ReadWrittenSet;
using tarsen_test::ScratchFolder;

Deployment Profiler(int profiles) {
    Deployment d;
    d.setup = tarsen_synth::SetupFor(2);
    d.profiles = profiles;
    return d;
}

class LoadedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Load()) << library.LoadError();
        convert = library.Convert();
        create = library.CreateCvnFiles();
        ASSERT_NE(convert, nullptr);
        ASSERT_NE(create, nullptr);
    }

    TarsenLibrary library;
    TarsenConvertFunction convert = nullptr;
    CreateCvnFilesFunction create = nullptr;
};

TEST_F(LoadedLibrary, CreateCvnFilesConvertsTheDefaultCenterCell) {
    ScratchFolder folder;
    // A folder and file name outside ASCII travel as UTF-16.
    const std::string sub = "m\xc3\xa5linger";  // UTF-8
    const std::string name = sub + "/fj\xc3\xb8rd";
    fs::create_directory(folder.Path(sub));
    const std::string path = tarsen_test::SaveDeployment(folder, name + ".prf", Profiler(6));
    const std::u16string wide = fs::path(path).u16string();
    // Center cell at 15 m: 16.55 m along the beam, 0.81 m blanking, 1 m cells.
    EXPECT_EQ(create(wide.c_str()), 16);
    const auto set = ReadWrittenSet(folder.Path(name + "-16.cvn"), folder.Path(name + "-16.rf6"));
    ASSERT_TRUE(set.found);
    ASSERT_EQ(set.records.size(), 6u);
    EXPECT_TRUE(HoldsCurrent(set.records[5], KnownCurrent(5, 15)));

    const std::u16string missing = fs::path(folder.Path("none.prf")).u16string();
    EXPECT_EQ(create(missing.c_str()), -1);
    EXPECT_EQ(create(nullptr), -1);
}

struct Recorded {
    std::vector<std::string> errors;
    std::vector<std::string> notes;
    std::vector<int> glitchCells;
    std::vector<int> progress;
    std::vector<std::string> done;
    std::vector<int> doneConverted;
    int answer = 1;
};

TarsenCallbacks RecordingCallbacks(Recorded& r) {
    TarsenCallbacks cb{};
    cb.context = &r;
    cb.message = [](void* c, int32_t kind, const char* text) {
        auto* r = static_cast<Recorded*>(c);
        (kind == TARSEN_MESSAGE_ERROR ? r->errors : r->notes).push_back(text);
    };
    cb.askTimeGlitch = [](void* c, int32_t cell, const char*) {
        auto* r = static_cast<Recorded*>(c);
        r->glitchCells.push_back(cell);
        return static_cast<int32_t>(r->answer);
    };
    cb.progress = [](void* c, int32_t percent) { static_cast<Recorded*>(c)->progress.push_back(percent); };
    cb.cellDone = [](void* c, int32_t, int32_t converted, const char* cvn, const char* rf6) {
        auto* r = static_cast<Recorded*>(c);
        r->done.push_back(std::string(cvn) + "|" + rf6);
        r->doneConverted.push_back(converted);
    };
    return cb;
}

TEST_F(LoadedLibrary, TarsenConvertAsksThroughItsCallbacks) {
    ScratchFolder folder;
    Deployment d = Profiler(10);
    d.attitude.down = true;
    d.edit = [](int k, Civil& t, Profile&) {
        if (k == 4) t = tarsen_synth::AddSeconds(t, 17);
        return true;
    };
    const std::string path = tarsen_test::SaveDeployment(folder, "deep.prf", d);
    const int32_t cells[] = {3, 3, 7};
    TarsenOptions options{cells, 3, 1, 1, 1, TARSEN_BOUNDARY_PRESSURE};
    Recorded r;
    const TarsenCallbacks cb = RecordingCallbacks(r);
    EXPECT_EQ(convert(path.c_str(), &options, &cb), 0);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.notes.size(), 1u);  // the pressure note, once for all cells
    EXPECT_EQ(r.glitchCells, (std::vector<int>{3, 3, 7}));
    ASSERT_EQ(r.done.size(), 3u);
    EXPECT_EQ(r.done[0], folder.Path("deep-3.cvn") + "|" + folder.Path("deep-3.rf6"));
    EXPECT_EQ(r.done[2], folder.Path("deep-7.cvn") + "|" + folder.Path("deep-7.rf6"));
    EXPECT_EQ(r.doneConverted, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(r.progress.back(), 100);
    const auto set = ReadWrittenSet(folder.Path("deep-7.cvn"), folder.Path("deep-7.rf6"));
    ASSERT_EQ(set.records.size(), 10u);
    EXPECT_TRUE(HoldsCurrent(set.records[9], KnownCurrent(9, 6)));
}

TEST_F(LoadedLibrary, TarsenConvertReportsFailedCellsAndRefusedFiles) {
    ScratchFolder folder;
    const std::string path = tarsen_test::SaveDeployment(folder, "x.prf", Profiler(3));
    const int32_t cells[] = {2, 41};
    TarsenOptions options{cells, 2, 1, 1, 1, TARSEN_BOUNDARY_ACOUSTIC};
    Recorded r;
    const TarsenCallbacks cb = RecordingCallbacks(r);
    EXPECT_EQ(convert(path.c_str(), &options, &cb), -1);
    EXPECT_EQ(r.doneConverted, (std::vector<int>{1, 0}));
    EXPECT_EQ(r.errors.size(), 1u);

    Deployment wide = Profiler(3);
    wide.setup.user.cells = 129;
    const std::string widePath = tarsen_test::SaveDeployment(folder, "wide.prf", wide);
    Recorded w;
    const TarsenCallbacks wcb = RecordingCallbacks(w);
    EXPECT_EQ(convert(widePath.c_str(), nullptr, &wcb), -1);
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_EQ(w.errors[0], "the file has 129 cells; at most 128 can be converted");
    EXPECT_TRUE(w.done.empty());
    EXPECT_FALSE(fs::exists(folder.Path("wide-1.cvn")));

    // No callbacks at all: glitches are dropped, texts go nowhere.
    EXPECT_EQ(convert(path.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(convert(nullptr, nullptr, nullptr), -1);
}

// `corvan` as a program: exit status, standard output and error.
struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

CommandRun Corvan(const ScratchFolder& folder, const std::string& arguments) {
    const std::string out = folder.Path("stdout.txt");
    const std::string err = folder.Path("stderr.txt");
    const std::string command = Quoted(CORVAN_BINARY) + " " + arguments + " >" + Quoted(out) + " 2>" + Quoted(err);
    CommandRun r;
    const int raw = std::system(command.c_str());
#if defined(_WIN32)
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    auto slurp = [](const std::string& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

TEST(ConvertTarsenCommand, ConvertsTheChosenCellsAndTheFilesOpen) {
    ScratchFolder folder;
    const std::string path = tarsen_test::SaveDeployment(folder, "moor1.prf", Profiler(8));
    const CommandRun r = Corvan(folder, "convert-tarsen " + Quoted(path) + " --cell 3 --cell 12");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder.Path("moor1-3.cvn") + "\n" + folder.Path("moor1-3.rf6") + "\n" +
                         folder.Path("moor1-12.cvn") + "\n" + folder.Path("moor1-12.rf6") + "\n");
    EXPECT_TRUE(r.err.empty()) << r.err;

    const CommandRun info = Corvan(folder, "info " + Quoted(folder.Path("moor1-12.cvn")) + " --json");
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"instrument_type\": 7"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"header_count\": 8"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"reference\": 44"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"start\": \"2024-03-14T11:50:00\""), std::string::npos) << info.out;
    const CommandRun list = Corvan(folder, "list " + Quoted(folder.Path("moor1-12.cvn")));
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("12:00"), std::string::npos) << list.out;
}

TEST(ConvertTarsenCommand, DefaultCellGlitchAnswersAndFailures) {
    ScratchFolder folder;
    Deployment d = Profiler(10);
    d.edit = [](int k, Civil& t, Profile&) {
        if (k == 6) t = tarsen_synth::AddSeconds(t, 45);
        return true;
    };
    const std::string path = tarsen_test::SaveDeployment(folder, "g.prf", d);

    CommandRun r = Corvan(folder, "convert-tarsen " + Quoted(path));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder.Path("g-16.cvn") + "\n" + folder.Path("g-16.rf6") + "\n");
    EXPECT_NE(r.err.find("cell 16: time glitch"), std::string::npos) << r.err;
    EXPECT_EQ(+ReadWrittenSet(folder.Path("g-16.cvn"), folder.Path("g-16.rf6")).header.count, 10);

    r = Corvan(folder, "convert-tarsen " + Quoted(path) + " --on-glitch stop --no-spikes --boundary pressure");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(+ReadWrittenSet(folder.Path("g-16.cvn"), folder.Path("g-16.rf6")).header.count, 6);

    r = Corvan(folder, "convert-tarsen " + Quoted(path) + " --cell 40 --cell 41");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, folder.Path("g-40.cvn") + "\n" + folder.Path("g-40.rf6") + "\n");
    const std::string refusal = path + ": Cell 41 cannot be converted: the file has cells 1 to 40.\n";
    ASSERT_GE(r.err.size(), refusal.size());
    EXPECT_EQ(r.err.substr(r.err.size() - refusal.size()), refusal);

    const std::string missing = folder.Path("none.prf");
    r = Corvan(folder, "convert-tarsen " + Quoted(missing));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, missing + ": Unable to open file.\n");

    EXPECT_EQ(Corvan(folder, "convert-tarsen").status, 2);
    EXPECT_EQ(Corvan(folder, "convert-tarsen " + Quoted(path) + " --cell 0").status, 2);
    EXPECT_EQ(Corvan(folder, "convert-tarsen " + Quoted(path) + " --boundary sideways").status, 2);
    EXPECT_EQ(Corvan(folder, "convert-tarsen " + Quoted(path) + " --on-glitch maybe").status, 2);
    EXPECT_EQ(Corvan(folder, "convert-tarsen " + Quoted(path) + " --frobnicate").status, 2);
}

}  // namespace
}  // namespace tarsen
