#include "graphs/gui/TChartVx.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <limits>

namespace corvan {

namespace {

constexpr int kTickLength = 4;
constexpr int kDateTickLength = 10;
constexpr int kMargin = 8;

QString Q(const std::string& s) { return QString::fromStdString(s); }

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

}  // namespace

double TLineSeriesVx::SmallestX() const {
    double x = std::numeric_limits<double>::max();
    for (const ChartPoint& p : points) x = std::min(x, p.x);
    return points.empty() ? 0.0 : x;
}

double TLineSeriesVx::LargestX() const {
    double x = std::numeric_limits<double>::lowest();
    for (const ChartPoint& p : points) x = std::max(x, p.x);
    return points.empty() ? 0.0 : x;
}

TChartVx::TChartVx(QWidget* parent) : QWidget(parent) {
    bottom.labelFormat = "0";
    bottom.labelSeparation = 20;
    bottom.increment = 1.0;
    left.labelSeparation = 10;
    left.labelFormat = "0.0";
    left.increment = 0.1;
    setMouseTracking(false);
    setMinimumSize(120, 90);
}

void TChartVx::SetDataRange(double maximum, double minimum) {
    const AxisRange r = DataRange(maximum, minimum, left.increment);
    dataMinimum_ = r.minimum;
    dataMaximum_ = r.maximum;
}

void TChartVx::SetShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    mainSeries.active = shown;
    update();
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

void TChartVx::Reset() {
    for (TLineSeriesVx* s : {&mainSeries, &directionSeries}) {
        s->active = false;
        s->Clear();
    }
    barSeries.active = false;
    barSeries.Clear();
    mainSeries.lineStyle = Qt::SolidLine;
    zoomed_ = false;
    left.automatic = true;
    bottom.automatic = true;
    dayPositions_.clear();
    leftAxisKnown_ = false;
}

void TChartVx::SetDateAxis(bool shown, double t0Days) {
    dateAxisShown_ = shown && mode != kModeVector;
    t0Days_ = t0Days;
    if (!dateAxisShown_) dayPositions_.clear();
    update();
}

const TLineSeriesVx* TChartVx::ActiveLineSeries() const {
    if (mainSeries.active && mainSeries.HasPoints()) return &mainSeries;
    if (directionSeries.active && directionSeries.HasPoints()) return &directionSeries;
    return nullptr;
}

void TChartVx::AutomaticBottomRange() {
    if (!bottom.automatic) return;
    if (mode == kModeBars) {
        bottom.minimum = 0.0;
        bottom.maximum = std::max<double>(1.0, static_cast<double>(barSeries.values.size()));
        return;
    }
    bottom.minimum = 0.0;
    const TLineSeriesVx* s = ActiveLineSeries();
    bottom.maximum = s ? std::max(s->LargestX(), bottomStep) : 1.0;
}

void TChartVx::ZoomTo(double xMinimum, double xMaximum, double yMinimum, double yMaximum) {
    if (!zoomAllowed || mode == kModeBars) return;
    const TLineSeriesVx* s = ActiveLineSeries();
    const double largest = s ? s->LargestX() : bottom.maximum;
    const double smallest = s ? s->SmallestX() : 0.0;
    AxisRange r = ZoomBottomRange(xMinimum, xMaximum, bottomStep, largest);
    r = KeepInsideData(r.minimum, r.maximum, smallest, largest);
    bottom.automatic = false;
    bottom.minimum = r.minimum;
    bottom.maximum = r.maximum;
    left.automatic = false;
    left.minimum = std::min(yMinimum, yMaximum);
    left.maximum = std::max(yMinimum, yMaximum);
    zoomed_ = true;
    update();
    emit Zoomed();
}

void TChartVx::UndoZoom() {
    bottom.automatic = true;
    left.automatic = true;
    zoomed_ = false;
    update();
    emit ZoomUndone();
}

bool TChartVx::PanBy(int dx, int dy) {
    const TLineSeriesVx* s = ActiveLineSeries();
    if (!zoomed_ || !s || !shown_) return false;
    if (dy != 0 && mode != kModeVector && dx == 0) return false;
    const double length = bottomMap_.endPixel - bottomMap_.startPixel;
    if (length <= 0.0) return false;
    const double dv = dx * (bottom.maximum - bottom.minimum) / length;
    const PanResult r = PanBottomRange(bottom.minimum - dv, bottom.maximum - dv, 0.0, s->LargestX());
    bottom.automatic = false;
    bottom.minimum = r.minimum;
    bottom.maximum = r.maximum;
    update();
    emit Scrolled();
    return r.allowed;
}

void TChartVx::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Draw(p, rect(), true);
}

void TChartVx::Draw(QPainter& p, const QRect& area, bool toScreen) {
    p.save();
    p.setClipRect(area);
    p.fillRect(area, background);
    p.setFont(font());
    const QFontMetrics fm = p.fontMetrics();
    const int fh = fm.height();
    const QString decimal = QLocale::system().decimalPoint();
    const std::string separator = decimal.toStdString();

    AutomaticBottomRange();
    const bool timeAxis = mode == kModeTime || mode == kModeStick;
    const bool dateShown = dateAxisShown_ && timeAxis && (mainSeries.active || directionSeries.active);
    // Foot caption: the time unit, or the mode's own text.
    double bottomIncrement = bottom.increment;
    if (timeAxis) {
        const TimeUnit unit = BottomTimeUnit(bottom.minimum, bottom.maximum, interval);
        footCaption_ = unit.caption;
        bottomIncrement = unit.increment;
    } else if (mode == kModeVector) {
        footCaption_ = modeCaption2_;
    } else {
        footCaption_ = modeCaption3_;
    }
    std::string foot1 = footCaption_, foot2;
    if (const auto cr = footCaption_.find('\r'); cr != std::string::npos) {
        foot1 = footCaption_.substr(0, cr);
        foot2 = footCaption_.substr(cr + 1);
        if (!foot2.empty() && foot2.front() == '\n') foot2.erase(0, 1);
    }

    // Layout: caption above the left axis, labels left and below, the date
    // axis under the bottom axis, the foot at the bottom.
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("-00000.0"));
    const int lift = dateShown ? fh + 1 + kDateTickLength + 6 : 0;
    const int footLines = foot2.empty() ? 1 : 2;
    plot_ = QRect(QPoint(area.left() + kMargin + labelWidth + kTickLength, area.top() + kMargin + fh + 4),
                  QPoint(area.right() - 2 * kMargin,
                         area.bottom() - kMargin - footLines * fh - fh - kTickLength - 4 - lift));
    if (plot_.width() < 2 || plot_.height() < 2) {
        p.restore();
        return;
    }
    bottomMap_ = AxisMapping{bottom.minimum, bottom.maximum, static_cast<double>(plot_.left()),
                             static_cast<double>(plot_.right())};

    // Left axis: the two passes on screen, the shown axis elsewhere.
    const int leftDecimals = FormatDecimals(left.labelFormat);
    std::vector<double> leftLabels;
    if (left.automatic && autoAxis && !axisAdjusted_ && (toScreen || !leftAxisKnown_)) {
        leftAxis_ = AdjustLeftAxis(mode, dataMinimum_, dataMaximum_, left.increment, plot_.height(), plot_.width(),
                                   fh, left.labelSeparation);
        leftAxisKnown_ = true;
    } else if (!left.automatic || !autoAxis) {
        const double lo = left.automatic ? dataMinimum_ : left.minimum;
        const double hi = left.automatic ? dataMaximum_ : left.maximum;
        leftAxis_ = {lo, hi, LabelIncrement(lo, hi, left.increment, plot_.height(), fh, left.labelSeparation)};
    }
    axisAdjusted_ = false;
    if (left.automatic && autoAxis) {
        leftLabels = LeftAxisLabelValues(mode, leftAxis_, dataMinimum_, dataMaximum_, left.increment);
    } else {
        leftLabels = AxisLabelValues(leftAxis_.minimum, leftAxis_.maximum, leftAxis_.increment);
    }
    leftMap_ = AxisMapping{leftAxis_.minimum, leftAxis_.maximum, static_cast<double>(plot_.bottom()),
                           static_cast<double>(plot_.top())};

    const QPen axisPen(Qt::black, 1);
    const QPen gridPen(QColor(128, 128, 128), 0, Qt::DotLine);
    p.setPen(axisPen);
    if (shown_) {
        for (double v : leftLabels) {
            const int y = static_cast<int>(std::lround(leftMap_.ValueToPixel(v)));
            p.drawLine(plot_.left() - kTickLength, y, plot_.left(), y);
            const QString text = Q(AxisLabelText(v, leftAxis_.increment, mode == kModeVector, leftDecimals, separator));
            p.drawText(QRect(area.left(), y - fh / 2, plot_.left() - kTickLength - 2 - area.left(), fh),
                       Qt::AlignRight | Qt::AlignVCenter, text);
        }
        // The left caption stands above the axis, left-aligned with it.
        p.drawText(QPoint(plot_.left(), area.top() + kMargin + fm.ascent()), Q(leftCaption_));
    }

    // Bottom labels: whole time units, or the bars' own.
    const int bottomLabelTop = plot_.bottom() + kTickLength + 2;
    if (shown_ && mode != kModeBars) {
        const double unitCount = LabelIncrement(bottom.minimum / bottomIncrement, bottom.maximum / bottomIncrement, 1.0,
                                                plot_.width(), fm.horizontalAdvance(QStringLiteral("0000")),
                                                bottom.labelSeparation);
        const double inc = std::max(1.0, std::round(unitCount)) * bottomIncrement;
        for (double v : AxisLabelValues(bottom.minimum, bottom.maximum, inc)) {
            const int x = static_cast<int>(std::lround(bottomMap_.ValueToPixel(v)));
            p.drawLine(x, plot_.bottom(), x, plot_.bottom() + kTickLength);
            const QString text = Q(AxisLabelText(v, bottomIncrement, true, FormatDecimals(bottom.labelFormat), separator));
            const int w = fm.horizontalAdvance(text);
            p.drawText(x - w / 2, bottomLabelTop + fm.ascent(), text);
        }
    }

    // Date axis and the day grid.
    dayPositions_.clear();
    if (dateShown && shown_) {
        const AxisRange dr = DateAxisRange(t0Days_, bottom.minimum, bottom.maximum);
        const AxisMapping dateMap{dr.minimum, dr.maximum, bottomMap_.startPixel, bottomMap_.endPixel};
        const double step = LabelIncrement(dr.minimum, dr.maximum, 1.0, plot_.width(),
                                           fm.horizontalAdvance(QStringLiteral("00.Mmm")), bottom.labelSeparation);
        const std::vector<DayMark> days = DateAxisDays(dr, step);
        const int axisY = plot_.bottom() + lift + fh + kTickLength + 2;
        for (const DayMark& d : days) {
            const int x = static_cast<int>(std::lround(dateMap.ValueToPixel(d.days)));
            if (x < plot_.left() || x > plot_.right()) continue;
            p.drawLine(x, axisY - kDateTickLength, x, axisY);
            p.drawText(x + 2, axisY - 2, Q(d.label));
        }
        if (dateGrid) dayPositions_ = DayGridPositions(days, dateMap);
    }
    if (dateGrid && !dayPositions_.empty()) {
        p.save();
        p.setPen(gridPen);
        for (int x : dayPositions_) p.drawLine(x, plot_.bottom() - axisPen.width(), x, plot_.top());
        p.restore();
    }

    // Series, clipped to the plot.
    p.save();
    p.setClipRect(plot_.adjusted(0, -1, 1, 1), Qt::IntersectClip);
    if (barSeries.active && mode == kModeBars) DrawBars(p, fm);
    if (mainSeries.active) DrawLineSeries(p, mainSeries);
    if (directionSeries.active) DrawLineSeries(p, directionSeries);
    p.restore();
    if (barSeries.active && mode == kModeBars && shown_) {
        // The bar labels below the axis, thinned where they would crowd.
        int lastRight = std::numeric_limits<int>::min();
        for (std::size_t i = 0; i < barSeries.labels.size(); ++i) {
            const QString text = Q(barSeries.labels[i]);
            const int x = static_cast<int>(std::lround(bottomMap_.ValueToPixel(static_cast<double>(i) + 0.5)));
            const int w = fm.horizontalAdvance(text);
            if (x - w / 2 < lastRight + barSeries.minimumLabelSpacing) continue;
            p.drawText(x - w / 2, bottomLabelTop + fm.ascent(), text);
            lastRight = x - w / 2 + w;
        }
    }

    // Axes on top of the series.
    if (shown_) {
        p.setPen(axisPen);
        p.drawLine(plot_.bottomLeft(), plot_.topLeft());
        p.drawLine(plot_.bottomLeft(), plot_.bottomRight());
        // Foot, right-justified to the end of the bottom axis.
        const int footTop = area.bottom() - kMargin - footLines * fh;
        const QString f1 = Q(foot1);
        p.drawText(plot_.right() - fm.horizontalAdvance(f1), footTop + fm.ascent(), f1);
        if (!foot2.empty()) {
            const QString f2 = Q(foot2);
            p.drawText(plot_.right() - fm.horizontalAdvance(f2), footTop + fh + fm.ascent(), f2);
        }
    }

    if (dragging_ && pressButton_ == Qt::LeftButton && toScreen) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(pressPoint_, lastPoint_).normalized());
    }
    p.restore();
}

void TChartVx::DrawLineSeries(QPainter& p, const TLineSeriesVx& s) const {
    QPainterPath path;
    bool open = false;
    for (const ChartPoint& pt : s.points) {
        if (pt.null) {
            open = false;
            continue;
        }
        const QPointF q(bottomMap_.ValueToPixel(pt.x), leftMap_.ValueToPixel(pt.y));
        if (open) path.lineTo(q);
        else path.moveTo(q);
        open = true;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(s.lineColour, 1, s.lineStyle));
    p.drawPath(path);
    if (!s.markersVisible) return;
    p.setPen(Qt::NoPen);
    p.setBrush(s.markerBrush);
    const double h = TLineSeriesVx::kMarkerSize / 2.0 + 0.5;
    for (const ChartPoint& pt : s.points) {
        if (pt.null) continue;
        const QPointF c(bottomMap_.ValueToPixel(pt.x), leftMap_.ValueToPixel(pt.y));
        const QPointF diamond[4] = {{c.x(), c.y() - h}, {c.x() + h, c.y()}, {c.x(), c.y() + h}, {c.x() - h, c.y()}};
        p.drawPolygon(diamond, 4);
    }
}

void TChartVx::DrawBars(QPainter& p, const QFontMetrics&) const {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(barSeries.colour);
    const double base = leftMap_.ValueToPixel(std::max(0.0, leftAxis_.minimum));
    for (std::size_t i = 0; i < barSeries.values.size(); ++i) {
        const double x0 = bottomMap_.ValueToPixel(static_cast<double>(i) + 0.15);
        const double x1 = bottomMap_.ValueToPixel(static_cast<double>(i) + 0.85);
        const double y = leftMap_.ValueToPixel(barSeries.values[i]);
        if (barSeries.values[i] <= 0.0) continue;
        p.drawRect(QRectF(QPointF(x0, y), QPointF(x1, base)));
    }
}

void TChartVx::mousePressEvent(QMouseEvent* event) {
    panned_ = false;
    pressButton_ = event->button();
    pressPoint_ = lastPoint_ = event->position().toPoint();
    dragging_ = true;
    if (pressButton_ == Qt::LeftButton) setCursor(MagnifierCursor(true));
    else if (pressButton_ == Qt::RightButton) setCursor(Qt::OpenHandCursor);
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
    if (wasDragging && pressButton_ == Qt::LeftButton && zoomAllowed && mode != kModeBars) {
        const QPoint d = pos - pressPoint_;
        if (d.x() > 3 && d.y() > 3) {
            ZoomTo(bottomMap_.PixelToValue(pressPoint_.x()), bottomMap_.PixelToValue(pos.x()),
                   leftMap_.PixelToValue(pos.y()), leftMap_.PixelToValue(pressPoint_.y()));
        } else if (d.x() < -3 || d.y() < -3) {
            UndoZoom();
        }
    }
    pressButton_ = Qt::NoButton;
    update();
}

void TChartVx::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClickedAt(bottomMap_.PixelToValue(event->position().x()));
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
