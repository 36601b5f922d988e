#include "tools/gui/belvan_command.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "data/file_error.h"
#include "tools/belvan.h"

namespace corvan {

namespace {

constexpr const char* kSaveFilter = "Measurement Files (*.CVN)";
constexpr const char* kAlreadyExists = "\rThis file set already exists.";
constexpr const char* kReplaceQuestion = "\rDo you want to replace it? The old files are kept as backups.";

}  // namespace

QString RunConvertBelvan(QWidget* parent, DataSet& data, SettingsAccess& store, const QString& dataDirectory,
                         const BelvanUi& ui) {
    data.dataLoaded = false;
    data.statisticsValid = false;

    const QString belvanDir =
        QString::fromStdString(store.ReadString(kBelvanDirectorySection, kBelvanDirectoryIdent, ""));
    if (!belvanDir.isEmpty()) QDir::setCurrent(belvanDir);
    const QString input = ui.chooseInput
                              ? ui.chooseInput(belvanDir)
                              : QFileDialog::getOpenFileName(parent, kBelvanOpenTitle, belvanDir, kBelvanOpenFilter);
    if (input.isEmpty() || !QFileInfo(input).isFile()) return {};
    const QFileInfo in(input);
    store.WriteString(kBelvanDirectorySection, kBelvanDirectoryIdent,
                      BelvanDirectorySetting(QDir::toNativeSeparators(in.absolutePath() + "/").toStdString()));

    QDir::setCurrent(dataDirectory);
    const QString output = ui.chooseOutput
                               ? ui.chooseOutput(dataDirectory)
                               : QFileDialog::getSaveFileName(parent, kBelvanSaveTitle, dataDirectory, kSaveFilter,
                                                              nullptr, QFileDialog::DontConfirmOverwrite);
    if (output.isEmpty()) return {};
    const std::string base =
        StripExtension(QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath()).toStdString());
    const QString cvn = QString::fromStdString(base + ".CVN");
    if (BelvanOutputExists(base)) {
        const QString question = QDir::toNativeSeparators(cvn) + kAlreadyExists + kReplaceQuestion;
        const bool yes = ui.confirmReplace
                             ? ui.confirmReplace(question)
                             : QMessageBox::question(parent, kBelvanSaveTitle, QString(question).replace('\r', '\n'),
                                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        if (!yes) return {};
    }
    try {
        ConvertBelvanFile(QDir::toNativeSeparators(in.absoluteFilePath()).toStdString(), base, &LocalNow);
    } catch (const FileError& e) {
        const QString text = QString::fromStdString(e.FileName() + "\r" + e.Reason());
        if (ui.showError)
            ui.showError(text);
        else
            QMessageBox::critical(parent, kBelvanSaveTitle, QString(text).replace('\r', '\n'));
        return {};
    }
    return cvn;
}

}  // namespace corvan
