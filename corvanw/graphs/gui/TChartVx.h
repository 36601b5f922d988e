#pragma once
// The program's chart on screen: it holds the description of the graph
// shown and what the user did to it (zoom, pan, undo zoom, the mouse, the
// redraw lock), and paints through the one chart renderer. Everything it
// draws comes from the description; nothing of one graph survives into the
// next, because every graph hands over a fresh description.

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

#include "graphs/chart_description.h"
#include "graphs/chart_layout.h"

namespace corvan {

class TChartVx : public QWidget {
    Q_OBJECT
public:
    explicit TChartVx(QWidget* parent = nullptr);

    // A new graph: the zoom is left, the view follows the description.
    void SetDescription(ChartDescription description);
    const ChartDescription& Description() const { return description_; }
    // The description with the user's zoom and pan laid over it: what is on
    // the screen, for printing and copying.
    ChartDescription CurrentView() const;

    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return lockCount_ > 0; }

    bool IsZoomed() const { return zoomed_; }
    bool ZoomAllowed() const;
    // The rubber band's result, in values.
    void ZoomTo(double xMinimum, double xMaximum, double yMinimum, double yMaximum);
    void UndoZoom();
    // A right-button drag of dx, dy pixels; false when refused.
    bool PanBy(int dx, int dy);
    // The left axis follows the data (false once a zoom fixed it).
    bool LeftAutomatic() const { return !zoomed_; }
    // Bottom range of the view while zoomed; the description's otherwise.
    AxisRange ViewBottom() const { return {bottom_.minimum, bottom_.maximum}; }

    // Results of the last painting.
    const ChartLayout& Layout() const { return layout_; }
    const AxisMapping& BottomMapping() const { return layout_.bottomMap; }
    const AxisMapping& LeftMapping() const { return layout_.leftMap; }
    QRect PlotRect() const;
    const std::vector<int>& DayPositions() const { return layout_.dayGrid; }
    const std::string& FootCaption() const { return layout_.footCaption; }
    const std::string& LeftCaption() const { return layout_.leftCaption; }
    const std::vector<PixelPoint>& DayMarkPixels() const { return layout_.dayMarkPixels; }
    const std::vector<PixelLine>& StickPixels() const { return layout_.sticks; }
    double PolarRadiusMaximum() const { return layout_.polarRadiusMaximum; }
    bool DateAxisShown() const { return description_.dateAxis; }

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
    bool HasPoints() const;
    bool PanVector(int dx, int dy);

    ChartDescription description_;
    ChartLayout layout_;
    int lockCount_ = 0;
    // View state: the zoomed or panned ranges of both axes.
    bool zoomed_ = false;
    ChartAxisRequest bottom_, left_;
    double zoomUnitsPerPixel_ = 0.0;
    // Mouse state of zoom and pan.
    QPoint pressPoint_, lastPoint_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    bool dragging_ = false;
    bool panned_ = false;
};

}  // namespace corvan
