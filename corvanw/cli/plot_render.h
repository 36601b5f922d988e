#pragma once
// The drawing half of `corvan plot`: with the desktop's libraries it paints
// through the chart renderer offscreen; a build without them says so.

#include <string>

#include "data/data_set.h"
#include "graphs/chart_description.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"
#include "graphs/statistics_pages.h"

namespace corvan::cli {

struct PlotJob {
    std::string output;
    int width = 1000;  // logical pixels at 96 dpi
    int height = 700;
    int dpi = 96;
    bool legend = false;  // the progressive vector's legend under the header
    std::string title;
    InformationPanelTexts info;
};

// Whether this build can draw at all.
bool PlotAvailable();

// Paints and writes the picture; empty on success, otherwise the reason.
std::string RenderPlot(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphRequest& request, const PlotJob& job);

}  // namespace corvan::cli
