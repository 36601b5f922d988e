#include "graphs/gui/TScaleDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvan {

namespace {

constexpr const char* kScalingGroup = "Scaling";
constexpr const char* kAutoCaption = "Auto";
constexpr const char* kManualCaption = "Manual";
constexpr const char* kMinHeader = "Min";
constexpr const char* kMaxHeader = "Max";
constexpr const char* kSpeedRow = "Current speed:";
constexpr const char* kTemperatureRow = "Temperature:";
constexpr const char* kOptionalRow = "Optional";
constexpr const char* kOxygenMglRow = "Ox mg/l";
constexpr const char* kOxygenFluxRow = "Ox flux";
constexpr const char* kFluxRow = "Flux";
constexpr const char* kSpeedBarRow = "Current speed bar:";
constexpr const char* kDirectionBarRow = "Current direction bar:";
constexpr const char* kSpeedRangeRow = "Current speed range:";

QLineEdit* NewEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

std::string Text(const QLineEdit* e) { return e->text().toStdString(); }

}  // namespace

TScaleDialog::TScaleDialog(DataSet& data, ScaleSettings& scale, Statistics& stats, QWidget* parent)
    : QDialog(parent),
      data_(data),
      scale_(scale),
      stats_(stats),
      decimalSeparator_(QLocale::system().decimalPoint().toStdString()) {
    setWindowTitle(kScaleDialogCaption);

    auto* group = new QGroupBox(kScalingGroup, this);
    RadioAuto = new QRadioButton(kAutoCaption, group);
    RadioAuto->setObjectName("RadioAuto");
    RadioManual = new QRadioButton(kManualCaption, group);
    RadioManual->setObjectName("RadioManual");
    RadioAuto->setChecked(true);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(RadioAuto);
    groupLayout->addWidget(RadioManual);

    EditSpeedMin = NewEdit(this, "EditSpeedMin");
    EditSpeedMax = NewEdit(this, "EditSpeedMax");
    EditTempMin = NewEdit(this, "EditTempMin");
    EditTempMax = NewEdit(this, "EditTempMax");
    EditOptMin = NewEdit(this, "EditOptMin");
    EditOptMax = NewEdit(this, "EditOptMax");
    EditOxmgMin = NewEdit(this, "EditOxmgMin");
    EditOxmgMax = NewEdit(this, "EditOxmgMax");
    EditOxFluxMin = NewEdit(this, "EditOxFluxMin");
    EditOxFluxMax = NewEdit(this, "EditOxFluxMax");
    EditFluxMin = NewEdit(this, "EditFluxMin");
    EditFluxMax = NewEdit(this, "EditFluxMax");
    EditCurrBarMax = NewEdit(this, "EditCurrBarMax");
    EditDirBarMax = NewEdit(this, "EditDirBarMax");
    ComboSpeedRange = new QComboBox(this);
    ComboSpeedRange->setObjectName("ComboSpeedRange");
    for (const char* item : kSpeedRangeItems) ComboSpeedRange->addItem(item);
    for (QLineEdit* e : {EditSpeedMin, EditSpeedMax, EditTempMin, EditTempMax, EditCurrBarMax, EditDirBarMax})
        e->setFixedHeight(ComboSpeedRange->sizeHint().height());

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(kMinHeader, this), 0, 1);
    grid->addWidget(new QLabel(kMaxHeader, this), 0, 2);
    int row = 1;
    auto pair = [&](const char* caption, QLineEdit* min, QLineEdit* max) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(min, row, 1);
        grid->addWidget(max, row, 2);
        ++row;
    };
    pair(kSpeedRow, EditSpeedMin, EditSpeedMax);
    pair(kTemperatureRow, EditTempMin, EditTempMax);
    pair(kOptionalRow, EditOptMin, EditOptMax);
    pair(kOxygenMglRow, EditOxmgMin, EditOxmgMax);
    pair(kOxygenFluxRow, EditOxFluxMin, EditOxFluxMax);
    pair(kFluxRow, EditFluxMin, EditFluxMax);
    auto single = [&](const char* caption, QWidget* w) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(w, row, 2);
        ++row;
    };
    single(kSpeedBarRow, EditCurrBarMax);
    single(kDirectionBarRow, EditDirBarMax);
    single(kSpeedRangeRow, ComboSpeedRange);

    OKBtn = new QPushButton(tr("OK"), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName("CancelBtn");
    HelpBtn = new QPushButton(tr("Help"), this);
    HelpBtn->setObjectName("HelpBtn");
    HelpBtn->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(RadioAuto, &QRadioButton::clicked, this, &TScaleDialog::RadioAutoClick);
    connect(RadioManual, &QRadioButton::clicked, this, &TScaleDialog::RadioManualClick);
    connect(OKBtn, &QPushButton::clicked, this, &TScaleDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TScaleDialog::showEvent(QShowEvent* event) {
    if (scale_.manual) {
        SelectManual();
    } else {
        SelectAutomatic();
    }
    QDialog::showEvent(event);
}

void TScaleDialog::RadioAutoClick() { SelectAutomatic(); }

void TScaleDialog::RadioManualClick() { SelectManual(); }

void TScaleDialog::Recompute() {
    if (recompute_) {
        recompute_();
    } else if (data_.dataLoaded) {
        ComputeStatistics(data_, scale_, stats_);
    }
}

void TScaleDialog::SelectAutomatic() {
    scale_.manual = false;
    RadioAuto->setChecked(true);
    for (QLineEdit* e : findChildren<QLineEdit*>()) e->setEnabled(false);
    ComboSpeedRange->setEnabled(false);
    // The automatic limits are the statistics' own; computing them now also
    // means a later Cancel keeps them.
    Recompute();
    FillFields();
}

void TScaleDialog::SelectManual() {
    scale_.manual = true;
    RadioManual->setChecked(true);
    for (QLineEdit* e : findChildren<QLineEdit*>()) e->setEnabled(true);
    ComboSpeedRange->setEnabled(true);
    const ScaleFieldAvailability available = ScaleFieldsAvailable(data_.header);
    EditOptMin->setEnabled(available.optional);
    EditOptMax->setEnabled(available.optional);
    for (QLineEdit* e : {EditOxmgMin, EditOxmgMax, EditOxFluxMin, EditOxFluxMax}) e->setEnabled(available.oxygen);
    EditFluxMin->setEnabled(available.flux);
    EditFluxMax->setEnabled(available.flux);
    FillFields();
}

void TScaleDialog::FillFields() {
    const ScaleFields f = FillScaleFields(scale_, ScaleFieldsAvailable(data_.header), decimalSeparator_);
    auto set = [](QLineEdit* e, const std::string& text) { e->setText(QString::fromStdString(text)); };
    set(EditSpeedMin, f.speedMin);
    set(EditSpeedMax, f.speedMax);
    set(EditTempMin, f.temperatureMin);
    set(EditTempMax, f.temperatureMax);
    set(EditOptMin, f.optionalMin);
    set(EditOptMax, f.optionalMax);
    set(EditOxmgMin, f.oxygenMglMin);
    set(EditOxmgMax, f.oxygenMglMax);
    set(EditOxFluxMin, f.oxygenFluxMin);
    set(EditOxFluxMax, f.oxygenFluxMax);
    set(EditFluxMin, f.fluxMin);
    set(EditFluxMax, f.fluxMax);
    set(EditCurrBarMax, f.speedBarMax);
    set(EditDirBarMax, f.directionBarMax);
    ComboSpeedRange->setCurrentIndex(f.speedRangeIndex);
}

ScaleFields TScaleDialog::ReadFields() const {
    ScaleFields f;
    f.speedMin = Text(EditSpeedMin);
    f.speedMax = Text(EditSpeedMax);
    f.temperatureMin = Text(EditTempMin);
    f.temperatureMax = Text(EditTempMax);
    f.optionalMin = Text(EditOptMin);
    f.optionalMax = Text(EditOptMax);
    f.oxygenMglMin = Text(EditOxmgMin);
    f.oxygenMglMax = Text(EditOxmgMax);
    f.oxygenFluxMin = Text(EditOxFluxMin);
    f.oxygenFluxMax = Text(EditOxFluxMax);
    f.fluxMin = Text(EditFluxMin);
    f.fluxMax = Text(EditFluxMax);
    f.speedBarMax = Text(EditCurrBarMax);
    f.directionBarMax = Text(EditDirBarMax);
    f.speedRangeIndex = ComboSpeedRange->currentIndex();
    return f;
}

void TScaleDialog::OKBtnClick() {
    if (scale_.manual) {
        const bool ok = ApplyManualScaleFields(scale_, ReadFields());
        // After the new values, so the classes and bar maxima follow the
        // speed range just chosen.
        Recompute();
        if (!ok) {
            QMessageBox box(QMessageBox::Warning, kWarningCaption, kLinesOutsideWarning, QMessageBox::Ok, this);
            box.exec();
        }
    }
    accept();
}

}  // namespace corvan
