// `corvan stats` run as a user runs it, on file sets the core writes.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include "graphs/statistics.h"
#include "stats_test_data.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

struct StatsRun {
    int status = -1;
    std::string out;
    std::string err;
};

StatsRun Stats(const QStringList& args) {
    QProcess p;
    p.start(CORVAN_CLI, QStringList{"stats"} + args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

QJsonObject Json(const StatsRun& r) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << r.out;
    return doc.object();
}

// Two series of 60 and 40 records; the second has a few invalid values.
std::string WriteTwoSeries(const testing::TempDir& dir, int type, int kind) {
    std::vector<testing::Rec> recs;
    for (int i = 0; i < 100; ++i) {
        const float v = (i % 7 == 3 && i >= 60) ? -999.0f : 3.0f + static_cast<float>(i % 23) * 4.5f;
        recs.push_back({v, (i % 13 == 5) ? -1.0 : i * 37.0 - 360.0 * static_cast<int>(i * 37 / 360), 8.0f + 0.01f * i,
                        50.0f + i % 40});
    }
    DataSet d;
    testing::FillDataSet(d, recs, type, kind);
    d.series[1] = d.series[0];
    d.series[1].first = 60;
    d.series[1].interval = 1200;
    d.series[1].salinity = 30.0f;
    d.baseName = dir.Path("t" + std::to_string(type) + "k" + std::to_string(kind));
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 2);
    return d.baseName;
}

TEST(StatsCommand, JsonMatchesTheStatisticsOfTheSameRange) {
    testing::TempDir dir;
    const std::string base = WriteTwoSeries(dir, 3, 1);
    const StatsRun r =
        Stats({QString::fromStdString(base) + ".CVN", "--series", "2", "--first", "65", "--last", "100", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject j = Json(r);

    DataSet d;
    d.baseName = base;
    LoadMeasurementFiles(d);
    d.currentSeries = 2;
    d.rangeFirst = 64;
    d.rangeLast = 99;  // the end of series 2
    d.rangeCount = 36;
    d.rangeInterval = 1200;
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    const ProgressiveFigures p = ComputeProgressiveFigures(d);

    const QJsonObject range = j["range"].toObject();
    EXPECT_EQ(range["series"].toInt(), 2);
    EXPECT_EQ(range["first"].toInt(), 64);
    EXPECT_EQ(range["last"].toInt(), 99);
    EXPECT_EQ(range["count"].toInt(), 36);
    EXPECT_EQ(range["interval"].toInt(), 1200);
    const QJsonObject s = j["summary"].toObject();
    EXPECT_EQ(s["valid_speed"].toInt(), stats.summary.validSpeedCount);
    EXPECT_EQ(s["valid_direction"].toInt(), stats.summary.validDirectionCount);
    EXPECT_EQ(s["valid_temperature"].toInt(), 36);
    for (int k = 0; k < 3; ++k) {
        EXPECT_DOUBLE_EQ(s["mean"].toArray()[k].toDouble(), stats.summary.mean[static_cast<std::size_t>(k)]);
        EXPECT_DOUBLE_EQ(s["variance"].toArray()[k].toDouble(), stats.summary.variance[static_cast<std::size_t>(k)]);
        EXPECT_DOUBLE_EQ(s["std_dev"].toArray()[k].toDouble(), stats.summary.stdDev[static_cast<std::size_t>(k)]);
        EXPECT_DOUBLE_EQ(s["rel_std_dev"].toArray()[k].toDouble(),
                         stats.summary.relStdDev[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(static_cast<float>(s["significant_max"].toDouble()), stats.summary.significantMax);
    EXPECT_EQ(static_cast<float>(s["max_speed"].toDouble()), stats.summary.maxSpeed);
    EXPECT_EQ(j["speed_range"].toInt(), 2);
    ASSERT_EQ(j["class_bounds"].toArray().size(), 13);
    EXPECT_EQ(j["class_bounds"].toArray()[12].toInt(), 200);
    const QJsonObject sec = j["sectors"].toObject();
    for (const char* key : {"count", "water_flux", "max_speed", "sensor_flux"})
        EXPECT_EQ(sec[key].toArray().size(), 24) << key;
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(sec["count"].toArray()[i].toInt(), stats.sectors.sectorCount[static_cast<std::size_t>(i)]);
        EXPECT_EQ(static_cast<float>(sec["sensor_flux"].toArray()[i].toDouble()),
                  stats.sectors.sectorSensorFlux[static_cast<std::size_t>(i)]);
    }
    ASSERT_EQ(j["matrix"].toArray().size(), 24);
    EXPECT_EQ(j["matrix"].toArray()[0].toArray().size(), 12);
    EXPECT_EQ(j["classes"].toArray().size(), 12);
    EXPECT_DOUBLE_EQ(j["total_water_flux"].toDouble(), stats.sectors.totalWaterFlux);
    EXPECT_GT(j["total_sensor_flux"].toDouble(), 0.0);
    const QJsonObject prog = j["progressive"].toObject();
    EXPECT_EQ(prog["plotted"].toInt(), p.plottedCount);
    EXPECT_EQ(static_cast<float>(prog["neumann"].toDouble()), p.neumann);
    EXPECT_EQ(static_cast<float>(prog["rest_direction"].toDouble()), p.restDirection);
    const QJsonObject sc = j["scale"].toObject();
    EXPECT_EQ(sc.size(), 14);
    EXPECT_EQ(static_cast<float>(sc["oxygen_mgl_max"].toDouble()), scale.oxygenMglMax);
    EXPECT_EQ(sc["speed_bar_max"].toInt(), scale.speedBarMax);
    EXPECT_EQ(sc["direction_bar_max"].toInt(), scale.directionBarMax);
}

TEST(StatsCommand, EveryInstrumentTypeGivesTheWholeContract) {
    testing::TempDir dir;
    const std::pair<int, int> kinds[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {3, 2}, {3, 3},  {3, 4},  {4, 0},
                                         {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0}};
    for (const auto& [type, kind] : kinds) {
        const std::string base = WriteTwoSeries(dir, type, kind);
        const StatsRun r = Stats({QString::fromStdString(base), "--json"});
        ASSERT_EQ(r.status, 0) << type << ": " << r.err;
        const QJsonObject j = Json(r);
        for (const char* key : {"range", "summary", "speed_range", "class_bounds", "sectors", "classes", "matrix",
                                "total_water_flux", "total_sensor_flux", "progressive", "scale"})
            EXPECT_TRUE(j.contains(key)) << type << " lacks " << key;
        EXPECT_EQ(j["range"].toObject()["count"].toInt(), 60);
        const bool current = type != 2 && type != 4;
        EXPECT_EQ(j["summary"].toObject()["valid_speed"].toInt() > 0, current) << type;
        EXPECT_EQ(j["summary"].toObject()["valid_temperature"].toInt(), 60) << type;
    }
}

TEST(StatsCommand, TextShowsBothPagesWithTheInformationLabels) {
    testing::TempDir dir;
    const std::string base = WriteTwoSeries(dir, 3, 2);
    const StatsRun r = Stats({QString::fromStdString(base), "--first", "10", "--last", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* text :
         {"STATISTICAL SUMMARY", "CURRENT SPEED / DIRECTION MATRIX", "Significant min velocity", "Tot. part. flux",
          "FTU g", "Number of measurements in data set: 11", "Interval time: 10 Minutes", "File name: t3k2.CVN"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
}

TEST(StatsCommand, UsageErrorsAndMissingFiles) {
    testing::TempDir dir;
    const std::string base = WriteTwoSeries(dir, 0, 0);
    StatsRun r = Stats({QString::fromStdString(base), "--series", "3"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("series 3"), std::string::npos) << r.err;
    EXPECT_EQ(Stats({QString::fromStdString(base), "--first", "abc"}).status, 2);
    EXPECT_EQ(Stats({QString::fromStdString(base), "--first", "0"}).status, 2);
    EXPECT_EQ(Stats({QString::fromStdString(base), "--bogus"}).status, 2);
    EXPECT_EQ(Stats({}).status, 2);
    r = Stats({QString::fromStdString(dir.Path("absent"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("absent"), std::string::npos) << r.err;
    // Past the end of the series is refused with the series' own bounds,
    // never clamped to them.
    r = Stats({QString::fromStdString(base), "--series", "2", "--first", "65", "--last", "101"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("last measurement 101 is outside series 2 (61..100)"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    // A last before the first is refused, not turned into some other range.
    r = Stats({QString::fromStdString(base), "--first", "30", "--last", "5", "--json"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace corvan
