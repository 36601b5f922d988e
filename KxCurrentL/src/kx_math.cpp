#include "kx_math.h"

#include <cmath>
#include <numbers>

namespace kx {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kBeamMatrixScale = 4096.0;
constexpr double kMetresPerMillimetre = 0.001;

}  // namespace

Matrix3 Identity() { return {{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}}; }

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) sum += a[i][k] * b[k][j];
            out[i][j] = sum;
        }
    return out;
}

Vector3 Multiply(const Matrix3& m, const Vector3& v) {
    Vector3 out{};
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

double Determinant(const Matrix3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

std::optional<Matrix3> Invert(const Matrix3& m) {
    double largest = 0.0;
    for (const auto& row : m)
        for (double v : row) {
            if (!std::isfinite(v)) return std::nullopt;
            largest = std::fmax(largest, std::fabs(v));
        }
    const double det = Determinant(m);
    // Relative to the size of the entries, so a rank-deficient matrix whose
    // determinant is only rounding noise is refused as well.
    if (!std::isfinite(det) || largest == 0.0 || std::fabs(det) <= 1e-12 * largest * largest * largest)
        return std::nullopt;

    Matrix3 inv{};
    inv[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    inv[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    inv[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    inv[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    inv[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    inv[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    inv[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    inv[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    inv[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return inv;
}

Matrix3 HeadingMatrix(double headingDegrees) {
    double c = 0.0;
    double s = -1.0;
    if (headingDegrees != 0.0) {
        const double h = (headingDegrees - 90.0) * kRadiansPerDegree;
        c = std::cos(h);
        s = std::sin(h);
    }
    return {{{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}}};
}

Matrix3 TiltMatrix(double pitchDegrees, double rollDegrees) {
    const double p = pitchDegrees * kRadiansPerDegree;
    const double r = rollDegrees * kRadiansPerDegree;
    const double cp = std::cos(p), sp = std::sin(p);
    const double cr = std::cos(r), sr = std::sin(r);
    return {{{cp, -sp * sr, -cr * sp}, {0.0, cr, -sr}, {sp, sr * cp, cp * cr}}};
}

Matrix3 OrientationMatrix(bool downLooking) {
    Matrix3 d = Identity();
    if (downLooking) {
        d[1][1] = -1.0;
        d[2][2] = -1.0;
    }
    return d;
}

Matrix3 BeamToInstrumentMatrix(const std::array<std::int16_t, 9>& scaled) {
    Matrix3 t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = scaled[i * 3 + j] / kBeamMatrixScale;
    return t;
}

Matrix3 InstrumentToEarth(double headingDegrees, double pitchDegrees, double rollDegrees, bool downLooking) {
    return Multiply(Multiply(HeadingMatrix(headingDegrees), TiltMatrix(pitchDegrees, rollDegrees)),
                    OrientationMatrix(downLooking));
}

double Mean(std::span<const double> values) {
    if (values.empty()) return 0.0;
    double sum = 0.0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

std::optional<double> SampleStdDev(std::span<const double> values) {
    if (values.size() < 2) return std::nullopt;
    const double m = Mean(values);
    double squares = 0.0;
    for (double v : values) squares += (v - m) * (v - m);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

double RoundHalfTowardZero(double value) { return value >= 0.0 ? std::ceil(value - 0.5) : std::floor(value + 0.5); }

double DirectionDegrees(double east, double north) {
    double d = 90.0 - std::atan2(north, east) * kDegreesPerRadian;
    if (d < 0.0)
        d += 360.0;
    else if (d >= 360.0)
        d -= 360.0;
    // A direction a hair below 0 wraps to a value that rounds to 360 itself,
    // in double or once the caller stores it as a float.
    if (static_cast<float>(d) >= 360.0f) d = 0.0;
    return d;
}

double SpeedMetresPerSecond(double east, double north) {
    return std::sqrt(east * east + north * north) * kMetresPerMillimetre;
}

int NoiseFloorForFrequency(float frequencyHz, int measuredNoise) {
    if (frequencyHz == 2000000.0f || frequencyHz == 1000000.0f) return 20;
    if (frequencyHz == 600000.0f || frequencyHz == 400000.0f) return 30;
    if (frequencyHz == 470000.0f || frequencyHz == 1900000.0f) return 50;
    return measuredNoise;
}

}  // namespace kx
