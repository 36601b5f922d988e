#include "print/gui/TPrtDialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QVBoxLayout>

namespace corvan {

namespace {

constexpr const char* kCaption = "Print";
constexpr const char* kPrinterCaption = "Printer:";
constexpr const char* kNotInstalled = "Not installed";
constexpr const char* kPrinterButton = "&Printer";
constexpr const char* kRangeCaption = "Print range";
constexpr const char* kAllCaption = "&All";
constexpr const char* kSelectedCaption = "S&elected";
constexpr const char* kMeasurementsCaption = "&Measurements";
constexpr const char* kFromCaption = "&From:";
constexpr const char* kToCaption = "&To:";
constexpr const char* kPdfFileCaption = "Print to PDF file";
constexpr const char* kPdfFilter = "PDF files (*.pdf)";

}  // namespace

TPrtDialog::TPrtDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kCaption);
    // Without any printer the pages still go somewhere: a PDF file.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) printer_.setOutputFormat(QPrinter::PdfFormat);

    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(new QLabel(kPrinterCaption, this));
    LabelPrinterName = new QLabel(this);
    LabelPrinterName->setObjectName("LabelPrinterName");
    printerRow->addWidget(LabelPrinterName, 1);
    PrinterBtn = new QPushButton(kPrinterButton, this);
    PrinterBtn->setAutoDefault(false);
    printerRow->addWidget(PrinterBtn);

    RangeGroup = new QGroupBox(kRangeCaption, this);
    All = new QRadioButton(kAllCaption, RangeGroup);
    Sel = new QRadioButton(kSelectedCaption, RangeGroup);
    Meas = new QRadioButton(kMeasurementsCaption, RangeGroup);
    All->setChecked(true);
    LabelFrom = new QLabel(kFromCaption, RangeGroup);
    LabelTo = new QLabel(kToCaption, RangeGroup);
    EditFrom = new QLineEdit(RangeGroup);
    EditTo = new QLineEdit(RangeGroup);
    EditFrom->setObjectName("EditFrom");
    EditTo->setObjectName("EditTo");
    LabelFrom->setBuddy(EditFrom);
    LabelTo->setBuddy(EditTo);
    auto* grid = new QGridLayout(RangeGroup);
    grid->addWidget(All, 0, 0, 1, 4);
    grid->addWidget(Sel, 1, 0, 1, 4);
    grid->addWidget(Meas, 2, 0);
    grid->addWidget(LabelFrom, 2, 1);
    grid->addWidget(EditFrom, 2, 2);
    grid->addWidget(LabelTo, 2, 3);
    grid->addWidget(EditTo, 2, 4);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(printerRow);
    layout->addWidget(RangeGroup);
    layout->addWidget(Buttons);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(PrinterBtn, &QPushButton::clicked, this, &TPrtDialog::PrinterBtnClick);
    connect(EditFrom, &QLineEdit::textEdited, this, [this] { Meas->setChecked(true); });
    connect(Meas, &QRadioButton::clicked, this, [this] { EditFrom->setFocus(); });

    choosePdfFileName = [](QWidget* parent) {
        return QFileDialog::getSaveFileName(parent, kPdfFileCaption, QString(), kPdfFilter);
    };
    ShowPrinterName();
}

void TPrtDialog::Prepare(bool rangeChoices) {
    Sel->setEnabled(rangeChoices);
    Meas->setEnabled(rangeChoices);
    for (QWidget* w : {static_cast<QWidget*>(LabelFrom), static_cast<QWidget*>(LabelTo),
                       static_cast<QWidget*>(EditFrom), static_cast<QWidget*>(EditTo)})
        w->setEnabled(rangeChoices);
    if (!rangeChoices) All->setChecked(true);
}

PrintRangeChoice TPrtDialog::Range() const {
    PrintRangeChoice r;
    r.kind = Sel->isChecked() ? PrintRangeKind::Selected
                              : (Meas->isChecked() ? PrintRangeKind::Measurements : PrintRangeKind::All);
    r.from = EditFrom->text().toStdString();
    r.to = EditTo->text().toStdString();
    return r;
}

QPrinter* TPrtDialog::Choose(QWidget* parent, bool rangeChoices, PrintRangeChoice& range) {
    if (parent != nullptr && parentWidget() == nullptr) setParent(parent, windowFlags());
    Prepare(rangeChoices);
    ShowPrinterName();
    if (exec() != QDialog::Accepted) return nullptr;
    range = Range();
    const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
    if (printer_.outputFormat() == QPrinter::PdfFormat && (noPrinter || printer_.outputFileName().isEmpty())) {
        const QString file = choosePdfFileName ? choosePdfFileName(this) : QString();
        if (file.isEmpty()) return nullptr;
        printer_.setOutputFileName(file);
    }
    return &printer_;
}

void TPrtDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void TPrtDialog::PrinterBtnClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.exec();
    ShowPrinterName();
}

void TPrtDialog::ShowPrinterName() {
    QString name;
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        name = kNotInstalled;
    else if (printer_.outputFormat() == QPrinter::PdfFormat)
        name = printer_.outputFileName();
    else
        name = printer_.printerName();
    LabelPrinterName->setText(name);
}

}  // namespace corvan
