#pragma once
// The analysis commands of the main window in one place: "Tidal analysis"
// under the graph menu and "Correct declination" under "&Util".

#include <functional>

class QMenu;
class QWidget;

namespace corvan {

struct DataSet;
struct GraphSettings;
struct ScaleSettings;
class PrinterChooser;
class SettingsAccess;
class TdlgDeclination;
class TdlgTidalAnalysis;

struct AnalysisCommandContext {
    QWidget* window = nullptr;
    DataSet* data = nullptr;
    const ScaleSettings* scale = nullptr;
    const GraphSettings* graphSettings = nullptr;
    // The printer of the window's print command.
    std::function<PrinterChooser*()> printer;
    // After the records changed: recompute the statistics and redraw.
    std::function<void()> recordsChanged;
    // Where the site facts of the exports are kept; the tidal analysis
    // takes the mooring's latitude from them.
    const SettingsAccess* siteFacts = nullptr;
};

struct AnalysisCommands {
    TdlgDeclination* declinationDialog = nullptr;
    TdlgTidalAnalysis* tidalDialog = nullptr;
};

// Adds the two items to the menus and connects them; the dialogs are the
// window's children and live as long as it does.
AnalysisCommands InstallAnalysisCommands(const AnalysisCommandContext& context, QMenu* graphMenu, QMenu* utilMenu);

}  // namespace corvan
