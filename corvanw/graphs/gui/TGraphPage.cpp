#include "graphs/gui/TGraphPage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include "graphs/chart_series.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/colour_values.h"

namespace corvan {

namespace {
inline constexpr const char* kSvgMimeType = "image/svg+xml";
}

TGraphPage::TGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphSettings& graphSettings, QWidget* parent)
    : QWidget(parent), data_(data), stats_(stats), scale_(scale), graphSettings_(graphSettings) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Chart1 = new TChartVx(this);
    Chart1->setObjectName("Chart1");
    Chart2 = new TChartVx(this);
    Chart2->setObjectName("Chart2");
    Chart2->hide();
    layout->addWidget(Chart1, 1);
    layout->addWidget(Chart2, 1);
    for (TChartVx* c : {Chart1, Chart2}) {
        connect(c, &TChartVx::Zoomed, this, &TGraphPage::UpdateDateAxis);
        connect(c, &TChartVx::ZoomUndone, this, &TGraphPage::UpdateDateAxis);
        connect(c, &TChartVx::Scrolled, this, &TGraphPage::UpdateDateAxis);
    }
    connect(Chart1, &TChartVx::DoubleClickedAt, this, [this](double x) {
        if (graphKind_ != kGraphLine || Chart1->mode != kModeTime || !data_.statisticsValid) return;
        emit ScrollToRecord(RecordAtX(x, data_.rangeInterval, data_.rangeFirst, data_.rangeLast, data_.rangeLast));
    });
}

void TGraphPage::ApplySettings(bool lineGraph) {
    const AppliedColours c =
        ApplyColours(graphSettings_.legendColour, graphSettings_.backgroundColour,
                     lineGraph ? graphSettings_.drawSolidLines : true, graphSettings_.barColour,
                     graphSettings_.lineColour, ButtonFaceRgb());
    for (TChartVx* chart : {Chart1, Chart2}) {
        chart->background = ToQColor(c.chartBackground);
        chart->dateGrid = graphSettings_.dateGridVisible;
        for (TLineSeriesVx* s : {&chart->mainSeries, &chart->directionSeries}) {
            s->markersVisible = c.markersVisible;
            s->markerBrush = ToQColor(c.markerBrush);
            s->lineColour = ToQColor(c.seriesLine);
        }
        chart->barSeries.colour = ToQColor(c.bar);
    }
}

bool TGraphPage::ShowGraph(int graphKind, int barKind, int lineKind, int barScale, bool startOfDays) {
    if (!data_.dataLoaded || !data_.statisticsValid) return false;
    graphKind_ = graphKind;
    startOfDays_ = startOfDays;
    Chart1->BeginUpdate();
    Chart2->BeginUpdate();
    Chart2->hide();
    Chart2->autoAxis = false;
    for (TChartVx* c : {Chart1, Chart2}) c->Reset();
    ApplySettings(graphKind == kGraphLine);

    TChartVx& chart = *Chart1;
    chart.left.increment = 1.0;
    chart.left.labelSeparation = 10;
    chart.bottom.increment = 1.0;
    chart.bottom.labelSeparation = 20;
    chart.SetShown(true);
    chart.mode = kModeTime;
    chart.interval = data_.rangeInterval;
    chart.SetLeftCaption({});

    if (graphKind == kGraphLine) {
        const LineGraph g = BuildLineGraph(data_, scale_, lineKind);
        if (g.drawn) {
            TLineSeriesVx& s = g.direction ? chart.directionSeries : chart.mainSeries;
            s.active = true;
            s.points = g.points;
            chart.SetLeftCaption(g.leftCaption);
            chart.left.increment = g.leftIncrement;
            chart.left.labelFormat = g.labelFormat;
            chart.bottom.labelFormat = "0";
            chart.bottomStep = g.bottomStep;
            chart.SetDataRange(g.dataMaximum, g.dataMinimum);
        }
    } else if (graphKind == kGraphBar) {
        const BarGraph b = BuildBarGraph(data_, stats_, barKind, barScale);
        chart.interval = 1.0;
        chart.bottomStep = 1.0;
        chart.left.labelFormat = "0";
        chart.left.increment = 1.0;
        chart.mode = kModeBars;
        if (b.drawn) {
            chart.barSeries.active = true;
            chart.barSeries.labels = b.labels;
            chart.barSeries.values = b.values;
            chart.barSeries.minimumLabelSpacing = b.minimumLabelSpacing;
            chart.SetLeftCaption(b.leftCaption);
            chart.SetModeCaption3(b.modeCaption);
            chart.SetDataRange(b.dataMaximum, b.dataMinimum);
        }
    }
    // Vector graphs and sector diagrams draw on this page by themselves.
    chart.zoomAllowed = chart.mode != kModeBars;
    Chart1->EndUpdate();
    Chart2->EndUpdate();
    UpdateDateAxis();
    return true;
}

void TGraphPage::UpdateDateAxis() {
    const bool lineShown = Chart1->mainSeries.active || Chart1->directionSeries.active;
    const bool shown = startOfDays_ && Chart1->mode != kModeVector && lineShown && data_.statisticsValid;
    double t0 = 0.0;
    if (shown) t0 = RecordTime(data_, data_.rangeFirst, data_.currentSeries).Days();
    Chart1->SetDateAxis(shown, t0);
    Chart2->SetDateAxis(false, 0.0);
}

void TGraphPage::Render(QPainter& painter, const QRect& rect) {
    const QPoint origin = rect.topLeft();
    Chart1->Draw(painter, Chart1->geometry().translated(origin), false);
    if (Chart2->isVisible()) Chart2->Draw(painter, Chart2->geometry().translated(origin), false);
}

void TGraphPage::CopyToClipboard(QWidget* header) {
    const int headerHeight = header && header->isVisible() ? header->height() : 0;
    const QSize size(width(), height() + headerHeight);
    auto paint = [&](QPainter& p) {
        if (headerHeight > 0) header->render(&p);
        Render(p, QRect(QPoint(0, headerHeight), QSize(width(), height())));
    };
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    {
        QPainter p(&generator);
        paint(p);
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paint(p);
    }
    auto* mime = new QMimeData;
    mime->setData(kSvgMimeType, svg);
    mime->setImageData(image);
    QApplication::clipboard()->setMimeData(mime);
}

}  // namespace corvan
