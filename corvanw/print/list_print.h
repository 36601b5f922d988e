#pragma once
// The printed list: every record of a range, one line each, with a page
// header, series headings and the list view's columns.

#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/list_format.h"
#include "print/print_layout.h"

namespace corvan {

inline constexpr const char* kListJobTitle = "Corvan List";

enum class PrintRangeKind { All, Selected, Measurements };

// The print dialog's range choice; from and to are the texts of its boxes.
struct PrintRangeChoice {
    PrintRangeKind kind = PrintRangeKind::All;
    std::string from;
    std::string to;
};

struct RecordRange {
    int first = 0;
    int last = -1;  // inclusive; last < first when there is nothing to print
};

// All: the file; Selected: the chosen range; Measurements: From..To counted
// from 1, a box without a number taking the chosen range's end, clamped to
// the file with To at least From.
RecordRange ResolveListRange(const DataSet& data, const PrintRangeChoice& choice);

// The font size and column ends the list prints with on a page this wide.
struct ListPrintColumns {
    double points = kPrintFontPoints;
    double gap = 0.0;
    std::vector<double> ends;  // right end of each column, from the frame's left
};
inline constexpr double kListMaximumGap = 10.0;  // mm
ListPrintColumns FitListColumns(const std::vector<ListColumn>& columns, double pageWidth, const TextMeasure& measure);

PrintJob LayoutListPrint(const DataSet& data, const std::string& fileName, const RecordRange& range,
                         const PageFrame& frame, const TextMeasure& measure);

}  // namespace corvan
