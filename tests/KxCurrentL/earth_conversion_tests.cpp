// Earth velocities, speed and direction, cell mapping and the three-beam
// option through the shared library, checked against the test's own
// axis-by-axis rotation of the head.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kx_test_records.h"

namespace {

using kxtest::MakeRecords;
using kxtest::Mat;
using kxtest::Records;
using kxtest::Vec;

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

struct Attitude {
    double heading, pitch, roll;
    bool down;
};

const std::vector<Attitude> kAttitudes{
    {0, 0, 0, false},   {0, 12, -7, false},      {33.5, 0, 0, false}, {118, -9, 4, false},
    {200, 3, 15, true}, {271.25, -14, -2, true}, {359, 6, 6, false},  {90, 0, 0, true},
};

void SetAttitude(Records& r, const Attitude& a) {
    r.sample.heading = static_cast<float>(a.heading);
    r.sample.pitch = static_cast<float>(a.pitch);
    r.sample.roll = static_cast<float>(a.roll);
    r.sample.orientation = a.down ? 1 : 0;
}

Vec CellVector(const Records& r, int cell) {
    return {static_cast<double>(r.sample.velocity[0][cell]), static_cast<double>(r.sample.velocity[1][cell]),
            static_cast<double>(r.sample.velocity[2][cell])};
}

Vec ResultVector(const Records& r, int cell) {
    return {r.result.velocity[0][cell], r.result.velocity[1][cell], r.result.velocity[2][cell]};
}

void ExpectCurrent(const Records& r, int cell, const Vec& earth) {
    const double speed = std::hypot(earth[0], earth[1]) * 0.001;
    EXPECT_NEAR(r.result.speed[cell], speed, 1e-6 + 1e-6 * speed) << "cell " << cell;
    EXPECT_LT(AngleBetween(r.result.direction[cell], kxtest::CompassDegrees(earth[0], earth[1])), 1e-3)
        << "cell " << cell << " got " << r.result.direction[cell];
    EXPECT_GE(r.result.direction[cell], 0.0f);
    EXPECT_LT(r.result.direction[cell], 360.0f);
}

TEST(KxEarthVelocities, WorkedInstrumentCasesAtHeadingZero) {
    Records r = MakeRecords(2, 3, kCoordinatesInstrument);
    r.SetVelocity(0, {100, 0, 0});
    r.SetVelocity(1, {0, 100, 0});
    r.Run();
    // Exact zero and 270: heading 0 must not pick up the rounding of cos(-90).
    EXPECT_EQ(r.result.direction[0], 0.0f);
    EXPECT_FLOAT_EQ(r.result.speed[0], 0.1f);
    EXPECT_EQ(r.result.direction[1], 270.0f);
    EXPECT_FLOAT_EQ(r.result.speed[1], 0.1f);
    EXPECT_EQ(r.result.velocity[0][0], 100.0f);  // the beam row keeps the value as given
}

TEST(KxEarthVelocities, EarthCoordinatesAreTakenAsTheyAre) {
    Records r = MakeRecords(1, 3, kCoordinatesEarth);
    r.sample.heading = 77.0f;  // not used for earth velocities
    r.sample.pitch = 20.0f;
    r.SetVelocity(0, {0, -50, 0});
    r.Run();
    EXPECT_FLOAT_EQ(r.result.direction[0], 180.0f);
    EXPECT_FLOAT_EQ(r.result.speed[0], 0.05f);
}

TEST(KxEarthVelocities, InstrumentVelocitiesFollowTheHeadsAttitude) {
    const std::vector<Vec> velocities{{100, 0, 0}, {0, 100, 0}, {-230, 410, 35}, {17, -3, -250}};
    for (const Attitude& a : kAttitudes) {
        Records r = MakeRecords(static_cast<int>(velocities.size()), 3, kCoordinatesInstrument);
        SetAttitude(r, a);
        for (std::size_t c = 0; c < velocities.size(); ++c) r.SetVelocity(static_cast<int>(c), velocities[c]);
        r.Run();
        SCOPED_TRACE(::testing::Message()
                     << "heading " << a.heading << " pitch " << a.pitch << " roll " << a.roll << " down " << a.down);
        for (std::size_t c = 0; c < velocities.size(); ++c)
            ExpectCurrent(r, static_cast<int>(c),
                          kxtest::InstrumentToEarth(velocities[c], a.heading, a.pitch, a.roll, a.down));
    }
}

TEST(KxEarthVelocities, BeamVelocitiesGoThroughTheHeadMatrixFirst) {
    const std::vector<Vec> beams{{120, -340, 55}, {-600, -580, -610}, {0, 900, 0}};
    for (const Attitude& a : kAttitudes) {
        Records r = MakeRecords(static_cast<int>(beams.size()), 3, kCoordinatesBeam);
        kxtest::SetJanusMatrix(r.info, 25.0);
        SetAttitude(r, a);
        for (std::size_t c = 0; c < beams.size(); ++c) r.SetVelocity(static_cast<int>(c), beams[c]);
        r.Run();
        const Mat t = kxtest::StoredMatrix(r.info);
        SCOPED_TRACE(::testing::Message() << "heading " << a.heading << " down " << a.down);
        for (std::size_t c = 0; c < beams.size(); ++c)
            ExpectCurrent(r, static_cast<int>(c),
                          kxtest::InstrumentToEarth(kxtest::Apply(t, beams[c]), a.heading, a.pitch, a.roll, a.down));
    }
}

TEST(KxEarthVelocities, FlaggedCellLosesEveryBeamAndItsCurrent) {
    Records r = MakeRecords(3, 4, kCoordinatesInstrument);
    r.params.removeLowSnr = 1;
    r.sample.amplitude[3][1] = 41;  // only the fourth beam is weak, 0.43 dB
    for (int c = 0; c < 3; ++c) r.SetVelocity(c, {100, 200, 300});
    r.sample.velocity[3][0] = -7;
    r.Run();
    for (int b = 0; b < 4; ++b) EXPECT_EQ(r.result.velocity[b][1], kInvalidResult);
    EXPECT_EQ(r.result.speed[1], kInvalidResult);
    EXPECT_EQ(r.result.direction[1], kInvalidResult);
    EXPECT_EQ(r.result.status[1], kStatusFlagged);
    EXPECT_EQ(r.result.velocity[3][0], -7.0f);
    EXPECT_EQ(r.result.status[0], kStatusValid);
}

// --- cell mapping -------------------------------------------------------

struct MappingCase {
    int cells;
    Attitude attitude;
    float cellSize, blanking;
};

// Where the library should find each level cell in a tilted beam, worked out
// from the head's beam directions rather than from the library's matrices.
double ExpectedPosition(const Records& r, const Attitude& a, int beam, int cell) {
    const Mat earthToBeam = kxtest::Inverse(kxtest::StoredMatrix(r.info));
    const Vec upLevel = kxtest::EarthToInstrument({0, 0, 1}, a.heading, 0, 0, a.down);
    const Vec upTilted = kxtest::EarthToInstrument({0, 0, 1}, a.heading, a.pitch, a.roll, a.down);
    const double x = kxtest::Apply(earthToBeam, upLevel)[beam];
    const double xTilted = kxtest::Apply(earthToBeam, upTilted)[beam];
    return cell * x / xTilted;
}

void CheckMapping(const MappingCase& m, bool expectOutside) {
    Records r = MakeRecords(m.cells, 3);
    kxtest::SetJanusMatrix(r.info, 25.0);
    r.info.cellSize = m.cellSize;
    r.info.blanking = m.blanking;
    r.params.cellMapping = 1;
    SetAttitude(r, m.attitude);
    const Vec earth{200, -100, 10};
    for (int c = 0; c < m.cells; ++c) {
        r.SetVelocity(c, earth);
        for (int b = 0; b < 3; ++b) r.sample.amplitude[b][c] = static_cast<std::uint8_t>(60 + c);
    }
    r.Run();

    int outsideCells = 0;
    for (int i = 1; i < m.cells; ++i) {
        bool outside = false;
        for (int j = 0; j < 3; ++j) {
            const double pos = ExpectedPosition(r, m.attitude, j, i);
            ASSERT_GT(std::fabs(pos - m.cells), 1e-6) << "case sits on the edge of the profile";
            if (!(pos > 0 && pos < m.cells)) {
                outside = true;
                continue;
            }
            // Along the ramp the amplitude is 60 + position, the tail repeating the last cell.
            const double want = 60 + std::min(pos, m.cells - 1.0);
            EXPECT_LE(std::fabs(r.sample.amplitude[j][i] - want), 0.5 + 1e-6) << "beam " << j << " cell " << i;
        }
        EXPECT_EQ((r.flags.cell[i] & kFlagOutsideProfile) != 0, outside) << i;
        if (outside) {
            ++outsideCells;
            for (int k = 0; k < 3; ++k) EXPECT_EQ(r.result.velocity[k][i], kInvalidResult);
        } else {
            // A uniform current maps onto itself, short of rounding the beams to whole mm/s.
            const Vec got = ResultVector(r, i);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], earth[k], 1.5) << "cell " << i << " k " << k;
        }
        // Speed, direction and status stay those of the unmapped cell.
        EXPECT_EQ(r.result.status[i], kStatusValid);
        EXPECT_NEAR(r.result.speed[i], std::hypot(earth[0], earth[1]) * 0.001, 1e-6);
    }
    EXPECT_EQ(outsideCells > 0, expectOutside);
    EXPECT_EQ(r.result.velocity[0][0], 200.0f);  // cell 0 is never mapped
}

TEST(KxCellMapping, LevelHeadKeepsEveryCell) {
    CheckMapping({30, {65, 0, 0, false}, 1.0f, 0.0f}, false);
    CheckMapping({30, {0, 0, 0, true}, 0.75f, 1.5f}, false);
}

TEST(KxCellMapping, TiltedHeadReadsEachLevelFromItsPositionInTheBeam) {
    CheckMapping({40, {40, 8, -5, false}, 1.0f, 0.5f}, true);
    CheckMapping({40, {300, -6, 9, true}, 2.0f, 1.0f}, true);
}

TEST(KxCellMapping, FullProfileInterpolatesTowardsTheRepeatedLastCell) {
    // Half a degree of pitch, nose down, puts level cell 127 of the first beam at 127.5:
    // between the last cell and the one past it, which repeats the last.
    Records probe = MakeRecords(128, 3);
    kxtest::SetJanusMatrix(probe.info, 25.0);
    const Attitude slight{0, -0.5, 0, false};
    const double pos = ExpectedPosition(probe, slight, 0, 127);
    ASSERT_GT(pos, 127.0);
    ASSERT_LT(pos, 128.0);
    CheckMapping({128, slight, 1.0f, 0.0f}, false);
}

TEST(KxCellMapping, SingularHeadMatrixLeavesMappedRowsInvalid) {
    Records r = MakeRecords(6, 3);
    for (int i = 0; i < 9; ++i) r.info.beamMatrix[i] = 0;
    r.params.cellMapping = 1;
    for (int c = 0; c < 6; ++c) {
        r.SetVelocity(c, {10, 20, 30});
        r.sample.amplitude[1][c] = static_cast<std::uint8_t>(70 + c);
    }
    r.Run();
    EXPECT_EQ(r.result.velocity[1][0], 20.0f);
    for (int i = 1; i < 6; ++i) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(r.result.velocity[k][i], kInvalidResult);
        EXPECT_EQ(r.sample.amplitude[1][i], 70 + i);
        EXPECT_EQ(r.flags.cell[i], 0u);
        EXPECT_EQ(r.result.status[i], kStatusValid);
    }
}

// --- three-beam option -------------------------------------------------------

Vec Column(const Mat& m, int k) { return {m[0][k], m[1][k], m[2][k]}; }

void ExpectRebuilt(const Records& r, int cell, const Mat& beamToStored, int rebuilt) {
    const Vec given = CellVector(r, cell);
    const Vec got = ResultVector(r, cell);
    EXPECT_NEAR(got[2], 0.0, 1e-3) << "cell " << cell;
    // Only the rebuilt beam changed, so the change lies along its column.
    const Vec change{got[0] - given[0], got[1] - given[1], got[2] - given[2]};
    const Vec across = kxtest::Cross(change, Column(beamToStored, rebuilt));
    for (double v : across) EXPECT_NEAR(v, 0.0, 1e-3 * (1.0 + std::hypot(change[0], change[1], change[2])));
}

TEST(KxThreeBeam, RebuiltBeamCancelsTheThirdComponent) {
    const std::vector<Vec> velocities{{100, -40, 25}, {-320, 10, -80}, {0, 0, 150}};
    for (auto [mask, rebuilt] : {std::pair{3, 2}, std::pair{5, 1}, std::pair{6, 0}}) {
        Records r = MakeRecords(3, 3, kCoordinatesInstrument);
        kxtest::SetJanusMatrix(r.info, 20.0);
        r.params.threeBeam = 1;
        r.params.threeBeamMask = mask;
        for (int c = 0; c < 3; ++c) r.SetVelocity(c, velocities[c]);
        r.Run();
        SCOPED_TRACE(::testing::Message() << "mask " << mask);
        for (int c = 0; c < 3; ++c) ExpectRebuilt(r, c, kxtest::StoredMatrix(r.info), rebuilt);
    }
}

TEST(KxThreeBeam, EarthVelocitiesAreRebuiltThroughTheAttitude) {
    Records r = MakeRecords(2, 3, kCoordinatesEarth);
    kxtest::SetJanusMatrix(r.info, 25.0);
    const Attitude a{150, 7, -4, true};
    SetAttitude(r, a);
    r.params.threeBeam = 1;
    r.params.threeBeamMask = 6;
    r.SetVelocity(0, {250, -90, 40});
    r.SetVelocity(1, {-30, 400, -15});
    r.Run();
    const Mat t = kxtest::StoredMatrix(r.info);
    Mat beamToEarth{};
    for (int k = 0; k < 3; ++k) {
        const Vec column = kxtest::InstrumentToEarth(Column(t, k), a.heading, a.pitch, a.roll, a.down);
        for (int i = 0; i < 3; ++i) beamToEarth[i][k] = column[i];
    }
    for (int c = 0; c < 2; ++c) ExpectRebuilt(r, c, beamToEarth, 0);
}

TEST(KxThreeBeam, OnlyMasksWithTwoOfTheThreeBeamsDoAnything) {
    for (int mask : {0, 1, 4, 7, 11, -1}) {
        Records r = MakeRecords(2, 3, kCoordinatesInstrument);
        kxtest::SetJanusMatrix(r.info, 20.0);
        r.params.threeBeam = 1;
        r.params.threeBeamMask = mask;
        r.SetVelocity(1, {100, -40, 25});
        r.Run();
        EXPECT_EQ(r.result.velocity[2][1], 25.0f) << mask;
    }
}

TEST(KxThreeBeam, BeamCoordinatesAndSingularMatrices) {
    Records r = MakeRecords(2, 3, kCoordinatesBeam);
    r.params.threeBeam = 1;
    r.params.threeBeamMask = 3;
    r.SetVelocity(0, {100, -40, 25});
    r.Run();  // beams are their own coordinates: the third beam becomes 0
    EXPECT_EQ(r.result.velocity[0][0], 100.0f);
    EXPECT_EQ(r.result.velocity[1][0], -40.0f);
    EXPECT_EQ(r.result.velocity[2][0], 0.0f);

    r.params.threeBeamMask = 5;  // beam 2 has no part in the third component
    r.Run();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(r.result.velocity[k][0], kInvalidResult);

    Records singular = MakeRecords(2, 3, kCoordinatesInstrument);
    singular.info.beamMatrix[8] = 0;
    singular.params.threeBeam = 1;
    singular.params.threeBeamMask = 3;
    singular.SetVelocity(1, {1, 2, 3});
    singular.Run();
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(singular.result.velocity[k][c], kInvalidResult);
    EXPECT_NE(singular.result.speed[1], kInvalidResult);
}

}  // namespace
