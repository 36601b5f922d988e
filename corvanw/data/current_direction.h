#pragma once
// The instruments store the direction a current flows to, in radians
// clockwise from north; everything that turns components back into a
// direction must agree on that.

#include <cmath>
#include <numbers>

namespace corvan {

// 0 <= result < 2 pi for a current of `east` and `north` components.
inline double DirectionTowards(double east, double north) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    double d = std::atan2(east, north);
    if (d < 0) d += kTwoPi;
    return d < kTwoPi ? d : 0.0;
}

}  // namespace corvan
