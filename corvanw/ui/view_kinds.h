#pragma once
// The window's page stacks and table kinds by name. The values are the page
// indices of the stacks, so the order of CreatePages must follow them.

namespace corvan {

// Pages of the outer stack (Notebook1).
enum MainPage : int {
    kPageBlank = 0,
    kPageViews = 1,  // information panel over the inner stack
    kPageComm = 2,   // instrument terminal
    kPageList = 3,   // list of measurements
};

// Pages of the inner stack (Notebook2) on kPageViews.
enum InnerPage : int {
    kInnerTable = 0,
    kInnerGraph = 1,  // a page without contents
    kInnerSummary = 2,
    kInnerChart = 3,
};

enum TableKind : int {
    kTableMatrix = 0,
    kTableSummary = 1,
};

}  // namespace corvan
