#include "cli/plot_render.h"

namespace corvan::cli {

bool PlotAvailable() { return false; }

std::string RenderPlot(const DataSet&, const Statistics&, const ScaleSettings&, const GraphRequest&, const PlotJob&) {
    return "plotting is not available in this build";
}

}  // namespace corvan::cli
