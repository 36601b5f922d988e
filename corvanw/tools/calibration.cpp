#include "tools/calibration.h"

#include <cmath>

#include "tools/number_entry.h"

namespace corvan {

namespace {

constexpr double kSearchFailure = 9999.0;
constexpr double kNewAFailure = 99999.0;
constexpr double kNewAOverflow = 90000.0;

bool Finite(const Coefficients& k) { return std::isfinite(k.a) && std::isfinite(k.b) && std::isfinite(k.c); }

// 1/(A + B L + C L^3) - offset; nullopt when the denominator vanishes or
// anything overflows.
std::optional<double> InverseAt(const Coefficients& k, double lnR) {
    const double d = k.a + k.b * lnR + k.c * lnR * lnR * lnR;
    if (d == 0.0 || !std::isfinite(d)) return std::nullopt;
    const double t = 1.0 / d - kKelvinOffset;
    if (!std::isfinite(t)) return std::nullopt;
    return t;
}

}  // namespace

Coefficients SolveSteinhartHart(const std::array<double, 3>& r, const std::array<double, 3>& t) {
    const Coefficients failed{kFailedCoefficient, kFailedCoefficient, kFailedCoefficient};
    for (double v : r) {
        if (!(v > 0.0)) return failed;
    }
    const double y1 = 1.0 / (t[0] + kKelvinOffset);
    const double y2 = 1.0 / (t[1] + kKelvinOffset);
    const double y3 = 1.0 / (t[2] + kKelvinOffset);
    const double l1 = std::log(r[0]);
    const double l2 = std::log(r[1]);
    const double l3 = std::log(r[2]);
    const double c1 = l1 * l1 * l1;
    const double c2 = l2 * l2 * l2;
    const double c3 = l3 * l3 * l3;
    // The determinant of the rows (1, L, L^3) in its factored form: summed
    // term by term, two equal resistances leave a rounding residue instead
    // of zero and yield wild coefficients.
    const double d = (l2 - l1) * (l3 - l1) * (l3 - l2) * (l1 + l2 + l3);
    if (d == 0.0 || !std::isfinite(d)) return failed;
    Coefficients k;
    k.a = (y1 * l2 * c3 + y2 * c1 * l3 + y3 * l1 * c2 - y1 * c2 * l3 - y2 * l1 * c3 - y3 * c1 * l2) / d;
    k.b = (y2 * c3 + y3 * c1 + y1 * c2 - y3 * c2 - y1 * c3 - y2 * c1) / d;
    k.c = (l2 * y3 + l3 * y1 + l1 * y2 - l3 * y2 - l1 * y3 - l2 * y1) / d;
    if (!Finite(k)) return failed;
    return k;
}

std::optional<double> TemperatureOfResistance(const Coefficients& k, double resistance) {
    if (!(resistance > 0.0) || !std::isfinite(resistance)) return std::nullopt;
    return InverseAt(k, std::log(resistance));
}

double SearchTemperature(const Coefficients& k, int tenthsOfOhm) {
    return InverseAt(k, std::log(tenthsOfOhm / 10.0)).value_or(kSearchFailure);
}

// A thermistor curve need not be monotonic for arbitrary coefficients, so
// the walk visits every candidate; 64 thousand logarithms take well under a
// millisecond.
ResistanceSearch SearchResistance(const Coefficients& k, double celsius) {
    int found = kSearchBottom;
    for (int i = kSearchTop; i >= kSearchBottom; --i) {
        if (SearchTemperature(k, i) >= celsius) {
            found = i;
            break;
        }
    }
    ResistanceSearch r;
    r.k = found;
    if (found < 10)
        r.end = SearchEnd::Overflow;
    else if (found == kSearchTop)
        r.end = SearchEnd::Underflow;
    return r;
}

double NewCoefficientA(const Coefficients& k, double tenthsOfOhm, double referenceCelsius) {
    const double tk = referenceCelsius + kKelvinOffset;
    if (tk == 0.0) return kNewAFailure;
    const double l = std::log(tenthsOfOhm / 10.0);
    const double a = (1.0 - tk * (k.b * l + k.c * l * l * l)) / tk;
    return std::isfinite(a) ? a : kNewAFailure;
}

std::string CalRawModel::Enter(Box box, const std::string& text) {
    const auto v = ParseUserNumber(text, sep_);
    valid_[box] = v.has_value();
    if (!v) return text;
    value_[box] = *v;
    if (AllValid()) Compute();
    return FormatFixed(*v, box <= R3 ? 0 : 2, 15, sep_);
}

bool CalRawModel::AllValid() const {
    for (bool v : valid_) {
        if (!v) return false;
    }
    return true;
}

void CalRawModel::Compute() {
    k_ = SolveSteinhartHart({value_[R1], value_[R2], value_[R3]}, {value_[T1], value_[T2], value_[T3]});
}

std::string CalRawModel::CoefficientText(int index) const {
    const double v = index == 0 ? k_.a : index == 1 ? k_.b : k_.c;
    return FormatExponent(v, 7, sep_);
}

std::string CalRawModel::TestPad(const std::string& resistanceText) const {
    const auto r = ParseUserNumber(resistanceText, sep_);
    if (!r) return kErrorText;
    const auto t = TemperatureOfResistance(k_, *r);
    if (!t) return kErrorText;
    return FormatFixed(*t, 2, 15, sep_);
}

std::vector<std::string> CalRawModel::SheetHeading(const std::string& instrumentNumber) const {
    std::vector<std::string> lines{"Temperature calibration from RAW data.", "",
                                   "Instrument number:" + instrumentNumber, ""};
    for (int i = 0; i < 3; ++i) {
        lines.push_back("R" + std::to_string(i + 1) + " = " + FormatWidth(value_[R1 + i], 6, 0) + "  T" +
                        std::to_string(i + 1) + "= " + FormatWidth(value_[T1 + i], 5, 2));
    }
    lines.push_back("A = " + CoefficientText(0));
    lines.push_back("B = " + CoefficientText(1));
    lines.push_back("C = " + CoefficientText(2));
    lines.push_back("");
    return lines;
}

std::string CalRawModel::SheetTestLine(const std::string& resistanceBox, const std::string& temperatureBox) const {
    const double r = ParseUserNumber(resistanceBox, sep_).value_or(0.0);
    const double t = ParseUserNumber(temperatureBox, sep_).value_or(0.0);
    return "R = " + FormatWidth(r, 6, 0) + "  T = " + FormatWidth(t, 5, 2);
}

std::string ReCalcModel::EnterCoefficient(int index, const std::string& text) {
    const auto v = ParseUserNumber(text, sep_);
    valid_[static_cast<std::size_t>(index)] = v.has_value();
    if (!v) return text;
    value_[static_cast<std::size_t>(index)] = *v;
    return FormatExponent(*v, 7, sep_);
}

std::string ReCalcModel::RtText(const std::string& measured) const {
    const auto t = ParseUserNumber(measured, sep_);
    if (!t) return {};
    const ResistanceSearch s = SearchResistance(Value(), *t);
    if (s.end == SearchEnd::Overflow) return kOverflowText;
    if (s.end == SearchEnd::Underflow) return kUnderflowText;
    return FormatFixed(s.k / 10.0, 1, 6, sep_);
}

std::string ReCalcModel::NewAText(const std::string& rtBox, const std::string& reference) const {
    const auto rt = ParseUserNumber(rtBox, sep_);
    const auto tref = ParseUserNumber(reference, sep_);
    if (!rt || !tref) return {};
    // The box is editable, so any resistance may arrive here; one that
    // rounds to nothing, or is negative, has no logarithm to work with.
    const double k = std::nearbyint(*rt * 10.0);
    if (!(k >= 1.0)) return {};
    const double a = NewCoefficientA(Value(), k, *tref);
    if (a >= kNewAOverflow) return kOverflowText;
    return FormatExponent(a, 7, sep_);
}

}  // namespace corvan
