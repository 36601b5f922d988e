#include "graphs/gui/TGraphPage.h"

#include "graphs/chart_series.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/colour_values.h"

namespace corvan {

TGraphPage::TGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphSettings& graphSettings, QWidget* parent)
    : QWidget(parent), data_(data), stats_(stats), scale_(scale), graphSettings_(graphSettings) {
    Chart1 = new TChartVx(this);
    Chart1->setObjectName("Chart1");
    Chart2 = new TChartVx(this);
    Chart2->setObjectName("Chart2");
    Chart2->hide();
    connect(Chart1, &TChartVx::DoubleClickedAt, this, [this](double x) {
        if (graphKind_ != kGraphLine || Chart1->Description().mode != kModeTime || !data_.statisticsValid) return;
        emit ScrollToRecord(RecordAtX(x, data_.rangeInterval, data_.rangeFirst, data_.rangeLast, data_.rangeLast));
    });
}

bool TGraphPage::ShowGraph(int graphKind, int barKind, int lineKind, int barScale, bool startOfDays, int vectorKind) {
    if (!data_.dataLoaded || !data_.statisticsValid) return false;
    graphKind_ = graphKind;
    if (graphKind == kGraphVector) vectorKind_ = vectorKind;
    GraphRequest r;
    r.kind = static_cast<GraphKind>(graphKind);
    r.barKind = barKind;
    r.lineKind = lineKind;
    r.vectorKind = vectorKind;
    r.barScale = barScale;
    r.startOfDays = startOfDays;
    ShowDescription(DescribeGraphPage(data_, stats_, scale_, graphSettings_, r, ChartTarget::Screen, ButtonFaceRgb()));
    return true;
}

void TGraphPage::ShowDescription(const GraphPageDescription& page) {
    page_ = page;
    if (page_.legendShown) legend_ = page_.legend;
    Chart1->BeginUpdate();
    Chart2->BeginUpdate();
    Chart1->SetDescription(page_.chart1);
    Chart2->SetDescription(page_.chart2 ? *page_.chart2 : ChartDescription{});
    Chart2->setVisible(page_.chart2.has_value());
    LayOutCharts();
    Chart1->EndUpdate();
    Chart2->EndUpdate();
}

GraphPageDescription TGraphPage::CurrentView() const {
    GraphPageDescription view = page_;
    view.chart1 = Chart1->CurrentView();
    if (view.chart2) view.chart2 = Chart2->CurrentView();
    return view;
}

void TGraphPage::resizeEvent(QResizeEvent*) { LayOutCharts(); }

void TGraphPage::LayOutCharts() {
    // The sector diagrams take the left half, with or without a partner.
    const int half = width() / 2;
    if (page_.chart1HalfWidth) {
        Chart1->setGeometry(0, 0, half, height());
        Chart2->setGeometry(half, 0, width() - half, height());
    } else {
        Chart1->setGeometry(0, 0, width(), height());
    }
}

}  // namespace corvan
