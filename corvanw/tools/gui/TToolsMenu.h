#pragma once
// The correcting and converting commands of the "&Util" menu: their dialogs
// (created once, kept for the run) and their handlers, so the main window
// only hands over its menu items and what the tools need of it.

#include <QAction>
#include <QObject>
#include <QString>
#include <functional>

#include "data/data_set.h"
#include "data/settings_access.h"
#include "tools/gui/belvan_command.h"

namespace corvan {

class TSelectDlg;
class TCalRawDlg;
class TReCalcDlg;
class TdlgSetSal;
class TdlgMeasScale;
class TGpsMergeDlg;

inline constexpr const char* kNoFileOpenedText = "No file opened";
inline constexpr const char* kNoDataLoadedText = "No data loaded";

// The "&Util" items this part of the program serves, by their place in the
// menu.
struct ToolMenuItems {
    QAction* importTemperature = nullptr;   // "&Import temperature data into GPS file"
    QAction* convertBelvan = nullptr;       // "&Convert Belvan file"
    QAction* recalculate = nullptr;         // "&Recalculate calibration coefficient A"
    QAction* calibrate = nullptr;           // "Ca&libration from RAW data"
    QAction* updateSalinity = nullptr;      // "Update salinity"
    QAction* measurementScaling = nullptr;  // "Correct measurement scaling"
};

class TToolsMenu : public QObject {
    Q_OBJECT
public:
    TToolsMenu(QWidget* window, DataSet& data, TSelectDlg& select, SettingsAccess& store, const ToolMenuItems& items);

    // What the window does after a tool: recompute the statistics of the
    // range and refresh; show the list page and refresh; the data directory.
    std::function<void()> recompute;
    std::function<void()> showList;
    std::function<QString()> dataDirectory;
    // Told the name of a set just converted, so the open dialog can propose it.
    std::function<void(const QString& fileName)> converted;
    BelvanUi belvanUi;

    // Enables the items by the loaded file: "Update salinity" only for an
    // oxygen sensor.
    void UpdateItems();

    void ImportTemperatureClick();
    void ConvertBelvanClick();
    void RecalculateClick();
    void CalibrateClick();
    void UpdateSalinityClick();
    void MeasurementScalingClick();

    TCalRawDlg* CalRawDlg = nullptr;
    TReCalcDlg* ReCalcDlg = nullptr;
    TdlgSetSal* dlgSetSal = nullptr;
    TdlgMeasScale* dlgMeasScale = nullptr;
    TGpsMergeDlg* GpsMergeDlg = nullptr;

private:
    QWidget* window_;
    DataSet& data_;
    SettingsAccess& store_;
    ToolMenuItems items_;
};

}  // namespace corvan
