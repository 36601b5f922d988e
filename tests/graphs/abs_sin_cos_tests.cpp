#include "graphs/abs_sin_cos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace corvan {
namespace {

// Within two ulps of the library, or a hair above zero where the library's
// own result is a rounding residue.
void ExpectClose(double x) {
    const AbsSinCos t = AbsSinCosOf(x);
    const double s = std::fabs(std::sin(x));
    const double c = std::fabs(std::cos(x));
    constexpr double kUlps = 2.0 * std::numeric_limits<double>::epsilon();
    EXPECT_LE(std::fabs(t.sin - s), kUlps * s + 1e-300) << "sin at " << x;
    EXPECT_LE(std::fabs(t.cos - c), kUlps * c + 1e-300) << "cos at " << x;
}

TEST(AbsSinCos, AgreesWithTheLibraryOnStoredDirections) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> circle(0.0f, 6.2832f);
    for (int i = 0; i < 200000; ++i) ExpectClose(circle(rng));
    std::uniform_real_distribution<float> wide(-1e5f, 1e5f);
    for (int i = 0; i < 50000; ++i) ExpectClose(wide(rng));
    // Floats nearest to the quarter turns, where the reduction cancels most.
    for (int k = -64; k <= 64; ++k) {
        const float q = static_cast<float>(k * std::numbers::pi / 2);
        for (float x : {q, std::nextafter(q, -INFINITY), std::nextafter(q, INFINITY)}) ExpectClose(x);
    }
    for (double x : {0.0, -0.0, 1e-300, -999.0, 0.7853981633974483, 1e5, -1e5}) ExpectClose(x);
}

TEST(AbsSinCos, FallsBackBeyondTheReducedRange) {
    for (double x : {1.0000001e5, 3e9, -7.5e12, 1e300}) ExpectClose(x);
    const AbsSinCos n = AbsSinCosOf(std::nan(""));
    EXPECT_TRUE(std::isnan(n.sin));
    EXPECT_TRUE(std::isnan(n.cos));
    EXPECT_TRUE(std::isnan(AbsSinCosOf(INFINITY).cos));
}

}  // namespace
}  // namespace corvan
