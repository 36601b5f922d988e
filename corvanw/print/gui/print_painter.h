#pragma once
// Draws laid-out pages on a printer, and reads what the layouts need to
// know of it: resolution, unprintable borders, text extents.

#include <QFont>
#include <QPrinter>
#include <functional>
#include <string_view>
#include <vector>

#include "print/print_layout.h"

namespace corvan {

// The canvas font: the family of the table grid, normal style.
QFont PrintCanvasFont(const PrintFont& font);

// Text extents measured on the printer itself, so that what the layout
// plans is what the printer draws.
class QtTextMeasure : public TextMeasure {
public:
    explicit QtTextMeasure(QPaintDevice& device);
    double Width(std::string_view text, const PrintFont& font) const override;
    double LineHeight(const PrintFont& font) const override;

private:
    QPaintDevice& device_;
    double pixelsPerMmX_;
    double pixelsPerMmY_;
};

// The metrics with the printer turned to portrait for the reading; its
// orientation is restored afterwards.
PrinterMetrics ReadPrinterMetrics(QPrinter& printer);

// The page rectangle in millimetres from the printable area's top-left for
// the orientation the printer is set to now.
PageFrame PrinterPageFrame(QPrinter& printer, const PrinterMetrics& metrics, const PrintMargins& margins);

// Prints the job as one document; false when the printer cannot be
// started.
bool PaintPrintJob(QPrinter& printer, const PrintJob& job);
// As above; `afterPage` draws what is no text or rule (a chart) on each page
// once its texts are drawn.
bool PaintPrintJob(QPrinter& printer, const PrintJob& job,
                   const std::function<void(QPainter&, std::size_t page)>& afterPage);

struct PaintedJob {
    const PrintJob* job;
    std::function<void(QPainter&, std::size_t page)> afterPage;
};
// Prints several jobs as one document, each page turned as its job says:
// printed to a file, a second document would replace the first.
bool PaintPrintJobs(QPrinter& printer, const std::vector<PaintedJob>& jobs);

}  // namespace corvan
