#pragma once
// Printed pages as positioned texts and lines in millimetres, from the
// printable area's top-left. The layouts below decide every position; the
// painter only draws them, so the pages are tested without a printer.

#include <string>
#include <string_view>
#include <vector>

#include "data/data_set.h"
#include "graphs/statistics.h"
#include "graphs/statistics_pages.h"
#include "print/print_geometry.h"

namespace corvan {

// The canvas font: the table grid's face, normal, 12 points unless a layout
// shrinks it to fit.
inline constexpr double kPrintFontPoints = 12.0;

struct PrintFont {
    double points = kPrintFontPoints;
    bool bold = false;
};

// Text extents on the printer, in millimetres.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual double Width(std::string_view text, const PrintFont& font) const = 0;
    // The height of a line ("Hy").
    virtual double LineHeight(const PrintFont& font) const = 0;
};

enum class TextAlign { Left, Right, Centre };

// Left: starts at x. Right: ends at x. Centre: centred on x.
// y is the top of the line.
struct PrintText {
    double x = 0.0;
    double y = 0.0;
    std::string text;
    PrintFont font;
    TextAlign align = TextAlign::Left;
};

struct PrintLine {
    double x1, y1, x2, y2;
};

struct PrintedPage {
    std::vector<PrintText> texts;
    std::vector<PrintLine> lines;
};

struct PrintJob {
    std::string title;
    bool landscape = false;
    std::vector<PrintedPage> pages;
};

// The information panel as the pages print it.
struct PrintHeader {
    std::string title;  // the view title, printed in bold
    InformationPanelTexts info;
};
PrintHeader MakePrintHeader(const std::string& title, const DataSet& data, const std::string& fileName);

// Draws the header block at the frame's top-left; returns where the content
// below it starts.
double LayoutHeaderBlock(const PrintHeader& header, const PageFrame& frame, const TextMeasure& measure,
                         PrintedPage& page);

inline constexpr const char* kSummaryJobTitle = "Corvan Statistical summary";
inline constexpr const char* kMatrixJobTitle = "Corvan Table";

PrintJob LayoutSummaryPrint(const PrintHeader& header, const SummaryPageTexts& texts, const PageFrame& frame,
                            const TextMeasure& measure);

// Smallest size the matrix shrinks to.
inline constexpr double kMatrixMinimumPoints = 2.0;
PrintJob LayoutMatrixPrint(const PrintHeader& header, const TextGrid& cells, const PageFrame& frame,
                           const TextMeasure& measure);

inline constexpr const char* kGraphJobTitle = "Corvan Graph";
inline constexpr const char* kVectorLegendJobTitle = "Corvan Vector graph legend";

// One landscape page: the header texts, and where the chart goes.
struct GraphPrintLayout {
    PrintJob job;
    PageFrame chart;
};
// The progressive vector keeps only the title and one line of file and
// series above its chart, the rest of the header going to its legend page.
GraphPrintLayout LayoutGraphPrint(const PrintHeader& header, bool progressiveVector, const PageFrame& frame,
                                  const TextMeasure& measure);
// The upright page printed before the progressive vector: the header block
// and the legend lines.
PrintJob LayoutVectorLegendPrint(const PrintHeader& header, const std::vector<std::string>& legend,
                                 const PageFrame& frame, const TextMeasure& measure);

}  // namespace corvan
