#include "print/gui/print_painter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace corvan {

namespace {

constexpr const char* kCanvasFontFamily = "Arial";
constexpr double kMmPerInch = 25.4;
// A hairline of a quarter millimetre stays visible on every printer.
constexpr double kRuleWidthMm = 0.25;

QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QFont PrintCanvasFont(const PrintFont& font) {
    QFont f(kCanvasFontFamily);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    // Ligatures would turn "file" into a glyph that a search of the printed
    // PDF does not find.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QtTextMeasure::QtTextMeasure(QPaintDevice& device)
    : device_(device),
      pixelsPerMmX_(device.logicalDpiX() / kMmPerInch),
      pixelsPerMmY_(device.logicalDpiY() / kMmPerInch) {}

double QtTextMeasure::Width(std::string_view text, const PrintFont& font) const {
    const QFontMetricsF fm(PrintCanvasFont(font), &device_);
    return fm.horizontalAdvance(ToQString(text)) / pixelsPerMmX_;
}

double QtTextMeasure::LineHeight(const PrintFont& font) const {
    const QFontMetricsF fm(PrintCanvasFont(font), &device_);
    return fm.height() / pixelsPerMmY_;
}

PrinterMetrics ReadPrinterMetrics(QPrinter& printer) {
    const QPageLayout::Orientation was = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Portrait);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PortraitPageGeometry g;
    g.physicalWidth = static_cast<int>(std::lround(paper.width()));
    g.physicalHeight = static_cast<int>(std::lround(paper.height()));
    g.offsetX = static_cast<int>(std::lround(page.left() - paper.left()));
    g.offsetY = static_cast<int>(std::lround(page.top() - paper.top()));
    g.printableWidth = static_cast<int>(std::lround(page.width()));
    g.printableHeight = static_cast<int>(std::lround(page.height()));
    g.dpiX = printer.logicalDpiX();
    g.dpiY = printer.logicalDpiY();
    printer.setPageOrientation(was);
    return ComputePrinterMetrics(g, was == QPageLayout::Portrait);
}

PageFrame PrinterPageFrame(QPrinter& printer, const PrinterMetrics& metrics, const PrintMargins& margins) {
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const PixelRect r = PageRectangle(metrics, margins, landscape, static_cast<int>(std::lround(page.width())),
                                      static_cast<int>(std::lround(page.height())));
    return PageFrameOf(r, printer.logicalDpiX() / kMmPerInch, printer.logicalDpiY() / kMmPerInch);
}

bool PaintPrintJob(QPrinter& printer, const PrintJob& job) { return PaintPrintJob(printer, job, {}); }

bool PaintPrintJob(QPrinter& printer, const PrintJob& job,
                   const std::function<void(QPainter&, std::size_t page)>& afterPage) {
    return PaintPrintJobs(printer, {PaintedJob{&job, afterPage}});
}

bool PaintPrintJobs(QPrinter& printer, const std::vector<PaintedJob>& jobs) {
    if (jobs.empty()) return true;
    printer.setDocName(QString::fromStdString(jobs.front().job->title));
    const auto turn = [&](const PrintJob& job) {
        printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    };
    turn(*jobs.front().job);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double pxX = printer.logicalDpiX() / kMmPerInch;
    const double pxY = printer.logicalDpiY() / kMmPerInch;
    QPen rule(Qt::black);
    rule.setWidthF(kRuleWidthMm * pxX);
    bool first = true;
    for (const PaintedJob& painted : jobs) {
        for (std::size_t p = 0; p < painted.job->pages.size(); ++p) {
            if (!first) {
                // The turn takes effect on the page begun next.
                turn(*painted.job);
                printer.newPage();
            }
            first = false;
            const PrintedPage& page = painted.job->pages[p];
            painter.setPen(rule);
            for (const PrintLine& l : page.lines)
                painter.drawLine(QPointF(l.x1 * pxX, l.y1 * pxY), QPointF(l.x2 * pxX, l.y2 * pxY));
            painter.setPen(Qt::black);
            for (const PrintText& t : page.texts) {
                const QFont font = PrintCanvasFont(t.font);
                painter.setFont(font);
                const QFontMetricsF fm(font, &printer);
                const QString text = QString::fromStdString(t.text);
                double x = t.x * pxX;
                if (t.align == TextAlign::Right) x -= fm.horizontalAdvance(text);
                if (t.align == TextAlign::Centre) x -= fm.horizontalAdvance(text) / 2;
                painter.drawText(QPointF(x, t.y * pxY + fm.ascent()), text);
            }
            if (painted.afterPage) {
                painter.save();
                painted.afterPage(painter, p);
                painter.restore();
            }
        }
    }
    painter.end();
    return true;
}

}  // namespace corvan
