#include "tools/gui/TReCalcDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace corvan {

namespace {

constexpr const char* kCaption = "Recalculate calibration coefficients";
constexpr const char* kInstrumentLabel = "Instrument number:";
constexpr const char* kCoefficientGroup = "Calibration coefficients:";
constexpr const char* kMeasuredGroup = "Temperature measured by Corvan:";
constexpr const char* kRtLabel = "Resistor value Rt:";
constexpr const char* kReferenceGroup = "Reference measurement:";
constexpr const char* kNewALabel = "New A:";
constexpr const char* kCalcCaption = "Calc";
constexpr const char* kOKCaption = "OK";
constexpr const char* kHelpCaption = "Help";

}  // namespace

TReCalcDlg::TReCalcDlg(QWidget* parent) : QDialog(parent), model_(SystemDecimalSeparator()) {
    setWindowTitle(kCaption);
    auto* top = new QHBoxLayout;
    EditInstrument = NewToolEdit(this, "EditInstrument");
    top->addWidget(new QLabel(kInstrumentLabel, this));
    top->addWidget(EditInstrument, 1);

    auto* coefficients = new QGroupBox(kCoefficientGroup, this);
    auto* cGrid = new QGridLayout(coefficients);
    EditA = NewToolEdit(coefficients, "EditA");
    EditB = NewToolEdit(coefficients, "EditB");
    EditC = NewToolEdit(coefficients, "EditC");
    const char* labels[3] = {"A:", "B:", "C:"};
    TToolEdit* edits[3] = {EditA, EditB, EditC};
    for (int i = 0; i < 3; ++i) {
        cGrid->addWidget(new QLabel(labels[i], coefficients), i, 0);
        cGrid->addWidget(edits[i], i, 1);
    }

    auto* measured = new QGroupBox(kMeasuredGroup, this);
    auto* mGrid = new QGridLayout(measured);
    EditMeasured = NewToolEdit(measured, "EditMeasured");
    EditRt = NewToolEdit(measured, "EditRt");
    CalcRtBtn = new QPushButton(kCalcCaption, measured);
    CalcRtBtn->setObjectName("CalcRtBtn");
    mGrid->addWidget(new QLabel("T:", measured), 0, 0);
    mGrid->addWidget(EditMeasured, 0, 1);
    mGrid->addWidget(CalcRtBtn, 0, 2);
    mGrid->addWidget(new QLabel(kRtLabel, measured), 1, 0);
    mGrid->addWidget(EditRt, 1, 1);

    auto* reference = new QGroupBox(kReferenceGroup, this);
    auto* rGrid = new QGridLayout(reference);
    EditReference = NewToolEdit(reference, "EditReference");
    EditNewA = NewToolEdit(reference, "EditNewA", true);
    CalcNewABtn = new QPushButton(kCalcCaption, reference);
    CalcNewABtn->setObjectName("CalcNewABtn");
    rGrid->addWidget(new QLabel("T:", reference), 0, 0);
    rGrid->addWidget(EditReference, 0, 1);
    rGrid->addWidget(CalcNewABtn, 0, 2);
    rGrid->addWidget(new QLabel(kNewALabel, reference), 1, 0);
    rGrid->addWidget(EditNewA, 1, 1);

    OKBtn = new QPushButton(kOKCaption, this);
    OKBtn->setObjectName("OKBtn");
    HelpBtn = new QPushButton(kHelpCaption, this);
    HelpBtn->setObjectName("HelpBtn");
    HelpBtn->hide();
    for (QPushButton* b : {CalcRtBtn, CalcNewABtn}) b->setEnabled(false);
    for (QPushButton* b : {CalcRtBtn, CalcNewABtn, OKBtn, HelpBtn}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(HelpBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(coefficients);
    layout->addWidget(measured);
    layout->addWidget(reference);
    layout->addLayout(buttons);

    for (int i = 0; i < 3; ++i) connect(edits[i], &QLineEdit::editingFinished, this, [this, i] { CoefficientLeft(i); });
    connect(EditMeasured, &QLineEdit::editingFinished, this, [this] {
        if (CalcRtBtn->isEnabled()) CalcRtBtnClick();
    });
    connect(EditReference, &QLineEdit::editingFinished, this, [this] {
        if (CalcNewABtn->isEnabled()) CalcNewABtnClick();
    });
    connect(EditMeasured, &TToolEdit::Entered, this, [this] { CalcRtBtn->setDefault(true); });
    connect(EditReference, &TToolEdit::Entered, this, [this] { CalcNewABtn->setDefault(true); });
    connect(CalcRtBtn, &QPushButton::clicked, this, &TReCalcDlg::CalcRtBtnClick);
    connect(CalcNewABtn, &QPushButton::clicked, this, &TReCalcDlg::CalcNewABtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TReCalcDlg::CoefficientLeft(int index) {
    TToolEdit* e = index == 0 ? EditA : index == 1 ? EditB : EditC;
    e->SetText(model_.EnterCoefficient(index, e->Text()));
    CalcRtBtn->setEnabled(model_.AllValid());
    CalcNewABtn->setEnabled(model_.AllValid());
}

void TReCalcDlg::CalcRtBtnClick() { EditRt->SetText(model_.RtText(EditMeasured->Text())); }

void TReCalcDlg::CalcNewABtnClick() { EditNewA->SetText(model_.NewAText(EditRt->Text(), EditReference->Text())); }

}  // namespace corvan
