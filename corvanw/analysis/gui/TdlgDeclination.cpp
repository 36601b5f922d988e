#include "analysis/gui/TdlgDeclination.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/declination.h"
#include "data/data_set.h"
#include "data/file_error.h"

namespace corvan {

TdlgDeclination::TdlgDeclination(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgDeclination");
    setWindowTitle(kDeclinationCaption);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditDegrees = new QLineEdit("0");
    EditDegrees->setObjectName("EditDegrees");
    ComboSeries = new QComboBox;
    ComboSeries->setObjectName("ComboSeries");
    form->addRow("Declination, degrees east (west negative):", EditDegrees);
    form->addRow("Apply to series:", ComboSeries);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton("OK");
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel");
    CancelBtn->setObjectName("CancelBtn");
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &TdlgDeclination::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgDeclination::Prepare(int seriesCount) {
    ComboSeries->clear();
    ComboSeries->addItem("All");
    for (int s = 1; s <= seriesCount; ++s) ComboSeries->addItem(QString::number(s));
    ComboSeries->setCurrentIndex(0);
    EditDegrees->selectAll();
    EditDegrees->setFocus();
}

int TdlgDeclination::Series() const { return std::max(0, ComboSeries->currentIndex()); }

void TdlgDeclination::OKBtnClick() {
    const auto value = ParseDeclination(EditDegrees->text().toStdString());
    if (!value || *value < -180.0 || *value > 180.0) {
        QMessageBox::critical(this, windowTitle(), value ? kDeclinationRangeMessage : kDeclinationValueMessage);
        EditDegrees->setFocus();
        return;
    }
    degrees_ = *value;
    accept();
}

bool RunDeclination(QWidget* parent, DataSet& data, TdlgDeclination& dialog) {
    if (!data.dataLoaded) {
        QMessageBox::critical(parent, kDeclinationCaption, kNoDataLoadedMessage);
        return false;
    }
    // A file without directions is refused before anything is asked.
    if (const std::string why = DeclinationRefusal(data, 0.0); !why.empty()) {
        QMessageBox::information(parent, kDeclinationCaption, QString::fromStdString(why));
        return false;
    }
    dialog.Prepare(data.SeriesCount());
    if (dialog.exec() != QDialog::Accepted) return false;
    try {
        const std::string why = ApplyDeclination(data, dialog.Degrees(), dialog.Series());
        if (!why.empty()) {
            QMessageBox::critical(parent, kDeclinationCaption, QString::fromStdString(why));
            return false;
        }
    } catch (const FileError& e) {
        QMessageBox::critical(parent, kDeclinationCaption, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

}  // namespace corvan
