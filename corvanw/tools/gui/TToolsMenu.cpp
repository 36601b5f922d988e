#include "tools/gui/TToolsMenu.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "tools/gui/TCalRawDlg.h"
#include "tools/gui/TGpsMergeDlg.h"
#include "tools/gui/TReCalcDlg.h"
#include "tools/gui/TdlgMeasScale.h"
#include "tools/gui/TdlgSetSal.h"

namespace corvan {

TToolsMenu::TToolsMenu(QWidget* window, DataSet& data, TSelectDlg& select, SettingsAccess& store,
                       const ToolMenuItems& items)
    : QObject(window), window_(window), data_(data), store_(store), items_(items) {
    CalRawDlg = new TCalRawDlg(window);
    ReCalcDlg = new TReCalcDlg(window);
    dlgSetSal = new TdlgSetSal(data, window);
    dlgMeasScale = new TdlgMeasScale(data, window);
    GpsMergeDlg = new TGpsMergeDlg(data, select, window);
    const std::pair<QAction*, void (TToolsMenu::*)()> handlers[] = {
        {items.importTemperature, &TToolsMenu::ImportTemperatureClick},
        {items.convertBelvan, &TToolsMenu::ConvertBelvanClick},
        {items.recalculate, &TToolsMenu::RecalculateClick},
        {items.calibrate, &TToolsMenu::CalibrateClick},
        {items.updateSalinity, &TToolsMenu::UpdateSalinityClick},
        {items.measurementScaling, &TToolsMenu::MeasurementScalingClick},
    };
    for (const auto& [action, handler] : handlers) {
        if (!action) continue;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    }
    dataDirectory = [] { return QDir::currentPath(); };
    UpdateItems();
}

void TToolsMenu::UpdateItems() {
    if (items_.updateSalinity) items_.updateSalinity->setEnabled(HasOxygen(data_.header));
}

void TToolsMenu::ImportTemperatureClick() {
    GpsMergeDlg->exec();
    if (showList) showList();
}

void TToolsMenu::ConvertBelvanClick() {
    const QString written = RunConvertBelvan(window_, data_, store_, dataDirectory(), belvanUi);
    if (!written.isEmpty() && converted) converted(written);
    if (showList) showList();
}

void TToolsMenu::RecalculateClick() { ReCalcDlg->exec(); }

void TToolsMenu::CalibrateClick() { CalRawDlg->exec(); }

void TToolsMenu::UpdateSalinityClick() {
    if (!data_.dataLoaded) {
        QMessageBox::information(window_, QApplication::applicationDisplayName(), kNoFileOpenedText);
        return;
    }
    if (dlgSetSal->Execute() && recompute) recompute();
}

void TToolsMenu::MeasurementScalingClick() {
    if (!data_.dataLoaded) {
        QMessageBox::critical(window_, QApplication::applicationDisplayName(), kNoDataLoadedText);
        return;
    }
    if (dlgMeasScale->Execute() && recompute) recompute();
}

}  // namespace corvan
