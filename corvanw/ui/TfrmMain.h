#pragma once
// The main window: menus, tool bar, status bar, the information panel and
// the page stack with the list, table, summary, graph and terminal pages.

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QToolBar>
#include <functional>
#include <memory>

#include "data/data_set.h"
#include "graphs/graph_settings.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"
#include "ui/page_popup.h"
#include "ui/settings_store.h"
#include "ui/window_rules.h"

namespace corvan {

class ExportUi;
class ImportDialogs;
class TGraphPage;
class PrinterChooser;
class TMarginDlg;
class TPrtDialog;
class TCommParamDlg;
class TDeleteDlg;
class TDownloadDlg;
class TEditRefDlg;
class TInstrumentPage;
class TReceivePump;
class TVxObjComm;
class TerminalBuffer;
class SummaryPanel;
class TScaleDialog;
class TdlgColor;
class TdlgKonsult;
class SaveDialogExportUi;
class TAboutBox;
class TExportDlg;
class TListView;
class TSelectDlg;
class TTableGrid;
class TToolsMenu;

// What the program file says of itself (its version resource).
struct ProgramVersion {
    QString internalName;
    QString fileVersion;
    QString buildDate;
};

// Settings the window reads at start and partly writes back at exit.
struct MainWindowSettings {
    int iMargin = kDefaultIMargin;
    std::string directory = kDefaultDirectory;
    double marginsMm[4] = {10.0, 10.0, 10.0, 10.0};  // left, right, top, bottom
};
MainWindowSettings LoadMainWindowSettings(const SettingsAccess& store);
void SaveMainWindowSettingsAtExit(const MainWindowSettings& settings, SettingsAccess& store);

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(SettingsAccess& settings, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The open command after its dialog: also the entry of tests and of a
    // file named on the command line.
    void OpenMeasurementFile(const QString& fileName);
    void Refresh();

    DataSet& Data() { return data_; }
    Statistics& Stats() { return stats_; }
    ScaleSettings& Scale() { return scale_; }
    ViewState& View() { return view_; }
    const MainWindowSettings& Settings() const { return settings_; }
    const GraphSettings& Graphs() const { return graphSettings_; }

    // Applied at the first activation; tests may set it before showing.
    ProgramVersion version;

    // Test hooks: the file name the open dialog would return (empty =
    // cancelled); nullptr uses the real dialog.
    std::function<QString(const QString& directory)> chooseOpenFileName;
    // The save dialog and questions of the export; nullptr uses the window's.
    ExportUi* exportUi = nullptr;
    // The printer of "&Print"; nullptr uses the print dialog.
    PrinterChooser* printerChooser = nullptr;
    // The dialogs of "Import"; nullptr uses the window's. The converter
    // library is looked up by this name at each import.
    ImportDialogs* importUi = nullptr;
    QString converterLibraryName;

    // Commands, named by their captions.
    QAction* actOpen = nullptr;
    QAction* actImport = nullptr;
    QAction* actExport = nullptr;
    QAction* actSetRange = nullptr;
    QAction* actSetScaling = nullptr;
    QAction* actPageSetup = nullptr;
    QAction* actPrint = nullptr;
    QAction* actExit = nullptr;
    QAction* actList = nullptr;
    QAction* actMatrix = nullptr;
    QAction* actSummary = nullptr;
    QAction* actInstrument = nullptr;
    QAction* actToolbar = nullptr;
    QAction* actStatusbar = nullptr;
    QAction* actLegend = nullptr;
    QAction* actStartOfDays = nullptr;
    QAction* actGraphSettings = nullptr;
    QAction* actCopy = nullptr;
    QAction* actNumberMeasured = nullptr;
    QAction* actPercent = nullptr;
    QAction* actHelpContents = nullptr;
    QAction* actAbout = nullptr;
    // Tool buttons with commands of their own.
    QAction* toolSelect = nullptr;
    QAction* toolTable = nullptr;
    QAction* toolBar = nullptr;
    QAction* toolLine = nullptr;
    QAction* toolVector = nullptr;
    // Menu items with their tags.
    QMenu* menuTable = nullptr;
    QMenu* menuGraph = nullptr;
    QMenu* menuBarKinds = nullptr;
    QMenu* menuLine = nullptr;
    QMenu* menuVector = nullptr;
    QAction* barItems[3] = {};     // tags 0, 1, 6
    QAction* lineItems[7] = {};    // tags 0..6
    QAction* vectorItems[5] = {};  // tags 0..4
    QAction* popupKinds[3] = {};   // context menu: speed, direction, oxygen flux
    QAction* utilItems[9] = {};
    QAction* actUpdateSalinity = nullptr;

    QToolBar* SpeedPanel = nullptr;
    QStackedWidget* Notebook1 = nullptr;
    QStackedWidget* Notebook2 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel3 = nullptr;
    SummaryPanel* Panel4 = nullptr;
    QLabel* LabelTitle = nullptr;
    QLabel* LabelFileName = nullptr;
    QLabel* LabelSerNum = nullptr;
    QLabel* LabelRefNum = nullptr;
    QLabel* LabelIntvT = nullptr;
    QLabel* LabelFromTo = nullptr;
    QLabel* LabelNumMeas = nullptr;
    QLabel* LabelNeumannP = nullptr;
    QLabel* LabelAvgS = nullptr;
    QLabel* LabelRestS = nullptr;
    QLabel* LabelRestD = nullptr;
    QLabel* LabelNumPlotted = nullptr;
    TListView* ListView = nullptr;
    TTableGrid* StringGridTab = nullptr;
    TGraphPage* GraphPage = nullptr;
    TSelectDlg* SelectDlg = nullptr;
    TAboutBox* AboutBox = nullptr;
    TExportDlg* ExportDlg = nullptr;
    TScaleDialog* ScaleDialog = nullptr;
    TPrtDialog* PrtDialog = nullptr;
    TMarginDlg* MarginDlg = nullptr;
    TVxObjComm* InstComm = nullptr;
    TInstrumentPage* InstrumentPage = nullptr;
    TCommParamDlg* CommParamDlg = nullptr;
    TDownloadDlg* DownloadDlg = nullptr;
    TDeleteDlg* DeleteDlg = nullptr;
    TEditRefDlg* EditRefDlg = nullptr;
    TReceivePump& Pump() { return *pump_; }
    TdlgColor* dlgColor = nullptr;
    // The correcting and converting commands of "&Util".
    TToolsMenu* Tools = nullptr;
    TdlgKonsult* dlgKonsult = nullptr;
    QFileDialog* SaveDialog1 = nullptr;

    // The text of the open dialog's file (with extension).
    const QString& OpenFileName() const { return openFileName_; }
    // The file the next Open offers (full path; empty = none).
    const QString& OpenDialogFileName() const { return openDialogFileName_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FirstActivation();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePages();
    void CreateInformationPanel(QWidget* page);
    void LayoutInformationPanel();

    void OpenClick();
    void SetRangeClick();
    void ExportClick();
    void ImportClick();
    void ListClick();
    void TableToolClick();
    void MatrixClick();
    void SummaryClick();
    void BarClick(int tag, bool fromMenu);
    void LineClick(int tag, bool fromMenu);
    void VectorClick(int tag, bool fromMenu);
    void InstrumentClick();
    void LegendClick();
    void AboutClick();
    void HelpContentsClick();

    void EnableCommandsForFile();
    void SetFileCommandsEnabled(bool enabled);
    // Recomputes the statistics for the chosen range and fills the panel
    // and the grid.
    void RangeAccepted();
    void FillInformationPanel();
    void ShowError(const QString& text);
    void SetScalingClick();
    void GraphSettingsClick();
    void ApplyPanelColours();
    void EraseClick();
    // Every graph command suspends drawing until the refresh draws.
    void LockCharts();
    void CopyClick();
    QAction* PopupAction(PopupEntry entry) const;
    void PrintClick();
    void PageSetupClick();
    void EditStartingTimeClick();
    void DataSetReplaced(const QString& fileName);
    void DownloadFinished(bool dataLoaded);

    SettingsAccess& store_;
    MainWindowSettings settings_;
    GraphSettings graphSettings_;
    DataSet data_;
    Statistics stats_;
    ScaleSettings scale_;
    ViewState view_;
    std::string programTitle_ = kProgramTitle;
    QString openFileName_;
    QString openDialogFileName_;
    bool activated_ = false;
    std::unique_ptr<SaveDialogExportUi> saveDialogUi_;
    std::unique_ptr<TerminalBuffer> terminal_;
    TReceivePump* pump_ = nullptr;
};

}  // namespace corvan
