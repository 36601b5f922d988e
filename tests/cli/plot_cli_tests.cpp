// `corvan plot` through the built program on the bundled samples.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "cli/run_command.h"

namespace corvan {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;

const std::vector<std::string> kGraphs = {"speed",       "direction", "temperature", "optional", "flux",
                                          "oxmgl",       "oxflux",    "speedbar",    "dirbar",   "oxfluxbar",
                                          "progressive", "maxmean",   "fluxcount",   "oxrose",   "stick"};

struct PlotDir : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("corvan_plot_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Out(const std::string& name) const { return (dir / name).string(); }
    static std::string Sample(const std::string& name) { return std::string(CORVAN_SAMPLES) + "/" + name; }
};

TEST_F(PlotDir, EveryGraphOnBothSamplesOrAClearRefusal) {
    // What each sample cannot show: the plain meter has no optional sensor,
    // the oxygen meter no particle flux.
    const std::map<std::string, std::set<std::string>> missing = {
        {"buoy3", {"optional", "flux", "oxmgl", "oxflux", "oxfluxbar", "oxrose"}},
        {"oxy17", {"flux"}},
    };
    for (const auto& [sample, cannot] : missing) {
        for (const std::string& graph : kGraphs) {
            const std::string out = Out(sample + "-" + graph + ".png");
            const auto r = RunCommand(CORVAN_CLI, {"plot", Sample(sample), "--graph", graph, "--size", "800x500",
                                                   "--days", "--legend", "-o", out});
            SCOPED_TRACE(sample + " " + graph + ": " + r.err);
            if (cannot.count(graph)) {
                EXPECT_EQ(r.status, 1);
                EXPECT_NE(r.err.find(sample + ".CVN: the file has no data for the " + graph + " graph"),
                          std::string::npos);
                EXPECT_FALSE(fs::exists(out));
                continue;
            }
            ASSERT_EQ(r.status, 0);
            EXPECT_TRUE(r.err.empty());
            const QImage img(QString::fromStdString(out));
            ASSERT_FALSE(img.isNull());
            EXPECT_EQ(img.width(), 800);
            EXPECT_EQ(img.height(), 500);
            // Something besides the background: the header's text and the chart.
            std::set<QRgb> colours;
            for (int y = 0; y < img.height(); y += 3)
                for (int x = 0; x < img.width(); x += 3) colours.insert(img.pixel(x, y));
            EXPECT_GT(colours.size(), 4u);
        }
    }
}

TEST_F(PlotDir, SvgPdfAndResolution) {
    const auto svg = RunCommand(CORVAN_CLI, {"plot", Sample("oxy17"), "--graph", "maxmean", "-o", Out("m.svg")});
    ASSERT_EQ(svg.status, 0) << svg.err;
    std::ifstream in(Out("m.svg"));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Maximum velocity (cm/s)"), std::string::npos);

    const auto pdf = RunCommand(CORVAN_CLI, {"plot", Sample("buoy3"), "--graph", "stick", "--first", "100", "--last",
                                             "900", "--size", "960x600", "-o", Out("s.pdf")});
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    const auto text2 = RunCommand("pdftotext", {Out("s.pdf"), "-"});
    EXPECT_NE(text2.out.find("STICK DIAGRAM"), std::string::npos);
    EXPECT_NE(text2.out.find("Number of measurements in data set: 801"), std::string::npos);
    // 960 x 600 pixels at 96 per inch: 10 x 6.25 inches.
    const auto info = RunCommand("pdfinfo", {Out("s.pdf")});
    EXPECT_NE(info.out.find("720 x 450 pts"), std::string::npos) << info.out;

    const auto big = RunCommand(CORVAN_CLI, {"plot", Sample("buoy3"), "--graph", "dirbar", "--percent", "--size",
                                             "400x300", "--dpi", "192", "-o", Out("b.png")});
    ASSERT_EQ(big.status, 0) << big.err;
    EXPECT_EQ(QImage(QString::fromStdString(Out("b.png"))).size(), QSize(800, 600));
}

TEST_F(PlotDir, UsageErrorsAndFailures) {
    const std::string png = Out("x.png");
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "plot");
        return RunCommand(CORVAN_CLI, args);
    };
    for (const auto& args :
         std::vector<std::vector<std::string>>{{Sample("buoy3"), "--graph", "rose", "-o", png},
                                               {Sample("buoy3"), "--graph", "speed"},
                                               {Sample("buoy3"), "--graph", "speed", "--size", "80x20", "-o", png},
                                               {Sample("buoy3"), "--graph", "speed", "-o", Out("x.jpg")},
                                               {Sample("buoy3"), "--graph", "speed", "--dpi", "0", "-o", png}}) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_NE(run({"--help"}).out.find("--graph"), std::string::npos);

    // A range outside the series is refused, never clamped, and nothing is written.
    auto r = run({Sample("buoy3"), "--graph", "speed", "--first", "5000", "-o", png});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("buoy3.CVN: "), std::string::npos);
    EXPECT_FALSE(fs::exists(png));
    r = run({Out("nothing"), "--graph", "speed", "-o", png});
    EXPECT_EQ(r.status, 1);
    // An output folder that does not exist names the output.
    r = run({Sample("buoy3"), "--graph", "speed", "-o", Out("no/such/x.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("x.png: "), std::string::npos);
}

}  // namespace
}  // namespace corvan
