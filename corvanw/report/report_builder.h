#pragma once
// Producing the site-survey report: the positions' files loaded with their
// ranges, the template filled, each present position's pictures and summary
// table placed, the document written. The pictures come from whoever can
// draw (the desktop, or `corvan report` offscreen) through a small interface.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/series_range.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"
#include "report/report_document.h"
#include "report/report_values.h"

namespace corvan {

enum class ReportView {
    Temperature,
    Speed,
    Optional,
    Flux,
    OxygenMgl,
    OxygenFlux,
    SpeedBar,
    DirectionBar,
    Progressive,
    MaxMean,
    FluxCount,
    OxygenRose,
    Stick,
    Matrix,
};

struct ReportViewItem {
    ReportView view = ReportView::Temperature;
    // The alt text: the page title the desktop shows, and for the sector
    // diagrams " - " and the menu entry.
    std::string description;
    // The page title alone, as the picture's header shows it.
    std::string title;
};

// The pictures of one position, in the order they go into the document.
std::vector<ReportViewItem> ReportViews(const DataSet& data);

struct ReportPictureRequest {
    ReportViewItem item;
    // The chart is laid out at this size, in pixels of the desktop's graph
    // area...
    int layoutWidth = 0;
    int layoutHeight = 0;
    // ...and printed at this size (for the matrix: at most this size).
    double widthPt = 0.0;
    double heightPt = 0.0;
    bool barPercent = false;
    bool startOfDays = false;
    bool legend = true;
};

class ReportPictureSource {
public:
    virtual ~ReportPictureSource() = default;
    // A picture with empty PNG bytes is left out.
    virtual ReportPicture Draw(const DataSet& data, const ScaleSettings& scale, const Statistics& stats,
                               const ReportPictureRequest& request) = 0;
};

struct ReportPositionRequest {
    std::string baseName;  // empty: the position has no file
    RangeRequest range;
};

struct ReportRequest {
    std::string templateFileName;
    std::string outputFileName;
    std::array<ReportPositionRequest, kReportPositionCount> positions;
    ReportSiteFacts facts;
    bool startOfDays = false;
    bool barPercent = false;
    bool autoSize = true;
    bool legend = true;
    // The desktop's graph area, used when the graphs are not sized for the page.
    int graphAreaWidth = 1000;
    int graphAreaHeight = 600;
    // The scaling in effect (manual limits are kept).
    ScaleSettings scale;
    CivilTime today;
    std::string decimalSeparator = ".";
    // The instrument type whose measuring-mode texts are used when no
    // position's file is there; -1: none.
    int fallbackInstrumentType = -1;
};

// The printed size of a graph that was laid out at `layout` and must fit
// the report's slot, keeping its proportions.
struct PictureSize {
    double width = 0.0;
    double height = 0.0;
};
PictureSize FitInto(double layoutWidth, double layoutHeight, double slotWidth, double slotHeight);

struct ReportOutcome {
    bool cancelled = false;
    int presentSet = 0;  // bit 1 surface, 2 dispersion, 4 bottom
    int pictureCount = 0;
    std::vector<std::string> notes;  // positions left out and why
};

// done/total steps and what is being done; returning false cancels before
// anything is written.
using ReportProgress = std::function<bool(int done, int total, const std::string& what)>;

// Throws FileError naming the template, a position's file or the output
// when one cannot be read or written, or when a range lies outside its
// series; nothing is written then.
ReportOutcome ProduceReport(const ReportRequest& request, ReportPictureSource* pictures,
                            const ReportProgress& progress = {});

// "CorvanReport20090223142501.docx"
std::string ReportFileName(const CivilTime& now);

}  // namespace corvan
