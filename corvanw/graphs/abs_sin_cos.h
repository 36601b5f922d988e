#pragma once
// |sin x| and |cos x| together, for the current components of every record.
// Directions are small angles, so a reduction by pi/2 in three exact parts
// and the two classic minimax polynomials on [-pi/4, pi/4] give results
// within an ulp or two of the library's, several times faster than its
// general sincos. Beyond |x| = 1e5 (and for NaN) the library is used.

#include <bit>
#include <cmath>
#include <cstdint>

namespace corvan {

struct AbsSinCos {
    double sin;
    double cos;
};

inline AbsSinCos AbsSinCosOf(double x) {
    constexpr double kReducedLimit = 1e5;
    if (!(std::fabs(x) <= kReducedLimit)) return {std::fabs(std::sin(x)), std::fabs(std::cos(x))};
    // pi/2 as three 33-bit parts: n * part is exact for |n| < 2^20.
    constexpr double kPio2Part1 = std::bit_cast<double>(std::uint64_t{0x3FF921FB54400000});
    constexpr double kPio2Part2 = std::bit_cast<double>(std::uint64_t{0x3DD0B4611A600000});
    constexpr double kPio2Part3 = std::bit_cast<double>(std::uint64_t{0x3BA3198A2E000000});
    constexpr double kTwoOverPi = 0.63661977236758134308;
    const double n = std::rint(x * kTwoOverPi);
    const double r = ((x - n * kPio2Part1) - n * kPio2Part2) - n * kPio2Part3;
    const double z = r * r;
    constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                     S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                     S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
    constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03, C3 = 2.48015872894767294178e-05,
                     C4 = -2.75573143513906633035e-07, C5 = 2.08757232129817482790e-09,
                     C6 = -1.13596475577881948265e-11;
    const double s = r + r * z * (S1 + z * (S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)))));
    const double c = 1.0 - 0.5 * z + z * z * (C1 + z * (C2 + z * (C3 + z * (C4 + z * (C5 + z * C6)))));
    // An odd number of quarter turns swaps sine and cosine; signs do not matter here.
    if ((static_cast<std::int64_t>(n) & 1) != 0) return {std::fabs(c), std::fabs(s)};
    return {std::fabs(s), std::fabs(c)};
}

}  // namespace corvan
