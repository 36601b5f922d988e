#pragma once
// The "Import" command: Tarsen binary files through the converter library,
// loaded by name for each import, and Tarsen text exports read here.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "data/ascii_import.h"
#include "data/data_set.h"

namespace corvan {

inline constexpr const char* kConverterLibraryName = "TarsenCVN";
inline constexpr const char* kImportBinaryAndAsciiFilter =
    "Tarsen binary (*.prf; *.orl; *.wpr; *.cpr)|*.prf; *.orl; *.wpr; *.cpr|Tarsen ASCII (*.hdr)|*.hdr";
inline constexpr const char* kImportAsciiFilter = "Tarsen ASCII (*.hdr)|*.hdr";

// What the command asks of the user; the desktop's dialogs by default,
// answered directly by tests.
class ImportDialogs {
public:
    virtual ~ImportDialogs() = default;
    // The open dialog with these filters ("Description|pattern|..."); the
    // chosen file, empty on Cancel; filterIndex is the chosen filter from 1.
    virtual QString ChooseImportFile(const QString& directory, const QString& filter, int& filterIndex) = 0;
    // "Select cell"; the cell, 0 on Cancel.
    virtual int ChooseCell(int cells, const QString& cellSize) = 0;
    // The save dialog, starting at proposedPath; empty on Cancel.
    virtual QString ChooseSaveName(const QString& proposedPath) = 0;
    // Beep and the Yes/No question; true on Yes.
    virtual bool ConfirmReplace(const QString& question) = 0;
    virtual void ShowError(const QString& message) = 0;
};

class StandardImportDialogs : public ImportDialogs {
public:
    explicit StandardImportDialogs(QWidget* parent) : parent_(parent) {}
    QString ChooseImportFile(const QString& directory, const QString& filter, int& filterIndex) override;
    int ChooseCell(int cells, const QString& cellSize) override;
    QString ChooseSaveName(const QString& proposedPath) override;
    bool ConfirmReplace(const QString& question) override;
    void ShowError(const QString& message) override;

private:
    QWidget* parent_;
};

struct ImportCommandOutcome {
    // What the next Open offers (empty = nothing preset).
    QString openDialogFileName;
    // The folder of a written set, to be remembered as the data folder.
    QString directory;
    // True when the imported set became the current data set.
    bool dataSetReplaced = false;
    // The converter's answer for a binary file (not run: 0).
    int converterResult = 0;
};

// The whole command. libraryName is the converter's name without prefix or
// suffix; it is looked for on the library path and beside the program.
ImportCommandOutcome RunImport(DataSet& data, const QString& directory, ImportDialogs& ui,
                               const QString& libraryName = kConverterLibraryName);

// One text export, from its header file to the current data set.
ImportCommandOutcome ImportAsciiFile(DataSet& data, const QString& headerFile, const QString& directory,
                                     ImportDialogs& ui);

// The converted file the open dialog offers after the converter returned a
// cell: "D:\data\moor1.prf" and 3 give "D:\data\moor1-3.CVN".
QString ConvertedFileName(const QString& inputFile, int cell);

}  // namespace corvan
