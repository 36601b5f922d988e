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
#include <numbers>

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
    equalScale = skippedInvalid = dayMarks = zeroLines = sticks = polar = false;
    pointValid.clear();
    stickSpeeds.clear();
    stickDirections.clear();
    polarValues.clear();
    zoomUnitsKnown_ = false;
    dayMarkPixels_.clear();
    stickPixels_.clear();
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
    if (!zoomAllowed || mode == kModeBars || polar) return;
    const TLineSeriesVx* s = ActiveLineSeries();
    if (mode == kModeVector && s) {
        double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
        double y0 = x0, y1 = x1;
        for (const ChartPoint& pt : s->points) {
            if (pt.null) continue;
            x0 = std::min(x0, pt.x), x1 = std::max(x1, pt.x);
            y0 = std::min(y0, pt.y), y1 = std::max(y1, pt.y);
        }
        const double xa = std::min(xMinimum, xMaximum), xb = std::max(xMinimum, xMaximum);
        const double ya = std::min(yMinimum, yMaximum), yb = std::max(yMinimum, yMaximum);
        const double g = std::min(xb - 3.0 * bottomStep, xa);
        const double lower = x0 - 0.1 * (xb - xa);
        if (g >= lower) {
            bottom.minimum = g;
            bottom.maximum = xb;
        } else {
            bottom.minimum = lower;
            bottom.maximum = lower + std::max(3.0 * bottomStep, std::min(x1 + 0.1 * (xb - xa) - lower, xb - xa));
        }
        const double h = std::max(3.0 * left.increment, std::min(y1 - y0 + 0.2 * (yb - ya), yb - ya));
        left.minimum = yb - h;
        left.maximum = yb;
        bottom.automatic = false;
        left.automatic = false;
        zoomUnitsKnown_ = false;
        zoomed_ = true;
        update();
        emit Zoomed();
        return;
    }
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
    zoomUnitsKnown_ = false;
    update();
    emit ZoomUndone();
}

bool TChartVx::PanBy(int dx, int dy) {
    const TLineSeriesVx* s = ActiveLineSeries();
    if (!zoomed_ || !s || !shown_) return false;
    if (mode == kModeVector) return PanVector(dx, dy);
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
    if (mode == kModeStick) {
        plot_.setLeft(std::max(plot_.left(), area.left() + area.width() / 10));
        plot_.setRight(area.left() + area.width() * 9 / 10);
    }
    if (plot_.width() < 2 || plot_.height() < 2) {
        p.restore();
        return;
    }
    if (polar) {
        DrawPolar(p, area, foot1, foot2);
        p.restore();
        return;
    }
    if (equalScale && mode == kModeVector) {
        ApplyEqualScale();
        footCaption_ = foot1 = modeCaption2_;
        foot2.clear();
        bottomIncrement = bottom.increment;
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
        const bool fromData = left.automatic && !equalScale;
        const double lo = fromData ? dataMinimum_ : left.minimum;
        const double hi = fromData ? dataMaximum_ : left.maximum;
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
            const QString text = Q(AxisLabelText(v, mode == kModeVector ? left.increment : leftAxis_.increment, mode == kModeVector, leftDecimals, separator));
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
    if (sticks && mode == kModeStick) DrawSticks(p);
    if (mainSeries.active) DrawLineSeries(p, mainSeries);
    if (directionSeries.active) DrawLineSeries(p, directionSeries);
    p.restore();
    if (shown_) DrawVectorExtras(p);
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

void TChartVx::ApplyEqualScale() {
    const TLineSeriesVx* s = ActiveLineSeries();
    if (!s) return;
    double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
    double y0 = x0, y1 = x1;
    for (const ChartPoint& pt : s->points) {
        if (pt.null) continue;
        x0 = std::min(x0, pt.x), x1 = std::max(x1, pt.x);
        y0 = std::min(y0, pt.y), y1 = std::max(y1, pt.y);
    }
    if (x0 > x1) return;
    const double bottomLength = plot_.right() - plot_.left();
    const double leftLength = plot_.bottom() - plot_.top();
    if (!zoomed_) {
        const VectorRange r = EqualScaleRange(x0, x1, y0, y1, bottomLength, leftLength);
        bottom.minimum = r.bottomMinimum;
        bottom.maximum = r.bottomMaximum;
        left.minimum = r.leftMinimum;
        left.maximum = r.leftMaximum;
    } else {
        const bool justZoomed = !zoomUnitsKnown_;
        if (justZoomed) {
            zoomUnitsPerPixel_ = ZoomedUnitsPerPixel(bottom.maximum - bottom.minimum, bottomLength,
                                                     left.maximum - left.minimum, leftLength);
            zoomUnitsKnown_ = true;
        }
        bottom.maximum = bottom.minimum + zoomUnitsPerPixel_ * bottomLength;
        left.maximum = left.minimum + zoomUnitsPerPixel_ * leftLength;
        if (justZoomed) {
            const AxisRange b = KeepViewNearData(bottom.minimum, bottom.maximum, x0, x1);
            bottom.minimum = b.minimum, bottom.maximum = b.maximum;
            const AxisRange l = KeepViewNearData(left.minimum, left.maximum, y0, y1);
            left.minimum = l.minimum, left.maximum = l.maximum;
        }
    }
    const VectorAxisCaptions c =
        ProgressiveCaptions(bottom.maximum - bottom.minimum, left.maximum - left.minimum, skippedInvalid);
    bottom.increment = left.increment = c.increment;
    leftCaption_ = c.leftCaption;
    modeCaption2_ = c.footCaption;
}

bool TChartVx::PanVector(int dx, int dy) {
    const TLineSeriesVx* s = ActiveLineSeries();
    double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
    double y0 = x0, y1 = x1;
    for (const ChartPoint& pt : s->points) {
        if (pt.null) continue;
        x0 = std::min(x0, pt.x), x1 = std::max(x1, pt.x);
        y0 = std::min(y0, pt.y), y1 = std::max(y1, pt.y);
    }
    if (x0 > x1) return false;
    bool allowed = true;
    const double bl = bottomMap_.endPixel - bottomMap_.startPixel;
    const double ll = leftMap_.startPixel - leftMap_.endPixel;
    if (bl > 0.0 && dx != 0) {
        const double span = bottom.maximum - bottom.minimum;
        const double dv = dx * span / bl;
        const PanResult r = PanBottomRange(bottom.minimum - dv, bottom.maximum - dv, x0 - 0.1 * span, x1 + 0.1 * span);
        bottom.minimum = r.minimum;
        bottom.maximum = r.maximum;
        allowed = allowed && r.allowed;
    }
    if (ll > 0.0 && dy != 0) {
        const double span = left.maximum - left.minimum;
        const double dv = -dy * span / ll;
        const PanResult r = PanBottomRange(left.minimum - dv, left.maximum - dv, y0 - 0.1 * span, y1 + 0.1 * span);
        left.minimum = r.minimum;
        left.maximum = r.maximum;
        allowed = allowed && r.allowed;
    }
    update();
    emit Scrolled();
    return allowed;
}

void TChartVx::DrawVectorExtras(QPainter& p) {
    dayMarkPixels_.clear();
    if (mode != kModeVector && mode != kModeStick) return;
    p.setPen(QPen(Qt::black, 1));
    if (zeroLines) {
        const double x = bottomMap_.ValueToPixel(0.0);
        if (x >= plot_.left() && x <= plot_.right()) {
            const int xi = static_cast<int>(std::lround(x));
            p.drawLine(xi, plot_.top(), xi, plot_.bottom());
        }
        const double y = leftMap_.ValueToPixel(0.0);
        if (y >= plot_.top() && y <= plot_.bottom()) {
            const int yi = static_cast<int>(std::lround(y));
            p.drawLine(plot_.left(), yi, plot_.right(), yi);
        }
    }
    if (!dayMarks || mode != kModeVector) return;
    std::vector<PixelPoint> pixels;
    pixels.reserve(mainSeries.points.size());
    for (const ChartPoint& pt : mainSeries.points) {
        pixels.push_back({static_cast<int>(std::lround(bottomMap_.ValueToPixel(pt.x))),
                          static_cast<int>(std::lround(leftMap_.ValueToPixel(pt.y)))});
    }
    std::vector<bool> valid = pointValid;
    valid.resize(pixels.size(), false);
    for (int k : DayMarkPoints(dayMarkT0, dayMarkDt, static_cast<int>(pixels.size()))) {
        PixelPoint at;
        if (!DayMarkPosition(pixels, valid, k, at)) continue;
        const std::vector<PixelLine> cross = DayMarkCross(at, plot_.left(), plot_.top(), plot_.right(), plot_.bottom());
        if (cross.empty()) continue;
        dayMarkPixels_.push_back(at);
        for (const PixelLine& l : cross) p.drawLine(l.x0, l.y0, l.x1, l.y1);
    }
}

void TChartVx::DrawSticks(QPainter& p) {
    stickPixels_.clear();
    const int n = static_cast<int>(std::min({stickSpeeds.size(), stickDirections.size(), mainSeries.points.size()}));
    if (n == 0 || leftAxis_.maximum - leftAxis_.minimum == 0.0) return;
    int lo = 0, hi = n - 1;
    if (zoomed_ && interval > 0.0) {
        lo = std::clamp(static_cast<int>(std::lround(bottom.minimum / interval + 0.499999)), 0, n - 1);
        hi = std::clamp(static_cast<int>(std::lround(bottom.maximum / interval - 0.5)), 0, n - 1);
    }
    if (hi < lo) return;
    const double y0 = leftMap_.ValueToPixel(0.0);
    const double yM = leftMap_.ValueToPixel(stickMaximum);
    const double g = stickMaximum > 0.0 ? (y0 - yM) / stickMaximum : y0 - yM;
    std::vector<float> v(stickSpeeds.begin() + lo, stickSpeeds.begin() + hi + 1);
    std::vector<float> d(stickDirections.begin() + lo, stickDirections.begin() + hi + 1);
    std::vector<int> xs;
    for (int k = lo; k <= hi; ++k)
        xs.push_back(static_cast<int>(std::lround(bottomMap_.ValueToPixel(mainSeries.points[k].x))));
    const QPen pen(mainSeries.lineColour, 1);
    stickPixels_ = StickLines(v, d, xs, static_cast<int>(std::lround(y0)), g, pen.width());
    p.setPen(pen);
    for (const PixelLine& l : stickPixels_) p.drawLine(l.x0, l.y0, l.x1, l.y1);
}

void TChartVx::DrawPolar(QPainter& p, const QRect& area, const std::string& foot1, const std::string& foot2) {
    const QFontMetrics fm = p.fontMetrics();
    const int fh = fm.height();
    const QPoint centre = plot_.center();
    const double radius = std::max(1, std::min(plot_.width(), plot_.height()) / 2 - fh);
    double largest = 0.0;
    for (double v : polarValues) largest = std::max(largest, v);
    double increment = 1.0;
    if (largest > 2.0) {
        increment = LabelIncrement(0.0, largest, 1.0, radius, fm.horizontalAdvance(QStringLiteral("0000")), 30);
        polarRadiusMaximum_ = std::ceil(largest / increment) * increment;
    } else {
        polarRadiusMaximum_ = 2.01;
    }
    const double scale = radius / polarRadiusMaximum_;
    const QPen axisPen(Qt::black, 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(128, 128, 128), 0, Qt::DotLine));
    const std::vector<double> rings = AxisLabelValues(0.0, polarRadiusMaximum_, increment);
    for (double r : rings) {
        if (r <= 0.0) continue;
        p.drawEllipse(QPointF(centre), r * scale, r * scale);
    }
    p.setPen(axisPen);
    p.drawEllipse(QPointF(centre), radius, radius);
    p.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    p.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    for (double r : rings) {
        const QString text = Q(AxisLabelText(r, increment, false, 0, "."));
        const int x = static_cast<int>(std::lround(centre.x() + r * scale));
        p.drawText(x - fm.horizontalAdvance(text) / 2, centre.y() + kTickLength + fm.ascent(), text);
    }
    const QString north = Q(leftCaption_);
    p.drawText(centre.x() - fm.horizontalAdvance(north) / 2,
               static_cast<int>(std::lround(centre.y() - radius)) - 2 - fm.descent(), north);
    std::vector<QPointF> pts;
    for (std::size_t k = 0; k < polarValues.size(); ++k) {
        const double a = SectorPolarAngle(static_cast<int>(k)) * std::numbers::pi / 180.0;
        pts.push_back({centre.x() + polarValues[k] * scale * std::cos(a),
                       centre.y() - polarValues[k] * scale * std::sin(a)});
    }
    if (!pts.empty()) {
        p.setPen(QPen(mainSeries.lineColour, 1));
        p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
        for (const QPointF& q : pts) p.drawPoint(q);
    }
    p.setPen(axisPen);
    const int footTop = area.bottom() - kMargin - (foot2.empty() ? 1 : 2) * fh;
    const QString f1 = Q(foot1), f2 = Q(foot2);
    p.drawText(area.center().x() - fm.horizontalAdvance(f1) / 2, footTop + fm.ascent(), f1);
    if (!foot2.empty()) p.drawText(area.center().x() - fm.horizontalAdvance(f2) / 2, footTop + fh + fm.ascent(), f2);
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
