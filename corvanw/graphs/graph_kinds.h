#pragma once
// What the chart page draws and how bar heights are counted: shared by the
// window's view state, the graph page, printing and their tests.

namespace corvan {

// The graph mode of the view; also the tag of the three graph tool buttons.
enum GraphKind : int {
    kGraphBar = 0,
    kGraphLine = 1,
    kGraphVector = 2,
};

// Units of the bar heights. Stored settings may hold 0, which counts as
// numbers.
enum BarScale : int {
    kBarScalePercent = 1,
    kBarScaleNumber = 2,
};

}  // namespace corvan
