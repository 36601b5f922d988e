// The flagging steps through the shared library, with the thresholds met
// exactly and just passed.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kx_test_records.h"

namespace {

using kxtest::MakeRecords;
using kxtest::Records;

bool AllBytesAre(const void* p, std::size_t n, unsigned char value) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (bytes[i] != value) return false;
    return true;
}

TEST(KxResultFootprint, OnlyFirstCellsOfFirstBeamsAreWrittenAndAllFlagsCleared) {
    Records r = MakeRecords(10, 2);
    r.info.cellSize = 0.5f;
    r.info.blanking = 1.25f;
    r.params.removeLowSnr = 1;
    std::memset(&r.result, 0x5A, sizeof r.result);
    std::memset(&r.flags, 0xFF, sizeof r.flags);
    r.Run();

    EXPECT_TRUE(AllBytesAre(&r.flags, sizeof r.flags, 0));
    for (int c = 0; c < 10; ++c) {
        EXPECT_FLOAT_EQ(r.result.range[c], (c + 1) * 0.5f + 1.25f);
        EXPECT_EQ(r.result.status[c], kStatusValid);
    }
    for (int b = 0; b < 2; ++b) {
        EXPECT_TRUE(AllBytesAre(&r.result.velocity[b][10], 118 * sizeof(float), 0x5A));
        EXPECT_TRUE(AllBytesAre(&r.result.snr[b][10], 118 * sizeof(float), 0x5A));
    }
    EXPECT_TRUE(AllBytesAre(&r.result.velocity[2][0], 2 * 128 * sizeof(float), 0x5A));
    EXPECT_TRUE(AllBytesAre(&r.result.snr[2][0], 2 * 128 * sizeof(float), 0x5A));
    EXPECT_TRUE(AllBytesAre(r.result.unused1, sizeof r.result.unused1, 0x5A));
    EXPECT_TRUE(AllBytesAre(r.result.unused2, sizeof r.result.unused2, 0x5A));
    EXPECT_TRUE(AllBytesAre(&r.result.speed[10], 118 * sizeof(float), 0x5A));
    EXPECT_TRUE(AllBytesAre(&r.result.status[10], 118 * sizeof(std::int32_t), 0x5A));
}

TEST(KxBoundaryByPressure, RangeEqualToSurfaceStays) {
    Records r = MakeRecords(12, 3);
    r.params.removeBoundary = 1;
    r.params.pressureFactor = 0.5f;
    r.sample.pressure = 10.0f;  // surface at 5 m; ranges 1, 2, ... 12 m
    r.Run();
    for (int c = 0; c < 12; ++c) {
        const bool beyond = c >= 5;
        EXPECT_EQ(r.flags.cell[c], beyond ? kFlagBeyondSurface : 0u) << c;
        EXPECT_EQ(r.result.status[c], beyond ? kStatusFlagged : kStatusValid) << c;
        EXPECT_EQ(r.result.speed[c] == kInvalidResult, beyond) << c;
    }

    r.params.removeBoundary = 0;
    r.Run();
    EXPECT_EQ(r.flags.cell[11], 0u);

    // Without a usable pressure nothing can be shown to be below the surface.
    r.params.removeBoundary = 1;
    r.sample.pressure = std::nanf("");
    r.Run();
    EXPECT_EQ(r.flags.cell[0], kFlagBeyondSurface);
}

class KxBoundaryByAmplitude : public ::testing::Test {
protected:
    Records r = MakeRecords(30, 3);
    void SetUp() override {
        r.params.removeBoundary = 1;
        r.params.boundaryMethod = kBoundaryByAmplitude;
        r.FillAmplitudes(4, 128, 60);
    }
    // From this cell on the beam reads `jump` counts more.
    void Jump(int beam, int cell, int jump) {
        for (int c = cell; c < 128; ++c) r.sample.amplitude[beam][c] += static_cast<std::uint8_t>(jump);
    }
    int FirstFlagged() const {
        for (int c = 0; c < r.info.cells; ++c)
            if (r.flags.cell[c] & kFlagBeyondAcousticBoundary) return c;
        return -1;
    }
    void ExpectFlaggedFrom(int first) const {
        for (int c = 0; c < r.info.cells; ++c)
            EXPECT_EQ((r.flags.cell[c] & kFlagBeyondAcousticBoundary) != 0, c >= first) << c;
    }
};

TEST_F(KxBoundaryByAmplitude, BeamsAgreeingWithinTwoCellsMarkTheBoundary) {
    Jump(0, 10, 40);
    Jump(1, 11, 40);
    Jump(2, 12, 40);
    r.Run();  // spread of (10, 11, 12) is 1
    ExpectFlaggedFrom(10);
    EXPECT_EQ(r.result.status[10], kStatusFlagged);
    EXPECT_EQ(r.result.status[9], kStatusValid);
}

TEST_F(KxBoundaryByAmplitude, BeamWithoutJumpSpreadsTheBoundaryTooFar) {
    Jump(0, 10, 40);
    Jump(1, 10, 40);
    r.Run();  // spread of (10, 10, 0) is 5.77
    EXPECT_EQ(FirstFlagged(), -1);
}

TEST_F(KxBoundaryByAmplitude, SixteenCountsIsNoJumpSeventeenIs) {
    for (int b = 0; b < 3; ++b) Jump(b, 8, 16);
    r.Run();
    EXPECT_EQ(FirstFlagged(), -1);
    for (int b = 0; b < 3; ++b) Jump(b, 8, 1);
    r.Run();
    ExpectFlaggedFrom(8);
}

TEST_F(KxBoundaryByAmplitude, LastTwoCellsAreNotExamined) {
    for (int b = 0; b < 3; ++b) Jump(b, 28, 50);  // j runs to N - 3 = 27
    r.Run();
    EXPECT_EQ(FirstFlagged(), -1);
    for (int b = 0; b < 3; ++b) Jump(b, 27, 50);
    r.Run();
    ExpectFlaggedFrom(27);
}

TEST_F(KxBoundaryByAmplitude, EarlierSmallerJumpStillSetsTheFirstCell) {
    // Beam 0 passes the threshold at 5 before its largest rise at 10; the
    // beams agree on 10, and the flags start at the earliest exceeding cell.
    Jump(0, 5, 20);
    for (int b = 0; b < 3; ++b) Jump(b, 10, 40);
    r.Run();
    ExpectFlaggedFrom(5);
}

TEST_F(KxBoundaryByAmplitude, TooFewCellsOrBeamsFlagNothing) {
    r.info.cells = 3;  // no j between 1 and N - 3
    for (int b = 0; b < 3; ++b) Jump(b, 1, 100);
    r.Run();
    EXPECT_EQ(FirstFlagged(), -1);

    r.info.cells = 1;
    r.Run();
    EXPECT_EQ(r.flags.cell[0], 0u);

    Records one = MakeRecords(30, 1);
    one.params = r.params;
    for (int c = 12; c < 30; ++c) one.sample.amplitude[0][c] = 200;
    one.Run();  // one beam has no spread at all
    for (int c = 0; c < 30; ++c) EXPECT_EQ(one.flags.cell[c], 0u);
}

TEST(KxLowSnr, AmplitudesAtTheNoiseFloorFlagEveryCell) {
    Records r = MakeRecords(8, 3);
    r.params.removeLowSnr = 1;
    r.FillAmplitudes(3, 8, 40);  // equal to the noise bytes
    r.sample.velocity[0][3] = 250;
    r.Run();
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(r.flags.cell[c], kFlagLowSnr);
        EXPECT_EQ(r.result.status[c], kStatusFlagged);
        EXPECT_EQ(r.result.speed[c], kInvalidResult);
        EXPECT_EQ(r.result.direction[c], kInvalidResult);
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(r.flags.beamCell[b][c], kFlagLowSnr);
            EXPECT_EQ(r.result.snr[b][c], 0.0f);
            EXPECT_EQ(r.result.velocity[b][c], kInvalidResult);
        }
    }

    r.params.snrThreshold = 0.0f;  // 0 dB is not below 0 dB
    r.Run();
    EXPECT_EQ(r.flags.cell[0], 0u);
    EXPECT_EQ(r.result.velocity[0][3], 250.0f);
}

TEST(KxLowSnr, NoiseFloorFollowsFrequencyAndWeakestCellAndIsWrittenBack) {
    Records r = MakeRecords(6, 2);
    r.params.removeLowSnr = 1;
    r.info.frequency = 1000000.0f;  // a head with a floor of 20 counts
    r.sample.noise[0] = r.sample.noise[1] = r.sample.noise[2] = 60;
    r.sample.amplitude[0][4] = 31;
    r.sample.amplitude[1][2] = 12;  // weaker than the floor
    r.Run();
    EXPECT_EQ(r.sample.noise[0], 20);
    EXPECT_EQ(r.sample.noise[1], 12);
    EXPECT_EQ(r.sample.noise[2], 60);  // beyond the head's beams
    EXPECT_FLOAT_EQ(r.result.snr[0][4], 11 * 0.43f);
    EXPECT_FLOAT_EQ(r.result.snr[0][0], 100 * 0.43f);
    EXPECT_FLOAT_EQ(r.result.snr[1][0], 108 * 0.43f);

    r.info.frequency = 1200000.0f;  // no fixed floor: the measured 60 is lowered to 31
    r.sample.noise[0] = 60;
    r.Run();
    EXPECT_EQ(r.sample.noise[0], 31);

    r.params.removeLowSnr = 0;
    r.sample.noise[0] = 60;
    r.Run();
    EXPECT_EQ(r.sample.noise[0], 60);
}

TEST(KxLowSnr, SnrEqualToThresholdIsKept) {
    Records r = MakeRecords(4, 1);
    r.params.removeLowSnr = 1;
    r.params.snrThreshold = 10.75f;  // 25 counts
    r.info.frequency = 2000000.0f;   // floor 20
    r.sample.amplitude[0][0] = 45;
    r.sample.amplitude[0][1] = 44;
    r.Run();
    EXPECT_EQ(r.flags.cell[0], 0u);
    EXPECT_EQ(r.flags.cell[1], kFlagLowSnr);
    EXPECT_EQ(r.flags.beamCell[0][1], kFlagLowSnr);
}

TEST(KxSpikes, SpikeMustRiseAboveBothNeighboursByMoreThanTheThreshold) {
    ASSERT_EQ(10.75 / 0.43, 25.0);  // so the threshold below is exactly 25 counts
    Records r = MakeRecords(20, 2);
    r.params.removeSpikes = 1;
    r.params.spikeThreshold = 10.75f;
    r.FillAmplitudes(2, 20, 100);
    r.sample.amplitude[0][5] = 125;  // exactly 25 above both
    r.sample.amplitude[0][9] = 126;
    r.sample.amplitude[1][12] = 150;
    r.sample.amplitude[1][13] = 150;  // a plateau, not a spike
    r.Run();
    for (int c = 0; c < 20; ++c) {
        const std::uint32_t expected = c == 9 ? kFlagSnrSpike : 0u;
        EXPECT_EQ(r.flags.beamCell[0][c], expected) << c;
        EXPECT_EQ(r.flags.cell[c], expected) << c;
        EXPECT_EQ(r.flags.beamCell[1][c], 0u) << c;
    }
    EXPECT_EQ(r.result.velocity[1][9], kInvalidResult);  // the whole cell goes
}

TEST(KxSpikes, CellsNearTheEndsAreNotExamined) {
    Records r = MakeRecords(20, 1);
    r.params.removeSpikes = 1;
    r.FillAmplitudes(1, 20, 100);
    for (int c : {1, 17}) r.sample.amplitude[0][c] = 200;  // c runs from 2 to N - 4 = 16
    r.Run();
    for (int c = 0; c < 20; ++c) EXPECT_EQ(r.flags.cell[c], 0u) << c;
    r.sample.amplitude[0][17] = 100;
    r.sample.amplitude[0][16] = 200;
    r.Run();
    EXPECT_EQ(r.flags.cell[16], kFlagSnrSpike);
}

TEST(KxOutliers, VelocityFarOutsideTheBeamsSpreadIsFlagged) {
    Records r = MakeRecords(20, 3);
    r.params.removeOutliers = 1;
    r.params.outlierFactor = 2.0f;
    for (int c = 0; c < 20; ++c) r.sample.velocity[1][c] = -300;  // |v| equals the limit: kept
    r.sample.velocity[0][7] = 1000;                               // mean 50, spread 223.6: limit 497
    for (int c = 0; c < 20; ++c) r.sample.velocity[2][c] = c % 2 ? -100 : 100;
    r.Run();
    for (int c = 0; c < 20; ++c) EXPECT_EQ(r.flags.cell[c], c == 7 ? kFlagVelocityOutlier : 0u) << c;
    for (int b = 0; b < 3; ++b) EXPECT_EQ(r.flags.beamCell[b][7], 0u);

    r.info.cells = 1;  // one cell has no spread
    r.Run();
    EXPECT_EQ(r.flags.cell[0], 0u);
}

}  // namespace
