#pragma once
// The values of the line graphs against time and of the distribution bar
// graphs, with the captions and axis settings that go with them.

#include <string>
#include <vector>

#include "data/data_set.h"
#include "graphs/graph_kinds.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"

namespace corvan {

enum LineKind : int {
    kLineSpeed = 0,
    kLineDirection = 1,
    kLineTemperature = 2,
    kLineOptional = 3,
    kLineFlux = 4,
    kLineOxygenMgl = 5,
    kLineOxygenFlux = 6,
};
inline constexpr int kLineKindCount = 7;

enum BarKind : int {
    kBarSpeed = 0,
    kBarDirection = 1,
    kBarOxygenFlux = 6,
};

// One point of a line series: x in seconds from the first shown record; a
// null point breaks the line.
struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    bool null = false;
};

struct LineGraph {
    bool drawn = false;      // false: the series lacks the quantity, the chart stays empty
    bool direction = false;  // drawn into the direction series
    std::string leftCaption;
    std::string labelFormat = "0.0";
    double leftIncrement = 0.1;
    double dataMinimum = 0.0;
    double dataMaximum = 0.0;
    double bottomStep = 1.0;  // the interval
    std::vector<ChartPoint> points;
};

// The line graph of `lineKind` over the data set's range, with dt the range
// interval; ranges from the scale settings.
LineGraph BuildLineGraph(const DataSet& data, const ScaleSettings& scale, int lineKind);

// The direction graph's points: a jump of more than 180 degrees between
// consecutive valid directions is drawn across north.
std::vector<ChartPoint> DirectionPoints(const std::vector<float>& degrees, double dt);

struct BarGraph {
    bool drawn = false;       // false: no reference data or fewer than two records
    std::string modeCaption;  // the foot text in bar mode
    std::string leftCaption;
    std::vector<std::string> labels;
    std::vector<double> values;
    double dataMinimum = 0.0;
    double dataMaximum = 0.0;
    int minimumLabelSpacing = 0;  // pixels between bottom labels
};

BarGraph BuildBarGraph(const DataSet& data, const Statistics& stats, int barKind, int barScale);

}  // namespace corvan
