#include "ui/import_command.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QMessageBox>

#include "data/file_error.h"
#include "tarsen_cvn.h"
#include "ui/TdlgTarsenCell.h"
#include "ui/box_text.h"
#include "ui/export_command.h"

namespace corvan {

namespace {

constexpr const char* kAlreadyExists = "\rThis file already exists.";
constexpr const char* kReplaceQuestion = "\rDo you want to replace it?";
constexpr const char* kWarningCaption = "Warning";
constexpr const char* kImportCaption = "Import";
constexpr const char* kSaveCaption = "Save As";
constexpr const char* kMeasurementFilter = "Measurement files (*.CVN)|*.CVN";

#if defined(_WIN32) && !defined(_WIN64)
constexpr const char* kCreateEntry = "_CreateCVNFiles@4";
#else
constexpr const char* kCreateEntry = "CreateCVNFiles";
#endif
using CreateCvnFiles = int32_t(TARSEN_STDCALL*)(const char16_t*);

// The library path first, then the folder of the program, where the
// converter is installed beside it.
bool LoadConverter(QLibrary& library, const QString& name) {
    library.setFileName(name);
    if (library.load()) return true;
    library.setFileName(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    return library.load();
}

QString Message(const FileError& e) { return QString::fromStdString(e.FileName() + ": " + e.Reason()); }

}  // namespace

QString ConvertedFileName(const QString& inputFile, int cell) {
    return QString::fromStdString(StripExtension(inputFile.toStdString())) + "-" + QString::number(cell) + ".CVN";
}

ImportCommandOutcome RunImport(DataSet& data, const QString& directory, ImportDialogs& ui, const QString& libraryName) {
    QLibrary library;
    const bool loaded = LoadConverter(library, libraryName);
    int filterIndex = 1;
    const QString file =
        ui.ChooseImportFile(directory, loaded ? kImportBinaryAndAsciiFilter : kImportAsciiFilter, filterIndex);
    if (file.isEmpty()) return {};
    // A header file chosen under the binary filter is still a text export.
    const bool header = QFileInfo(file).suffix().compare("hdr", Qt::CaseInsensitive) == 0;
    if (loaded && filterIndex == 1 && !header) {
        ImportCommandOutcome outcome;
        const auto create = reinterpret_cast<CreateCvnFiles>(library.resolve(kCreateEntry));
        const std::u16string path = QDir::toNativeSeparators(file).toStdU16String();
        outcome.converterResult = create ? create(path.c_str()) : -1;
        library.unload();
        if (outcome.converterResult > 0) outcome.openDialogFileName = ConvertedFileName(file, outcome.converterResult);
        return outcome;
    }
    if (loaded) library.unload();
    return ImportAsciiFile(data, file, directory, ui);
}

ImportCommandOutcome ImportAsciiFile(DataSet& data, const QString& headerFile, const QString& directory,
                                     ImportDialogs& ui) {
    ImportCommandOutcome outcome;
    const std::string hdr = headerFile.toStdString();
    try {
        const AsciiHeader header = ReadAsciiHeader(hdr, LocalNow());
        if (header.error.empty() && (header.cells <= 0 || header.measurements <= 0)) {
            ui.ShowError(headerFile + ": " + QString::fromStdString(AsciiCellRefusal(header, 1)));
            return outcome;
        }
        if (!header.error.empty()) {
            ui.ShowError(headerFile + ": " + QString::fromStdString(header.error));
            return outcome;
        }
        const int cell = ui.ChooseCell(header.cells, QString::fromStdString(header.cellSize));
        if (cell < 1 || cell > header.cells) return outcome;
        const AsciiImport import = ReadAsciiCell(hdr, header, cell);

        const QString proposed = QDir(directory).filePath(QString::fromStdString(ProposedAsciiFileName(hdr, cell)));
        const QString chosen = ui.ChooseSaveName(proposed);
        if (chosen.isEmpty()) return outcome;
        const std::string base = StripExtension(QDir::toNativeSeparators(chosen).toStdString());
        const std::string measurementFile = MeasurementFileName(base);
        if (FileExists(measurementFile) &&
            !ui.ConfirmReplace(QString::fromStdString(measurementFile) + kAlreadyExists + kReplaceQuestion)) {
            return outcome;
        }
        outcome.directory = QFileInfo(QString::fromStdString(base)).absolutePath();
        WriteAsciiImport(import, base);
        AdoptAsciiImport(data, import, base);
        outcome.dataSetReplaced = true;
        outcome.openDialogFileName = QString::fromStdString(MeasurementFileName(base));
    } catch (const FileError& e) {
        ui.ShowError(Message(e));
    }
    return outcome;
}

QString StandardImportDialogs::ChooseImportFile(const QString& directory, const QString& filter, int& filterIndex) {
    const QStringList filters = NameFiltersFromFilterText(filter);
    QString selected = filters.value(0);
    const QString file =
        QFileDialog::getOpenFileName(parent_, kImportCaption, directory, filters.join(";;"), &selected);
    filterIndex = static_cast<int>(filters.indexOf(selected)) + 1;
    return file;
}

int StandardImportDialogs::ChooseCell(int cells, const QString& cellSize) {
    TdlgTarsenCell dialog(parent_);
    dialog.Setup(cells, cellSize);
    return dialog.Execute();
}

QString StandardImportDialogs::ChooseSaveName(const QString& proposedPath) {
    // The replace question is the command's own; the dialog must not ask too.
    return QFileDialog::getSaveFileName(parent_, kSaveCaption, proposedPath,
                                        NameFiltersFromFilterText(kMeasurementFilter).join(";;"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool StandardImportDialogs::ConfirmReplace(const QString& question) {
    QApplication::beep();
    return QMessageBox::warning(parent_, kWarningCaption, BoxText(question), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void StandardImportDialogs::ShowError(const QString& message) {
    QMessageBox::critical(parent_, QApplication::applicationDisplayName(), BoxText(message));
}

}  // namespace corvan
