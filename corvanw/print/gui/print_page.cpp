#include "print/gui/print_page.h"

#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <cmath>

#include "graphs/statistics_pages.h"
#include "print/gui/TMarginDlg.h"
#include "print/gui/print_painter.h"
#include "print/list_print.h"
#include "print/print_layout.h"

namespace corvan {

const char* PrintRefusal(PrintPageKind kind, const DataSet& data) {
    if (!data.referenceLoaded || !data.statisticsValid) return kNoDataSelectedText;
    if (data.rangeFirst == data.rangeLast && kind != PrintPageKind::List) return kOnlyOneMeasurementText;
    return nullptr;
}

namespace {

QRect ToPixels(const PageFrame& mm, const QPrinter& printer) {
    const double pxX = printer.logicalDpiX() / 25.4;
    const double pxY = printer.logicalDpiY() / 25.4;
    return QRect(QPoint(static_cast<int>(std::lround(mm.left * pxX)), static_cast<int>(std::lround(mm.top * pxY))),
                 QPoint(static_cast<int>(std::lround(mm.right * pxX)), static_cast<int>(std::lround(mm.bottom * pxY))));
}

// The progressive vector's legend goes first, upright. On a printer it is a
// job of its own; printed to a file, both share the document, as a second
// document would replace the first.
bool PrintGraph(QPrinter& printer, const PrinterMetrics& metrics, const PrintMargins& margins,
                const PrintHeader& header, const GraphPrintSource& graph) {
    const QtTextMeasure measure(printer);
    PrintJob legend;
    if (graph.progressiveVector) {
        printer.setPageOrientation(QPageLayout::Portrait);
        legend = LayoutVectorLegendPrint(header, graph.legend, PrinterPageFrame(printer, metrics, margins), measure);
    }
    printer.setPageOrientation(QPageLayout::Landscape);
    const GraphPrintLayout layout =
        LayoutGraphPrint(header, graph.progressiveVector, PrinterPageFrame(printer, metrics, margins), measure);
    const QRect chart = ToPixels(layout.chart, printer);
    const PaintedJob graphJob{&layout.job, [&](QPainter& painter, std::size_t) { graph.render(painter, chart); }};
    if (!graph.progressiveVector) return PaintPrintJobs(printer, {graphJob});
    if (!printer.outputFileName().isEmpty()) return PaintPrintJobs(printer, {PaintedJob{&legend, {}}, graphJob});
    return PaintPrintJobs(printer, {PaintedJob{&legend, {}}}) && PaintPrintJobs(printer, {graphJob});
}

}  // namespace

bool PrintsLandscape(PrintPageKind kind) { return kind == PrintPageKind::Matrix || kind == PrintPageKind::Graph; }

bool PrintPage(QWidget* parent, PrintPageKind kind, const DataSet& data, const Statistics& stats,
               const std::string& fileName, PrintMargins& margins, PrinterChooser& chooser,
               const GraphPrintSource* graph) {
    if (const char* refusal = PrintRefusal(kind, data)) {
        QMessageBox::critical(parent, kPrintErrorCaption, refusal);
        return false;
    }
    if (kind == PrintPageKind::Graph && (graph == nullptr || !graph->render)) return false;

    PrintRangeChoice range;
    QPrinter* printer = chooser.Choose(parent, kind == PrintPageKind::List, range);
    if (printer == nullptr) return false;
    printer->setPageOrientation(PrintsLandscape(kind) ? QPageLayout::Landscape : QPageLayout::Portrait);
    const PrinterMetrics metrics = ReadPrinterMetrics(*printer);
    RaiseMarginsToOffsets(margins, metrics);
    const PageFrame frame = PrinterPageFrame(*printer, metrics, margins);
    const QtTextMeasure measure(*printer);

    PrintJob job;
    switch (kind) {
        case PrintPageKind::List:
            job = LayoutListPrint(data, fileName, ResolveListRange(data, range), frame, measure);
            break;
        case PrintPageKind::Matrix:
            job = LayoutMatrixPrint(MakePrintHeader(kMatrixTitle, data, fileName), MatrixCellTexts(data, stats), frame,
                                    measure);
            break;
        case PrintPageKind::Summary: {
            const std::string separator = QLocale::system().decimalPoint().toStdString();
            job = LayoutSummaryPrint(MakePrintHeader(kSummaryTitle, data, fileName),
                                     SummaryTexts(data, stats, separator), frame, measure);
            break;
        }
        case PrintPageKind::Graph:
            return PrintGraph(*printer, metrics, margins, MakePrintHeader(graph->title, data, fileName), *graph);
    }
    return PaintPrintJob(*printer, job);
}

bool PageSetup(TMarginDlg& dialog, PrintPageKind kind, PrintMargins& margins) {
    return dialog.Execute(margins, PrintsLandscape(kind));
}

}  // namespace corvan
