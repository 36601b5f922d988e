// The declination correction on real files: round trip, backup, refusal.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/declination.h"
#include "data/data_set.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

void MakeFile(DataSet& d, const std::string& base, int type) {
    d.baseName = base;
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    d.header.count = 200;
    for (int i = 0; i < 200; ++i) {
        MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
        r.speed = i % 17 == 0 ? -999.0f : 10.0f + static_cast<float>(i % 9);
        // Directions right up to 2 pi, and some without a direction.
        r.direction = i % 23 == 0 ? -999.0f : static_cast<float>(std::fmod(i * 0.173, 2 * std::numbers::pi));
        r.temperature = 7.5f;
    }
    d.records[5].direction = std::nextafter(static_cast<float>(2 * std::numbers::pi), 0.0f);
    d.recordCount = 200;
    d.series[0] = SeriesHeader{0, 12, 5, 1, 0, 0, 600, 0, -1.0f};
    d.series[1] = SeriesHeader{120, 12, 6, 1, 0, 0, 600, 0, -1.0f};
    d.seriesCount = 2;
    d.dataLoaded = true;
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 2);
}

TEST(Declination, RoundTripRestoresTheDirectionsAndKeepsBackups) {
    testing::TempDir dir;
    const std::string base = dir.Path("buoy");
    DataSet d;
    MakeFile(d, base, 0);
    const auto original = testing::ReadBytes(base + ".CVN");
    int rotated = 0;
    ASSERT_EQ(ApplyDeclination(d, 12.5, 0, &rotated), "");
    EXPECT_EQ(rotated, 200 - 9);  // 9 records without direction
    EXPECT_EQ(testing::ReadBytes(base + ".~CVN"), original);
    ASSERT_EQ(ApplyDeclination(d, -12.5, 0), "");
    EXPECT_TRUE(testing::Exists(base + ".~CVN~1"));

    DataSet back;
    back.baseName = base;
    ASSERT_TRUE(LoadMeasurementFiles(back).measurementFileFound);
    for (int i = 0; i < 200; ++i) {
        const MeasurementRecord& a = back.records[static_cast<std::size_t>(i)];
        const MeasurementRecord& b = d.records[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.direction, b.direction);
    }
    // Against the first file: equal within float rounding, speeds and
    // temperatures untouched, no direction created or lost.
    DataSet first;
    MakeFile(first, dir.Path("again"), 0);
    for (int i = 0; i < 200; ++i) {
        const MeasurementRecord& a = back.records[static_cast<std::size_t>(i)];
        const MeasurementRecord& b = first.records[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.speed, b.speed);
        EXPECT_EQ(a.temperature, b.temperature);
        if (b.direction < 0) {
            EXPECT_EQ(a.direction, b.direction);
            continue;
        }
        const double gap =
            std::abs(std::remainder(static_cast<double>(a.direction) - b.direction, 2 * std::numbers::pi));
        EXPECT_LT(gap, 1e-6) << i;
        EXPECT_GE(a.direction, 0.0f);
        EXPECT_LT(a.direction, static_cast<float>(2 * std::numbers::pi));
    }
}

TEST(Declination, OneSeriesOnlyAndWrapping) {
    testing::TempDir dir;
    DataSet d;
    MakeFile(d, dir.Path("two"), 0);
    const MeasurementRecord before10 = d.records[10];
    const MeasurementRecord before150 = d.records[150];
    ASSERT_EQ(ApplyDeclination(d, -90.0, 2), "");
    EXPECT_EQ(d.records[10].direction, before10.direction);
    EXPECT_NEAR(d.records[150].direction,
                std::fmod(before150.direction - std::numbers::pi / 2 + 2 * std::numbers::pi, 2 * std::numbers::pi),
                1e-5);
    // 350 degrees + 20 east is 10 degrees true; a direction just below a
    // full turn stays below it.
    EXPECT_NEAR(RotatedDirection(static_cast<float>(350 * std::numbers::pi / 180), 20.0), 10 * std::numbers::pi / 180,
                1e-6);
    EXPECT_LT(RotatedDirection(std::nextafter(static_cast<float>(2 * std::numbers::pi), 0.0f), 1e-9),
              static_cast<float>(2 * std::numbers::pi));
    EXPECT_EQ(RotatedDirection(-999.0f, 45.0), -999.0f);
    EXPECT_NE(ApplyDeclination(d, 5.0, 3), "");
}

TEST(Declination, RefusesFilesWithoutDirectionsAndWritesNothing) {
    testing::TempDir dir;
    for (int type : {2, 4}) {
        DataSet d;
        const std::string base = dir.Path("t" + std::to_string(type));
        MakeFile(d, base, type);
        const auto bytes = testing::ReadBytes(base + ".CVN");
        const std::string refusal = ApplyDeclination(d, 3.0, 0);
        EXPECT_EQ(refusal, type == 2 ? kDeclinationGpsMessage : kDeclinationNoCurrentMessage);
        EXPECT_EQ(testing::ReadBytes(base + ".CVN"), bytes);
        EXPECT_FALSE(testing::Exists(base + ".~CVN"));
    }
    DataSet d;
    MakeFile(d, dir.Path("far"), 0);
    EXPECT_EQ(ApplyDeclination(d, 181.0, 0), kDeclinationRangeMessage);
    EXPECT_EQ(ApplyDeclination(d, std::nan(""), 0), kDeclinationRangeMessage);
}

}  // namespace
}  // namespace corvan
