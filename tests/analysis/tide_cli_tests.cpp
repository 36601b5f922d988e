// `corvan tide` and `corvan declination` on file sets written by the core.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <numbers>

#include "cli/run_command.h"
#include "data/data_set.h"
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

TEST(CorvanTide, JsonCarriesTheEllipsesAndReportsWhatIsLeftOut) {
    testing::TempDir dir;
    const std::string base = testing::WriteTidalFile(dir);
    const auto r =
        testing::RunCommand(CORVAN_CLI, {"tide", base, "--constituents", "M2,K1,P1", "--json", "--lat", "60.4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("P1"), std::string::npos);
    const QJsonObject o = ParseJson(r.out);
    EXPECT_EQ(SortedKeys(o), (QStringList{"constituents", "mean", "record_days", "temperature", "variance_explained"}));
    EXPECT_NEAR(o["record_days"].toDouble(), 25.0, 0.01);
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
