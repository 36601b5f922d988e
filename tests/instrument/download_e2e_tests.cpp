// The simulator on a real pseudo-terminal (or local socket) and the real
// `corvan download` reading from it.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "data/data_set.h"
#include "subprocess.h"

namespace corvan {
namespace {

namespace fs = std::filesystem;
using test::Process;

struct Outcome {
    int exitCode = -1;
    std::string cliErr;
    std::string simErr;
    double seconds = 0;
};

class DownloadEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "dl").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome Download(std::vector<std::string> simArgs, std::vector<std::string> cliExtra = {}) {
        std::vector<std::string> argv{CORVAN_SIM_PATH, "--once", "--timeout", "30"};
        argv.insert(argv.end(), simArgs.begin(), simArgs.end());
        Process sim(argv, dir / "sim.out", dir / "sim.err");
        const std::string port = sim.FirstLine(5000);
        EXPECT_FALSE(port.empty()) << sim.Err();
        std::vector<std::string> cli{CORVAN_CLI_PATH, "download", "--port", port, "-o", base, "--timeout", "10"};
        cli.insert(cli.end(), cliExtra.begin(), cliExtra.end());
        const auto t0 = std::chrono::steady_clock::now();
        Process prog(cli, dir / "cli.out", dir / "cli.err");
        Outcome r;
        r.exitCode = prog.Wait(60000).value_or(-1);
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        sim.Wait(5000);
        r.cliErr = prog.Err();
        r.simErr = sim.Err();
        return r;
    }

    std::unique_ptr<DataSet> Load() {
        auto d = std::make_unique<DataSet>();
        d->baseName = base;
        const LoadOutcome o = LoadMeasurementFiles(*d);
        EXPECT_TRUE(o.measurementFileFound);
        EXPECT_TRUE(o.message.empty()) << o.message;
        return d;
    }

    fs::path dir;
    std::string base;
};

// The simulator's raw values, as its documentation gives them.
int RawSpeed(int i) { return (i * 37 + 11) % 4096; }
int RawDirection(int i) { return (i * 53 + 7) % 1024; }
int RawTemperature(int i) { return (i * 29 + 300) % 1024; }

TEST_F(DownloadEndToEnd, CurrentMeterSeriesBecomesAFileSet) {
    const Outcome r = Download(
        {"--type", "0", "--count", "1000", "--reference", "4321", "--series", "0@9702251200/10,640@9703011230/20"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr << r.simErr;
    EXPECT_NE(r.cliErr.find("1000 of 1000"), std::string::npos);
    EXPECT_NE(r.cliErr.find("64 of 1000"), std::string::npos);
    auto d = Load();
    EXPECT_TRUE(d->dataLoaded);
    EXPECT_EQ(ReadFileVersion(base), 4);
    EXPECT_EQ(d->header.count, 1000);
    EXPECT_EQ(d->header.referenceNumber, 4321);
    EXPECT_EQ(d->header.instrumentType, 0);
    EXPECT_FLOAT_EQ(d->header.sensorCoefficient, 1.0f);
    ASSERT_EQ(d->SeriesCount(), 2);
    EXPECT_EQ(d->series[0].year, 97);
    EXPECT_EQ(d->series[0].month, 2);
    EXPECT_EQ(d->series[0].day, 25);
    EXPECT_EQ(d->series[0].interval, 600);
    EXPECT_EQ(d->series[1].first, 640);
    EXPECT_EQ(d->series[1].minute, 30);
    EXPECT_EQ(d->series[1].interval, 1200);
    EXPECT_FLOAT_EQ(d->series[1].salinity, -1.0f);
    for (int i : {0, 1, 63, 64, 500, 999}) {
        const auto& rec = d->records[static_cast<std::size_t>(i)];
        EXPECT_FLOAT_EQ(rec.speed, static_cast<float>(RawSpeed(i) / 5.0)) << i;
        EXPECT_FLOAT_EQ(rec.direction, static_cast<float>(RawDirection(i) / 160.0)) << i;
        EXPECT_FLOAT_EQ(rec.temperature, static_cast<float>(RawTemperature(i) / 20.0 - 2.0)) << i;
        EXPECT_FLOAT_EQ(rec.optional, 0.0f);
    }
}

TEST_F(DownloadEndToEnd, OptionalSensorSeriesIsGapFilled) {
    // Kind 1 with a coefficient of 2.0 (0.2 x 10^1).
    const Outcome r = Download({"--type", "3", "--count", "130", "--sensor-kind", "1", "--coefficient", "200000000001",
                                "--series", "0@0401010000/5,65@0401020000/5"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr << r.simErr;
    auto d = Load();
    EXPECT_FLOAT_EQ(d->header.sensorCoefficient, 2.0f);
    EXPECT_EQ(d->header.sensorKind, 1);
    auto temp = [](int i) { return RawTemperature(i) / 20.0 - 2.0; };
    auto opt = [](int i) { return 89822.33 * RawTemperature(i) / (1023.0 * 2.0); };
    const auto& rec = d->records;
    EXPECT_FLOAT_EQ(rec[0].temperature, static_cast<float>(temp(0)));
    EXPECT_FLOAT_EQ(rec[0].optional, static_cast<float>(opt(1)));
    EXPECT_NEAR(rec[1].temperature, (temp(0) + temp(2)) / 2, 1e-4);
    EXPECT_FLOAT_EQ(rec[1].optional, static_cast<float>(opt(1)));
    // Record 65 (odd) starts series 2: it takes the previous temperature only.
    EXPECT_NEAR(rec[65].temperature, temp(64), 1e-4);
    EXPECT_NEAR(rec[129].temperature, temp(128), 1e-4);
}

TEST_F(DownloadEndToEnd, PositionAndTemperatureLoggers) {
    Outcome r = Download({"--type", "2", "--count", "70"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr;
    auto d = Load();
    EXPECT_FLOAT_EQ(d->records[0].speed, static_cast<float>(1000 / 6.0));
    EXPECT_FLOAT_EQ(d->records[9].speed, kNoPosition);
    EXPECT_FLOAT_EQ(d->records[69].direction, static_cast<float>((69 * 89 + 2000) / 3.0));

    r = Download({"--type", "4", "--count", "129"}, {"--force"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr;
    d = Load();
    EXPECT_EQ(d->header.count, 129);
    EXPECT_FLOAT_EQ(d->records[128].temperature, static_cast<float>((128 * 131 + 5000) / 1000.0 - 5.0));
    EXPECT_TRUE(fs::exists(base + ".~CVN"));
    EXPECT_TRUE(fs::exists(base + ".~RF6"));
}

TEST_F(DownloadEndToEnd, ThreeBadChecksumsAreRetriedAndAFourthAbandons) {
    Outcome r = Download({"--count", "200", "--bad-block", "3", "--bad-times", "3", "--garbage", "300"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr << r.simErr;
    EXPECT_NE(r.simErr.find("download complete"), std::string::npos);
    EXPECT_EQ(Load()->header.count, 200);

    fs::remove(base + ".CVN");
    fs::remove(base + ".RF6");
    r = Download({"--count", "200", "--bad-block", "3", "--bad-times", "4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.cliErr.find("abandoned"), std::string::npos) << r.cliErr;
    EXPECT_NE(r.simErr.find("ended by ESC"), std::string::npos) << r.simErr;
    EXPECT_FALSE(fs::exists(base + ".CVN"));
    EXPECT_FALSE(fs::exists(base + ".RF6"));
}

TEST_F(DownloadEndToEnd, ACountBeyondAFileIsRefusedAndNothingWritten) {
    const Outcome r = Download({"--count", "40000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.cliErr.find("40000"), std::string::npos) << r.cliErr;
    EXPECT_NE(r.simErr.find("ended by ESC"), std::string::npos) << r.simErr;
    EXPECT_TRUE(fs::is_empty(dir / "cli.out"));
    EXPECT_FALSE(fs::exists(base + ".CVN"));
}

TEST_F(DownloadEndToEnd, AnExistingFileNeedsForce) {
    { std::ofstream(base + ".CVN") << "keep"; }
    // Refused before any link is opened, so no instrument is needed.
    Process prog({CORVAN_CLI_PATH, "download", "--port", (dir / "no-such-port").string(), "-o", base}, dir / "cli.out",
                 dir / "cli.err");
    EXPECT_EQ(prog.Wait(10000), std::optional<int>(1));
    EXPECT_NE(prog.Err().find("already exists"), std::string::npos) << prog.Err();
    EXPECT_EQ(test::ReadText(base + ".CVN"), "keep");
}

TEST_F(DownloadEndToEnd, OverATcpConnection) {
    const Outcome r = Download({"--tcp", "0", "--count", "300"});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr << r.simErr;
    EXPECT_EQ(Load()->header.count, 300);
}

TEST_F(DownloadEndToEnd, ALinkThatGoesAwayIsAFailureWithNothingWritten) {
    Process sim({CORVAN_SIM_PATH, "--once", "--timeout", "30", "--baud", "9600", "--count", "5000"}, dir / "sim.out",
                dir / "sim.err");
    const std::string port = sim.FirstLine(5000);
    Process prog({CORVAN_CLI_PATH, "download", "--port", port, "-o", base, "--timeout", "10"}, dir / "cli.out",
                 dir / "cli.err");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    sim.Kill();
    const auto code = prog.Wait(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
    EXPECT_NE(prog.Err().find(port), std::string::npos) << prog.Err();
    EXPECT_FALSE(fs::exists(base + ".CVN"));
}

TEST_F(DownloadEndToEnd, TheInstrumentIsReleasedWhenTheDownloadCannotEnd) {
    // Interrupted mid-download, by Ctrl+C or a termination request: the
    // instrument hears ESC, and nothing is written.
    for (int signal : {SIGINT, SIGTERM}) {
        Process sim({CORVAN_SIM_PATH, "--once", "--timeout", "30", "--baud", "9600", "--count", "3000"},
                    dir / "sim.out", dir / "sim.err");
        const std::string port = sim.FirstLine(5000);
        ASSERT_FALSE(port.empty()) << sim.Err();
        Process prog({CORVAN_CLI_PATH, "download", "--port", port, "-o", base, "--timeout", "10"}, dir / "cli.out",
                     dir / "cli.err");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        prog.Signal(signal);
        EXPECT_EQ(prog.Wait(10000), std::optional<int>(1)) << signal;
        sim.Wait(10000);
        EXPECT_NE(sim.Err().find("ended by ESC"), std::string::npos) << signal << ": " << sim.Err();
        EXPECT_NE(prog.Err().find("interrupted"), std::string::npos) << prog.Err();
        EXPECT_FALSE(fs::exists(base + ".CVN"));
    }

    // The output folder vanishes while the series comes in: nothing can be
    // saved, and the instrument is told so instead of waiting for an ACK.
    const fs::path out = dir / "out";
    fs::create_directories(out);
    Process sim({CORVAN_SIM_PATH, "--once", "--timeout", "30", "--baud", "19200", "--count", "400"}, dir / "sim.out",
                dir / "sim.err");
    const std::string port = sim.FirstLine(5000);
    ASSERT_FALSE(port.empty()) << sim.Err();
    Process prog({CORVAN_CLI_PATH, "download", "--port", port, "-o", (out / "dl").string(), "--timeout", "10"},
                 dir / "cli.out", dir / "cli.err");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    fs::remove_all(out);
    EXPECT_EQ(prog.Wait(20000), std::optional<int>(1));
    sim.Wait(10000);
    EXPECT_NE(sim.Err().find("ended by ESC"), std::string::npos) << sim.Err();
    EXPECT_NE(prog.Err().find((out / "dl").string()), std::string::npos) << prog.Err();
}

TEST_F(DownloadEndToEnd, WrongChoicesAreRefusedBeforeTheInstrumentIsAsked) {
    // No simulator: neither reaches the link.
    Process baud(
        {CORVAN_CLI_PATH, "download", "--port", (dir / "no-such-port").string(), "--baud", "12345", "-o", base},
        dir / "cli.out", dir / "cli.err");
    EXPECT_EQ(baud.Wait(10000), std::optional<int>(2));
    EXPECT_NE(baud.Err().find("--baud"), std::string::npos) << baud.Err();
    const std::string nowhere = (dir / "no" / "such" / "dl").string();
    Process folder({CORVAN_CLI_PATH, "download", "--port", (dir / "no-such-port").string(), "-o", nowhere},
                   dir / "cli.out", dir / "cli.err");
    EXPECT_EQ(folder.Wait(10000), std::optional<int>(1));
    EXPECT_NE(folder.Err().find("does not exist"), std::string::npos) << folder.Err();
}

TEST_F(DownloadEndToEnd, AtLineSpeedTheProgramKeepsUpWithTheLink) {
    constexpr int kBaud = 115200;
    const Outcome r = Download({"--count", "2000", "--baud", std::to_string(kBaud)}, {"--baud", std::to_string(kBaud)});
    ASSERT_EQ(r.exitCode, 0) << r.cliErr << r.simErr;
    long long bytes = 0;
    ASSERT_EQ(std::sscanf(r.simErr.c_str(), "corvan-sim: download complete: %lld bytes", &bytes), 1) << r.simErr;
    const double lineSeconds = static_cast<double>(bytes) * 10.0 / kBaud;
    // Reported, not asserted: timing depends on the machine's load.
    std::printf("corvan download at %d baud: %lld bytes, line time %.3f s, took %.3f s (%.2fx)\n", kBaud, bytes,
                lineSeconds, r.seconds, r.seconds / lineSeconds);
    RecordProperty("line_time_ratio", std::to_string(r.seconds / lineSeconds));
}

}  // namespace
}  // namespace corvan
