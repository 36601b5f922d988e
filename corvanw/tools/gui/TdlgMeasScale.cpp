#include "tools/gui/TdlgMeasScale.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "data/file_error.h"
#include "tools/gui/tool_widgets.h"
#include "tools/number_entry.h"
#include "tools/speed_scaling.h"

namespace corvan {

namespace {

constexpr const char* kCaption = "Correct measurement scaling";
constexpr const char* kSeriesLabel = "Apply to series:";
constexpr const char* kFactorLabel = "Scale current velocity by";
constexpr const char* kAll = "All";

}  // namespace

TdlgMeasScale::TdlgMeasScale(DataSet& data, QWidget* parent) : QDialog(parent), data_(data) {
    setWindowTitle(kCaption);
    ComboSeries = new QComboBox(this);
    ComboSeries->setObjectName("ComboSeries");
    EditFactor = new QLineEdit("1", this);
    EditFactor->setObjectName("EditFactor");
    auto* form = new QFormLayout;
    form->addRow(kSeriesLabel, ComboSeries);
    form->addRow(kFactorLabel, EditFactor);

    const OkCancelHelp buttons = LayOutWithOkCancelHelp(this, form);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    HelpBtn = buttons.help;

    connect(OKBtn, &QPushButton::clicked, this, &TdlgMeasScale::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TdlgMeasScale::Execute() { return exec() == QDialog::Accepted; }

void TdlgMeasScale::showEvent(QShowEvent* event) {
    ComboSeries->clear();
    ComboSeries->addItem(kAll);
    for (int s = 1; s <= data_.SeriesCount(); ++s) ComboSeries->addItem(QString::number(s));
    ComboSeries->setCurrentIndex(0);
    QDialog::showEvent(event);
    EditFactor->setFocus();
    EditFactor->selectAll();
}

void TdlgMeasScale::OKBtnClick() {
    const auto factor = ParseUserNumber(EditFactor->text().toStdString(), SystemDecimalSeparator());
    if (!factor) {
        QMessageBox::critical(this, windowTitle(), kScaleValueError);
        EditFactor->setFocus();
        return;
    }
    // A series number chosen in the list scales that series' own records,
    // first to last; "All" scales the whole file.
    const int s = ComboSeries->currentIndex();
    const int first = s == 0 ? 0 : data_.SeriesFirst(s);
    const int last = s == 0 ? data_.HeaderCount() - 1 : data_.SeriesLast(s);
    // Kept so that a failed write leaves the data as the file still holds it
    // and a second OK does not scale twice.
    std::vector<MeasurementRecord> before(data_.records.begin() + std::max(first, 0),
                                          data_.records.begin() + std::max(first, last + 1));
    ScaleSpeeds(data_, first, last, *factor);
    try {
        WriteMeasurementFile(data_);
    } catch (const FileError& e) {
        std::copy(before.begin(), before.end(), data_.records.begin() + std::max(first, 0));
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
        return;
    }
    accept();
}

}  // namespace corvan
