#include "graphs/gui/TGraphPage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <QHBoxLayout>
#include <algorithm>

#include "graphs/chart_series.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/colour_values.h"

namespace corvan {

namespace {
inline constexpr const char* kSvgMimeType = "image/svg+xml";
inline constexpr const char* kNorthCaption = "N";
}

TGraphPage::TGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphSettings& graphSettings, QWidget* parent)
    : QWidget(parent), data_(data), stats_(stats), scale_(scale), graphSettings_(graphSettings) {
    auto* layout = new QHBoxLayout(this);
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

bool TGraphPage::ShowGraph(int graphKind, int barKind, int lineKind, int barScale, bool startOfDays,
                           int vectorKind) {
    if (!data_.dataLoaded || !data_.statisticsValid) return false;
    graphKind_ = graphKind;
    if (graphKind == kGraphVector) vectorKind_ = vectorKind;
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
    } else if (graphKind == kGraphVector && HasCurrent(data_.header)) {
        switch (vectorKind) {
            case kVectorProgressive: ShowProgressiveVector(); break;
            case kVectorStick: ShowStickDiagram(); break;
            case kVectorMaxMean:
            case kVectorFluxNumber:
            case kVectorOxygenFlux: {
                const SectorDiagrams d = BuildSectorDiagrams(stats_.sectors, vectorKind, data_.rangeInterval);
                ShowSectorDiagram(*Chart1, d.left);
                if (d.rightShown) {
                    Chart2->show();
                    ShowSectorDiagram(*Chart2, d.right);
                }
                break;
            }
            default: break;
        }
    }
    chart.zoomAllowed = chart.mode != kModeBars && !chart.polar;
    Chart1->EndUpdate();
    Chart2->EndUpdate();
    UpdateDateAxis();
    return true;
}

void TGraphPage::ShowProgressiveVector() {
    TChartVx& chart = *Chart1;
    std::vector<ProgressivePoint> path;
    const ProgressiveFigures f = ComputeProgressiveFigures(data_, &path);
    legend_ = ProgressiveLegendTexts(f, data_.rangeCount);
    TLineSeriesVx& s = chart.mainSeries;
    s.active = true;
    chart.pointValid.clear();
    double yMin = 0.0, yMax = 0.0;
    for (const ProgressivePoint& pt : path) {
        // An invalid record breaks the line; it resumes at the same place.
        if (pt.valid) s.AddXY(pt.east, pt.north);
        else s.AddNull(pt.east);
        chart.pointValid.push_back(pt.valid);
        yMin = std::min(yMin, pt.north);
        yMax = std::max(yMax, pt.north);
    }
    chart.mode = kModeVector;
    chart.left.increment = 1.0;
    chart.left.labelFormat = "0";
    chart.bottom.increment = 1.0;
    chart.bottom.labelFormat = "0";
    chart.bottomStep = 1.0;
    chart.SetDataRange(yMax, yMin);
    chart.autoAxis = false;
    chart.equalScale = true;
    chart.skippedInvalid = f.plottedCount != data_.rangeCount;
    chart.zeroLines = true;
    chart.dayMarks = data_.rangeInterval > 0;
    chart.dayMarkDt = data_.rangeInterval;
    chart.dayMarkT0 = RecordTime(data_, data_.rangeFirst, data_.currentSeries).Days() - data_.rangeInterval / 86400.0;
}

void TGraphPage::ShowStickDiagram() {
    TChartVx& chart = *Chart1;
    const LineGraph g = BuildLineGraph(data_, scale_, kLineSpeed);
    if (!g.drawn) return;
    const double m = scale_.speedMax;
    chart.mainSeries.active = true;
    chart.mainSeries.points = g.points;
    chart.mainSeries.lineStyle = Qt::NoPen;
    chart.mainSeries.markersVisible = false;
    chart.SetLeftCaption(g.leftCaption);
    chart.left.increment = g.leftIncrement;
    chart.left.labelFormat = g.labelFormat;
    chart.bottom.labelFormat = "0";
    chart.bottomStep = g.bottomStep;
    chart.mode = kModeStick;
    chart.SetDataRange(m, -m);
    chart.sticks = true;
    chart.stickMaximum = m;
    chart.zeroLines = true;
    for (int i = data_.rangeFirst; i <= data_.rangeLast && i < static_cast<int>(data_.records.size()); ++i) {
        chart.stickSpeeds.push_back(data_.records[static_cast<std::size_t>(i)].speed);
        chart.stickDirections.push_back(data_.records[static_cast<std::size_t>(i)].direction);
    }
}

void TGraphPage::ShowSectorDiagram(TChartVx& chart, const SectorDiagram& diagram) {
    chart.polar = true;
    chart.mode = kModeVector;
    chart.autoAxis = false;
    chart.zoomAllowed = false;
    chart.polarValues.assign(diagram.values.begin(), diagram.values.end());
    chart.SetLeftCaption(kNorthCaption);
    chart.SetModeCaption2(diagram.legend);
    chart.SetShown(true);
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
