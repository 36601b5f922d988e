#pragma once
// The "&Export" command: options dialog, the main window's save dialog, the
// replace question, and the core writer.

#include <QFileDialog>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "data/data_set.h"
#include "data/text_export.h"
#include "ui/TExportDlg.h"

namespace corvan {

// What the command needs of the main window besides the options dialog; the
// window lends its save dialog and message boxes, tests answer directly.
class ExportUi {
public:
    virtual ~ExportUi() = default;
    // Sets the save dialog's filter ("Description|pattern|..." pairs) and
    // title for the duration of the export.
    virtual void BorrowSaveDialog(const QString& filter, const QString& title) = 0;
    // Runs the save dialog with the 1-based filter index; the chosen name,
    // or an empty text on Cancel.
    virtual QString ExecuteSaveDialog(int filterIndex) = 0;
    // Puts the previous filter back and clears the title.
    virtual void ReturnSaveDialog() = 0;
    // Beep and the warning with Yes and No; true on Yes. The question's
    // lines are separated by carriage returns.
    virtual bool ConfirmReplace(const QString& question) = 0;
    virtual void ShowError(const QString& message) = 0;
};

// The desktop's: a QFileDialog owned by the main window and message boxes
// over parent.
class SaveDialogExportUi : public ExportUi {
public:
    SaveDialogExportUi(QWidget* parent, QFileDialog& saveDialog);

    void BorrowSaveDialog(const QString& filter, const QString& title) override;
    QString ExecuteSaveDialog(int filterIndex) override;
    void ReturnSaveDialog() override;
    bool ConfirmReplace(const QString& question) override;
    void ShowError(const QString& message) override;

private:
    QWidget* parent_;
    QFileDialog& dialog_;
    QStringList previousFilters_;
    QString previousSelectedFilter_;
    QFileDialog::AcceptMode previousAcceptMode_ = QFileDialog::AcceptSave;
    bool previousConfirmOverwrite_ = true;
};

// "Text Files (*.txt)|*.txt|test|*.tst" as QFileDialog name filters; a
// description that does not end in its pattern gets it appended.
QStringList NameFiltersFromFilterText(const QString& filter);

// The decimal separator, short date and short time of a Qt locale.
ExportLocale ExportLocaleFromQLocale(const QLocale& locale);
ExportLocale SystemExportLocale();

// The command handler: does nothing without loaded data; writes one file in
// the system locale, or a NetCDF file when the dialog chose one; a failure
// to write is shown by ui.ShowError.
void ExportText(const DataSet& data, TExportDlg& dialog, ExportUi& ui);
// The NetCDF half, after the options dialog was accepted.
void ExportNetcdf(const DataSet& data, const TExportDlg& dialog, ExportUi& ui);

}  // namespace corvan
