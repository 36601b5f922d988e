#include "analysis/gui/analysis_commands.h"

#include <QAction>
#include <QMenu>

#include "analysis/gui/TdlgDeclination.h"
#include "analysis/gui/TdlgTidalAnalysis.h"
#include "data/deployment_site.h"

namespace corvan {

AnalysisCommands InstallAnalysisCommands(const AnalysisCommandContext& context, QMenu* graphMenu, QMenu* utilMenu) {
    AnalysisCommands commands;
    commands.declinationDialog = new TdlgDeclination(context.window);
    commands.tidalDialog = new TdlgTidalAnalysis(context.window);

    QAction* tidal = graphMenu->addAction("&Tidal analysis");
    tidal->setObjectName("actTidalAnalysis");
    QObject::connect(tidal, &QAction::triggered, context.window, [context, dialog = commands.tidalDialog] {
        dialog->printerChooser = context.printer ? context.printer() : nullptr;
        // Read when asked, so a latitude typed into an export since is used.
        const std::optional<double> latitude =
            context.siteFacts ? ReadDeploymentSite(*context.siteFacts).latitude : std::nullopt;
        RunTidalAnalysis(context.window, *context.data, *context.scale, *context.graphSettings, latitude, *dialog);
    });

    QAction* declination = utilMenu->addAction("Correct &declination");
    declination->setObjectName("actDeclination");
    QObject::connect(declination, &QAction::triggered, context.window, [context, dialog = commands.declinationDialog] {
        if (RunDeclination(context.window, *context.data, *dialog) && context.recordsChanged) context.recordsChanged();
    });
    return commands;
}

}  // namespace corvan
