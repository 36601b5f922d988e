#include "report/report_builder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "data/file_error.h"
#include "graphs/chart_series.h"
#include "report/report_template.h"
#include "ui/window_rules.h"

namespace corvan {

namespace {

// The vector menu's entries, shown after the title of the sector diagrams.
constexpr const char* kMaxMeanCaption = "Max / mean velocity";
constexpr const char* kFluxCountCaption = "Relative flux / Number measured";
constexpr const char* kOxygenRoseCaption = "Relative Ox flux";

std::string Title(const DataSet& data, InnerPage innerPage, GraphKind graphMode, int kind) {
    ViewState v;
    v.page = kPageViews;
    v.innerPage = innerPage;
    v.graphMode = graphMode;
    v.lineChannel = kind;
    v.barKind = kind;
    v.vectorKind = kind;
    return ViewTitle(v, data);
}

ReportViewItem Item(ReportView view, const std::string& title) { return {view, title, title}; }

ReportViewItem Line(const DataSet& data, ReportView view, int channel) {
    return Item(view, Title(data, kInnerChart, kGraphLine, channel));
}

ReportViewItem Vector(const DataSet& data, ReportView view, int kind, const char* caption = nullptr) {
    ReportViewItem item = Item(view, Title(data, kInnerChart, kGraphVector, kind));
    if (caption) item.description += std::string(" - ") + caption;
    return item;
}

struct LoadedPosition {
    std::unique_ptr<DataSet> data;
    ScaleSettings scale;
    Statistics stats;
};

std::unique_ptr<LoadedPosition> LoadPosition(const ReportPositionRequest& request, const ScaleSettings& scale) {
    auto loaded = std::make_unique<LoadedPosition>();
    loaded->data = std::make_unique<DataSet>();
    DataSet& data = *loaded->data;
    data.baseName = request.baseName;
    const std::string fileName = MeasurementFileName(request.baseName);
    const LoadOutcome outcome = LoadMeasurementFiles(data);
    if (!outcome.message.empty()) throw FileError(fileName, outcome.message);
    if (!outcome.measurementFileFound || !data.dataLoaded) throw FileError(fileName, "cannot be read");
    const std::string refused = SelectSeriesRange(data, request.range);
    if (!refused.empty()) throw FileError(fileName, refused);
    loaded->scale = scale;
    ComputeStatistics(data, loaded->scale, loaded->stats);
    loaded->stats.progressive = ComputeProgressiveFigures(data);
    return loaded;
}

}  // namespace

std::vector<ReportViewItem> ReportViews(const DataSet& data) {
    const MeasurementFileHeader& h = data.header;
    std::vector<ReportViewItem> views;
    views.push_back(Line(data, ReportView::Temperature, kLineTemperature));
    if (!HasCurrent(h)) return views;
    views.push_back(Line(data, ReportView::Speed, kLineSpeed));
    if (h.instrumentType == 3) {
        views.push_back(Line(data, ReportView::Optional, kLineOptional));
        if (h.sensorKind == 2 || h.sensorKind == 3) views.push_back(Line(data, ReportView::Flux, kLineFlux));
        if (h.sensorKind == 1) {
            views.push_back(Line(data, ReportView::OxygenMgl, kLineOxygenMgl));
            views.push_back(Line(data, ReportView::OxygenFlux, kLineOxygenFlux));
        }
    }
    views.push_back(Item(ReportView::SpeedBar, Title(data, kInnerChart, kGraphBar, kBarSpeed)));
    views.push_back(Item(ReportView::DirectionBar, Title(data, kInnerChart, kGraphBar, kBarDirection)));
    views.push_back(Vector(data, ReportView::Progressive, 0));
    views.push_back(Vector(data, ReportView::MaxMean, 1, kMaxMeanCaption));
    views.push_back(Vector(data, ReportView::FluxCount, 2, kFluxCountCaption));
    if (h.instrumentType == 3 && h.sensorKind == 1)
        views.push_back(Vector(data, ReportView::OxygenRose, 4, kOxygenRoseCaption));
    views.push_back(Vector(data, ReportView::Stick, 3));
    views.push_back(Item(ReportView::Matrix, Title(data, kInnerTable, kGraphBar, 0)));
    return views;
}

PictureSize FitInto(double layoutWidth, double layoutHeight, double slotWidth, double slotHeight) {
    if (layoutWidth <= 0 || layoutHeight <= 0) return {slotWidth, slotHeight};
    const double scale = std::min(slotWidth / layoutWidth, slotHeight / layoutHeight);
    return {layoutWidth * scale, layoutHeight * scale};
}

std::string ReportFileName(const CivilTime& now) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "CorvanReport%04d%02d%02d%02d%02d%02d.docx", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    return buf;
}

ReportOutcome ProduceReport(const ReportRequest& request, ReportPictureSource* pictures,
                            const ReportProgress& progress) {
    ReportOutcome outcome;
    ReportDocument document(ReadReportTemplate(request.templateFileName), request.templateFileName);

    // Every file is read and every range checked before anything is drawn,
    // so a mistake costs no time and writes nothing.
    std::array<std::unique_ptr<LoadedPosition>, kReportPositionCount> loaded;
    for (int i = 0; i < kReportPositionCount; ++i) {
        const ReportPositionRequest& position = request.positions[static_cast<std::size_t>(i)];
        if (position.baseName.empty()) continue;
        if (!FileExists(MeasurementFileName(position.baseName))) {
            outcome.notes.push_back(MeasurementFileName(position.baseName) + ": not found, position left out");
            continue;
        }
        loaded[static_cast<std::size_t>(i)] = LoadPosition(position, request.scale);
    }

    const UsablePage page = UsablePageOf(document.LastSectionPageSetup());
    // No page layout is known here, so every position gets the height of
    // two graphs below a heading at the top of a page.
    const int graphHeight = ReportGraphHeight(page.height);
    int totalSteps = 1;
    std::array<std::vector<ReportViewItem>, kReportPositionCount> views;
    for (int i = 0; i < kReportPositionCount; ++i) {
        const auto& position = loaded[static_cast<std::size_t>(i)];
        if (position && document.HasSection(kSectionPlaceholders[static_cast<std::size_t>(i)])) {
            views[static_cast<std::size_t>(i)] = ReportViews(*position->data);
            totalSteps += static_cast<int>(views[static_cast<std::size_t>(i)].size());
        }
    }
    int done = 0;
    const auto step = [&](const std::string& what) {
        if (progress && !progress(done, totalSteps, what)) outcome.cancelled = true;
        ++done;
        return !outcome.cancelled;
    };

    for (const Replacement& r : SiteReplacements(request.facts, request.today)) document.ReplaceAll(r.first, r.second);

    int modeType = request.fallbackInstrumentType;
    for (const auto& position : loaded) {
        if (position) {
            modeType = position->data->header.instrumentType;
            break;
        }
    }
    const auto [measMode, typeLead] = MeasuringModeTexts(std::max(modeType, 0));
    document.ReplaceAll("{corvanMeasMode}", measMode);
    document.ReplaceAll("{corvanTypeLead}", typeLead);

    for (int i = 0; i < kReportPositionCount; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const std::string section = kSectionPlaceholders[k];
        const std::string prefix = kPositionPrefixes[k];
        const LoadedPosition* position = loaded[k].get();
        if (!document.HasSection(section)) {
            // Without its section the position is left out; its values must
            // not stay behind as raw placeholders.
            if (position) outcome.notes.push_back(section + " is not in the template, position left out");
            for (const Replacement& r : EmptyPositionReplacements(prefix)) document.ReplaceAll(r.first, r.second);
            continue;
        }
        if (!position) {
            document.RemoveSection(section);
            for (const Replacement& r : EmptyPositionReplacements(prefix)) document.ReplaceAll(r.first, r.second);
            continue;
        }
        outcome.presentSet |= 1 << i;
        const DataSet& data = *position->data;
        std::vector<ReportPicture> drawn;
        for (const ReportViewItem& item : views[k]) {
            if (!step(item.description)) return outcome;
            if (!pictures) continue;
            ReportPictureRequest pr;
            pr.item = item;
            pr.barPercent = request.barPercent;
            pr.startOfDays = request.startOfDays;
            pr.legend = request.legend;
            if (item.view == ReportView::Matrix) {
                pr.widthPt = page.width;
                pr.heightPt = page.height - 20;
            } else if (request.autoSize) {
                pr.layoutWidth = page.width;
                pr.layoutHeight = graphHeight;
                pr.widthPt = page.width;
                pr.heightPt = graphHeight;
            } else {
                pr.layoutWidth = std::max(1, request.graphAreaWidth);
                pr.layoutHeight = std::max(1, request.graphAreaHeight);
                const PictureSize fit = FitInto(pr.layoutWidth, pr.layoutHeight, page.width, graphHeight);
                pr.widthPt = fit.width;
                pr.heightPt = fit.height;
            }
            ReportPicture picture = pictures->Draw(data, position->scale, position->stats, pr);
            if (picture.png.empty()) continue;
            if (picture.description.empty()) picture.description = item.description;
            drawn.push_back(std::move(picture));
        }
        outcome.pictureCount += static_cast<int>(drawn.size());
        const SummaryTable table = ReportSummaryTable(data, position->stats, request.decimalSeparator);
        document.FillSection(section, PositionHeading(i, request.facts.depth[0]), drawn,
                             HasCurrent(data.header) ? &table : nullptr, page.width);
        for (const Replacement& r : PositionReplacements(data, position->stats, prefix, request.decimalSeparator))
            document.ReplaceAll(r.first, r.second);
    }

    const auto [contents1, contents2] = ContentsLines(outcome.presentSet);
    document.ReplaceAll("{corvanInnhold1}", contents1);
    document.ReplaceAll("{corvanInnhold2}", contents2);
    document.ApplySuperscripts();
    if (!step("saving")) return outcome;
    document.Save(request.outputFileName);
    return outcome;
}

}  // namespace corvan
