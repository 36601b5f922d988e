#pragma once
// A fixed-pitch measure for the layouts: every character is half an em wide
// and a line is 1.2 em high, so positions can be worked out by hand.

#include <string_view>

#include "graphs/number_format.h"
#include "print/print_layout.h"

namespace corvan::testing {

inline constexpr double kMmPerPoint = 25.4 / 72.0;

class FixedPitchMeasure : public TextMeasure {
public:
    double Width(std::string_view text, const PrintFont& font) const override {
        return static_cast<double>(DisplayLength(text)) * CharWidth(font.points);
    }
    double LineHeight(const PrintFont& font) const override { return 1.2 * font.points * kMmPerPoint; }
    static double CharWidth(double points) { return 0.5 * points * kMmPerPoint; }
};

}  // namespace corvan::testing
