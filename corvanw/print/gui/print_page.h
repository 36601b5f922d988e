#pragma once
// "&Print" and "P&age setup" of the main window.

#include <QWidget>
#include <string>

#include "data/data_set.h"
#include "graphs/statistics.h"
#include "print/gui/graph_print.h"
#include "print/gui/printer_chooser.h"
#include "print/print_geometry.h"

namespace corvan {

class TMarginDlg;

enum class PrintPageKind { List, Matrix, Summary, Graph };

inline constexpr const char* kPrintErrorCaption = "Print error.";
inline constexpr const char* kNoDataSelectedText = "No data selected.";
inline constexpr const char* kOnlyOneMeasurementText = "Only 1 measurement selected.";

// The refusal text for printing this page now, or nullptr when it can be
// printed.
const char* PrintRefusal(PrintPageKind kind, const DataSet& data);

// The matrix and the graphs lie on the sheet; the list and the summary
// stand upright.
bool PrintsLandscape(PrintPageKind kind);

// Prints the page on show through the chooser's printer. fileName is the
// open dialog's file (with extension), as the information panel shows it.
// The margins are raised to the printer's borders. Returns true when pages
// were printed. A graph page prints from `graph`, and nothing without it.
bool PrintPage(QWidget* parent, PrintPageKind kind, const DataSet& data, const Statistics& stats,
               const std::string& fileName, PrintMargins& margins, PrinterChooser& chooser,
               const GraphPrintSource* graph = nullptr);

// The page setup command: the margin dialog for the page on show.
bool PageSetup(TMarginDlg& dialog, PrintPageKind kind, PrintMargins& margins);

}  // namespace corvan
