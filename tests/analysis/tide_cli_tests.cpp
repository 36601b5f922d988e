// `corvan tide` and `corvan declination` on file sets written by the core.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>

#include "cli/run_command.h"
#include "data/data_set.h"
#ifndef _WIN32
#include "faults/failing_child.h"
#endif
#include "support/temp_dir.h"
#include "tidal_fixture.h"

namespace corvan {
namespace {

QJsonObject ParseJson(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return doc.object();
}

QStringList SortedKeys(const QJsonObject& o) {
    QStringList keys = o.keys();
    keys.sort();
    return keys;
}

// The lines of a text file, each split at its commas.
std::vector<std::vector<std::string>> ReadCsv(const std::string& fileName) {
    const auto bytes = testing::ReadBytes(fileName);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
            fields.push_back(line.substr(start, comma - start));
        fields.push_back(line.substr(start));
        rows.push_back(fields);
    }
    return rows;
}

TEST(CorvanTide, JsonCarriesTheEllipsesAndReportsWhatIsLeftOut) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const auto r =
        testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2,K1,P1", "--json", "--lat", "60.4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("P1"), std::string::npos);
    const QJsonObject o = ParseJson(r.out);
    EXPECT_EQ(SortedKeys(o),
              (QStringList{"constituents", "latitude", "mean", "record_days", "temperature", "variance_explained"}));
    EXPECT_NEAR(o["record_days"].toDouble(), 25.0, 0.01);
    EXPECT_EQ(o["latitude"].toDouble(), 60.4);
    EXPECT_NEAR(o["mean"].toObject()["east"].toDouble(), 4.0, 0.05);
    EXPECT_NEAR(o["mean"].toObject()["north"].toDouble(), 0.0, 0.05);
    EXPECT_GT(o["variance_explained"].toDouble(), 0.999);
    const QJsonArray list = o["constituents"].toArray();
    ASSERT_EQ(list.size(), 2);
    const QJsonObject m2 = list[1].toObject();
    EXPECT_EQ(SortedKeys(m2), (QStringList{"frequency", "inclination", "inclination_ci", "major", "major_ci", "minor",
                                           "minor_ci", "name", "phase", "phase_ci", "snr"}));
    EXPECT_EQ(m2["name"].toString(), "M2");
    EXPECT_NEAR(m2["frequency"].toDouble(), 28.9841042 / 360, 1e-8);
    EXPECT_NEAR(m2["major"].toDouble(), 30.0, 0.3);
    EXPECT_NEAR(m2["minor"].toDouble(), 8.0, 0.3);
    EXPECT_NEAR(m2["inclination"].toDouble(), 45.0, 1.0);
    EXPECT_NEAR(m2["phase"].toDouble(), 100.0, 1.0);
    const QJsonObject t = o["temperature"].toObject();
    EXPECT_EQ(SortedKeys(t), (QStringList{"constituents", "mean"}));
    ASSERT_EQ(t["constituents"].toArray().size(), 2);
    EXPECT_EQ(SortedKeys(t["constituents"].toArray()[0].toObject()),
              (QStringList{"amplitude", "amplitude_ci", "name", "phase", "phase_ci"}));
}

TEST(CorvanTide, UsageAndRangeFailures) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    auto r = testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2,Q9"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Q9"), std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"tide", base, "--lat", "north"}).status, 2);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"tide"}).status, 2);
    r = testing::RunCommand(CORVAN_CLI, {"tide", base, "--first", "10", "--last", "99999"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("tidal.CVN"), std::string::npos);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"tide", "--help"}).status, 0);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"tide", dir.Path("none")}).status, 1);
}

TEST(CorvanTide, ResidualKeepsTheMeanAndTheInvalidRecords) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const std::string out = dir.Path("detided");
    const auto r =
        testing::RunCommand(CORVAN_CLI, {"tide", base, "--first", "101", "--constituents", "M2", "--residual", out});
    ASSERT_EQ(r.status, 0) << r.err;
    // Never over the file analysed.
    const auto bytes = testing::ReadBytes(base + ".CVN");
    const auto same = testing::RunCommand(CORVAN_CLI, {"tide", base, "--residual", base + ".cvn"});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(testing::ReadBytes(base + ".CVN"), bytes);
    EXPECT_FALSE(testing::Exists(base + ".~CVN"));
    DataSet source, detided;
    source.baseName = base;
    detided.baseName = out;
    ASSERT_TRUE(LoadMeasurementFiles(source).measurementFileFound);
    ASSERT_TRUE(LoadMeasurementFiles(detided).measurementFileFound);
    ASSERT_EQ(detided.HeaderCount(), 25 * 144 - 100);
    ASSERT_EQ(detided.SeriesCount(), 1);
    // The detided series starts where the range starts.
    EXPECT_EQ(RecordTime(detided, 0, 1), RecordTime(source, 100, 1));
    for (int k = 0; k < detided.HeaderCount(); ++k) {
        const MeasurementRecord& a = detided.records[static_cast<std::size_t>(k)];
        const MeasurementRecord& b = source.records[static_cast<std::size_t>(k + 100)];
        EXPECT_EQ(a.temperature, b.temperature);
        if (!IsValid(b.speed) || b.direction < 0) {
            EXPECT_EQ(a.speed, b.speed) << k;
            EXPECT_EQ(a.direction, b.direction) << k;
            continue;
        }
        // Only the mean flow is left: 4 cm/s towards east.
        EXPECT_NEAR(a.speed, 4.0, 0.05) << k;
        EXPECT_NEAR(a.direction, std::numbers::pi / 2, 0.02) << k;
    }
}

TEST(CorvanTide, PredictionOverTheRecordFollowsTheObservedCurrent) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const std::string out = dir.Path("tide.csv");
    auto r = testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2", "--predict", out, "--from",
                                              "2014-05-01", "--to", "2014-05-25T23:50"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = ReadCsv(out);
    ASSERT_EQ(rows.size(), 1u + 25 * 144);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time", "east", "north", "speed", "direction", "temperature"}));
    EXPECT_EQ(rows[1][0], "2014-05-01 00:00:00");
    EXPECT_EQ(rows.back()[0], "2014-05-25 23:50:00");
    DataSet data;
    data.baseName = base;
    ASSERT_TRUE(LoadMeasurementFiles(data).measurementFileFound);
    // The fit is close to exact, so each line is the record of its time:
    // a line a step off would miss by a cm/s.
    for (int k : {0, 1000, 2345, 3599}) {
        const auto& line = rows[static_cast<std::size_t>(k) + 1];
        ASSERT_EQ(line.size(), 6u);
        const MeasurementRecord& m = data.records[static_cast<std::size_t>(k)];
        EXPECT_NEAR(std::stod(line[1]), m.speed * std::sin(m.direction), 0.05) << k;
        EXPECT_NEAR(std::stod(line[2]), m.speed * std::cos(m.direction), 0.05) << k;
        EXPECT_NEAR(std::stod(line[3]), m.speed, 0.05) << k;
        EXPECT_NEAR(std::remainder(std::stod(line[4]) - DirectionDegrees(m.direction), 360.0), 0.0, 1.0) << k;
        EXPECT_NEAR(std::stod(line[5]), 6.5, 0.3) << k;
    }

    // Beyond the record at a step of its own, with the times read as typed.
    r = testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2", "--predict", out, "--from",
                                         "2014-06-01 12:00", "--to", "2014-06-02", "--step", "90"});
    ASSERT_EQ(r.status, 0) << r.err;
    rows = ReadCsv(out);
    ASSERT_EQ(rows.size(), 1u + 9);
    EXPECT_EQ(rows[2][0], "2014-06-01 13:30:00");
    EXPECT_EQ(rows.back()[0], "2014-06-02 00:00:00");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double direction = std::stod(rows[i][4]);
        EXPECT_TRUE(direction >= 0 && direction < 360) << rows[i][4];
        EXPECT_NEAR(std::hypot(std::stod(rows[i][1]), std::stod(rows[i][2])), std::stod(rows[i][3]), 0.01);
    }
}

TEST(CorvanTide, PredictionUsageErrorsWriteNothing) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const std::string out = dir.Path("tide.csv");
    const std::vector<std::vector<std::string>> wrong = {
        {"--predict", out},
        {"--predict", out, "--from", "2014-05-01"},
        {"--from", "2014-05-01", "--to", "2014-05-02"},
        {"--predict", out, "--from", "2014-05-02", "--to", "2014-05-01 23:59"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2014-05-02", "--step", "0"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2014-05-02", "--step", "-10"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2014-05-02", "--step", "nan"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2014-05-02", "--step", "0.001"},
        {"--predict", out, "--from", "yesterday", "--to", "2014-05-02"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2014-05-02 24:00"},
        {"--predict", out, "--from", "2014-02-30", "--to", "2014-05-02"},
        // Over a million lines at the record's own ten minutes, and at a
        // step given.
        {"--predict", out, "--from", "2000-01-01", "--to", "2020-01-01"},
        {"--predict", out, "--from", "2014-05-01", "--to", "2016-05-01", "--step", "1"},
    };
    for (const auto& options : wrong) {
        std::vector<std::string> args = {"tide", base};
        args.insert(args.end(), options.begin(), options.end());
        const auto r = testing::RunCommand(CORVAN_CLI, args);
        EXPECT_EQ(r.status, 2) << options[options.size() - 1];
        EXPECT_NE(r.err.find("tide: "), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(testing::Exists(out)) << options[options.size() - 1];
    }

    // Never under a measurement file's name, whatever its case.
    const auto cvn = testing::ReadBytes(base + ".CVN");
    for (const char* ext : {".CVN", ".rf6"}) {
        const auto r = testing::RunCommand(
            CORVAN_CLI, {"tide", base, "--predict", base + ext, "--from", "2014-05-01", "--to", "2014-05-02"});
        EXPECT_EQ(r.status, 2) << ext;
    }
    EXPECT_EQ(testing::ReadBytes(base + ".CVN"), cvn);
    EXPECT_FALSE(testing::Exists(base + ".rf6"));
}

#ifndef _WIN32
TEST(CorvanTide, AFailedPredictionLeavesThePreviousFileAsItWas) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const std::vector<std::uint8_t> previous = {'k', 'e', 'p', 't', '\n'};

    // A full disk, and a folder the user may no longer write in.
    const std::filesystem::path folder = dir.Root() / "out";
    std::filesystem::create_directories(folder);
    faults::OpenToEveryone(dir.Root());
    const std::string out = (folder / "tide.csv").string();
    for (const bool readOnly : {false, true}) {
        testing::WriteBytes(out, previous);
        if (readOnly) faults::MakeReadOnly(folder);
        const faults::ChildOutcome outcome =
            faults::RunWithFault(faults::Fault{static_cast<rlim_t>(readOnly ? 0 : 64 * 1024), readOnly}, [&] {
                const auto run = testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2", "--predict",
                                                                  out, "--from", "2014-05-01", "--to", "2014-05-25"});
                return std::to_string(run.status) + " " + run.err;
            });
        std::filesystem::permissions(folder, std::filesystem::perms::all);
        ASSERT_TRUE(outcome.ran);
        EXPECT_EQ(outcome.message.substr(0, 2), "1 ") << outcome.message;
        EXPECT_NE(outcome.message.find("tide.csv"), std::string::npos) << outcome.message;
        EXPECT_EQ(testing::ReadBytes(out), previous);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    }
}
#endif

TEST(CorvanDeclination, TurnsDirectionsWithABackupAndRefusesGps) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const auto before = testing::ReadBytes(base + ".CVN");
    auto r = testing::RunCommand(CORVAN_CLI, {"declination", base, "--degrees", "-3.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN"), before);
    EXPECT_NE(testing::ReadBytes(base + ".CVN"), before);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"declination", base, "--degrees", "3.5", "--series", "2"}).status, 1);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"declination", base}).status, 2);
    EXPECT_EQ(testing::RunCommand(CORVAN_CLI, {"declination", base, "--degrees", "200"}).status, 2);

    testing::TempDir gpsDir;
    const std::string gps = testing::WriteTidalFile(gpsDir, 2);
    const auto gpsBytes = testing::ReadBytes(gps + ".CVN");
    r = testing::RunCommand(CORVAN_CLI, {"declination", gps, "--degrees", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("GPS"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(gps + ".CVN"), gpsBytes);
}

}  // namespace
}  // namespace corvan
