#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "independent_rotation.h"
#include "kx_math.h"

namespace {

using kx::Matrix3;
using kx::Vector3;

TEST(KxMathHeading, HeadingZeroTakesExactQuarterTurn) {
    const Matrix3 expected{{{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 1.0}}};
    EXPECT_EQ(kx::HeadingMatrix(0.0), expected);
    EXPECT_EQ(kx::HeadingMatrix(-0.0), expected);
    // Any other heading goes through the trigonometric functions.
    const Matrix3 nearZero = kx::HeadingMatrix(1e-9);
    EXPECT_NE(nearZero[0][0], 0.0);
    EXPECT_NEAR(nearZero[0][1], -1.0, 1e-15);
}

TEST(KxMathAttitude, MatchesAxisByAxisRotation) {
    const std::vector<Vector3> vectors{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {30, -70, 12}};
    for (double heading : {0.0, 10.0, 45.0, 90.0, 137.5, 180.0, 271.0, 359.9})
        for (double pitch : {-20.0, -3.0, 0.0, 5.0, 15.0})
            for (double roll : {-12.0, 0.0, 7.0, 25.0})
                for (bool down : {false, true}) {
                    const Matrix3 m = kx::InstrumentToEarth(heading, pitch, roll, down);
                    for (const Vector3& v : vectors) {
                        const Vector3 got = kx::Multiply(m, v);
                        const auto want = kxtest::InstrumentToEarth(v, heading, pitch, roll, down);
                        for (int k = 0; k < 3; ++k)
                            ASSERT_NEAR(got[k], want[k], 1e-9)
                                << "h=" << heading << " p=" << pitch << " r=" << roll << " down=" << down << " k=" << k;
                    }
                }
}

TEST(KxMathAttitude, AxesPointWhereTheAnglesSay) {
    // Level head at heading 30: X points to compass 30, Y to compass 300.
    const Matrix3 level = kx::InstrumentToEarth(30.0, 0.0, 0.0, false);
    const Vector3 x = kx::Multiply(level, Vector3{1, 0, 0});
    const Vector3 y = kx::Multiply(level, Vector3{0, 1, 0});
    EXPECT_NEAR(kx::DirectionDegrees(x[0], x[1]), 30.0, 1e-9);
    EXPECT_NEAR(kx::DirectionDegrees(y[0], y[1]), 300.0, 1e-9);
    // Positive pitch lifts X, positive roll lifts Y.
    EXPECT_NEAR(kx::Multiply(kx::TiltMatrix(10.0, 0.0), Vector3{1, 0, 0})[2], std::sin(kxtest::Radians(10)), 1e-12);
    EXPECT_NEAR(kx::Multiply(kx::TiltMatrix(0.0, 10.0), Vector3{0, 1, 0})[2], std::sin(kxtest::Radians(10)), 1e-12);
}

TEST(KxMathMatrix, InverseUndoesTheMatrix) {
    const Matrix3 m{{{0.9, -0.3, 0.2}, {0.1, 1.4, -0.6}, {0.5, 0.25, 0.8}}};
    const auto inv = kx::Invert(m);
    ASSERT_TRUE(inv);
    const Matrix3 product = kx::Multiply(m, *inv);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(product[i][j], i == j ? 1.0 : 0.0, 1e-12);
}

TEST(KxMathMatrix, SingularAndNonFiniteMatricesHaveNoInverse) {
    EXPECT_FALSE(kx::Invert(Matrix3{}));
    EXPECT_FALSE(kx::Invert(Matrix3{{{1, 2, 3}, {2, 4, 6}, {0, 1, 1}}}));
    EXPECT_FALSE(kx::Invert(Matrix3{{{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}}));
    Matrix3 withNan = kx::Identity();
    withNan[1][2] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(kx::Invert(withNan));
}

TEST(KxMathRounding, HalvesGoTowardZero) {
    EXPECT_EQ(kx::RoundHalfTowardZero(2.5), 2.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(-2.5), -2.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(0.5), 0.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(2.5000001), 3.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(-2.6), -3.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(2.4), 2.0);
    EXPECT_EQ(kx::RoundHalfTowardZero(7.0), 7.0);
}

TEST(KxMathDirection, ClockwiseFromNorthInHalfOpenCircle) {
    EXPECT_DOUBLE_EQ(kx::DirectionDegrees(0, 100), 0.0);
    EXPECT_DOUBLE_EQ(kx::DirectionDegrees(100, 0), 90.0);
    EXPECT_DOUBLE_EQ(kx::DirectionDegrees(0, -50), 180.0);
    EXPECT_DOUBLE_EQ(kx::DirectionDegrees(-100, 0), 270.0);
    EXPECT_NEAR(kx::DirectionDegrees(-1, 1), 315.0, 1e-12);
    // Just west of north: the wrapped value must not reach 360, not even as a float.
    const double d = kx::DirectionDegrees(-1e-9, 100.0);
    EXPECT_GE(d, 0.0);
    EXPECT_LT(static_cast<float>(d), 360.0f);
    EXPECT_DOUBLE_EQ(kx::SpeedMetresPerSecond(30, -40), 0.05);
}

TEST(KxMathNoise, KnownHeadFrequenciesHaveFixedFloors) {
    EXPECT_EQ(kx::NoiseFloorForFrequency(2000000.0f, 77), 20);
    EXPECT_EQ(kx::NoiseFloorForFrequency(1000000.0f, 77), 20);
    EXPECT_EQ(kx::NoiseFloorForFrequency(600000.0f, 77), 30);
    EXPECT_EQ(kx::NoiseFloorForFrequency(400000.0f, 77), 30);
    EXPECT_EQ(kx::NoiseFloorForFrequency(470000.0f, 77), 50);
    EXPECT_EQ(kx::NoiseFloorForFrequency(1900000.0f, 77), 50);
    EXPECT_EQ(kx::NoiseFloorForFrequency(1000001.0f, 77), 77);
    EXPECT_EQ(kx::NoiseFloorForFrequency(std::nanf(""), 77), 77);
}

}  // namespace
