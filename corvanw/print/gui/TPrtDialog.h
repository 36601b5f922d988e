#pragma once
// The print dialog: the current printer, its setup, and which records of
// the list to print. Created once; the range choice stays for the run.

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "print/gui/printer_chooser.h"

namespace corvan {

class TPrtDialog : public QDialog, public PrinterChooser {
    Q_OBJECT
public:
    explicit TPrtDialog(QWidget* parent = nullptr);

    QPrinter* Choose(QWidget* parent, bool rangeChoices, PrintRangeChoice& range) override;

    // Enables the range choices for the list, or turns them off and checks
    // "&All" for the other pages.
    void Prepare(bool rangeChoices);
    PrintRangeChoice Range() const;
    QPrinter& Printer() { return printer_; }

    // Where a print goes when the system has no printer: asks for a PDF
    // file (empty = cancelled). Tests replace it.
    std::function<QString(QWidget* parent)> choosePdfFileName;

    QLabel* LabelPrinterName = nullptr;
    QPushButton* PrinterBtn = nullptr;
    QGroupBox* RangeGroup = nullptr;
    QRadioButton* All = nullptr;
    QRadioButton* Sel = nullptr;
    QRadioButton* Meas = nullptr;
    QLabel* LabelFrom = nullptr;
    QLabel* LabelTo = nullptr;
    QLineEdit* EditFrom = nullptr;
    QLineEdit* EditTo = nullptr;
    QDialogButtonBox* Buttons = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PrinterBtnClick();
    void ShowPrinterName();

    QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace corvan
