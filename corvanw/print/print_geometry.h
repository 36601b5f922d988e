#pragma once
// Where a printed page may be drawn: the user's margins, the printer's
// unprintable borders and the page rectangle that results, in portrait and
// in landscape. Margins are kept as the portrait sheet's; a landscape page
// turns them with the sheet (counter-clockwise: the portrait top becomes the
// left edge, the portrait left edge the bottom).

#include <string>

namespace corvan {

// Millimetres, of the portrait sheet.
struct PrintMargins {
    double left = 10.0;
    double right = 10.0;
    double top = 10.0;
    double bottom = 10.0;
};

// What the printer reports with its orientation set to portrait, in printer
// pixels: the whole sheet, the printable area's offset and size.
struct PortraitPageGeometry {
    int physicalWidth = 0;
    int physicalHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
    double dpiX = 0.0;
    double dpiY = 0.0;
};

struct PrinterMetrics {
    bool portrait = true;
    double pixelsPerMmX = 1.0;
    double pixelsPerMmY = 1.0;
    // Unprintable border of each side of the portrait sheet, mm.
    double leftOffset = 0.0;
    double rightOffset = 0.0;
    double topOffset = 0.0;
    double bottomOffset = 0.0;
};

PrinterMetrics ComputePrinterMetrics(const PortraitPageGeometry& g, bool portrait);

// A margin inside the unprintable border cannot be printed; it becomes the
// border.
void RaiseMarginsToOffsets(PrintMargins& margins, const PrinterMetrics& metrics);

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The page rectangle in printer pixels of the printable area, whose size in
// the orientation printed is pageWidth x pageHeight.
PixelRect PageRectangle(const PrinterMetrics& metrics, const PrintMargins& margins, bool landscape, int pageWidth,
                        int pageHeight);

// The same rectangle in millimetres from the printable area's top-left.
struct PageFrame {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
};
PageFrame PageFrameOf(const PixelRect& r, double pixelsPerMmX, double pixelsPerMmY);

// Where the print margins are stored, one identifier per side.
inline constexpr const char* kMarginsSection = "Margins";
inline constexpr const char* kLeftIdent = "Left";
inline constexpr const char* kRightIdent = "Right";
inline constexpr const char* kTopIdent = "Top";
inline constexpr const char* kBottomIdent = "Bottom";
inline constexpr const char* kDefaultMargin = "1";

// A stored margin text in centimetres as millimetres; a text that is not a
// number gives 0. Both "." and "," are taken as the decimal separator.
double MarginMillimetres(const std::string& text);

// The stored text of a margin: centimetres with one decimal ("1.0").
std::string MarginCentimetresText(double millimetres);

// One step of a margin box's spin buttons on the text the box holds, in
// centimetres: to the next half centimetre up or down, never below the
// side's border. Returns the new text, or the text unchanged when it holds
// no number.
std::string StepMarginText(const std::string& text, int direction, double offsetMm);

// Parses a margin box ("." or "," as decimal separator); false when the
// text holds no number.
bool ParseCentimetres(const std::string& text, double& centimetres);

// The captions of the four margin boxes (left, right, top, bottom margin of
// the portrait sheet) as the sheet lies: in landscape each names the edge of
// the lying page that the margin ends up on.
struct MarginLabels {
    const char* left;
    const char* right;
    const char* top;
    const char* bottom;
};
MarginLabels MarginLabelsFor(bool landscape);

}  // namespace corvan
