#include "print/print_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphs/number_format.h"

namespace corvan {

namespace {

constexpr double kMmPerInch = 25.4;

constexpr const char* kLeftLabel = "Left:";
constexpr const char* kRightLabel = "Right:";
constexpr const char* kTopLabel = "Top:";
constexpr const char* kBottomLabel = "Bottom:";

int RoundPixels(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

PrinterMetrics ComputePrinterMetrics(const PortraitPageGeometry& g, bool portrait) {
    PrinterMetrics m;
    m.portrait = portrait;
    m.pixelsPerMmX = g.dpiX > 0.0 ? g.dpiX / kMmPerInch : 1.0;
    m.pixelsPerMmY = g.dpiY > 0.0 ? g.dpiY / kMmPerInch : 1.0;
    m.leftOffset = g.offsetX / m.pixelsPerMmX;
    m.topOffset = g.offsetY / m.pixelsPerMmY;
    m.rightOffset = (g.physicalWidth - g.offsetX - g.printableWidth) / m.pixelsPerMmX;
    m.bottomOffset = (g.physicalHeight - g.offsetY - g.printableHeight) / m.pixelsPerMmY;
    return m;
}

void RaiseMarginsToOffsets(PrintMargins& margins, const PrinterMetrics& m) {
    margins.left = std::max(margins.left, m.leftOffset);
    margins.right = std::max(margins.right, m.rightOffset);
    margins.top = std::max(margins.top, m.topOffset);
    margins.bottom = std::max(margins.bottom, m.bottomOffset);
}

PixelRect PageRectangle(const PrinterMetrics& m, const PrintMargins& g, bool landscape, int pageWidth, int pageHeight) {
    PixelRect r;
    if (!landscape) {
        r.left = RoundPixels(m.pixelsPerMmX * (g.left - m.leftOffset));
        r.right = pageWidth - RoundPixels(m.pixelsPerMmX * (g.right - m.rightOffset));
        r.top = RoundPixels(m.pixelsPerMmY * (g.top - m.topOffset));
        r.bottom = pageHeight - RoundPixels(m.pixelsPerMmY * (g.bottom - m.bottomOffset));
    } else {
        r.top = RoundPixels(m.pixelsPerMmX * (g.right - m.rightOffset));
        r.bottom = pageHeight - RoundPixels(m.pixelsPerMmX * (g.left - m.leftOffset));
        r.left = RoundPixels(m.pixelsPerMmY * (g.top - m.topOffset));
        r.right = pageWidth - RoundPixels(m.pixelsPerMmY * (g.bottom - m.bottomOffset));
    }
    return r;
}

PageFrame PageFrameOf(const PixelRect& r, double pxX, double pxY) {
    return PageFrame{r.left / pxX, r.top / pxY, r.right / pxX, r.bottom / pxY};
}

std::string MarginCentimetresText(double millimetres) {
    const std::string t = FixedText(millimetres / 10.0, 1, 1);
    // "-0.0" would read as a margin of its own.
    return t == "-0.0" ? "0.0" : t;
}

bool ParseCentimetres(const std::string& text, double& cm) {
    std::string t = text;
    std::replace(t.begin(), t.end(), ',', '.');
    const std::size_t b = t.find_first_not_of(' ');
    if (b == std::string::npos) return false;
    const std::size_t e = t.find_last_not_of(' ');
    t = t.substr(b, e - b + 1);
    // strtod would take "inf", "nan" and hexadecimal; a margin is plain digits.
    if (t.find_first_not_of("+-0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    cm = v;
    return true;
}

std::string StepMarginText(const std::string& text, int direction, double offsetMm) {
    double v = 0.0;
    if (!ParseCentimetres(text, v)) return text;
    const double step = direction >= 0 ? 0.5 : -0.5;
    double next = 0.5 * static_cast<double>(RoundHalfEven((v + step) / 0.5));
    next = std::max(next, offsetMm / 10.0);
    return MarginCentimetresText(next * 10.0);
}

double MarginMillimetres(const std::string& text) {
    double cm = 0.0;
    return ParseCentimetres(text, cm) ? cm * 10.0 : 0.0;
}

MarginLabels MarginLabelsFor(bool landscape) {
    if (!landscape) return MarginLabels{kLeftLabel, kRightLabel, kTopLabel, kBottomLabel};
    // As PageRectangle lays the sheet: left margin at the bottom, right at
    // the top, top at the left, bottom at the right.
    return MarginLabels{kBottomLabel, kTopLabel, kLeftLabel, kRightLabel};
}

}  // namespace corvan
