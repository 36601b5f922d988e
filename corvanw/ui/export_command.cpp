#include "ui/export_command.h"

#include "ui/box_text.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTime>

#include "data/file_error.h"
#include "exchange/netcdf_writer.h"

namespace corvan {

namespace {
constexpr const char* kExportFilter = "Text Files (*.txt)|*.txt|DOS export files(*.prn)|*.prn|NetCDF (*.nc)|*.nc";
constexpr int kNetcdfFilterIndex = 3;
constexpr const char* kNetcdfWriter = "corvanw";
constexpr const char* kExportTitle = "Export to file";
constexpr const char* kAlreadyExists = "\rThis file already exists.";
constexpr const char* kReplaceQuestion = "\rDo you want to replace it?";
constexpr const char* kWarningCaption = "Warning";

// Message boxes break lines at "\n"; the program's texts use "\r".
}  // namespace

SaveDialogExportUi::SaveDialogExportUi(QWidget* parent, QFileDialog& saveDialog)
    : parent_(parent), dialog_(saveDialog) {}

void SaveDialogExportUi::BorrowSaveDialog(const QString& filter, const QString& title) {
    previousFilters_ = dialog_.nameFilters();
    previousSelectedFilter_ = dialog_.selectedNameFilter();
    previousAcceptMode_ = dialog_.acceptMode();
    previousConfirmOverwrite_ = !dialog_.testOption(QFileDialog::DontConfirmOverwrite);
    dialog_.setNameFilters(NameFiltersFromFilterText(filter));
    dialog_.setWindowTitle(title);
    dialog_.setAcceptMode(QFileDialog::AcceptSave);
    // The command asks its own question, with its own text.
    dialog_.setOption(QFileDialog::DontConfirmOverwrite, true);
}

QString SaveDialogExportUi::ExecuteSaveDialog(int filterIndex) {
    const QStringList filters = dialog_.nameFilters();
    if (filterIndex >= 1 && filterIndex <= filters.size()) dialog_.selectNameFilter(filters[filterIndex - 1]);
    if (dialog_.exec() != QDialog::Accepted) return {};
    return dialog_.selectedFiles().value(0);
}

void SaveDialogExportUi::ReturnSaveDialog() {
    dialog_.setNameFilters(previousFilters_);
    if (!previousSelectedFilter_.isEmpty()) dialog_.selectNameFilter(previousSelectedFilter_);
    dialog_.setWindowTitle(QString());
    dialog_.setAcceptMode(previousAcceptMode_);
    dialog_.setOption(QFileDialog::DontConfirmOverwrite, !previousConfirmOverwrite_);
}

bool SaveDialogExportUi::ConfirmReplace(const QString& question) {
    QApplication::beep();
    return QMessageBox::warning(parent_, kWarningCaption, BoxText(question), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void SaveDialogExportUi::ShowError(const QString& message) {
    QMessageBox::critical(parent_, QApplication::applicationDisplayName(), BoxText(message));
}

QStringList NameFiltersFromFilterText(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList result;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
        const QString& description = parts[k];
        QString patterns = parts[k + 1];
        patterns.replace(';', ' ');
        if (description.endsWith("(" + patterns + ")")) {
            result << description;
        } else {
            result << description + " (" + patterns + ")";
        }
    }
    return result;
}

ExportLocale ExportLocaleFromQLocale(const QLocale& locale) {
    ExportLocale l;
    l.decimalSeparator = locale.decimalPoint().toStdString();
    l.shortDate = [locale](const CivilTime& c) {
        return locale.toString(QDate(c.year, c.month, c.day), QLocale::ShortFormat).toStdString();
    };
    l.shortTime = [locale](const CivilTime& c) {
        return locale.toString(QTime(c.hour, c.minute, c.second), QLocale::ShortFormat).toStdString();
    };
    return l;
}

ExportLocale SystemExportLocale() { return ExportLocaleFromQLocale(QLocale::system()); }

void ExportNetcdf(const DataSet& data, const TExportDlg& dialog, ExportUi& ui) {
    const ExportRecordRange records = ExportRecords(data, dialog.Contents(), dialog.SeriesNumber());
    NetcdfExportOptions options;
    options.first = records.first;
    options.last = records.last;
    options.site = dialog.Site();
    options.writtenBy = kNetcdfWriter;

    const QString chosen = ui.ExecuteSaveDialog(kNetcdfFilterIndex);
    if (chosen.isEmpty()) return;
    const std::string fileName = NetcdfFileNameWithExtension(chosen.toStdString());
    const QString name = QString::fromStdString(fileName);
    if (QFileInfo::exists(name) &&
        !ui.ConfirmReplace(QDir::toNativeSeparators(name) + kAlreadyExists + kReplaceQuestion)) {
        return;
    }
    try {
        const std::string why = WriteNetcdfExport(fileName, data, options);
        if (!why.empty()) ui.ShowError(QDir::toNativeSeparators(name) + "\r" + QString::fromStdString(why));
    } catch (const FileError& e) {
        ui.ShowError(QString::fromStdString(e.what()));
    }
}

void ExportText(const DataSet& data, TExportDlg& dialog, ExportUi& ui) {
    if (!data.dataLoaded) return;
    ui.BorrowSaveDialog(kExportFilter, kExportTitle);
    struct GiveBack {
        ExportUi& ui;
        ~GiveBack() { ui.ReturnSaveDialog(); }
    } giveBack{ui};

    if (!dialog.Execute(data)) return;
    if (dialog.NetcdfChosen()) {
        ExportNetcdf(data, dialog, ui);
        return;
    }
    TextExportOptions options;
    options.layout = dialog.Layout();
    options.delimiter = dialog.Delimiter();
    options.records = ExportRecords(data, dialog.Contents(), dialog.SeriesNumber());

    const QString chosen = ui.ExecuteSaveDialog(options.layout == ExportLayout::Windows ? 1 : 2);
    if (chosen.isEmpty()) return;
    const std::string fileName = ExportFileNameWithExtension(chosen.toStdString(), options.layout);
    const QString name = QString::fromStdString(fileName);
    if (QFileInfo::exists(name) &&
        !ui.ConfirmReplace(QDir::toNativeSeparators(name) + kAlreadyExists + kReplaceQuestion)) {
        return;
    }
    try {
        WriteTextExport(fileName, data, options, SystemExportLocale());
    } catch (const FileError& e) {
        ui.ShowError(QString::fromStdString(e.what()));
    }
}

}  // namespace corvan
