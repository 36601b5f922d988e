#pragma once
// Who decides where a print goes: the print dialog for the user, a PDF
// printer for tests.

#include <QPrinter>
#include <QWidget>

#include "print/list_print.h"

namespace corvan {

class PrinterChooser {
public:
    virtual ~PrinterChooser() = default;
    // The printer to print on, or nullptr when the user cancels. The range
    // choices (S&elected, &Measurements) are offered only for the list;
    // range holds the choice made. The printer stays the chooser's.
    virtual QPrinter* Choose(QWidget* parent, bool rangeChoices, PrintRangeChoice& range) = 0;
};

}  // namespace corvan
