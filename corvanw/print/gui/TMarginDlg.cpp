#include "print/gui/TMarginDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QVBoxLayout>

#include "print/gui/print_painter.h"

namespace corvan {

namespace {

constexpr const char* kCaption = "Set margins";
constexpr const char* kPrinterButton = "&Printer";

}  // namespace

TMarginBox::TMarginBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
}

void TMarginBox::SetText(const QString& text) { lineEdit()->setText(text); }

void TMarginBox::stepBy(int steps) {
    std::string text = lineEdit()->text().toStdString();
    for (int i = 0; i < std::abs(steps); ++i) text = StepMarginText(text, steps > 0 ? 1 : -1, offsetMm_);
    lineEdit()->setText(QString::fromStdString(text));
}

TPagePicture::TPagePicture(QWidget* parent) : QWidget(parent) { setFixedSize(90, 90); }

void TPagePicture::SetLandscape(bool landscape) {
    landscape_ = landscape;
    update();
}

void TPagePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // An A4 sheet's proportions, upright or lying.
    const int longSide = height() - 10;
    const int shortSide = longSide * 210 / 297;
    const int w = landscape_ ? longSide : shortSide;
    const int h = landscape_ ? shortSide : longSide;
    const QRect sheet((width() - w) / 2, (height() - h) / 2, w, h);
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet);
}

TMarginDlg::TMarginDlg(SettingsAccess& store, QPrinter& printer, QWidget* parent)
    : QDialog(parent), store_(store), printer_(printer) {
    setWindowTitle(kCaption);
    auto makeBox = [this](const char* name, int tag) {
        auto* box = new TMarginBox(this);
        box->setObjectName(name);
        box->setProperty("Tag", tag);
        return box;
    };
    EditLeftM = makeBox("EditLeftM", 1);
    EditRightM = makeBox("EditRightM", 2);
    EditTopM = makeBox("EditTopM", 3);
    EditBottM = makeBox("EditBottM", 4);
    LabelLeft = new QLabel(this);
    LabelRight = new QLabel(this);
    LabelTop = new QLabel(this);
    LabelBottom = new QLabel(this);
    LabelLeft->setBuddy(EditLeftM);
    LabelRight->setBuddy(EditRightM);
    LabelTop->setBuddy(EditTopM);
    LabelBottom->setBuddy(EditBottM);
    PaintBoxPage = new TPagePicture(this);

    auto* grid = new QGridLayout;
    grid->addWidget(LabelLeft, 0, 0);
    grid->addWidget(EditLeftM, 0, 1);
    grid->addWidget(LabelRight, 1, 0);
    grid->addWidget(EditRightM, 1, 1);
    grid->addWidget(LabelTop, 2, 0);
    grid->addWidget(EditTopM, 2, 1);
    grid->addWidget(LabelBottom, 3, 0);
    grid->addWidget(EditBottM, 3, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    top->addWidget(PaintBoxPage);

    PrinterBtn = new QPushButton(kPrinterButton, this);
    PrinterBtn->setAutoDefault(false);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->addButton(PrinterBtn, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Buttons);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(PrinterBtn, &QPushButton::clicked, this, &TMarginDlg::PrinterBtnClick);
}

void TMarginDlg::ApplyMetrics(const PrinterMetrics& m) {
    EditLeftM->SetOffset(m.leftOffset);
    EditRightM->SetOffset(m.rightOffset);
    EditTopM->SetOffset(m.topOffset);
    EditBottM->SetOffset(m.bottomOffset);
}

void TMarginDlg::Prepare(PrintMargins& margins, bool landscape) {
    landscape_ = landscape;
    printer_.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const PrinterMetrics m = ReadPrinterMetrics(printer_);
    RaiseMarginsToOffsets(margins, m);
    ApplyMetrics(m);
    const MarginLabels labels = MarginLabelsFor(landscape);
    LabelLeft->setText(labels.left);
    LabelRight->setText(labels.right);
    LabelTop->setText(labels.top);
    LabelBottom->setText(labels.bottom);
    EditLeftM->SetText(QString::fromStdString(MarginCentimetresText(margins.left)));
    EditRightM->SetText(QString::fromStdString(MarginCentimetresText(margins.right)));
    EditTopM->SetText(QString::fromStdString(MarginCentimetresText(margins.top)));
    EditBottM->SetText(QString::fromStdString(MarginCentimetresText(margins.bottom)));
    PaintBoxPage->SetLandscape(landscape);
}

void TMarginDlg::OKBtnClick(PrintMargins& margins) {
    auto take = [](TMarginBox* box, double& margin) {
        double cm = 0.0;
        if (ParseCentimetres(box->text().toStdString(), cm)) margin = cm * 10.0;
    };
    take(EditLeftM, margins.left);
    take(EditRightM, margins.right);
    take(EditTopM, margins.top);
    take(EditBottM, margins.bottom);
    store_.WriteString(kMarginsSection, kLeftIdent, MarginCentimetresText(margins.left));
    store_.WriteString(kMarginsSection, kRightIdent, MarginCentimetresText(margins.right));
    store_.WriteString(kMarginsSection, kTopIdent, MarginCentimetresText(margins.top));
    store_.WriteString(kMarginsSection, kBottomIdent, MarginCentimetresText(margins.bottom));
}

bool TMarginDlg::Execute(PrintMargins& margins, bool landscape) {
    Prepare(margins, landscape);
    if (exec() != QDialog::Accepted) return false;
    OKBtnClick(margins);
    return true;
}

void TMarginDlg::PrinterBtnClick() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
    printer_.setPageOrientation(landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait);
    ApplyMetrics(ReadPrinterMetrics(printer_));
}

}  // namespace corvan
