#include "graphs/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "stats_test_data.h"

namespace corvan {
namespace {

using testing::FillDataSet;
using testing::Rec;

struct Computed {
    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    explicit Computed(const std::vector<Rec>& recs, int type = 0, int kind = 0, int interval = 600) {
        FillDataSet(data, recs, type, kind, interval);
        ComputeStatistics(data, scale, stats);
    }
};

TEST(SpeedClasses, WorkedValuesOfTheFirstRange) {
    const float speeds[] = {0.0f, 1.0f, 1.5f, 3.0f, 80.0f, 120.0f};
    const int classes[] = {1, 1, 2, 2, 12, 12};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(SpeedClassOf(speeds[i], 1), classes[i]) << speeds[i];
    EXPECT_EQ(SpeedClassBounds(1)[12], 100);
}

TEST(SpeedClasses, EachBoundOfEveryRangeClosesItsClass) {
    for (int range = 1; range <= kSpeedRangeCount; ++range) {
        const SpeedClassRow& b = SpeedClassBounds(range);
        EXPECT_EQ(b[0], 0);
        for (int c = 1; c <= 11; ++c) {
            EXPECT_EQ(SpeedClassOf(static_cast<float>(b[c]), range), c) << "range " << range << " bound " << b[c];
            EXPECT_EQ(SpeedClassOf(static_cast<float>(b[c]) + 0.01f, range), c + 1)
                << "range " << range << " above " << b[c];
        }
        EXPECT_EQ(SpeedClassOf(static_cast<float>(b[12]), range), 12);
        EXPECT_EQ(SpeedClassOf(static_cast<float>(b[12]) * 3.0f, range), 12);
        EXPECT_EQ(SpeedClassOf(-5.0f, range), 1);
    }
    EXPECT_EQ(SpeedClassBounds(4)[12], 800);
    EXPECT_EQ(SpeedClassBounds(3)[2], 5);
    EXPECT_EQ(SpeedClassBounds(2)[5], 10);
}

TEST(SpeedClasses, LookupTableAgreesWithTheWalkEverywhere) {
    for (int range = 1; range <= kSpeedRangeCount; ++range) {
        const SpeedClassLookup lookup(range);
        std::vector<float> speeds = {-999.0f, -0.5f, -0.0f, 0.0f, 1e-30f, 0.999f, 1e30f, INFINITY};
        for (int b : SpeedClassBounds(range)) {
            const float f = static_cast<float>(b);
            speeds.insert(speeds.end(), {f, std::nextafter(f, -INFINITY), std::nextafter(f, INFINITY), f + 0.5f});
        }
        for (int i = -100; i < 9000; ++i) speeds.push_back(0.1f * static_cast<float>(i));
        for (float v : speeds) ASSERT_EQ(lookup.ClassOf(v), SpeedClassOf(v, range)) << "range " << range << " v " << v;
    }
}

TEST(SpeedClasses, AutomaticRangeFollowsTheLargestSpeed) {
    EXPECT_EQ(AutomaticSpeedRange(99.9f), 1);
    EXPECT_EQ(AutomaticSpeedRange(100.0f), 2);
    EXPECT_EQ(AutomaticSpeedRange(199.9f), 2);
    EXPECT_EQ(AutomaticSpeedRange(200.0f), 3);
    EXPECT_EQ(AutomaticSpeedRange(400.0f), 4);
    Computed c({{150.0f, 10}, {20.0f, 10}});
    EXPECT_EQ(c.scale.speedRange, 2);
    EXPECT_EQ(c.stats.sectors.speedRange, 2);
    EXPECT_EQ(c.stats.sectors.classCount[10], 1);  // 150 <= B[11] of range 2
    EXPECT_EQ(c.stats.sectors.classCount[6], 1);   // 20 == B[7]
}

TEST(Sectors, RoundingAndClampingAtTheBoundaries) {
    EXPECT_EQ(SectorOfDegrees(7.5), 1);  // rounds to 8
    EXPECT_EQ(SectorOfDegrees(14.49), 1);
    EXPECT_EQ(SectorOfDegrees(14.5), 1);    // halves to even: 14
    EXPECT_EQ(SectorOfDegrees(15.5), 2);    // 16
    EXPECT_EQ(SectorOfDegrees(344.5), 23);  // 344
    EXPECT_EQ(SectorOfDegrees(345.0), 24);
    EXPECT_EQ(SectorOfDegrees(352.5), 24);  // 352
    EXPECT_EQ(SectorOfDegrees(359.6), 24);  // 360 -> 25, clamped
    EXPECT_EQ(SectorOfDegrees(1000.0), 24);
    EXPECT_EQ(SectorOfDegrees(-0.4), 1);
    EXPECT_EQ(SectorOfDegrees(-100.0), 1);
    EXPECT_EQ(SectorOfDegrees(std::nan("")), 1);
    EXPECT_EQ(SectorOfDegrees(INFINITY), 1);
    EXPECT_EQ(SectorOfDegrees(1e300), 1);  // cannot be rounded
    EXPECT_EQ(SectorOfDegrees(3e9), 24);
    EXPECT_EQ(SectorOfDegrees(5e18), 24);
    EXPECT_EQ(SectorOfDegrees(-3e9), 1);
    EXPECT_EQ(SectorOfDegrees(1e19), 1);
    EXPECT_EQ(SectorOf(testing::Radians(7.5)), 1);
    EXPECT_EQ(SectorOf(testing::Radians(352.5)), 24);
    EXPECT_EQ(SectorOf(testing::Radians(359.6)), 24);
    EXPECT_EQ(SectorOf(testing::Radians(180.0)), 13);
    EXPECT_EQ(SectorOf(-999.0f), 1);
}

TEST(Sectors, MissingDirectionCountsInSectorOneAndInTheComponentMeans) {
    Computed c({{10.0f, -1}, {20.0f, 90}, {30.0f, 180}});
    const SectorStatistics& s = c.stats.sectors;
    EXPECT_EQ(s.sectorCount[0], 1);
    EXPECT_EQ(s.matrixCount[0][6], 1);  // 10 cm/s is class 7 of range 1 (8 < v <= 10)
    EXPECT_EQ(s.sectorCount[6], 1);
    EXPECT_EQ(s.sectorCount[12], 1);
    EXPECT_EQ(c.stats.summary.validDirectionCount, 2);
    const double d = -999.0;
    const double ns = (std::fabs(std::cos(d) * 10.0) + std::fabs(std::cos(testing::Radians(90)) * 20.0) +
                       std::fabs(std::cos(testing::Radians(180)) * 30.0)) /
                      3.0;
    const double ew = (std::fabs(std::sin(d) * 10.0) + std::fabs(std::sin(testing::Radians(90)) * 20.0) +
                       std::fabs(std::sin(testing::Radians(180)) * 30.0)) /
                      3.0;
    EXPECT_NEAR(c.stats.summary.mean[1], ns, 1e-9);
    EXPECT_NEAR(c.stats.summary.mean[2], ew, 1e-9);
}

TEST(Sectors, FluxesAndMaximaPerSector) {
    // dt 600: each record adds 6 * v m of water to its sector.
    Computed c({{10.0f, 5}, {20.0f, 10}, {5.0f, 100}, {-999.0f, 100}});
    const SectorStatistics& s = c.stats.sectors;
    EXPECT_FLOAT_EQ(s.sectorWaterFlux[0], 180.0f);
    EXPECT_FLOAT_EQ(s.sectorWaterFlux[6], 30.0f);
    EXPECT_DOUBLE_EQ(s.totalWaterFlux, 210.0);
    EXPECT_FLOAT_EQ(s.sectorMaxSpeed[0], 20.0f);
    EXPECT_FLOAT_EQ(s.sectorMaxSpeed[6], 5.0f);
    EXPECT_EQ(s.maxSectorCount, 2);
    EXPECT_EQ(s.maxClassCount, 1);
    EXPECT_EQ(c.scale.directionBarMax, 2);
    EXPECT_EQ(c.scale.speedBarMax, 1);
    EXPECT_DOUBLE_EQ(s.totalSensorFlux, 0.0);
}

TEST(Sectors, ParticleAndOxygenFlux) {
    Computed turb({{10.0f, 5, 8.0f, 2.0f}, {20.0f, 10, 8.0f, 4.0f}}, 3, 2);
    EXPECT_FLOAT_EQ(turb.stats.sectors.sectorSensorFlux[0], 600.0f * (10 * 2 + 20 * 4) * 0.01f);
    EXPECT_FLOAT_EQ(turb.stats.sectors.maxSectorSensorFlux, 600.0f);
    EXPECT_FLOAT_EQ(turb.scale.particleFluxMax, 0.8f);
    EXPECT_FLOAT_EQ(turb.scale.particleFluxMin, 0.2f);

    Computed ox({{10.0f, 5, 10.0f, 100.0f}, {10.0f, 200, 10.0f, 50.0f}}, 3, 1);
    const double m1 = OxygenMgL(ox.data, 1, 10.0, 100.0);
    const double m2 = OxygenMgL(ox.data, 1, 10.0, 50.0);
    EXPECT_NEAR(m1, OxygenMgLWithSalinity(32.0, 10.0, 100.0), 1e-12);  // salinity not set
    EXPECT_NEAR(ox.stats.sectors.sectorSensorFlux[0], m1 * 600 * 10 * 0.01, 1e-3);
    EXPECT_NEAR(ox.stats.sectors.sectorSensorFlux[13], m2 * 600 * 10 * 0.01, 1e-3);
    EXPECT_NEAR(ox.stats.sectors.totalSensorFlux, (m1 + m2) * 60.0, 1e-3);
    EXPECT_NEAR(ox.scale.oxygenMglMax, m1, 1e-5);
    EXPECT_NEAR(ox.scale.oxygenFluxMin, m2 * 10 / 100, 1e-6);
}

TEST(Summary, InvalidSpeedNeverWidensTheOxygenFluxRange) {
    Computed c({{10.0f, 5, 10.0f, 100.0f}, {-999.0f, 5, 10.0f, 100.0f}, {20.0f, 5, 10.0f, 100.0f}}, 3, 1);
    const double m = OxygenMgL(c.data, 1, 10.0, 100.0);
    EXPECT_NEAR(c.scale.oxygenFluxMin, m * 10 / 100, 1e-5);
    EXPECT_NEAR(c.scale.oxygenFluxMax, m * 20 / 100, 1e-5);
    EXPECT_EQ(c.stats.summary.validSpeedCount, 2);
}

TEST(Summary, TwoValidSpeedsHaveMeansButNoSpread) {
    Computed c({{4.0f, 0}, {6.0f, 90}, {-999.0f, 0}});
    const StatisticalSummary& s = c.stats.summary;
    EXPECT_EQ(s.validSpeedCount, 2);
    EXPECT_DOUBLE_EQ(s.mean[0], 5.0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(s.variance[k], 0.0);
        EXPECT_EQ(s.stdDev[k], 0.0);
        EXPECT_EQ(s.relStdDev[k], 0.0);
    }
    EXPECT_EQ(s.significantMax, 0.0f);
    EXPECT_EQ(s.significantMin, 0.0f);
    EXPECT_EQ(s.maxSpeed, 6.0f);
    EXPECT_EQ(s.minSpeed, 4.0f);
}

TEST(Summary, SixSpeedsGiveSignificantThirds) {
    Computed c({{3, 0}, {1, 0}, {6, 0}, {2, 0}, {5, 0}, {4, 0}});
    EXPECT_FLOAT_EQ(c.stats.summary.significantMax, 5.5f);
    EXPECT_FLOAT_EQ(c.stats.summary.significantMin, 1.5f);
    // Sample variance of 1..6 is 3.5.
    EXPECT_DOUBLE_EQ(c.stats.summary.variance[0], 3.5);
    EXPECT_NEAR(c.stats.summary.relStdDev[0], std::sqrt(3.5) / 3.5, 1e-12);
}

TEST(Summary, OneValidSpeedStillShowsItsMean) {
    Computed c({{7.5f, 0}, {-999.0f, 0}});
    EXPECT_DOUBLE_EQ(c.stats.summary.mean[0], 7.5);
    EXPECT_DOUBLE_EQ(c.stats.summary.mean[1], 7.5);
    EXPECT_EQ(c.stats.summary.variance[0], 0.0);
}

TEST(Summary, NoValidSpeedLeavesEverythingAtZero) {
    Computed c({{-999.0f, 10, -999.0f}, {-1000.0f, 20, -999.0f}});
    const StatisticalSummary& s = c.stats.summary;
    EXPECT_EQ(s.validSpeedCount, 0);
    EXPECT_EQ(s.validDirectionCount, 2);
    EXPECT_EQ(s.validTemperatureCount, 0);
    EXPECT_EQ(s.mean[0], 0.0);
    EXPECT_EQ(s.maxSpeed, 0.0f);
    EXPECT_EQ(s.minSpeed, 0.0f);
    EXPECT_EQ(c.scale.speedMin, 0.0f);
    EXPECT_EQ(c.scale.speedMax, 0.0f);
    EXPECT_EQ(c.scale.temperatureMin, 0.0f);
    EXPECT_EQ(c.scale.temperatureMax, 0.0f);
    EXPECT_EQ(c.stats.sectors.sectorCount[0], 0);
    EXPECT_TRUE(c.data.statisticsValid);
}

TEST(Summary, FileWithoutCurrentCountsOnlyTemperatures) {
    Computed c({{12.0f, 10, 5.0f}, {13.0f, 10, 6.0f}}, 4);
    EXPECT_EQ(c.stats.summary.validSpeedCount, 0);
    EXPECT_EQ(c.stats.summary.validTemperatureCount, 2);
    EXPECT_EQ(c.stats.sectors.sectorCount[1], 0);
    EXPECT_FLOAT_EQ(c.scale.temperatureMin, 5.0f);
    EXPECT_FLOAT_EQ(c.scale.temperatureMax, 6.0f);
    EXPECT_EQ(c.scale.speedMax, 0.0f);
}

TEST(Summary, CorruptRecordsOverflowToInfinityNotToUndefinedValues) {
    Computed c({{3e38f, 10, 3e38f, 3e38f}, {3e38f, 10, 10.0f, -3e38f}, {1.0f, 200, 10.0f, 1.0f}}, 3, 2);
    EXPECT_EQ(c.stats.sectors.sectorWaterFlux[0], INFINITY);
    EXPECT_EQ(c.stats.sectors.sectorSensorFlux[13], 6.0f);
    EXPECT_EQ(c.scale.particleFluxMax, INFINITY);
    EXPECT_EQ(c.scale.particleFluxMin, -INFINITY);
    EXPECT_EQ(c.stats.summary.significantMax, 3e38f);
    EXPECT_EQ(c.scale.speedRange, 4);
    EXPECT_EQ(c.stats.sectors.classCount[11], 2);
}

TEST(Summary, NoRangeIsNotMarkedValid) {
    DataSet d;
    FillDataSet(d, {{10, 10}});
    d.rangeCount = 0;
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    EXPECT_FALSE(d.statisticsValid);
    EXPECT_EQ(stats.summary.validSpeedCount, 0);
}

TEST(Summary, MatchesAnIndependentTwoPassComputation) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> speed(0.0f, 140.0f);
    std::uniform_real_distribution<float> dir(0.0f, 6.2831f);
    std::uniform_real_distribution<float> temp(-2.0f, 25.0f);
    std::uniform_int_distribution<int> pick(0, 19);
    constexpr int kCount = 4000;
    DataSet d;
    FillDataSet(d, std::vector<Rec>(kCount, Rec{1.0f, 0}));
    for (int i = 0; i < kCount; ++i) {
        MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
        r.speed = pick(rng) == 0 ? -999.0f : speed(rng);
        r.direction = pick(rng) == 0 ? -1.0f : dir(rng);
        r.temperature = pick(rng) == 0 ? -999.5f : temp(rng);
    }
    // Only the middle of the records is the range.
    d.rangeFirst = 500;
    d.rangeLast = 3499;
    d.rangeCount = 3000;
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);

    std::vector<double> v, ns, ew;
    int dirs = 0, temps = 0;
    for (int i = d.rangeFirst; i <= d.rangeLast; ++i) {
        const MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
        if (r.direction >= 0) ++dirs;
        if (r.temperature > -999) ++temps;
        if (!(r.speed > -999)) continue;
        v.push_back(r.speed);
        ns.push_back(std::fabs(std::cos(static_cast<double>(r.direction)) * r.speed));
        ew.push_back(std::fabs(std::sin(static_cast<double>(r.direction)) * r.speed));
    }
    const std::vector<double>* comps[3] = {&v, &ns, &ew};
    const StatisticalSummary& s = stats.summary;
    ASSERT_EQ(s.validSpeedCount, static_cast<int>(v.size()));
    EXPECT_EQ(s.validDirectionCount, dirs);
    EXPECT_EQ(s.validTemperatureCount, temps);
    for (int k = 0; k < 3; ++k) {
        long double sum = 0;
        for (double x : *comps[k]) sum += x;
        const long double mean = sum / comps[k]->size();
        long double sq = 0;
        for (double x : *comps[k]) sq += (x - mean) * (x - mean);
        const long double var = sq / (comps[k]->size() - 1);
        EXPECT_NEAR(s.mean[k], static_cast<double>(mean), 1e-9 * static_cast<double>(mean)) << k;
        EXPECT_NEAR(s.variance[k], static_cast<double>(var), 1e-9 * static_cast<double>(var)) << k;
        EXPECT_NEAR(s.stdDev[k], std::sqrt(static_cast<double>(var)), 1e-9 * std::sqrt(static_cast<double>(var)));
    }
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t third = v.size() / 3;
    double lo = 0, hi = 0;
    for (std::size_t i = 0; i < third; ++i) {
        lo += sorted[i];
        hi += sorted[sorted.size() - 1 - i];
    }
    EXPECT_NEAR(s.significantMin, lo / third, 1e-4);
    EXPECT_NEAR(s.significantMax, hi / third, 1e-4);
    EXPECT_EQ(s.maxSpeed, static_cast<float>(sorted.back()));
    EXPECT_EQ(s.minSpeed, static_cast<float>(sorted.front()));

    // Sectors and classes, straight from their definitions.
    std::array<std::array<int, 12>, 24> matrix{};
    double flux = 0;
    const SpeedClassRow& b = SpeedClassBounds(stats.sectors.speedRange);
    for (int i = d.rangeFirst; i <= d.rangeLast; ++i) {
        const MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
        if (!(r.speed > -999)) continue;
        int c = 12;
        for (int k = 1; k <= 11; ++k)
            if (r.speed <= b[k]) {
                c = k;
                break;
            }
        const double deg = static_cast<double>(r.direction) * 180.0 / std::numbers::pi;
        const int sector = std::clamp(static_cast<int>(std::nearbyint(deg)) / 15 + 1, 1, 24);
        ++matrix[sector - 1][c - 1];
        flux += 600.0 * r.speed * 0.01;
    }
    EXPECT_EQ(stats.sectors.matrixCount, matrix);
    EXPECT_NEAR(stats.sectors.totalWaterFlux, flux, 1e-3 * flux / 1000);
    int total = 0;
    for (int c : stats.sectors.classCount) total += c;
    EXPECT_EQ(total, s.validSpeedCount);
}

TEST(Scaling, ManualKeepsTheUsersLimitsBarMaximaAndSpeedRange) {
    DataSet d;
    FillDataSet(d, {{10, 10}, {20, 10}, {30, 100}, {250, 200}});
    ScaleSettings scale;
    scale.manual = true;
    scale.speedMin = 1.0f;
    scale.speedMax = 50.0f;
    scale.speedBarMax = 77;
    scale.directionBarMax = 55;
    scale.speedRange = 1;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    EXPECT_EQ(scale.speedMin, 1.0f);
    EXPECT_EQ(scale.speedMax, 50.0f);
    EXPECT_EQ(scale.speedRange, 1);
    EXPECT_EQ(scale.speedBarMax, 77);
    EXPECT_EQ(scale.directionBarMax, 55);
    EXPECT_EQ(stats.sectors.maxClassCount, 77);
    EXPECT_EQ(stats.sectors.maxSectorCount, 55);
    EXPECT_EQ(stats.sectors.speedRange, 1);
    EXPECT_EQ(stats.sectors.classCount[11], 1);  // 250 in class 12 of range 1
    EXPECT_EQ(stats.summary.maxSpeed, 250.0f);

    scale.manual = false;
    ComputeStatistics(d, scale, stats);
    EXPECT_EQ(scale.speedRange, 3);
    EXPECT_EQ(scale.speedMin, 10.0f);
    EXPECT_EQ(scale.speedMax, 250.0f);
    EXPECT_EQ(scale.directionBarMax, 2);
    EXPECT_EQ(scale.speedBarMax, 1);  // range 3 puts 10, 20, 30 and 250 in four classes
}

TEST(Progressive, ConstantEastwardCurrent) {
    DataSet d;
    FillDataSet(d, std::vector<Rec>(10, Rec{10.0f, 90}));
    std::vector<ProgressivePoint> path;
    const ProgressiveFigures f = ComputeProgressiveFigures(d, &path);
    ASSERT_EQ(path.size(), 11u);
    EXPECT_EQ(path[0].east, 0.0);
    EXPECT_NEAR(path[1].east, 60.0, 1e-4);
    EXPECT_NEAR(path[10].east, 600.0, 1e-3);
    EXPECT_NEAR(path[10].north, 0.0, 1e-3);
    EXPECT_NEAR(f.neumann, 1.0f, 1e-6);
    EXPECT_NEAR(f.restSpeed, 10.0f, 1e-4);
    EXPECT_NEAR(f.restDirection, 90.0f, 1e-3);
    EXPECT_NEAR(f.averageSpeed, 10.0f, 1e-4);
    EXPECT_EQ(f.plottedCount, 10);
}

TEST(Progressive, ZeroResultantSouthwardAndNothingPlotted) {
    DataSet d;
    // East then west: E = 0 (up to rounding of the float directions), Nn = 0.
    FillDataSet(d, {{10.0f, 0}, {10.0f, 180}});
    d.records[0].direction = 0.0f;
    d.records[1].direction = static_cast<float>(std::numbers::pi);
    ProgressiveFigures f = ComputeProgressiveFigures(d);
    EXPECT_NEAR(f.neumann, 0.0f, 1e-6);
    EXPECT_NEAR(f.restSpeed, 0.0f, 1e-5);

    FillDataSet(d, {{10.0f, 0}});
    d.records[0].direction = 0.0f;
    d.records[0].speed = 0.0f;  // no movement: E = 0, Nn = 0 exactly
    f = ComputeProgressiveFigures(d);
    EXPECT_EQ(f.neumann, 0.0f);
    EXPECT_EQ(f.restSpeed, 0.0f);
    EXPECT_EQ(f.restDirection, 0.0f);
    EXPECT_EQ(f.averageSpeed, 0.0f);
    EXPECT_EQ(f.plottedCount, 1);

    // Southward: cos(pi/2 - pi) is exactly 0 in doubles only near zero, so
    // build the south step from a direction whose east part vanishes.
    FillDataSet(d, {{10.0f, 180}, {5.0f, 180}});
    f = ComputeProgressiveFigures(d);
    EXPECT_NEAR(f.restDirection, 180.0f, 1e-3);
    EXPECT_NEAR(f.averageSpeed, 7.5f, 1e-4);

    FillDataSet(d, {{-999.0f, 90}, {10.0f, -1}});
    std::vector<ProgressivePoint> path;
    f = ComputeProgressiveFigures(d, &path);
    EXPECT_EQ(f.plottedCount, 0);
    EXPECT_EQ(f.restSpeed, 0.0f);
    EXPECT_EQ(f.averageSpeed, 0.0f);
    ASSERT_EQ(path.size(), 3u);
    EXPECT_TRUE(path[0].valid);
    EXPECT_FALSE(path[1].valid);
    EXPECT_FALSE(path[2].valid);
}

TEST(Progressive, WestwardAndNorthwestDirections) {
    DataSet d;
    FillDataSet(d, {{10.0f, 270}});
    EXPECT_NEAR(ComputeProgressiveFigures(d).restDirection, 270.0f, 1e-3);
    FillDataSet(d, {{10.0f, 315}});
    EXPECT_NEAR(ComputeProgressiveFigures(d).restDirection, 315.0f, 1e-3);
    FillDataSet(d, {{10.0f, 0.0}});
    const float north = ComputeProgressiveFigures(d).restDirection;
    EXPECT_TRUE(north < 1e-3f || north > 359.999f) << north;
}

TEST(Progressive, ComputedWithTheStatisticsOfEveryRange) {
    // The figures come with the statistics, for the range chosen now: a
    // second range replaces them, and a file without current clears them.
    DataSet d;
    ScaleSettings scale;
    Statistics stats;
    FillDataSet(d, std::vector<Rec>(10, Rec{10.0f, 90}));
    ComputeStatistics(d, scale, stats);
    EXPECT_NEAR(stats.progressive.neumann, 1.0f, 1e-6);
    EXPECT_NEAR(stats.progressive.restDirection, 90.0f, 1e-3);
    EXPECT_EQ(stats.progressive.plottedCount, 10);
    d.records[0].speed = -999.0f;
    d.rangeLast = 4;
    d.rangeCount = 5;
    ComputeStatistics(d, scale, stats);
    EXPECT_EQ(stats.progressive.plottedCount, 4);
    FillDataSet(d, std::vector<Rec>(10, Rec{10.0f, 90}), 4);
    ComputeStatistics(d, scale, stats);
    EXPECT_EQ(stats.progressive.plottedCount, 0);
    EXPECT_EQ(stats.progressive.restSpeed, 0.0f);
}

}  // namespace
}  // namespace corvan
