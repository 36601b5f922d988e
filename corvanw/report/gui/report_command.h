#pragma once
// "Reports" of the "&Util" menu: the report dialog over the main window.

class QAction;

namespace corvan {

class SettingsAccess;
class TfrmMain;
class TdlgKonsult;

// Enables the action and shows the dialog (made once, kept for the run)
// when it is triggered.
TdlgKonsult* InstallReportCommand(TfrmMain& main, SettingsAccess& store, QAction* action);

}  // namespace corvan
