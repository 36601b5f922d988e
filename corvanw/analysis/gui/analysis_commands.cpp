#include "analysis/gui/analysis_commands.h"

#include <QAction>
#include <QMenu>

#include "analysis/gui/TdlgDeclination.h"
#include "analysis/gui/TdlgTidalAnalysis.h"

namespace corvan {

AnalysisCommands InstallAnalysisCommands(const AnalysisCommandContext& context, QMenu* graphMenu, QMenu* utilMenu) {
    AnalysisCommands commands;
    commands.declinationDialog = new TdlgDeclination(context.window);
    commands.tidalDialog = new TdlgTidalAnalysis(context.window);

    QAction* tidal = graphMenu->addAction("&Tidal analysis");
    tidal->setObjectName("actTidalAnalysis");
    QObject::connect(tidal, &QAction::triggered, context.window, [context, dialog = commands.tidalDialog] {
        dialog->printerChooser = context.printer ? context.printer() : nullptr;
        RunTidalAnalysis(context.window, *context.data, *context.scale, *context.graphSettings, *dialog);
    });

    QAction* declination = utilMenu->addAction("Correct &declination");
    declination->setObjectName("actDeclination");
    QObject::connect(declination, &QAction::triggered, context.window, [context, dialog = commands.declinationDialog] {
        if (RunDeclination(context.window, *context.data, *dialog) && context.recordsChanged) context.recordsChanged();
    });
    return commands;
}

}  // namespace corvan
