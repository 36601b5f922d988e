#pragma once
// The program's chart: axes with the rounded left axis, time units and the
// date axis, line series with gaps and diamond markers, bar series with
// labels, rubber-band zoom, undo zoom, right-button pan and a redraw lock.
// It paints onto any QPainter (widget, QImage, QPrinter, QSvgGenerator); the
// arithmetic is chart_geometry's.

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

#include "graphs/chart_geometry.h"
#include "graphs/chart_series.h"
#include "graphs/vector_graphs.h"

class QPainter;

namespace corvan {

class TLineSeriesVx {
public:
    static constexpr int kMarkerSize = 3;  // diamonds, flat, no frame

    void Clear() { points.clear(); }
    void AddXY(double x, double y) { points.push_back({x, y, false}); }
    void AddNull(double x) { points.push_back({x, 0.0, true}); }
    bool HasPoints() const { return !points.empty(); }
    double SmallestX() const;
    double LargestX() const;

    // Kept in the order added: x is not sorted.
    std::vector<ChartPoint> points;
    bool active = false;
    QColor lineColour = Qt::red;
    Qt::PenStyle lineStyle = Qt::SolidLine;
    bool markersVisible = false;
    QColor markerBrush = Qt::red;
};

class TBarSeriesVx {
public:
    void Clear() {
        labels.clear();
        values.clear();
    }
    std::vector<std::string> labels;
    std::vector<double> values;
    bool active = false;
    QColor colour = Qt::blue;
    int minimumLabelSpacing = 0;
};

struct ChartAxis {
    double minimum = 0.0;
    double maximum = 1.0;
    double increment = 1.0;
    bool automatic = true;
    std::string labelFormat = "0";
    int labelSeparation = 20;  // percent of a label
};

class TChartVx : public QWidget {
    Q_OBJECT
public:
    explicit TChartVx(QWidget* parent = nullptr);

    void SetLeftCaption(const std::string& caption) { leftCaption_ = caption; }
    const std::string& LeftCaption() const { return leftCaption_; }
    void SetModeCaption2(const std::string& caption) { modeCaption2_ = caption; }
    void SetModeCaption3(const std::string& caption) { modeCaption3_ = caption; }
    void SetDataRange(double maximum, double minimum);
    double DataMinimum() const { return dataMinimum_; }
    double DataMaximum() const { return dataMaximum_; }
    void SetShown(bool shown);
    bool Shown() const { return shown_; }
    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return lockCount_ > 0; }
    void MarkAxisAdjusted() { axisAdjusted_ = true; }

    // Clears every series and leaves the zoomed state: the preparation of
    // every graph.
    void Reset();
    // Shows the date axis from t0 (days) when `shown`.
    void SetDateAxis(bool shown, double t0Days);
    bool DateAxisShown() const { return dateAxisShown_; }

    bool IsZoomed() const { return zoomed_; }
    // The rubber band's result, in values.
    void ZoomTo(double xMinimum, double xMaximum, double yMinimum, double yMaximum);
    void UndoZoom();
    // A right-button drag of `dx` pixels; false when refused.
    bool PanBy(int dx, int dy);

    // Draws the whole chart into `rect`. Only a screen drawing adjusts the
    // left axis; a picture or printer takes the axis as last shown.
    void Draw(QPainter& painter, const QRect& rect, bool toScreen);

    // Mappings of the last drawing.
    const AxisMapping& BottomMapping() const { return bottomMap_; }
    const AxisMapping& LeftMapping() const { return leftMap_; }
    const std::vector<int>& DayPositions() const { return dayPositions_; }
    const std::string& FootCaption() const { return footCaption_; }
    // The rectangle of the plot in the last drawing.
    QRect PlotRect() const { return plot_; }

    ChartMode mode = kModeTime;
    double interval = 1.0;
    double bottomStep = 1.0;
    bool autoAxis = true;
    bool dateGrid = false;
    bool zoomAllowed = true;
    ChartAxis left;
    ChartAxis bottom;
    QColor background = QColor(240, 240, 240);
    TLineSeriesVx mainSeries;
    TLineSeriesVx directionSeries;
    TBarSeriesVx barSeries;

    // Progressive vector (mode 2): equal scale of both axes, the metre or
    // kilometre captions, day marks at the day starts and the zero lines.
    bool equalScale = false;
    bool skippedInvalid = false;  // the north caption notes skipped records
    std::vector<bool> pointValid;  // one per point of the main series
    bool dayMarks = false;
    double dayMarkT0 = 0.0;  // time of point 0, in days
    int dayMarkDt = 0;
    bool zeroLines = false;
    // Stick diagram (mode 4): per record of the series, speed (cm/s) and
    // direction (radians); stickMaximum is the speed axis' M.
    bool sticks = false;
    std::vector<float> stickSpeeds, stickDirections;
    double stickMaximum = 0.0;
    // Sector diagram: one radius per 15 degree sector, drawn round.
    bool polar = false;
    std::vector<double> polarValues;

    // Results of the last drawing.
    const std::vector<PixelPoint>& DayMarkPixels() const { return dayMarkPixels_; }
    const std::vector<PixelLine>& StickPixels() const { return stickPixels_; }
    double PolarRadiusMaximum() const { return polarRadiusMaximum_; }

signals:
    void Zoomed();
    void ZoomUndone();
    void Scrolled();
    // x value under a double-click.
    void DoubleClickedAt(double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const TLineSeriesVx* ActiveLineSeries() const;
    void AutomaticBottomRange();
    void DrawLineSeries(QPainter& p, const TLineSeriesVx& s) const;
    void DrawBars(QPainter& p, const QFontMetrics& fm) const;
    void ApplyEqualScale();
    void DrawVectorExtras(QPainter& p);
    void DrawSticks(QPainter& p);
    void DrawPolar(QPainter& p, const QRect& area, const std::string& foot1, const std::string& foot2);
    bool PanVector(int dx, int dy);

    std::string leftCaption_, modeCaption2_, modeCaption3_, footCaption_;
    double dataMinimum_ = 0.0, dataMaximum_ = 1.0;
    bool shown_ = true;
    int lockCount_ = 0;
    bool axisAdjusted_ = false;
    bool zoomed_ = false;
    bool dateAxisShown_ = false;
    double t0Days_ = 0.0;
    std::vector<int> dayPositions_;
    LeftAxis leftAxis_;
    bool leftAxisKnown_ = false;
    AxisMapping bottomMap_, leftMap_;
    QRect plot_;
    // Mouse state of zoom and pan.
    QPoint pressPoint_, lastPoint_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    bool dragging_ = false;
    bool panned_ = false;
    // Equal scale of a zoomed progressive vector.
    double zoomUnitsPerPixel_ = 0.0;
    bool zoomUnitsKnown_ = false;
    std::vector<PixelPoint> dayMarkPixels_;
    std::vector<PixelLine> stickPixels_;
    double polarRadiusMaximum_ = 0.0;
};

}  // namespace corvan
