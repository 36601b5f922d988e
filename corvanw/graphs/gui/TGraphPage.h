#pragma once
// The chart page of the main window: prepares Chart1 and draws the line or
// bar graph of the selected range; copies itself to the clipboard.

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

    // Prepares the page and draws the graph for the current range. Returns
    // false when there is nothing to draw from (no data or statistics not
    // valid): the caller shows the list page instead.
    // Graph kind 2 draws the vector graph of `vectorKind` (VectorKind); it
    // draws nothing without current.
    bool ShowGraph(int graphKind, int barKind, int lineKind, int barScale, bool startOfDays, int vectorKind = 0);
    int VectorKindShown() const { return vectorKind_; }
    // The legend texts of the last progressive vector built.
    const ProgressiveLegend& Legend() const { return legend_; }
    // The page as SVG and PNG on the clipboard. `header` (the title panel)
    // is drawn above the chart when given.
    void CopyToClipboard(QWidget* header = nullptr);
    // The whole page into a picture of its own size.
    void Render(QPainter& painter, const QRect& rect);

    TChartVx* Chart1 = nullptr;
    TChartVx* Chart2 = nullptr;

signals:
    // The record under a double-click on a line graph.
    void ScrollToRecord(int record);

private:
    void ApplySettings(bool lineGraph);
    void UpdateDateAxis();
    void ShowProgressiveVector();
    void ShowStickDiagram();
    void ShowSectorDiagram(TChartVx& chart, const SectorDiagram& diagram);

    const DataSet& data_;
    const Statistics& stats_;
    const ScaleSettings& scale_;
    const GraphSettings& graphSettings_;
    int graphKind_ = kGraphBar;
    bool startOfDays_ = false;
    int vectorKind_ = kVectorProgressive;
    ProgressiveLegend legend_ = ProgressiveLegendTexts({}, 0);
};

}  // namespace corvan
