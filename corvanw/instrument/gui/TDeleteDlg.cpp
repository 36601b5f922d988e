#include "instrument/gui/TDeleteDlg.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/data_set.h"
#include "data/file_error.h"
#include "instrument/erase_measurements.h"

namespace corvan {

namespace {
constexpr const char* kCaptionPrefix = "Delete from file: ";
constexpr const char* kFirstLabel = "First measurement to delete:";
constexpr const char* kLastLabel = "Last measurement to delete:";
constexpr const char* kSelectFile = "Select file";
constexpr const char* kOpenFilter = "Measurement Files (*.CVN)";
constexpr const char* kOk = "&OK";
constexpr const char* kCancel = "&Cancel";
constexpr int kFirstFallback = -1;
constexpr int kLastFallback = -2;
}  // namespace

TDeleteDlg::TDeleteDlg(QWidget* parent) : QDialog(parent) {
    EditFirst = new QLineEdit(this);
    EditFirst->setObjectName(QStringLiteral("EditFirst"));
    EditLast = new QLineEdit(this);
    EditLast->setObjectName(QStringLiteral("EditLast"));
    OKBtn = new QPushButton(QString::fromLatin1(kOk), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QString::fromLatin1(kCancel), this);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QString::fromLatin1(kFirstLabel), EditFirst);
    form->addRow(QString::fromLatin1(kLastLabel), EditLast);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool TDeleteDlg::Ask(const QString& baseName, int& first, int& last) {
    setWindowTitle(QString::fromLatin1(kCaptionPrefix) + baseName);
    EditFirst->clear();
    EditLast->clear();
    EditFirst->setFocus();
    if (exec() != QDialog::Accepted) return false;
    first = ParseRecordNumber(EditFirst->text().toStdString(), kFirstFallback);
    last = ParseRecordNumber(EditLast->text().toStdString(), kLastFallback);
    return true;
}

QString SelectMeasurementFile(QWidget* parent, const QString& directory) {
    QFileDialog dialog(parent, QString::fromLatin1(kSelectFile), directory, QString::fromLatin1(kOpenFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const std::string base = StripExtension(dialog.selectedFiles().constFirst().toStdString());
    if (!FileExists(MeasurementFileName(base))) return {};
    return QString::fromStdString(base);
}

bool RunEraseMeasurements(QWidget* parent, DataSet& data, TDeleteDlg& dialog, const QString& directory) {
    data.dataLoaded = false;
    data.statisticsValid = false;
    const QString base = SelectMeasurementFile(parent, directory);
    if (base.isEmpty()) return false;
    try {
        data.baseName = base.toStdString();
        const LoadOutcome outcome = LoadMeasurementFiles(data);
        // Without a reference file the run is erased with no series
        // boundaries; any other complaint leaves the file alone.
        if (!outcome.message.empty() && !LoadedWithoutReference(data, outcome)) {
            QMessageBox::critical(parent, QString(), QString::fromStdString(outcome.message));
            return false;
        }
        int first = 0;
        int last = 0;
        if (!dialog.Ask(base, first, last)) return false;
        data.seriesCount = 0;
        if (FileExists(ReferenceFileName(data.baseName))) {
            data.seriesCount = std::max(0, ReadReferenceFile(data.baseName, data.series, &data));
        }
        if (!EraseMeasurements(data, first, last)) {
            QMessageBox::critical(parent, QString(), QString::fromLatin1(kInvalidDataEntered));
            return false;
        }
        WriteMeasurementFile(data);
    } catch (const FileError& e) {
        QMessageBox::critical(parent, QString(), QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

}  // namespace corvan
