#include "tools/gui/TCalRawDlg.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <cmath>

#include "print/gui/print_painter.h"

namespace corvan {

namespace {

constexpr const char* kCaption = "Calibrate from raw data";
constexpr const char* kInstrumentLabel = "Instrument number:";
constexpr const char* kResistorGroup = "Resistor value from Corvan";
constexpr const char* kTemperatureGroup = "Temperature measured:";
constexpr const char* kCoefficientGroup = "Calibration coefficients:";
constexpr const char* kTestPadGroup = "Test pad:";
constexpr const char* kCalcCaption = "Calc";
constexpr const char* kPrintCaption = "Calc+&Print";
constexpr const char* kCloseCaption = "Close";
constexpr const char* kHelpCaption = "Help";
constexpr const char* kJobTitle = "Temperature calibration";
constexpr const char* kPdfFileCaption = "Print to PDF file";
constexpr const char* kPdfFilter = "PDF files (*.pdf)";
// The sheet prints in the terminal's font, as the terminal's own printing
// does: fixed pitch keeps the right-aligned columns of numbers aligned.
constexpr const char* kTerminalFont = "Fixedsys";
constexpr double kTerminalFontPoints = 10.0;

QFont SheetFont() {
    QFont f(QString::fromLatin1(kTerminalFont));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSizeF(kTerminalFontPoints);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

}  // namespace

TCalRawDlg::TCalRawDlg(QWidget* parent) : QDialog(parent), model_(SystemDecimalSeparator()) {
    setWindowTitle(kCaption);
    printToPdf = QPrinterInfo::availablePrinterNames().isEmpty();
    choosePdfFileName = [](QWidget* p) {
        return QFileDialog::getSaveFileName(p, kPdfFileCaption, QString(), kPdfFilter);
    };

    auto* top = new QHBoxLayout;
    EditInstrument = NewToolEdit(this, "EditInstrument");
    auto* instrumentLabel = new QLabel(kInstrumentLabel, this);
    instrumentLabel->setBuddy(EditInstrument);
    top->addWidget(instrumentLabel);
    top->addWidget(EditInstrument, 1);

    auto* resistors = new QGroupBox(kResistorGroup, this);
    auto* temperatures = new QGroupBox(kTemperatureGroup, this);
    auto* rGrid = new QGridLayout(resistors);
    auto* tGrid = new QGridLayout(temperatures);
    const char* rNames[3] = {"EditR1", "EditR2", "EditR3"};
    const char* tNames[3] = {"EditT1", "EditT2", "EditT3"};
    for (int i = 0; i < 3; ++i) {
        EditR[i] = NewToolEdit(resistors, rNames[i]);
        EditT[i] = NewToolEdit(temperatures, tNames[i]);
        rGrid->addWidget(new QLabel(QString("R%1:").arg(i + 1), resistors), i, 0);
        rGrid->addWidget(EditR[i], i, 1);
        tGrid->addWidget(new QLabel(QString("T%1:").arg(i + 1), temperatures), i, 0);
        tGrid->addWidget(EditT[i], i, 1);
    }

    auto* coefficients = new QGroupBox(kCoefficientGroup, this);
    auto* cGrid = new QGridLayout(coefficients);
    EditA = NewToolEdit(coefficients, "EditA", true);
    EditB = NewToolEdit(coefficients, "EditB", true);
    EditC = NewToolEdit(coefficients, "EditC", true);
    const char* cLabels[3] = {"A:", "B:", "C:"};
    TToolEdit* cEdits[3] = {EditA, EditB, EditC};
    for (int i = 0; i < 3; ++i) {
        cGrid->addWidget(new QLabel(cLabels[i], coefficients), i, 0);
        cGrid->addWidget(cEdits[i], i, 1);
    }
    CalcBtn = new QPushButton(kCalcCaption, coefficients);
    CalcBtn->setObjectName("CalcBtn");
    cGrid->addWidget(CalcBtn, 3, 1, Qt::AlignRight);

    auto* testPad = new QGroupBox(kTestPadGroup, this);
    auto* pGrid = new QGridLayout(testPad);
    EditTestR = NewToolEdit(testPad, "EditTestR");
    EditTestT = NewToolEdit(testPad, "EditTestT", true);
    pGrid->addWidget(new QLabel("R:", testPad), 0, 0);
    pGrid->addWidget(EditTestR, 0, 1);
    pGrid->addWidget(new QLabel("T:", testPad), 1, 0);
    pGrid->addWidget(EditTestT, 1, 1);
    CalcTestBtn = new QPushButton(kCalcCaption, testPad);
    CalcTestBtn->setObjectName("CalcTestBtn");
    pGrid->addWidget(CalcTestBtn, 2, 1, Qt::AlignRight);

    PrintBtn = new QPushButton(kPrintCaption, this);
    PrintBtn->setObjectName("PrintBtn");
    CloseBtn = new QPushButton(kCloseCaption, this);
    CloseBtn->setObjectName("CloseBtn");
    HelpBtn = new QPushButton(kHelpCaption, this);
    HelpBtn->setObjectName("HelpBtn");
    HelpBtn->hide();
    for (QPushButton* b : {CalcBtn, CalcTestBtn, PrintBtn}) b->setEnabled(false);
    for (QPushButton* b : {CalcBtn, CalcTestBtn, PrintBtn, CloseBtn, HelpBtn}) b->setAutoDefault(false);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(resistors);
    inputs->addWidget(temperatures);
    auto* results = new QHBoxLayout;
    results->addWidget(coefficients, 3);
    results->addWidget(testPad, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(PrintBtn);
    buttons->addWidget(CloseBtn);
    buttons->addWidget(HelpBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(inputs);
    layout->addLayout(results);
    layout->addLayout(buttons);

    for (int i = 0; i < 3; ++i) {
        const auto r = static_cast<CalRawModel::Box>(CalRawModel::R1 + i);
        const auto t = static_cast<CalRawModel::Box>(CalRawModel::T1 + i);
        for (const auto box : {r, t}) {
            TToolEdit* e = BoxEdit(box);
            connect(e, &QLineEdit::editingFinished, this, [this, box] { BoxLeft(box); });
            connect(e, &QLineEdit::textEdited, this, [this, box] { typing_ = box; });
        }
    }
    // Entering a value box makes the coefficients' "Calc" the default, the
    // test pad's box its own "Calc".
    for (TToolEdit* e : {EditR[0], EditR[1], EditR[2], EditT[0], EditT[1], EditT[2], EditA, EditB, EditC})
        connect(e, &TToolEdit::Entered, this, [this] { CalcBtn->setDefault(true); });
    for (TToolEdit* e : {EditTestR, EditTestT})
        connect(e, &TToolEdit::Entered, this, [this] { CalcTestBtn->setDefault(true); });
    connect(CalcBtn, &QPushButton::clicked, this, &TCalRawDlg::CalcBtnClick);
    connect(CalcTestBtn, &QPushButton::clicked, this, &TCalRawDlg::CalcTestBtnClick);
    connect(PrintBtn, &QPushButton::clicked, this, &TCalRawDlg::PrintBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TCalRawDlg::~TCalRawDlg() { EndPrintJob(); }

TToolEdit* TCalRawDlg::BoxEdit(CalRawModel::Box box) const {
    return box <= CalRawModel::R3 ? EditR[box - CalRawModel::R1] : EditT[box - CalRawModel::T1];
}

void TCalRawDlg::BoxLeft(CalRawModel::Box box) {
    if (typing_ == box) typing_ = -1;
    TToolEdit* e = BoxEdit(box);
    e->SetText(model_.Enter(box, e->Text()));
    const bool all = model_.AllValid();
    for (QPushButton* b : {CalcBtn, CalcTestBtn, PrintBtn}) b->setEnabled(all);
    if (all) ShowCoefficients();
}

void TCalRawDlg::ShowCoefficients() {
    EditA->SetText(model_.CoefficientText(0));
    EditB->SetText(model_.CoefficientText(1));
    EditC->SetText(model_.CoefficientText(2));
}

void TCalRawDlg::CalcBtnClick() {
    if (typing_ >= 0) BoxLeft(static_cast<CalRawModel::Box>(typing_));
    if (model_.AllValid()) ShowCoefficients();
}

void TCalRawDlg::CalcTestBtnClick() { EditTestT->SetText(model_.TestPad(EditTestR->Text())); }

void TCalRawDlg::PrintBtnClick() {
    CalcTestBtnClick();
    if (!printer_ && !StartPrintJob()) return;
    lines_.push_back(model_.SheetTestLine(EditTestR->Text(), EditTestT->Text()));
}

bool TCalRawDlg::StartPrintJob() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printToPdf) {
        const QString file = choosePdfFileName ? choosePdfFileName(this) : QString();
        if (file.isEmpty()) return false;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    }
    printer_ = std::move(printer);
    lines_ = model_.SheetHeading(EditInstrument->Text());
    return true;
}

// The lines gathered since the first print go out as one document when the
// dialog closes, as a job held open over the dialog's life would.
void TCalRawDlg::EndPrintJob() {
    if (!printer_) return;
    QPrinter& printer = *printer_;
    printer.setPageOrientation(QPageLayout::Portrait);
    const PrinterMetrics metrics = ReadPrinterMetrics(printer);
    PrintMargins margins;
    RaiseMarginsToOffsets(margins, metrics);
    const PageFrame frame = PrinterPageFrame(printer, metrics, margins);
    const QFont font = SheetFont();
    const QFontMetricsF fm(font, &printer);
    const double pxX = printer.logicalDpiX() / 25.4;
    const double pxY = printer.logicalDpiY() / 25.4;
    const int perPage = std::max(1, static_cast<int>(std::floor(frame.Height() * pxY / fm.height())));
    PrintJob job;
    job.title = kJobTitle;
    job.pages.resize((lines_.size() + static_cast<std::size_t>(perPage) - 1) / static_cast<std::size_t>(perPage));
    if (job.pages.empty()) job.pages.resize(1);
    PaintPrintJob(printer, job, [&](QPainter& painter, std::size_t page) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        const std::size_t from = page * static_cast<std::size_t>(perPage);
        for (std::size_t i = from; i < lines_.size() && i < from + static_cast<std::size_t>(perPage); ++i) {
            const double y = frame.top * pxY + static_cast<double>(i - from) * fm.height() + fm.ascent();
            painter.drawText(QPointF(frame.left * pxX, y), QString::fromStdString(lines_[i]));
        }
    });
    printer_.reset();
}

void TCalRawDlg::done(int result) {
    EndPrintJob();
    QDialog::done(result);
}

}  // namespace corvan
