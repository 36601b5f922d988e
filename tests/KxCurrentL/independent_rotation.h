#pragma once
// A second, independent account of the instrument's attitude for the tests:
// the frame is turned one axis at a time with Rodrigues' formula instead of
// multiplying the library's matrices. Roll turns about the instrument's X
// axis, pitch lifts the X axis towards up, heading is clockwise from north.

#include <array>
#include <cmath>
#include <numbers>

namespace kxtest {

using Vec = std::array<double, 3>;

inline double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

inline Vec Cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

inline double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Turns v by angle (radians, counter-clockwise seen from the tip of the unit axis).
inline Vec Rotate(const Vec& v, const Vec& axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const Vec k = Cross(axis, v);
    const double along = Dot(axis, v) * (1.0 - c);
    return {v[0] * c + k[0] * s + axis[0] * along, v[1] * c + k[1] * s + axis[1] * along,
            v[2] * c + k[2] * s + axis[2] * along};
}

inline constexpr Vec kAxisX{1.0, 0.0, 0.0};
inline constexpr Vec kAxisY{0.0, 1.0, 0.0};
inline constexpr Vec kAxisZ{0.0, 0.0, 1.0};

// Instrument (X, Y, Z) to earth (east, north, up).
inline Vec InstrumentToEarth(Vec v, double heading, double pitch, double roll, bool down) {
    if (down) v = {v[0], -v[1], -v[2]};
    v = Rotate(v, kAxisX, Radians(roll));
    v = Rotate(v, kAxisY, -Radians(pitch));
    // With the X axis level, a heading of 90 degrees has it pointing east.
    return Rotate(v, kAxisZ, Radians(90.0 - heading));
}

// Earth to instrument: the same turns undone in reverse order.
inline Vec EarthToInstrument(Vec v, double heading, double pitch, double roll, bool down) {
    v = Rotate(v, kAxisZ, -Radians(90.0 - heading));
    v = Rotate(v, kAxisY, Radians(pitch));
    v = Rotate(v, kAxisX, -Radians(roll));
    if (down) v = {v[0], -v[1], -v[2]};
    return v;
}

inline double CompassDegrees(double east, double north) {
    double d = std::atan2(east, north) * 180.0 / std::numbers::pi;
    return d < 0.0 ? d + 360.0 : d;
}

}  // namespace kxtest
