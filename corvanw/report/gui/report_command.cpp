#include "report/gui/report_command.h"

#include <QAction>
#include <QFileDialog>

#include "graphs/gui/TGraphPage.h"
#include "report/gui/TdlgKonsult.h"
#include "report/gui/offscreen_pictures.h"
#include "ui/TfrmMain.h"

namespace corvan {

namespace {
constexpr const char* kMeasurementFilter = "Measurement Files (*.CVN)";
}

TdlgKonsult* InstallReportCommand(TfrmMain& main, SettingsAccess& store, QAction* action) {
    auto* dialog = new TdlgKonsult(store, &main);
    dialog->setObjectName("dlgKonsult");
    dialog->runOpen = [&main] {
        // The window's own Open, watched for whether a file was chosen: a
        // cancelled dialog leaves the previous file loaded.
        bool chosen = false;
        auto original = main.chooseOpenFileName;
        main.chooseOpenFileName = [&](const QString& directory) {
            const QString file = original ? original(directory)
                                          : QFileDialog::getOpenFileName(&main, "Open", directory, kMeasurementFilter);
            chosen = !file.isEmpty();
            return file;
        };
        main.actOpen->trigger();
        main.chooseOpenFileName = original;
        return chosen && main.Data().dataLoaded;
    };
    dialog->currentData = [&main]() -> const DataSet* { return &main.Data(); };
    dialog->completeRequest = [&main](ReportRequest& request) {
        request.scale = main.Scale();
        if (main.GraphPage && main.GraphPage->width() > 0 && main.GraphPage->height() > 0) {
            request.graphAreaWidth = main.GraphPage->width();
            request.graphAreaHeight = main.GraphPage->height();
        }
        request.legend = main.actLegend && main.actLegend->isChecked();
        if (main.Data().dataLoaded) request.fallbackInstrumentType = main.Data().header.instrumentType;
    };
    dialog->completePictures = [&main](QtReportPictureSource& pictures) { pictures.graphSettings = main.Graphs(); };
    dialog->afterReport = [&main] {
        if (main.actList) main.actList->trigger();
    };
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, dialog, [dialog] { dialog->exec(); });
    return dialog;
}

}  // namespace corvan
