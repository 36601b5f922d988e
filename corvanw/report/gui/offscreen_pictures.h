#pragma once
// The report's pictures drawn with Qt: every graph by the chart painter at
// the report's size, the matrix from the table page's own grid, each as a
// PNG of at least 200 dpi at its printed size with an SVG twin for graphs.

#include <memory>

#include "graphs/graph_settings.h"
#include "report/report_builder.h"

namespace corvan {

class QtReportPictureSource : public ReportPictureSource {
public:
    // The window's colours and line settings; the paper stays white.
    GraphSettings graphSettings;
    // With it each graph gets an SVG twin beside its PNG.
    bool withSvg = true;

    ReportPicture Draw(const DataSet& data, const ScaleSettings& scale, const Statistics& stats,
                       const ReportPictureRequest& request) override;
};

// For the command line: makes sure a Qt application exists (on the
// offscreen platform when no display is set) and returns the source.
std::unique_ptr<ReportPictureSource> CreateOffscreenPictureSource();

inline constexpr int kReportPictureDpi = 200;

}  // namespace corvan
