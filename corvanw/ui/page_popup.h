#pragma once
// The context menu of the pages: which entries it shows, in which order,
// for the page and graph on show.

#include <vector>

#include "data/data_set.h"
#include "graphs/graph_kinds.h"
#include "ui/view_kinds.h"

namespace corvan {

enum class PopupEntry {
    Matrix,
    Summary,
    Speed,        // "Current &Speed": bar kind or line kind 0
    Direction,    // "Current &direction"
    Temperature,  // line graphs only
    Optional,     // the optional sensor's line graph
    OxygenMgl,
    Flux,
    OxygenFlux,  // "Ox flux": bar kind 6 or line kind 6
    FirstSeparator,
    NumberMeasured,
    Percent,
    Progressive,
    MaxMean,
    FluxNumber,
    RelativeOxygenFlux,
    Stick,
    SecondSeparator,
    Copy,
};

// Nothing on the list and terminal pages; the matrix and summary entries
// on the table pages; the entries of the graph mode on the chart page.
std::vector<PopupEntry> PopupEntries(MainPage page, InnerPage inner, GraphKind graphMode,
                                     const MeasurementFileHeader& header);

}  // namespace corvan
