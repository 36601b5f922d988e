#pragma once
// Thermistor calibration: the Steinhart-Hart relation 1/T = A + B ln R +
// C (ln R)^3 with T = t + 273.16, solved from three points, its inverse,
// the correction of A from one reference measurement, and the texts the two
// calculator dialogs show and print.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

inline constexpr double kKelvinOffset = 273.16;
inline constexpr double kFailedCoefficient = -999.0;
inline constexpr const char* kErrorText = "Error";
inline constexpr const char* kOverflowText = "Overflow";
inline constexpr const char* kUnderflowText = "Underflow";

struct Coefficients {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

// A, B and C through three resistance (ohm) / temperature (deg C) pairs;
// all three are -999 when the system cannot be solved (a resistance of 0 or
// less, three points that do not determine a curve).
Coefficients SolveSteinhartHart(const std::array<double, 3>& resistance, const std::array<double, 3>& celsius);

// Temperature in deg C of a resistance; nullopt when it cannot be computed.
std::optional<double> TemperatureOfResistance(const Coefficients& k, double resistance);

// The resistance search of the recalculation: k runs from 63999 down to 9
// and stops at the first k whose temperature T(k/10) reaches t.
enum class SearchEnd { Found, Overflow, Underflow };
struct ResistanceSearch {
    int k = 0;
    SearchEnd end = SearchEnd::Found;
};
ResistanceSearch SearchResistance(const Coefficients& k, double celsius);
inline constexpr int kSearchTop = 63999;
inline constexpr int kSearchBottom = 9;
// T(k/10) as the search sees it: 9999 where it cannot be computed.
double SearchTemperature(const Coefficients& k, int tenthsOfOhm);

// The calibration from raw data: six typed values, the coefficients and
// the texts of every box.
class CalRawModel {
public:
    enum Box { R1, R2, R3, T1, T2, T3 };

    explicit CalRawModel(char separator = '.') : sep_(separator) {}

    // Converts a box's text; returns the text the box shows afterwards (the
    // value reformatted, or the text itself when it does not convert). When
    // all six are valid the coefficients are computed at once.
    std::string Enter(Box box, const std::string& text);
    bool AllValid() const;
    bool Valid(Box box) const { return valid_[box]; }
    double Value(Box box) const { return value_[box]; }
    const Coefficients& Result() const { return k_; }
    std::string CoefficientText(int index) const;  // 0 = A, 1 = B, 2 = C
    // The test pad's temperature box for the typed resistance.
    std::string TestPad(const std::string& resistanceText) const;

    // The lines that start the printed sheet, and the line each print adds
    // from the test pad's two boxes.
    std::vector<std::string> SheetHeading(const std::string& instrumentNumber) const;
    std::string SheetTestLine(const std::string& resistanceBox, const std::string& temperatureBox) const;

private:
    void Compute();

    char sep_;
    std::array<double, 6> value_{};
    std::array<bool, 6> valid_{};
    Coefficients k_{};
};

// The recalculation of A: the boxes' texts for each step.
class ReCalcModel {
public:
    explicit ReCalcModel(char separator = '.') : sep_(separator) {}

    // Converts A (0), B (1) or C (2); returns the box's new text.
    std::string EnterCoefficient(int index, const std::string& text);
    bool AllValid() const { return valid_[0] && valid_[1] && valid_[2]; }
    Coefficients Value() const { return {value_[0], value_[1], value_[2]}; }
    // First "Calc": the Rt box for a measured temperature.
    std::string RtText(const std::string& measured) const;
    // Second "Calc": the New A box for the Rt box and a reference temperature.
    std::string NewAText(const std::string& rtBox, const std::string& reference) const;

private:
    char sep_;
    std::array<double, 3> value_{};
    std::array<bool, 3> valid_{};
};

// New A from the resistance in tenths of an ohm and the reference
// temperature: 99999 where it cannot be computed.
double NewCoefficientA(const Coefficients& k, double tenthsOfOhm, double referenceCelsius);

}  // namespace corvan
