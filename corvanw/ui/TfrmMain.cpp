#include "ui/TfrmMain.h"

#include "report/gui/report_command.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <optional>

#include "analysis/gui/analysis_commands.h"
#include "data/file_error.h"
#include "data/measurement_files.h"
#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"
#include "graphs/gui/TScaleDialog.h"
#include "graphs/gui/TdlgColor.h"
#include "graphs/gui/page_picture.h"
#include "graphs/gui/summary_panel.h"
#include "graphs/statistics_pages.h"
#include "graphs/vector_graphs.h"
#include "instrument/comm_settings.h"
#include "instrument/gui/TCommParamDlg.h"
#include "instrument/gui/TDeleteDlg.h"
#include "instrument/gui/TDownloadDlg.h"
#include "instrument/gui/TEditRefDlg.h"
#include "instrument/gui/TInstrumentPage.h"
#include "instrument/gui/TReceivePump.h"
#include "instrument/gui/TVxObjComm.h"
#include "instrument/terminal_buffer.h"
#include "print/gui/TMarginDlg.h"
#include "print/gui/TPrtDialog.h"
#include "print/gui/graph_print.h"
#include "print/gui/print_page.h"
#include "print/print_geometry.h"
#include "tools/gui/TToolsMenu.h"
#include "ui/TAboutBox.h"
#include "ui/TExportDlg.h"
#include "ui/TSelectDlg.h"
#include "ui/export_command.h"
#include "ui/import_command.h"
#include "ui/list_view.h"
#include "ui/page_popup.h"
#include "ui/table_grid.h"

#ifndef CORVAN_VERSION
#define CORVAN_VERSION "0.0.0"
#endif
#ifndef CORVAN_INTERNAL_NAME
#define CORVAN_INTERNAL_NAME "Corvan"
#endif
#ifndef CORVAN_BUILD_DATE
#define CORVAN_BUILD_DATE ""
#endif

namespace corvan {

namespace {

constexpr const char* kOpenFilter = "Measurement Files (*.CVN)|*.CVN";
constexpr const char* kFileNotFoundText = "\rThis file cannot be found.";
constexpr const char* kCheckPathText = "\rMake sure that you have specified the correct path and filename";
constexpr const char* kMarginIdents[4] = {kLeftIdent, kRightIdent, kTopIdent, kBottomIdent};
constexpr const char* kUtilCaptions[9] = {
    "&Import temperature data into GPS file",
    "Edit &starting time",
    "&Erase measurements",
    "&Convert Belvan file",
    "&Recalculate calibration coefficient A",
    "Ca&libration from RAW data",
    "Update salinity",
    "Reports",
    "Correct measurement scaling",
};
constexpr int kBarTags[3] = {0, 1, 6};
constexpr const char* kBarCaptions[3] = {"Current &speed", "Current &direction", "Ox flux"};
constexpr const char* kLineCaptions[7] = {
    "Current &speed", "Current &direction", "&Temperature", "Oxygen", "Flux", "Ox mg/l", "Ox flux"};
constexpr const char* kVectorCaptions[5] = {"&Progressive vector", "M&ax / mean velocity",
                                            "&Relative flux / Number measured", "St&ick diagram", "Relative Ox flux"};

// The graphs are here; the tools other than erase and starting time, import
// and the report arrive with their own parts of the program and are shown
// but not offered until then.
constexpr bool kGraphsAvailable = true;
constexpr bool kVectorGraphsAvailable = true;

}  // namespace

MainWindowSettings LoadMainWindowSettings(const SettingsAccess& store) {
    MainWindowSettings s;
    s.iMargin = store.ReadInteger(kIMarginSection, kIMarginIdent, kDefaultIMargin);
    s.directory = store.ReadString(kDirectorySection, kCorvanDirectoryIdent, kDefaultDirectory);
    for (int i = 0; i < 4; ++i) {
        s.marginsMm[i] = MarginMillimetres(store.ReadString(kMarginsSection, kMarginIdents[i], kDefaultMargin));
    }
    return s;
}

void SaveMainWindowSettingsAtExit(const MainWindowSettings& s, SettingsAccess& store) {
    store.WriteString(kDirectorySection, kCorvanDirectoryIdent, s.directory);
    store.WriteInteger(kIMarginSection, kIMarginIdent, s.iMargin);
}

TfrmMain::TfrmMain(SettingsAccess& settings, QWidget* parent) : QMainWindow(parent), store_(settings) {
    setWindowTitle(QString::fromStdString(programTitle_));
    graphSettings_ = LoadGraphSettings(store_);
    InstComm = new TVxObjComm(this);
    terminal_ = std::make_unique<TerminalBuffer>();
    pump_ = new TReceivePump(*InstComm, *terminal_, this);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePages();
    statusBar()->showMessage(QString());

    data_.header.instrumentType = 0;
    SelectChannelDescriptors(data_);
    ListView->RebuildListColumns();
    Notebook1->setCurrentIndex(kPageList);
    data_.dataLoaded = false;
    data_.statisticsValid = false;
    SetFileCommandsEnabled(false);

    settings_ = LoadMainWindowSettings(store_);
    const QString dir = QString::fromStdString(settings_.directory);
    if (QDir(dir).exists()) QDir::setCurrent(dir);

    SelectDlg = new TSelectDlg(data_, this);
    AboutBox = new TAboutBox(this);
    ExportDlg = new TExportDlg(this);
    ExportDlg->SetSiteStore(&store_);
    // The margin dialog shares the print dialog's printer.
    PrtDialog = new TPrtDialog(this);
    MarginDlg = new TMarginDlg(store_, PrtDialog->Printer(), this);
    ScaleDialog = new TScaleDialog(data_, scale_, stats_, this);
    ScaleDialog->SetRecompute([this] { RangeAccepted(); });
    dlgColor = new TdlgColor(&store_, this);
    // The link is set up before any page can open it.
    InstComm->SetXonXoff(false);
    InstComm->ApplySettings(LoadCommSettings(store_));
    CommParamDlg = new TCommParamDlg(*InstComm, &store_, this);
    DownloadDlg = new TDownloadDlg(data_, *InstComm, this);
    DownloadDlg->SetDirectorySource([this] { return QString::fromStdString(settings_.directory); });
    DeleteDlg = new TDeleteDlg(this);
    EditRefDlg = new TEditRefDlg(this);
    pump_->SetDownloadTarget(DownloadDlg);
    InstrumentPage->SetDialogs(CommParamDlg, DownloadDlg);
    connect(DownloadDlg, &TDownloadDlg::DataSetReplaced, this,
            [this](const QString&, const QString& fileName) { DataSetReplaced(fileName); });
    connect(InstrumentPage, &TInstrumentPage::DownloadFinished, this, &TfrmMain::DownloadFinished);
    Tools = new TToolsMenu(this, data_, *SelectDlg, store_,
                           {utilItems[0], utilItems[3], utilItems[4], utilItems[5], utilItems[6], utilItems[8]});
    Tools->recompute = [this] {
        RangeAccepted();
        Refresh();
    };
    Tools->showList = [this] {
        Notebook1->setCurrentIndex(kPageList);
        Refresh();
    };
    Tools->dataDirectory = [this] { return QString::fromStdString(settings_.directory); };
    Tools->converted = [this](const QString& fileName) { openDialogFileName_ = fileName; };
    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName("SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    saveDialogUi_ = std::make_unique<SaveDialogExportUi>(this, *SaveDialog1);
    version = ProgramVersion{CORVAN_INTERNAL_NAME, CORVAN_VERSION, CORVAN_BUILD_DATE};
    StringGridTab->SetupTableGrid(data_.header);
    StringGridTab->FillTable(MatrixCellTexts(data_, stats_), false);
    EnableCommandsForFile();
    Refresh();
    resize(1000, 700);
}

TfrmMain::~TfrmMain() {
    // The pages, dialogs and the pump refer to the data set and the terminal
    // held by value here, which die before QObject deletes the children: so
    // those go first.
    delete Notebook1;
    const QObjectList kids = children();
    for (QObject* k : kids) {
        if (qobject_cast<QDialog*>(k) || k == pump_) delete k;
    }
}

void TfrmMain::CreateActions() {
    auto make = [this](const QString& text, const QString& tip) {
        auto* a = new QAction(text, this);
        a->setStatusTip(tip);
        return a;
    };
    actOpen = make("&Open...", "Open a measurement file");
    actOpen->setShortcut(QKeySequence::Open);
    actImport = make("Import", "Import the data files of another instrument");
    actExport = make("&Export", "Export measurements to a text or NetCDF file");
    actSetRange = make("Set &range", "Select series and first and last measurement");
    actSetScaling = make("Set s&caling", "Set manual or automatic scaling of graphs");
    actPageSetup = make("P&age setup", "Set margins");
    actPrint = make("&Print", "Print active page");
    actPrint->setShortcut(QKeySequence::Print);
    actExit = make("E&xit", "Exit the program");
    actExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    actList = make("&List", "Show the list of measurements");
    actMatrix = make("Current speed / direction matrix", "Show the current speed / direction matrix");
    actSummary = make("Statistical summary", "Show the statistical summary");
    actInstrument = make("&Instrument", "Talk to the instrument");
    actToolbar = make("Display &Toolbar", "Show or hide the tool bar");
    actStatusbar = make("Display &Statusbar", "Show or hide the status bar");
    actLegend = make("Display &Legend", "Show or hide the information panel");
    actStartOfDays = make("Display Start of &Days", "Mark the start of each day in the graphs");
    actGraphSettings = make("&Graph settings", "Set graphics parameters");
    actCopy = make("Copy to Clipboard", "Copy the page as a picture");
    actCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    // The entry lives in a menu built on demand; the window carries it so
    // that Ctrl+C works with no menu open.
    addAction(actCopy);
    // The context menu's own speed, direction and oxygen-flux entries pick
    // the bar kind or the line kind, whichever graph is shown.
    constexpr const char* kPopupCaptions[3] = {"Current &Speed", "Current &direction", "Ox flux"};
    for (int i = 0; i < 3; ++i) {
        popupKinds[i] = make(kPopupCaptions[i], "Graph of this quantity");
        connect(popupKinds[i], &QAction::triggered, this, [this, i] {
            if (view_.graphMode == kGraphBar)
                BarClick(kBarTags[i], true);
            else if (view_.graphMode == kGraphLine)
                LineClick(kBarTags[i], true);
        });
    }
    actNumberMeasured = make("&Number measured", "Bar heights in number of measurements");
    actPercent = make("&Percent", "Bar heights in percent of measurements");
    actHelpContents = make("&Contents", "Open the help");
    actAbout = make("&About...", "About the program");
    for (QAction* a : {actToolbar, actStatusbar, actLegend, actStartOfDays, actNumberMeasured, actPercent}) {
        a->setCheckable(true);
    }
    actToolbar->setChecked(true);
    actStatusbar->setChecked(true);
    actLegend->setChecked(true);
    actNumberMeasured->setChecked(true);

    toolSelect = make("Select", "Select series and first and last measurement");
    toolTable = make("Table", "Show the table page");
    toolBar = make("Bar graph", "Show a bar graph");
    toolLine = make("Line graph", "Show a line graph");
    toolVector = make("Vector graph", "Show a vector graph");

    for (int i = 0; i < 3; ++i) {
        barItems[i] = make(kBarCaptions[i], "Bar graph");
        barItems[i]->setData(kBarTags[i]);
        connect(barItems[i], &QAction::triggered, this, [this, i] { BarClick(kBarTags[i], true); });
    }
    for (int i = 0; i < 7; ++i) {
        lineItems[i] = make(kLineCaptions[i], "Line graph");
        lineItems[i]->setData(i);
        connect(lineItems[i], &QAction::triggered, this, [this, i] { LineClick(i, true); });
    }
    for (int i = 0; i < 5; ++i) {
        vectorItems[i] = make(kVectorCaptions[i], "Vector graph");
        vectorItems[i]->setData(i);
        connect(vectorItems[i], &QAction::triggered, this, [this, i] { VectorClick(i, true); });
    }
    for (int i = 0; i < 9; ++i) {
        utilItems[i] = make(kUtilCaptions[i], "");
        // Edit starting time and Erase measurements are here; the other
        // tools come with their own part of the program.
        utilItems[i]->setEnabled(i == 1 || i == 2);
    }
    connect(utilItems[1], &QAction::triggered, this, &TfrmMain::EditStartingTimeClick);
    connect(utilItems[2], &QAction::triggered, this, &TfrmMain::EraseClick);
    dlgKonsult = InstallReportCommand(*this, store_, utilItems[7]);
    actUpdateSalinity = utilItems[6];

    connect(actOpen, &QAction::triggered, this, &TfrmMain::OpenClick);
    connect(actSetRange, &QAction::triggered, this, &TfrmMain::SetRangeClick);
    connect(toolSelect, &QAction::triggered, this, &TfrmMain::SetRangeClick);
    connect(actExport, &QAction::triggered, this, &TfrmMain::ExportClick);
    connect(actImport, &QAction::triggered, this, &TfrmMain::ImportClick);
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    connect(actList, &QAction::triggered, this, &TfrmMain::ListClick);
    connect(toolTable, &QAction::triggered, this, &TfrmMain::TableToolClick);
    connect(actMatrix, &QAction::triggered, this, &TfrmMain::MatrixClick);
    connect(actSummary, &QAction::triggered, this, &TfrmMain::SummaryClick);
    connect(toolBar, &QAction::triggered, this, [this] { BarClick(view_.barKind, false); });
    connect(toolLine, &QAction::triggered, this, [this] { LineClick(view_.lineChannel, false); });
    connect(toolVector, &QAction::triggered, this, [this] { VectorClick(view_.vectorKind, false); });
    connect(actInstrument, &QAction::triggered, this, &TfrmMain::InstrumentClick);
    connect(actToolbar, &QAction::toggled, this, [this](bool on) { SpeedPanel->setVisible(on); });
    connect(actStatusbar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    connect(actLegend, &QAction::triggered, this, &TfrmMain::LegendClick);
    connect(actStartOfDays, &QAction::toggled, this, [this](bool on) {
        LockCharts();
        view_.startOfDays = on;
        Refresh();
    });
    connect(actAbout, &QAction::triggered, this, &TfrmMain::AboutClick);
    connect(actSetScaling, &QAction::triggered, this, &TfrmMain::SetScalingClick);
    connect(actGraphSettings, &QAction::triggered, this, &TfrmMain::GraphSettingsClick);
    connect(actHelpContents, &QAction::triggered, this, &TfrmMain::HelpContentsClick);

    connect(actPrint, &QAction::triggered, this, &TfrmMain::PrintClick);
    connect(actPageSetup, &QAction::triggered, this, &TfrmMain::PageSetupClick);
    connect(actCopy, &QAction::triggered, this, &TfrmMain::CopyClick);
    connect(actNumberMeasured, &QAction::triggered, this, [this] {
        LockCharts();
        view_.barScale = kBarScaleNumber;
        Refresh();
    });
    connect(actPercent, &QAction::triggered, this, [this] {
        LockCharts();
        view_.barScale = kBarScalePercent;
        Refresh();
    });
    actSetScaling->setEnabled(false);
}

void TfrmMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(actOpen);
    file->addAction(actImport);
    file->addAction(actExport);
    file->addSeparator();
    file->addAction(actSetRange);
    file->addAction(actSetScaling);
    file->addSeparator();
    file->addAction(actPageSetup);
    file->addAction(actPrint);
    file->addSeparator();
    file->addAction(actExit);

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(actList);
    menuTable = view->addMenu("Table");
    menuTable->addAction(actMatrix);
    menuTable->addAction(actSummary);
    menuGraph = view->addMenu("&Graph");
    menuBarKinds = menuGraph->addMenu("&Bar");
    for (QAction* a : barItems) menuBarKinds->addAction(a);
    menuLine = menuGraph->addMenu("&Line");
    for (QAction* a : lineItems) menuLine->addAction(a);
    menuVector = menuGraph->addMenu("&Vector");
    for (QAction* a : vectorItems) menuVector->addAction(a);
    view->addSeparator();
    view->addAction(actInstrument);

    QMenu* util = menuBar()->addMenu("&Util");
    for (QAction* a : utilItems) util->addAction(a);
    InstallAnalysisCommands({this, &data_, &scale_, &graphSettings_,
                             [this]() -> PrinterChooser* { return printerChooser ? printerChooser : PrtDialog; },
                             [this] {
                                 RangeAccepted();
                                 Refresh();
                             },
                             &store_},
                            menuGraph, util);

    QMenu* options = menuBar()->addMenu("&Options");
    options->addAction(actToolbar);
    options->addAction(actStatusbar);
    options->addAction(actLegend);
    options->addAction(actStartOfDays);
    options->addSeparator();
    options->addAction(actGraphSettings);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(actHelpContents);
    help->addAction(actAbout);
}

void TfrmMain::CreateToolBar() {
    SpeedPanel = addToolBar("SpeedPanel");
    SpeedPanel->setObjectName("SpeedPanel");
    SpeedPanel->setMovable(false);
    SpeedPanel->setToolButtonStyle(Qt::ToolButtonTextOnly);
    actOpen->setIconText("Open");
    actPageSetup->setIconText("Margins");
    actPrint->setIconText("Print");
    actList->setIconText("List");
    actInstrument->setIconText("Instrument");
    actExit->setIconText("Exit");
    SpeedPanel->addAction(actOpen);
    SpeedPanel->addAction(toolSelect);
    SpeedPanel->addSeparator();
    SpeedPanel->addAction(actPageSetup);
    SpeedPanel->addAction(actPrint);
    SpeedPanel->addSeparator();
    SpeedPanel->addAction(actList);
    SpeedPanel->addAction(toolTable);
    SpeedPanel->addAction(toolBar);
    SpeedPanel->addAction(toolLine);
    SpeedPanel->addAction(toolVector);
    SpeedPanel->addSeparator();
    SpeedPanel->addAction(actInstrument);
    SpeedPanel->addSeparator();
    SpeedPanel->addAction(actExit);
}

void TfrmMain::CreatePages() {
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName("Notebook1");
    setCentralWidget(Notebook1);

    auto* blank = new QWidget;
    blank->setObjectName("Blank");
    Notebook1->addWidget(blank);

    auto* listPage = new QWidget;
    listPage->setObjectName("List");
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(4, 4, 4, 4);
    listLayout->setSpacing(4);
    CreateInformationPanel(listPage);
    listLayout->addWidget(Panel1);
    listLayout->addWidget(Panel3);
    Notebook2 = new QStackedWidget(listPage);
    Notebook2->setObjectName("Notebook2");
    StringGridTab = new TTableGrid;
    Notebook2->addWidget(StringGridTab);
    auto* graphPage = new QWidget;
    graphPage->setObjectName("Graph");
    Notebook2->addWidget(graphPage);
    Panel4 = new SummaryPanel(data_, stats_);
    Panel4->setObjectName("Panel4");
    Notebook2->addWidget(Panel4);
    GraphPage = new TGraphPage(data_, stats_, scale_, graphSettings_);
    GraphPage->setObjectName("Chart");
    Notebook2->addWidget(GraphPage);
    connect(GraphPage, &TGraphPage::ScrollToRecord, this, [this](int record) {
        Notebook1->setCurrentIndex(kPageList);
        Refresh();
        ListView->ScrollToRecord(record);
    });
    listLayout->addWidget(Notebook2, 1);
    Notebook1->addWidget(listPage);

    InstrumentPage = new TInstrumentPage(*InstComm, *terminal_, *pump_);
    InstrumentPage->setObjectName("Comm");
    Notebook1->addWidget(InstrumentPage);

    ListView = new TListView(data_);
    ListView->setObjectName("List2");
    Notebook1->addWidget(ListView);
    ListView->installEventFilter(this);
}

void TfrmMain::CreateInformationPanel(QWidget* page) {
    Panel1 = new QFrame(page);
    Panel1->setObjectName("Panel1");
    auto label = [this](const char* name) {
        auto* l = new QLabel(Panel1);
        l->setObjectName(name);
        return l;
    };
    LabelTitle = label("LabelTitle");
    QFont bold = LabelTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    LabelTitle->setFont(bold);
    LabelFileName = label("LabelFileName");
    LabelSerNum = label("LabelSerNum");
    LabelRefNum = label("LabelRefNum");
    LabelIntvT = label("LabelIntvT");
    LabelFromTo = label("LabelFromTo");
    LabelNumMeas = label("LabelNumMeas");
    const int h = QFontMetrics(LabelFileName->font()).height() + 2;
    Panel1->setFixedHeight(QFontMetrics(bold).height() + 4 * h + 12);
    Panel1->installEventFilter(this);

    Panel3 = new QFrame(page);
    Panel3->setObjectName("Panel3");
    auto* legend = new QHBoxLayout(Panel3);
    legend->setContentsMargins(8, 0, 8, 0);
    LabelNeumannP = new QLabel(kNeumannPrefix, Panel3);
    LabelAvgS = new QLabel(kAverageSpeedPrefix, Panel3);
    LabelRestS = new QLabel(kRestSpeedPrefix, Panel3);
    LabelRestD = new QLabel(kRestDirectionPrefix, Panel3);
    LabelNumPlotted = new QLabel(Panel3);
    LabelNumPlotted->hide();
    for (QLabel* l : {LabelNeumannP, LabelAvgS, LabelRestS, LabelRestD, LabelNumPlotted}) legend->addWidget(l, 1);
    Panel3->hide();
}

void TfrmMain::LayoutInformationPanel() {
    const int w = Panel1->width();
    const QFontMetrics fm(LabelFileName->font());
    const int h = fm.height() + 2;
    const int left = 8;
    const int titleHeight = QFontMetrics(LabelTitle->font()).height() + 4;
    LabelTitle->setGeometry(left, 2, w - 2 * left, titleHeight);
    auto place = [&](QLabel* l, int x, int line) {
        const int textWidth = fm.horizontalAdvance(l->text()) + 4;
        l->setGeometry(x, titleHeight + 2 + line * h, textWidth, h);
    };
    place(LabelFileName, left, 0);
    place(LabelSerNum, left, 1);
    place(LabelFromTo, left, 2);
    place(LabelNumMeas, left, 3);
    const int right = std::max(w / 2 + 40, left + 420);
    // A long file name pushes the reference number and the interval down a
    // line rather than letting them overlap it.
    const bool pushDown = right < LabelFileName->geometry().right() + 10;
    place(LabelRefNum, right, pushDown ? 1 : 0);
    place(LabelIntvT, right, pushDown ? 2 : 1);
}

void TfrmMain::SetFileCommandsEnabled(bool enabled) {
    for (QAction* a : {toolSelect, actSetRange, actExport, actSetScaling}) a->setEnabled(enabled);
}

void TfrmMain::EnableCommandsForFile() {
    const CommandStates s = CommandsForFile(data_);
    const bool graphs = kGraphsAvailable && s.current;
    const bool vectors = kVectorGraphsAvailable && s.current;
    toolTable->setEnabled(s.current);
    menuTable->setEnabled(s.current);
    toolBar->setEnabled(graphs);
    toolVector->setEnabled(vectors);
    menuBarKinds->setEnabled(graphs);
    menuVector->setEnabled(vectors);
    lineItems[0]->setEnabled(graphs);
    lineItems[1]->setEnabled(graphs);
    toolLine->setEnabled(kGraphsAvailable && data_.dataLoaded);
    menuGraph->setEnabled(kGraphsAvailable);

    lineItems[3]->setVisible(s.optionalShown);
    if (s.optionalShown) lineItems[3]->setText(QString::fromStdString(s.optionalCaption));
    for (QAction* a : {lineItems[5], lineItems[6], barItems[2], vectorItems[4]}) a->setVisible(s.oxygenShown);
    lineItems[4]->setVisible(s.fluxShown);

    SetFileCommandsEnabled(s.fileCommands);
    setWindowTitle(QString::fromStdString(WindowCaption(programTitle_, data_)));
    if (!data_.dataLoaded) data_.header.instrumentType = 1;
    StringGridTab->SetupTableGrid(data_.header);
}

void TfrmMain::OpenClick() {
    QDir::setCurrent(QString::fromStdString(settings_.directory));
    QString chosen;
    if (chooseOpenFileName) {
        chosen = chooseOpenFileName(QString::fromStdString(settings_.directory));
    } else {
        const QString start =
            openDialogFileName_.isEmpty() ? QString::fromStdString(settings_.directory) : openDialogFileName_;
        chosen = QFileDialog::getOpenFileName(this, "Open", start, NameFiltersFromFilterText(kOpenFilter).join(";;"));
    }
    if (!chosen.isEmpty()) {
        OpenMeasurementFile(chosen);
    } else {
        Refresh();
    }
}

void TfrmMain::OpenMeasurementFile(const QString& fileName) {
    const std::string base = StripExtension(QDir::toNativeSeparators(fileName).toStdString());
    const QString baseName = QString::fromStdString(base);
    // No chart may paint between the new statistics and the graph drawn
    // from them; the refresh at the end lets them draw again.
    LockCharts();
    // The name stays that of the loaded file until another one is found.
    if (!FileExists(MeasurementFileName(base))) {
        QApplication::beep();
        QMessageBox::warning(this, QString::fromStdString(programTitle_),
                             BoxText(baseName + ".CVN" + kFileNotFoundText + kCheckPathText));
        Refresh();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    settings_.directory = QFileInfo(baseName).absoluteDir().path().toStdString();
    openFileName_ = QFileInfo(QString::fromStdString(MeasurementFileName(base))).fileName();
    data_.baseName = base;
    try {
        const LoadOutcome outcome = LoadMeasurementFiles(data_);
        if (!outcome.message.empty()) {
            QGuiApplication::restoreOverrideCursor();
            ShowError(QString::fromStdString(outcome.message));
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } catch (const FileError& e) {
        QGuiApplication::restoreOverrideCursor();
        ShowError(QString::fromStdString(e.FileName() + ": " + e.Reason()));
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ListView->RebuildListColumns();
    if (data_.dataLoaded) {
        EnableCommandsForFile();
        ListView->InvalidatePosition();
        QGuiApplication::restoreOverrideCursor();
        if (SelectDlg->Execute(false)) RangeAccepted();
        Notebook1->setCurrentIndex(kPageList);
        ListView->ScrollToRecord(data_.rangeFirst);
    } else {
        EnableCommandsForFile();
        QGuiApplication::restoreOverrideCursor();
    }
    Refresh();
    QGuiApplication::restoreOverrideCursor();
}

void TfrmMain::SetRangeClick() {
    if (!data_.dataLoaded) return;
    LockCharts();
    if (SelectDlg->Execute(true)) {
        RangeAccepted();
        if (Notebook1->currentIndex() == kPageList) ListView->ScrollToRecord(data_.rangeFirst);
    }
    Refresh();
}

void TfrmMain::RangeAccepted() {
    if (data_.dataLoaded) ComputeStatistics(data_, scale_, stats_);
    FillInformationPanel();
}

void TfrmMain::FillInformationPanel() {
    const InformationPanelTexts t = InformationTexts(data_, openFileName_.toStdString());
    LabelFileName->setText(QString::fromStdString(t.fileName));
    LabelSerNum->setText(QString::fromStdString(t.seriesNumber));
    LabelRefNum->setText(QString::fromStdString(t.refNumber));
    LabelIntvT->setText(QString::fromStdString(t.intervalTime));
    LabelFromTo->setText(QString::fromStdString(t.displayedFromTo));
    LabelNumMeas->setText(QString::fromStdString(t.measurementCount));
    StringGridTab->FillTable(MatrixCellTexts(data_, stats_), data_.statisticsValid);
    LayoutInformationPanel();
}

void TfrmMain::SetScalingClick() {
    if (!data_.dataLoaded) return;
    ScaleDialog->exec();
    Refresh();
}

void TfrmMain::GraphSettingsClick() {
    dlgColor->SetSettings(graphSettings_);
    if (dlgColor->exec() == QDialog::Accepted) graphSettings_ = dlgColor->Settings();
    Refresh();
}

void TfrmMain::ApplyPanelColours() {
    const QColor face = palette().color(QPalette::Button);
    const std::uint32_t faceRgb = static_cast<std::uint32_t>(face.red() | (face.green() << 8) | (face.blue() << 16));
    const AppliedColours c =
        ApplyColours(graphSettings_.legendColour, graphSettings_.backgroundColour, graphSettings_.drawSolidLines,
                     graphSettings_.barColour, graphSettings_.lineColour, faceRgb);
    const std::uint32_t rgb = ColourRgb(c.panel, faceRgb);
    const QColor panel(ColourRed(rgb), ColourGreen(rgb), ColourBlue(rgb));
    for (QWidget* w : {Panel1, Panel3}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, panel);
        w->setPalette(p);
        w->setAutoFillBackground(true);
        if (auto* frame = qobject_cast<QFrame*>(w)) {
            frame->setFrameShape(c.raisedPanels ? QFrame::Panel : QFrame::NoFrame);
            frame->setFrameShadow(c.raisedPanels ? QFrame::Raised : QFrame::Plain);
        }
    }
    // The fixed cells of the matrix are drawn in the button colour.
    QPalette grid = StringGridTab->palette();
    grid.setColor(QPalette::Button, panel);
    StringGridTab->setPalette(grid);
    Panel4->SetPanelColour(c.panel, c.raisedPanels);
}

namespace {
std::optional<PrintPageKind> ShownPageKind(int page, int innerPage) {
    if (page == kPageList) return PrintPageKind::List;
    if (page != kPageViews) return std::nullopt;
    if (innerPage == kInnerTable) return PrintPageKind::Matrix;
    if (innerPage == kInnerSummary) return PrintPageKind::Summary;
    if (innerPage == kInnerChart) return PrintPageKind::Graph;
    return std::nullopt;
}
}  // namespace

void TfrmMain::PrintClick() {
    const auto kind = ShownPageKind(Notebook1->currentIndex(), Notebook2->currentIndex());
    if (!kind) return;
    double* mm = settings_.marginsMm;
    PrintMargins margins{mm[0], mm[1], mm[2], mm[3]};
    std::optional<GraphPrintSource> graph;
    if (*kind == PrintPageKind::Graph) {
        const bool progressive = view_.graphMode == kGraphVector && view_.vectorKind == kVectorProgressive;
        graph = GraphPrintSourceOf(
            *GraphPage, LabelTitle->text().toStdString(), progressive,
            progressive ? ProgressiveLegendLines(ProgressiveLegendTexts(stats_.progressive, data_.rangeCount))
                        : std::vector<std::string>{});
    }
    PrintPage(this, *kind, data_, stats_, openFileName_.toStdString(), margins,
              printerChooser ? *printerChooser : *PrtDialog, graph ? &*graph : nullptr);
    // Margins raised to the printer's borders stay raised.
    mm[0] = margins.left;
    mm[1] = margins.right;
    mm[2] = margins.top;
    mm[3] = margins.bottom;
}

void TfrmMain::PageSetupClick() {
    const auto kind = ShownPageKind(Notebook1->currentIndex(), Notebook2->currentIndex());
    double* mm = settings_.marginsMm;
    PrintMargins margins{mm[0], mm[1], mm[2], mm[3]};
    PageSetup(*MarginDlg, kind.value_or(PrintPageKind::List), margins);
    mm[0] = margins.left;
    mm[1] = margins.right;
    mm[2] = margins.top;
    mm[3] = margins.bottom;
}

void TfrmMain::ExportClick() {
    if (!data_.dataLoaded) return;
    SaveDialog1->setDirectory(QString::fromStdString(settings_.directory));
    SaveDialog1->selectFile(QString::fromStdString(data_.defaultSaveName));
    ExportText(data_, *ExportDlg, exportUi ? *exportUi : *saveDialogUi_);
    Refresh();
}

void TfrmMain::ImportClick() {
    StandardImportDialogs dialogs(this);
    const ImportCommandOutcome outcome =
        RunImport(data_, QString::fromStdString(settings_.directory), importUi ? *importUi : dialogs,
                  converterLibraryName.isEmpty() ? QString(kConverterLibraryName) : converterLibraryName);
    openDialogFileName_ = outcome.openDialogFileName;
    if (outcome.dataSetReplaced) {
        DataSetReplaced(outcome.openDialogFileName);
        Notebook1->setCurrentIndex(3);
    }
    Refresh();
}

void TfrmMain::ListClick() {
    Notebook1->setCurrentIndex(kPageList);
    Refresh();
    ListView->setFocus();
}

void TfrmMain::TableToolClick() {
    if (!HasCurrent(data_.header)) return;
    Panel3->hide();
    Notebook1->setCurrentIndex(kPageViews);
    if (view_.tableKind == kTableMatrix) {
        Notebook2->setCurrentIndex(kInnerTable);
        StringGridTab->setFocus();
    } else {
        Notebook2->setCurrentIndex(kInnerSummary);
    }
    Refresh();
}

void TfrmMain::MatrixClick() {
    if (!HasCurrent(data_.header)) return;
    Panel3->hide();
    Notebook1->setCurrentIndex(kPageViews);
    view_.tableKind = kTableMatrix;
    Notebook2->setCurrentIndex(kInnerTable);
    StringGridTab->setFocus();
    Refresh();
}

void TfrmMain::SummaryClick() {
    if (!HasCurrent(data_.header)) return;
    Panel3->hide();
    Notebook1->setCurrentIndex(kPageViews);
    view_.tableKind = kTableSummary;
    Notebook2->setCurrentIndex(kInnerSummary);
    Refresh();
}

void TfrmMain::BarClick(int tag, bool fromMenu) {
    if (!HasCurrent(data_.header)) return;
    LockCharts();
    Panel3->hide();
    view_.graphMode = kGraphBar;
    if (fromMenu) view_.barKind = tag;
    Notebook1->setCurrentIndex(kPageViews);
    Notebook2->setCurrentIndex(kInnerChart);
    Refresh();
}

void TfrmMain::LineClick(int tag, bool fromMenu) {
    if (fromMenu && !LineItemAccepted(tag, data_.header)) return;
    LockCharts();
    if (fromMenu) {
        if (!LineItemAccepted(tag, data_.header)) return;
        view_.lineChannel = tag;
    } else {
        view_.lineChannel = LineToolChannel(view_.lineChannel, data_.header);
    }
    view_.graphMode = kGraphLine;
    Panel3->hide();
    Notebook1->setCurrentIndex(kPageViews);
    Notebook2->setCurrentIndex(kInnerChart);
    Refresh();
}

void TfrmMain::VectorClick(int tag, bool fromMenu) {
    if (!HasCurrent(data_.header)) return;
    LockCharts();
    Notebook1->setCurrentIndex(kPageViews);
    Notebook2->setCurrentIndex(kInnerChart);
    view_.graphMode = kGraphVector;
    if (fromMenu) view_.vectorKind = tag;
    Panel3->setVisible(view_.vectorKind == kVectorProgressive && actLegend->isChecked());
    Refresh();
}

void TfrmMain::LockCharts() {
    GraphPage->Chart1->BeginUpdate();
    GraphPage->Chart2->BeginUpdate();
}

void TfrmMain::CopyClick() {
    if (Notebook1->currentIndex() != kPageViews || !data_.statisticsValid) return;
    QWidget& page = *Notebook1->widget(kPageViews);
    const int inner = Notebook2->currentIndex();
    if (inner == kInnerChart)
        CopyGraphPage(page, {Panel1, Panel3}, *GraphPage, GraphPage->CurrentView());
    else if (inner == kInnerTable || inner == kInnerSummary)
        CopyWidget(page);
}

void TfrmMain::InstrumentClick() {
    Notebook1->setCurrentIndex(kPageComm);
    Refresh();
    InstrumentPage->FocusInput();
}

void TfrmMain::EraseClick() {
    Notebook1->setCurrentIndex(kPageList);
    RunEraseMeasurements(this, data_, *DeleteDlg, QString::fromStdString(settings_.directory));
    EnableCommandsForFile();
    Refresh();
}

void TfrmMain::EditStartingTimeClick() {
    Notebook1->setCurrentIndex(kPageList);
    RunEditStartingTime(this, data_, *EditRefDlg, QString::fromStdString(settings_.directory));
    if (data_.dataLoaded && data_.statisticsValid) FillInformationPanel();
    Refresh();
}

void TfrmMain::DataSetReplaced(const QString& fileName) {
    openFileName_ = QFileInfo(fileName).fileName();
    settings_.directory = QFileInfo(QString::fromStdString(data_.baseName)).absoluteDir().path().toStdString();
    RangeAccepted();
    EnableCommandsForFile();
    ListView->RebuildListColumns();
    ListView->InvalidatePosition();
}

void TfrmMain::DownloadFinished(bool dataLoaded) {
    if (dataLoaded) {
        EnableCommandsForFile();
        ListView->RebuildListColumns();
    } else {
        EnableCommandsForFile();
    }
    Refresh();
}

void TfrmMain::LegendClick() {
    if (!actLegend->isChecked()) {
        Panel1->hide();
        Panel3->hide();
    } else {
        Panel1->show();
        const int inner = Notebook2->currentIndex();
        Panel3->setVisible(view_.graphMode == kGraphVector && view_.vectorKind == kVectorProgressive &&
                           (inner == kInnerGraph || inner == kInnerChart));
    }
    Refresh();
}

void TfrmMain::AboutClick() { AboutBox->exec(); }

void TfrmMain::HelpContentsClick() {
    // The help is a set of HTML pages beside the program; "INDEX" is its
    // first page.
    const QString help = QDir(QCoreApplication::applicationDirPath()).filePath("help/index.html");
    if (QFileInfo::exists(help)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(help));
    } else {
        QMessageBox::information(this, QString::fromStdString(programTitle_), "The help pages are not installed.");
    }
}

void TfrmMain::Refresh() {
    if (!data_.statisticsValid) {
        LabelFileName->setText(kFileNamePrefix);
        LabelSerNum->setText(kSeriesNumberPrefix);
        LabelRefNum->setText(kRefNumberPrefix);
        LabelIntvT->setText(kIntervalTimePrefix);
        LabelFromTo->setText(kDisplayedFromPrefix);
        LabelNumMeas->setText(kMeasurementCountPrefix);
        LabelNeumannP->setText(kNeumannPrefix);
        LabelAvgS->setText(kAverageSpeedPrefix);
        LabelRestS->setText(kRestSpeedPrefix);
        LabelRestD->setText(kRestDirectionPrefix);
        SetFileCommandsEnabled(false);
        setWindowTitle(QString::fromStdString(programTitle_));
    }
    Panel4->Refresh();
    ApplyPanelColours();
    LayoutInformationPanel();
    ListView->LayoutListView();
    ListView->RebuildListColumns();
    view_.page = static_cast<MainPage>(Notebook1->currentIndex());
    view_.innerPage = static_cast<InnerPage>(Notebook2->currentIndex());
    LabelTitle->setText(QString::fromStdString(ViewTitle(view_, data_)));
    const bool graphShown = Notebook1->currentIndex() == kPageViews && Notebook2->currentIndex() == kInnerChart;
    if (graphShown && !GraphPage->ShowGraph(view_.graphMode, view_.barKind, view_.lineChannel, view_.barScale,
                                            view_.startOfDays, view_.vectorKind)) {
        // Nothing to draw from (a failed open, no range): the list instead of
        // the last file's graph.
        Notebook1->setCurrentIndex(kPageList);
        Panel3->hide();
        view_.page = kPageList;
        LabelTitle->setText(QString::fromStdString(ViewTitle(view_, data_)));
    } else if (graphShown) {
        if (view_.graphMode == kGraphVector && view_.vectorKind == kVectorProgressive) {
            const ProgressiveLegend l = ProgressiveLegendTexts(stats_.progressive, data_.rangeCount);
            LabelNeumannP->setText(QString::fromStdString(l.neumann));
            LabelAvgS->setText(QString::fromStdString(l.averageSpeed));
            LabelRestS->setText(QString::fromStdString(l.restSpeed));
            LabelRestD->setText(QString::fromStdString(l.restDirection));
            LabelNumPlotted->setText(QString::fromStdString(l.validPoints));
            LabelNumPlotted->setVisible(l.validPointsShown);
        }
    }
    for (TChartVx* chart : {GraphPage->Chart1, GraphPage->Chart2}) {
        while (chart->IsUpdating()) chart->EndUpdate();
    }
    actCopy->setEnabled(Notebook1->currentIndex() == kPageViews && data_.statisticsValid);
    actNumberMeasured->setEnabled(graphShown && view_.graphMode == kGraphBar);
    actPercent->setEnabled(graphShown && view_.graphMode == kGraphBar);
    actNumberMeasured->setChecked(view_.barScale != kBarScalePercent);
    actPercent->setChecked(view_.barScale == kBarScalePercent);
    if (Tools) Tools->UpdateItems();
    // Leaving the instrument page stops the terminal; showing it opens the
    // link and starts the pump.
    InstrumentPage->ViewRefreshed(Notebook1->currentIndex() == kPageComm);
}

void TfrmMain::ShowError(const QString& text) {
    QMessageBox::critical(this, QString::fromStdString(programTitle_), BoxText(text));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    InstrumentPage->ViewRefreshed(false);
    InstComm->Close();
    SaveMainWindowSettingsAtExit(settings_, store_);
    event->accept();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_) return;
    activated_ = true;
    FirstActivation();
}

void TfrmMain::FirstActivation() {
    AboutBox->setWindowTitle(windowTitle());
    AboutBox->SetBuildDate(version.buildDate);
    AboutBox->SetVersion(version.fileVersion);
    AboutBox->SetProductName(version.internalName);
    programTitle_ = ProgramTitleFromInternalName(version.internalName.toStdString(), programTitle_);
    setWindowTitle(QString::fromStdString(WindowCaption(programTitle_, data_)));
    Refresh();
    // Keys scroll the list from the start; the bar takes no focus while
    // there is nothing to scroll, so the list does.
    if (ListView->ScrollBarV->isEnabled()) {
        ListView->ScrollBarV->setFocus();
    } else {
        ListView->setFocus();
    }
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayoutInformationPanel();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize) LayoutInformationPanel();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::wheelEvent(QWheelEvent* event) {
    if (Notebook1->currentIndex() == kPageList && ListView->ScrollBarV->isEnabled()) {
        const int steps = event->angleDelta().y() / 120;
        ListView->ScrollBarV->setValue(ListView->ScrollBarV->value() - steps);
        event->accept();
        return;
    }
    QMainWindow::wheelEvent(event);
}

void TfrmMain::contextMenuEvent(QContextMenuEvent* event) {
    const std::vector<PopupEntry> entries =
        PopupEntries(static_cast<MainPage>(Notebook1->currentIndex()),
                     static_cast<InnerPage>(Notebook2->currentIndex()), view_.graphMode, data_.header);
    if (entries.empty()) return;
    QMenu popup(this);
    for (PopupEntry e : entries) {
        if (e == PopupEntry::FirstSeparator || e == PopupEntry::SecondSeparator) {
            popup.addSeparator();
            continue;
        }
        if (QAction* a = PopupAction(e)) popup.addAction(a);
    }
    popup.exec(event->globalPos());
}

QAction* TfrmMain::PopupAction(PopupEntry entry) const {
    switch (entry) {
        case PopupEntry::Matrix:
            return actMatrix;
        case PopupEntry::Summary:
            return actSummary;
        case PopupEntry::Speed:
            return popupKinds[0];
        case PopupEntry::Direction:
            return popupKinds[1];
        case PopupEntry::OxygenFlux:
            return popupKinds[2];
        case PopupEntry::Temperature:
            return lineItems[kLineTemperature];
        case PopupEntry::Optional:
            return lineItems[kLineOptional];
        case PopupEntry::OxygenMgl:
            return lineItems[kLineOxygenMgl];
        case PopupEntry::Flux:
            return lineItems[kLineFlux];
        case PopupEntry::NumberMeasured:
            return actNumberMeasured;
        case PopupEntry::Percent:
            return actPercent;
        case PopupEntry::Progressive:
            return vectorItems[kVectorProgressive];
        case PopupEntry::MaxMean:
            return vectorItems[kVectorMaxMean];
        case PopupEntry::FluxNumber:
            return vectorItems[kVectorFluxNumber];
        case PopupEntry::RelativeOxygenFlux:
            return vectorItems[kVectorOxygenFlux];
        case PopupEntry::Stick:
            return vectorItems[kVectorStick];
        case PopupEntry::Copy:
            return actCopy;
        default:
            return nullptr;
    }
}

}  // namespace corvan
