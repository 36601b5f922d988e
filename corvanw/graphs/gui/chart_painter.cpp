#include "graphs/gui/chart_painter.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace corvan {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr int kChartFontPixels = 12;
constexpr double kHeaderMargin = 6.0;

QColor Colour(ChartColour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

void DrawText(QPainter& p, const QPointF& origin, const ChartText& t) {
    if (!t.text.empty()) p.drawText(origin + QPointF(t.x, t.y), Q(t.text));
}

void DrawSegment(QPainter& p, const QPointF& o, const PixelLine& l) {
    p.drawLine(o + QPointF(l.x0, l.y0), o + QPointF(l.x1, l.y1));
}

void DrawLine(QPainter& p, const QPointF& o, const ChartLayout& L, const ChartLine& line) {
    if (line.lineVisible) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Colour(line.colour), 1));
        // Thousands of points share a pixel column on a long series: each
        // column keeps its first, lowest, highest and last point, which draws
        // the same picture at a fraction of the cost.
        std::vector<QPointF> run;
        run.reserve(4096);
        struct Column {
            int x = std::numeric_limits<int>::min();
            QPointF first, low, high, last;
            int count = 0;
        } col;
        auto emitColumn = [&] {
            if (col.count == 0) return;
            run.push_back(col.first);
            if (col.count > 2) {
                // Down and up in the column's order of appearance hardly
                // matters: both run along the same pixel column.
                run.push_back(col.low);
                run.push_back(col.high);
            }
            if (col.count > 1) run.push_back(col.last);
            col.count = 0;
        };
        auto flush = [&] {
            emitColumn();
            if (run.size() > 1)
                p.drawPolyline(run.data(), static_cast<int>(run.size()));
            else if (run.size() == 1)
                p.drawPoint(run.front());
            run.clear();
        };
        for (const ChartPoint& pt : line.points) {
            if (pt.null) {
                flush();
                continue;
            }
            const QPointF q = o + QPointF(L.bottomMap.ValueToPixel(pt.x), L.leftMap.ValueToPixel(pt.y));
            const int x = static_cast<int>(std::floor(q.x()));
            if (col.count == 0 || x != col.x) {
                emitColumn();
                col.x = x;
                col.first = col.low = col.high = col.last = q;
                col.count = 1;
                continue;
            }
            if (q.y() > col.low.y()) col.low = q;
            if (q.y() < col.high.y()) col.high = q;
            col.last = q;
            ++col.count;
        }
        flush();
    }
    if (!line.markersVisible) return;
    // Diamonds of 3 x 3 pixels, flat, no frame.
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(line.markerColour));
    const double h = 2.0;
    for (const ChartPoint& pt : line.points) {
        if (pt.null) continue;
        const QPointF c = o + QPointF(L.bottomMap.ValueToPixel(pt.x), L.leftMap.ValueToPixel(pt.y));
        const QPointF diamond[4] = {{c.x(), c.y() - h}, {c.x() + h, c.y()}, {c.x(), c.y() + h}, {c.x() - h, c.y()}};
        p.drawPolygon(diamond, 4);
    }
}

void DrawPolar(QPainter& p, const QPointF& o, const ChartDescription& chart, const ChartLayout& L) {
    const QPointF centre = o + QPointF(L.polarCentreX, L.polarCentreY);
    const QPen axisPen(Colour(chart.axisColour), 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Colour(kChartGrey), 0, Qt::DotLine));
    for (double r : L.polarRings) p.drawEllipse(centre, r, r);
    p.setPen(axisPen);
    const double R = L.polarRadius;
    p.drawEllipse(centre, R, R);
    p.drawLine(centre - QPointF(R, 0), centre + QPointF(R, 0));
    p.drawLine(centre - QPointF(0, R), centre + QPointF(0, R));
    for (const ChartText& t : L.polarLabels) DrawText(p, o, t);
    DrawText(p, o, L.leftCaptionText);
    // The outline through the sector values with a small star at each.
    QPolygonF outline;
    for (const auto& [x, y] : L.polarPoints) outline << o + QPointF(x, y);
    const QColor colour = Colour(chart.polar->colour);
    p.setPen(QPen(colour, 1));
    // A zoomed diagram shows what lies inside its outer circle.
    QPainterPath circle;
    circle.addEllipse(centre, R + 1, R + 1);
    p.save();
    p.setClipPath(circle, Qt::IntersectClip);
    p.drawPolygon(outline);
    for (const QPointF& q : outline) {
        p.drawLine(q - QPointF(1, 0), q + QPointF(1, 0));
        p.drawLine(q - QPointF(0, 1), q + QPointF(0, 1));
    }
    p.restore();
    p.setPen(axisPen);
    for (const ChartText& t : L.foot) DrawText(p, o, t);
}

}  // namespace

QFont ChartFont() {
    QFont f;
    f.setPixelSize(kChartFontPixels);
    return f;
}

ChartLayout PaintChart(QPainter& p, const QRectF& rect, const ChartDescription& chart) {
    const QFontMetricsF fm(p.font(), p.device());
    ChartMetrics m;
    m.width = rect.width();
    m.height = rect.height();
    m.fontHeight = std::ceil(fm.height());
    m.fontAscent = std::ceil(fm.ascent());
    m.textWidth = [&fm](const std::string& s) { return fm.horizontalAdvance(Q(s)); };
    m.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    ChartLayout L = LayOutChart(chart, m);

    const QPointF o = rect.topLeft();
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.fillRect(rect, Colour(chart.background));
    if (!L.drawable) {
        p.restore();
        return L;
    }
    if (chart.polar) {
        DrawPolar(p, o, chart, L);
        p.restore();
        return L;
    }
    const QPen axisPen(Colour(chart.axisColour), 1);
    const QPen gridPen(Colour(kChartGrey), 0, Qt::DotLine);
    const QRectF plot(o + QPointF(L.plot.left, L.plot.top), o + QPointF(L.plot.right, L.plot.bottom));

    p.setPen(axisPen);
    for (const PixelLine& t : L.leftTicks) DrawSegment(p, o, t);
    for (const ChartText& t : L.leftLabels) DrawText(p, o, t);
    DrawText(p, o, L.leftCaptionText);
    for (const PixelLine& t : L.bottomTicks) DrawSegment(p, o, t);
    for (const PixelLine& t : L.minorTicks) DrawSegment(p, o, t);
    for (const ChartText& t : L.bottomLabels) DrawText(p, o, t);
    for (const PixelLine& t : L.dateTicks) DrawSegment(p, o, t);
    for (const ChartText& t : L.dateLabels) DrawText(p, o, t);
    if (!L.dayGrid.empty()) {
        p.setPen(gridPen);
        for (int x : L.dayGrid) p.drawLine(o + QPointF(x, L.plot.bottom - 1), o + QPointF(x, L.plot.top));
    }

    // Series, clipped to the plot.
    p.save();
    p.setClipRect(plot.adjusted(0, -1, 1, 1), Qt::IntersectClip);
    if (chart.bars) {
        p.setPen(axisPen);
        p.setBrush(Colour(chart.bars->colour));
        for (const ChartBarRect& b : L.bars) p.drawRect(QRectF(o + QPointF(b.x0, b.top), o + QPointF(b.x1, b.base)));
    }
    if (!L.sticks.empty()) {
        p.setPen(QPen(Colour(chart.line->colour), 1));
        for (const PixelLine& l : L.sticks) DrawSegment(p, o, l);
    }
    if (chart.line) DrawLine(p, o, L, *chart.line);
    p.restore();

    p.setPen(axisPen);
    for (const PixelLine& l : L.zeroLines) DrawSegment(p, o, l);
    for (const PixelLine& l : L.dayMarkStrokes) DrawSegment(p, o, l);
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (const ChartText& t : L.foot) DrawText(p, o, t);
    p.restore();
    return L;
}

void PaintGraphPage(QPainter& p, const QRectF& rect, const GraphPageDescription& page) {
    if (!page.chart1HalfWidth) {
        PaintChart(p, rect, page.chart1);
        return;
    }
    const double half = std::floor(rect.width() / 2.0);
    const QRectF left(rect.left(), rect.top(), half, rect.height());
    const QRectF right(rect.left() + half, rect.top(), rect.width() - half, rect.height());
    PaintChart(p, left, page.chart1);
    // The right half shows the page's own background when it has no diagram.
    if (page.chart2)
        PaintChart(p, right, *page.chart2);
    else
        p.fillRect(right, Colour(page.chart1.background));
}

namespace {

std::vector<std::string> HeaderLines(const GraphHeader& h) {
    return {h.info.fileName + "    " + h.info.refNumber, h.info.seriesNumber + "    " + h.info.intervalTime,
            h.info.displayedFromTo, h.info.measurementCount};
}

std::string LegendLine(const GraphHeader& h) {
    std::string s = h.legend.neumann + "    " + h.legend.averageSpeed + "    " + h.legend.restSpeed + "    " +
                    h.legend.restDirection;
    if (h.legend.validPointsShown) s += "    " + h.legend.validPoints;
    return s;
}

}  // namespace

double GraphHeaderHeight(const QFont& font, const GraphHeader& header) {
    const QFontMetricsF fm(font);
    const int lines = 1 + static_cast<int>(HeaderLines(header).size()) + (header.legendShown ? 1 : 0);
    return std::ceil(2 * kHeaderMargin + lines * fm.height() + (header.legendShown ? kHeaderMargin : 0.0));
}

void PaintGraphHeader(QPainter& p, const QRectF& rect, const GraphHeader& header) {
    p.save();
    p.fillRect(rect, Qt::white);
    p.setPen(Qt::black);
    const QFont base = p.font();
    QFont bold = base;
    bold.setBold(true);
    const QFontMetricsF fm(base, p.device());
    double y = rect.top() + kHeaderMargin;
    p.setFont(bold);
    p.drawText(QPointF(rect.left() + kHeaderMargin, y + fm.ascent()), Q(header.title));
    p.setFont(base);
    y += fm.height();
    for (const std::string& line : HeaderLines(header)) {
        p.drawText(QPointF(rect.left() + kHeaderMargin, y + fm.ascent()), Q(line));
        y += fm.height();
    }
    if (header.legendShown) {
        y += kHeaderMargin;
        p.drawText(QPointF(rect.left() + kHeaderMargin, y + fm.ascent()), Q(LegendLine(header)));
    }
    p.restore();
}

void PaintGraphFigure(QPainter& p, const QRectF& rect, const GraphPageDescription& page, const GraphHeader* header) {
    QRectF chartRect = rect;
    if (header != nullptr) {
        const double h = std::min(rect.height(), GraphHeaderHeight(p.font(), *header));
        PaintGraphHeader(p, QRectF(rect.left(), rect.top(), rect.width(), h), *header);
        chartRect.setTop(rect.top() + h);
    }
    PaintGraphPage(p, chartRect, page);
}

QImage RenderGraphImage(const GraphPageDescription& page, QSize logicalSize, int dpi, const GraphHeader* header) {
    const double scale = std::max(1, dpi) / kScreenDpi;
    QImage image(std::max(1, static_cast<int>(std::lround(logicalSize.width() * scale))),
                 std::max(1, static_cast<int>(std::lround(logicalSize.height() * scale))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(scale, scale);
    p.setFont(ChartFont());
    PaintGraphFigure(p, QRectF(QPointF(0, 0), QSizeF(logicalSize)), page, header);
    return image;
}

std::optional<FigureFormat> FigureFormatOf(const std::string& path) {
    const QString suffix = QFileInfo(Q(path)).suffix().toLower();
    if (suffix == "png") return FigureFormat::Png;
    if (suffix == "svg") return FigureFormat::Svg;
    if (suffix == "pdf") return FigureFormat::Pdf;
    return std::nullopt;
}

std::string WriteGraphFigure(const std::string& path, FigureFormat format, const GraphPageDescription& page,
                             QSize logicalSize, int dpi, const GraphHeader* header) {
    const QString target = Q(path);
    const QString temporary = target + ".part";
    QFile::remove(temporary);
    const QRectF area(QPointF(0, 0), QSizeF(logicalSize));
    bool painted = false;
    switch (format) {
        case FigureFormat::Png: {
            const QImage image = RenderGraphImage(page, logicalSize, dpi, header);
            painted = image.save(temporary, "PNG");
            break;
        }
        case FigureFormat::Svg: {
            QSvgGenerator svg;
            svg.setFileName(temporary);
            svg.setSize(logicalSize);
            svg.setViewBox(area);
            svg.setResolution(static_cast<int>(kScreenDpi));
            QPainter p;
            if (p.begin(&svg)) {
                p.setFont(ChartFont());
                PaintGraphFigure(p, area, page, header);
                painted = p.end();
            }
            break;
        }
        case FigureFormat::Pdf: {
            QPdfWriter pdf(temporary);
            const int resolution = std::max(72, dpi);
            pdf.setResolution(resolution);
            // One page the size of the figure at 96 logical pixels per inch.
            pdf.setPageSize(
                QPageSize(QSizeF(logicalSize.width() * 72.0 / kScreenDpi, logicalSize.height() * 72.0 / kScreenDpi),
                          QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter p;
            if (p.begin(&pdf)) {
                const double scale = resolution / kScreenDpi;
                p.scale(scale, scale);
                p.setFont(ChartFont());
                PaintGraphFigure(p, area, page, header);
                painted = p.end();
            }
            break;
        }
    }
    if (!painted || !QFileInfo::exists(temporary)) {
        QFile::remove(temporary);
        return "cannot write the picture";
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(temporary);
        return "cannot replace the existing file";
    }
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return "cannot write the picture";
    }
    return {};
}

}  // namespace corvan
