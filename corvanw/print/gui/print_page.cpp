#include "print/gui/print_page.h"

#include <QLocale>
#include <QMessageBox>

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

bool PrintsLandscape(PrintPageKind kind) { return kind == PrintPageKind::Matrix || kind == PrintPageKind::Graph; }

bool PrintPage(QWidget* parent, PrintPageKind kind, const DataSet& data, const Statistics& stats,
               const std::string& fileName, PrintMargins& margins, PrinterChooser& chooser) {
    if (const char* refusal = PrintRefusal(kind, data)) {
        QMessageBox::critical(parent, kPrintErrorCaption, refusal);
        return false;
    }
    // The graphs print through their chart, which is not part of this yet.
    if (kind == PrintPageKind::Graph) return false;

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
            return false;
    }
    return PaintPrintJob(*printer, job);
}

bool PageSetup(TMarginDlg& dialog, PrintPageKind kind, PrintMargins& margins) {
    return dialog.Execute(margins, PrintsLandscape(kind));
}

}  // namespace corvan
