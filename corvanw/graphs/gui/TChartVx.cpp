#include "graphs/gui/TChartVx.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

#include "graphs/gui/chart_painter.h"

namespace corvan {

namespace {

// The magnifier of the zoom cursors; the hand of panning is Qt's own.
QCursor MagnifierCursor(bool plus) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(2, 2, 13, 13));
    p.drawLine(QPointF(13.5, 13.5), QPointF(21, 21));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(5.5, 8.5), QPointF(11.5, 8.5));
    if (plus) p.drawLine(QPointF(8.5, 5.5), QPointF(8.5, 11.5));
    return QCursor(pm, 8, 8);
}

// Smallest and largest x of every point, gaps included: the limits of the
// time axis.
AxisRange XLimits(const ChartLine& line) {
    if (line.points.empty()) return {0.0, 0.0};
    AxisRange r{line.points.front().x, line.points.front().x};
    for (const ChartPoint& p : line.points) {
        r.minimum = std::min(r.minimum, p.x);
        r.maximum = std::max(r.maximum, p.x);
    }
    return r;
}

}  // namespace

TChartVx::TChartVx(QWidget* parent) : QWidget(parent) {
    setFont(ChartFont());
    setMouseTracking(false);
    setMinimumSize(120, 90);
}

void TChartVx::SetDescription(ChartDescription description) {
    description_ = std::move(description);
    zoomed_ = false;
    zoomUnitsPerPixel_ = 0.0;
    bottom_ = description_.bottom;
    left_ = description_.left;
    panned_ = false;
    update();
}

ChartDescription TChartVx::CurrentView() const {
    ChartDescription d = description_;
    if (!zoomed_) return d;
    d.zoomed = true;
    d.bottom.automatic = false;
    d.bottom.minimum = bottom_.minimum;
    d.bottom.maximum = bottom_.maximum;
    d.left.automatic = false;
    d.left.minimum = left_.minimum;
    d.left.maximum = left_.maximum;
    d.zoomUnitsPerPixel = zoomUnitsPerPixel_;
    return d;
}

void TChartVx::BeginUpdate() {
    if (lockCount_++ == 0) setUpdatesEnabled(false);
}

void TChartVx::EndUpdate() {
    if (lockCount_ == 0) return;
    if (--lockCount_ == 0) {
        setUpdatesEnabled(true);
        update();
    }
}

QRect TChartVx::PlotRect() const {
    const ChartRect& r = layout_.plot;
    return QRect(QPoint(static_cast<int>(r.left), static_cast<int>(r.top)),
                 QPoint(static_cast<int>(r.right), static_cast<int>(r.bottom)));
}

bool TChartVx::HasPoints() const { return description_.line && !description_.line->points.empty(); }

bool TChartVx::ZoomAllowed() const { return description_.mode != kModeBars && !description_.empty; }

void TChartVx::ZoomTo(double xMinimum, double xMaximum, double yMinimum, double yMaximum) {
    if (!ZoomAllowed()) return;
    const double xa = std::min(xMinimum, xMaximum), xb = std::max(xMinimum, xMaximum);
    const double ya = std::min(yMinimum, yMaximum), yb = std::max(yMinimum, yMaximum);
    if (description_.polar) {
        // A round diagram zooms towards its centre: the farthest corner of
        // the rectangle becomes the outer circle.
        const double r = std::max({std::hypot(xa, ya), std::hypot(xa, yb), std::hypot(xb, ya), std::hypot(xb, yb)});
        if (!(r > 0.0)) return;
        bottom_.minimum = left_.minimum = -r;
        bottom_.maximum = left_.maximum = r;
    } else if (description_.mode == kModeVector) {
        PointExtent e;
        if (!description_.line || !ExtentOfPoints(description_.line->points, e)) return;
        const double step = description_.bottomStep;
        const double g = std::min(xb - 3.0 * step, xa);
        const double lower = e.xMinimum - 0.1 * (xb - xa);
        if (g >= lower) {
            bottom_.minimum = g;
            bottom_.maximum = xb;
        } else {
            bottom_.minimum = lower;
            bottom_.maximum = lower + std::max(3.0 * step, std::min(e.xMaximum + 0.1 * (xb - xa) - lower, xb - xa));
        }
        const double h =
            std::max(3.0 * description_.left.increment, std::min(e.yMaximum - e.yMinimum + 0.2 * (yb - ya), yb - ya));
        left_.minimum = yb - h;
        left_.maximum = yb;
        // The equal scale of the zoomed view is found at the next painting.
        zoomUnitsPerPixel_ = 0.0;
    } else {
        const AxisRange limits = description_.line ? XLimits(*description_.line) : AxisRange{0.0, bottom_.maximum};
        AxisRange r = ZoomBottomRange(xa, xb, description_.bottomStep, limits.maximum);
        r = KeepInsideData(r.minimum, r.maximum, limits.minimum, limits.maximum);
        bottom_.minimum = r.minimum;
        bottom_.maximum = r.maximum;
        left_.minimum = ya;
        left_.maximum = yb;
    }
    zoomed_ = true;
    update();
    emit Zoomed();
}

void TChartVx::UndoZoom() {
    zoomed_ = false;
    zoomUnitsPerPixel_ = 0.0;
    bottom_ = description_.bottom;
    left_ = description_.left;
    update();
    emit ZoomUndone();
}

bool TChartVx::PanBy(int dx, int dy) {
    if (!zoomed_ || !HasPoints() || description_.polar) return false;
    if (description_.mode == kModeVector) return PanVector(dx, dy);
    // Time graphs pan only sideways.
    if (dx == 0) return false;
    const double length = layout_.bottomMap.endPixel - layout_.bottomMap.startPixel;
    if (length <= 0.0) return false;
    const double dv = dx * (bottom_.maximum - bottom_.minimum) / length;
    const PanResult r =
        PanBottomRange(bottom_.minimum - dv, bottom_.maximum - dv, 0.0, XLimits(*description_.line).maximum);
    bottom_.minimum = r.minimum;
    bottom_.maximum = r.maximum;
    update();
    emit Scrolled();
    return r.allowed;
}

bool TChartVx::PanVector(int dx, int dy) {
    PointExtent e;
    if (!ExtentOfPoints(description_.line->points, e)) return false;
    bool allowed = true;
    const double bl = layout_.bottomMap.endPixel - layout_.bottomMap.startPixel;
    const double ll = layout_.leftMap.startPixel - layout_.leftMap.endPixel;
    if (bl > 0.0 && dx != 0) {
        const double span = bottom_.maximum - bottom_.minimum;
        const double dv = dx * span / bl;
        const PanResult r = PanBottomRange(bottom_.minimum - dv, bottom_.maximum - dv, e.xMinimum - 0.1 * span,
                                           e.xMaximum + 0.1 * span);
        bottom_.minimum = r.minimum;
        bottom_.maximum = r.maximum;
        allowed = allowed && r.allowed;
    }
    if (ll > 0.0 && dy != 0) {
        const double span = left_.maximum - left_.minimum;
        const double dv = -dy * span / ll;
        const PanResult r =
            PanBottomRange(left_.minimum - dv, left_.maximum - dv, e.yMinimum - 0.1 * span, e.yMaximum + 0.1 * span);
        left_.minimum = r.minimum;
        left_.maximum = r.maximum;
        allowed = allowed && r.allowed;
    }
    update();
    emit Scrolled();
    return allowed;
}

void TChartVx::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    layout_ = PaintChart(p, QRectF(rect()), CurrentView());
    if (zoomed_ && description_.equalScale && zoomUnitsPerPixel_ <= 0.0 && layout_.zoomUnitsPerPixel > 0.0) {
        // The zoomed view as the equal scale and the data extent left it;
        // later paintings keep this scale.
        zoomUnitsPerPixel_ = layout_.zoomUnitsPerPixel;
        bottom_.minimum = layout_.bottom.minimum;
        bottom_.maximum = layout_.bottom.maximum;
        left_.minimum = layout_.leftAxis.minimum;
        left_.maximum = layout_.leftAxis.maximum;
    }
    if (dragging_ && pressButton_ == Qt::LeftButton) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(pressPoint_, lastPoint_).normalized());
    }
}

void TChartVx::mousePressEvent(QMouseEvent* event) {
    panned_ = false;
    pressButton_ = event->button();
    pressPoint_ = lastPoint_ = event->position().toPoint();
    dragging_ = true;
    if (pressButton_ == Qt::LeftButton)
        setCursor(MagnifierCursor(true));
    else if (pressButton_ == Qt::RightButton)
        setCursor(Qt::OpenHandCursor);
    grabMouse();
}

void TChartVx::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint pos = event->position().toPoint();
    if (pressButton_ == Qt::LeftButton) {
        const bool in = pos.x() > pressPoint_.x() && pos.y() > pressPoint_.y();
        setCursor(MagnifierCursor(in));
        lastPoint_ = pos;
        update();
    } else if (pressButton_ == Qt::RightButton) {
        const QPoint d = pos - lastPoint_;
        lastPoint_ = pos;
        if (d.x() != 0 || d.y() != 0) {
            if (PanBy(d.x(), d.y()) || zoomed_) panned_ = true;
        }
    }
}

void TChartVx::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    releaseMouse();
    unsetCursor();
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (wasDragging && pressButton_ == Qt::LeftButton && ZoomAllowed()) {
        const QPoint d = pos - pressPoint_;
        if (d.x() > 3 && d.y() > 3) {
            if (description_.polar) {
                // Values of a round diagram: distances from its centre.
                const double perPixel = layout_.polarRadiusMaximum / std::max(1.0, layout_.polarRadius);
                const auto vx = [&](int x) { return (x - layout_.polarCentreX) * perPixel; };
                const auto vy = [&](int y) { return (layout_.polarCentreY - y) * perPixel; };
                ZoomTo(vx(pressPoint_.x()), vx(pos.x()), vy(pos.y()), vy(pressPoint_.y()));
            } else {
                ZoomTo(layout_.bottomMap.PixelToValue(pressPoint_.x()), layout_.bottomMap.PixelToValue(pos.x()),
                       layout_.leftMap.PixelToValue(pos.y()), layout_.leftMap.PixelToValue(pressPoint_.y()));
            }
        } else if (d.x() < -3 || d.y() < -3) {
            UndoZoom();
        }
    }
    pressButton_ = Qt::NoButton;
    update();
}

void TChartVx::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClickedAt(layout_.bottomMap.PixelToValue(event->position().x()));
}

void TChartVx::contextMenuEvent(QContextMenuEvent* event) {
    // A pan with the right button is no request for the menu.
    if (panned_) {
        panned_ = false;
        event->accept();
        return;
    }
    event->ignore();
}

}  // namespace corvan
