#pragma once
// The arithmetic of the evaluation: 3 x 3 matrices, the rotations from the
// instrument's attitude, rounding and the small statistics. Kept apart from
// the records so it can be checked with plain numbers.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kx {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<Vector3, 3>;

Matrix3 Identity();
Matrix3 Multiply(const Matrix3& a, const Matrix3& b);
Vector3 Multiply(const Matrix3& m, const Vector3& v);
double Determinant(const Matrix3& m);
// Empty when the matrix is singular or holds a value that is not finite.
std::optional<Matrix3> Invert(const Matrix3& m);

// H: from the instrument's horizontal axes to east and north. The angle used
// is heading - 90 degrees; a heading of exactly 0 takes cos = 0 and sin = -1
// exactly rather than what the trigonometric functions return for -90.
Matrix3 HeadingMatrix(double headingDegrees);
// P: pitch and roll of the head.
Matrix3 TiltMatrix(double pitchDegrees, double rollDegrees);
// D: a down-looking head has its Y and Z axes reversed.
Matrix3 OrientationMatrix(bool downLooking);
// T: the instrument's beam-to-instrument matrix, stored scaled by 4096.
Matrix3 BeamToInstrumentMatrix(const std::array<std::int16_t, 9>& scaled);

// H x P x D, the attitude of one sample.
Matrix3 InstrumentToEarth(double headingDegrees, double pitchDegrees, double rollDegrees, bool downLooking);

double Mean(std::span<const double> values);
// Sample standard deviation (divisor n - 1); empty for fewer than two values.
std::optional<double> SampleStdDev(std::span<const double> values);

// Nearest whole number with exact halves going toward zero.
double RoundHalfTowardZero(double value);

// Degrees clockwise from north in [0, 360).
double DirectionDegrees(double east, double north);
// Horizontal speed in m/s from east and north in mm/s.
double SpeedMetresPerSecond(double east, double north);

// The noise floor a head of this acoustic frequency is known to have; other
// frequencies keep the level the caller measured.
int NoiseFloorForFrequency(float frequencyHz, int measuredNoise);

}  // namespace kx
