#pragma once
// The chart page of the main window: Chart1 over the page, or Chart1 and
// Chart2 side by side for the sector diagrams. Every refresh hands both
// charts a fresh description of the graph chosen.

#include <QWidget>

#include "data/data_set.h"
#include "graphs/chart_description.h"
#include "graphs/graph_kinds.h"
#include "graphs/graph_settings.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"
#include "graphs/vector_graphs.h"

namespace corvan {

class TChartVx;

class TGraphPage : public QWidget {
    Q_OBJECT
public:
    TGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
               const GraphSettings& graphSettings, QWidget* parent = nullptr);

    // Describes and shows the graph for the current range. Returns false
    // when there is nothing to draw from (no data or statistics not valid):
    // the caller shows the list page instead.
    bool ShowGraph(int graphKind, int barKind, int lineKind, int barScale, bool startOfDays, int vectorKind = 0);
    // Shows a page described elsewhere.
    void ShowDescription(const GraphPageDescription& page);
    const GraphPageDescription& Shown() const { return page_; }
    int VectorKindShown() const { return vectorKind_; }
    // The legend texts of the last progressive vector described.
    const ProgressiveLegend& Legend() const { return legend_; }
    // The page as on the screen, zoom included, for printing and copying.
    GraphPageDescription CurrentView() const;

    TChartVx* Chart1 = nullptr;
    TChartVx* Chart2 = nullptr;

signals:
    // The record under a double-click on a line graph.
    void ScrollToRecord(int record);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutCharts();

    const DataSet& data_;
    const Statistics& stats_;
    const ScaleSettings& scale_;
    const GraphSettings& graphSettings_;
    GraphPageDescription page_;
    int graphKind_ = kGraphBar;
    int vectorKind_ = kVectorProgressive;
    ProgressiveLegend legend_ = ProgressiveLegendTexts({}, 0);
};

}  // namespace corvan
