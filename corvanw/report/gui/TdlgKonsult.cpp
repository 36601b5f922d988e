#include "report/gui/TdlgKonsult.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "data/file_error.h"
#include "report/consult_settings.h"
#include "report/gui/offscreen_pictures.h"

namespace corvan {

namespace {

constexpr const char* kGroupCaptions[3] = {"Surface", "Center", "Bottom"};
constexpr const char* kFileNames[3] = {"edtSurfFile", "edtCenterFile", "edtBottFile"};
constexpr const char* kSelectionNames[3] = {"edtSurfSel", "edtCenterSel", "edtBottSel"};
constexpr const char* kDepthNames[3] = {"edtSurfDpt", "edtCenterDpt", "edtBottDpt"};
constexpr const char* kAddressNames[3] = {"edtSurfAdr", "edtCenterAdr", "edtBottAdr"};
constexpr const char* kTemplateFilter = "Templates (*.docx *.dotx *.dot)";
constexpr const char* kNoTemplateText = "Choose a report template first.";
constexpr const char* kWritingText = "Writing the report...";

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

std::string SlotSelectionText(const ConsultSlot& slot) {
    return "Ser: " + std::to_string(slot.series) + ", Meas: " + std::to_string(slot.first + 1) + " - " +
           std::to_string(slot.last + 1);
}

TdlgKonsult::TdlgKonsult(SettingsAccess& store, QWidget* parent) : QDialog(parent), store_(store) {
    setWindowTitle(kConsultCaption);
    BuildControls();
    // Dialog creation: the last template when it is still there, else the
    // one that comes with the program.
    const std::string saved = store_.ReadString(kConsultSection, kConsultTemplateIdent, "");
    const QString bundled = QDir(QApplication::applicationDirPath()).filePath(kBundledTemplateName);
    if (!saved.empty() && QFileInfo::exists(Q(saved))) {
        edtTemplate->setText(Q(saved));
    } else if (QFileInfo::exists(bundled)) {
        edtTemplate->setText(QDir::toNativeSeparators(bundled));
    }
    ApplyStartupValues();
}

void TdlgKonsult::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    // The three positions side by side, the site facts below them.
    auto* positions = new QHBoxLayout;
    layout->addLayout(positions);
    const auto edit = [this](const char* name, bool readOnly) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        return e;
    };
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(kGroupCaptions[i], this);
        auto* grid = new QGridLayout(group);
        fileEdits[static_cast<std::size_t>(i)] = edit(kFileNames[i], true);
        selectionEdits[static_cast<std::size_t>(i)] = edit(kSelectionNames[i], true);
        depthEdits[static_cast<std::size_t>(i)] = edit(kDepthNames[i], false);
        addressEdits[static_cast<std::size_t>(i)] = edit(kAddressNames[i], false);
        auto* browse = new QPushButton("...", this);
        auto* clear = new QPushButton("Clear", this);
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance("....") + 16);
        fileEdits[static_cast<std::size_t>(i)]->setMinimumWidth(
            fileEdits[static_cast<std::size_t>(i)]->fontMetrics().horizontalAdvance("M") * 14);
        browse->setProperty("tag", i + 1);
        clear->setProperty("tag", i + 1);
        browseButtons[static_cast<std::size_t>(i)] = browse;
        clearButtons[static_cast<std::size_t>(i)] = clear;
        grid->addWidget(new QLabel("File name", group), 0, 0);
        grid->addWidget(fileEdits[static_cast<std::size_t>(i)], 0, 1);
        grid->addWidget(browse, 0, 2);
        grid->addWidget(clear, 0, 3);
        grid->addWidget(new QLabel("Selection", group), 1, 0);
        grid->addWidget(selectionEdits[static_cast<std::size_t>(i)], 1, 1, 1, 3);
        grid->addWidget(new QLabel("Depth", group), 2, 0);
        grid->addWidget(depthEdits[static_cast<std::size_t>(i)], 2, 1, 1, 3);
        grid->addWidget(new QLabel("Address", group), 3, 0);
        grid->addWidget(addressEdits[static_cast<std::size_t>(i)], 3, 1, 1, 3);
        positions->addWidget(group);
        connect(browse, &QPushButton::clicked, this, [this, i] { BrowseClick(i); });
        connect(clear, &QPushButton::clicked, this, [this, i] { ClearClick(i); });
        fileEdits[static_cast<std::size_t>(i)]->installEventFilter(this);
    }

    auto* global = new QGroupBox("Global", this);
    auto* grid = new QGridLayout(global);
    edtTemplate = edit("edtTemplate", true);
    LoadG = new QPushButton("...", this);
    LoadG->setObjectName("LoadG");
    LoadG->setFixedWidth(LoadG->fontMetrics().horizontalAdvance("....") + 16);
    edtTotDyp = edit("edtTotDyp", false);
    edtUTM = edit("edtUTM", false);
    edtSted = edit("edtSted", false);
    edtKomm = edit("edtKomm", false);
    edtFylke = edit("edtFylke", false);
    cbGraphDays = new QCheckBox("Display start of Days", this);
    cbGraphDays->setObjectName("cbGraphDays");
    cbBarGraphValg = new QCheckBox("Bar graphs in percent", this);
    cbBarGraphValg->setObjectName("cbBarGraphValg");
    cbAutoSize = new QCheckBox("Auto size graph", this);
    cbAutoSize->setObjectName("cbAutoSize");
    cbAutoSize->setChecked(true);
    grid->addWidget(new QLabel("Template", global), 0, 0);
    grid->addWidget(edtTemplate, 0, 1);
    grid->addWidget(LoadG, 0, 2);
    const std::pair<const char*, QLineEdit*> facts[] = {
        {"Depth", edtTotDyp}, {"UTM/GPS", edtUTM}, {"Sted", edtSted}, {"Kommune", edtKomm}, {"Fylke", edtFylke}};
    int row = 1;
    for (const auto& [caption, box] : facts) {
        grid->addWidget(new QLabel(caption, global), row, 0);
        grid->addWidget(box, row++, 1, 1, 2);
    }
    grid->addWidget(cbGraphDays, row++, 1, 1, 2);
    grid->addWidget(cbBarGraphValg, row++, 1, 1, 2);
    grid->addWidget(cbAutoSize, row, 1, 1, 2);
    layout->addWidget(global);
    connect(LoadG, &QPushButton::clicked, this, &TdlgKonsult::LoadGClick);

    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QDialogButtonBox::Ok);
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &TdlgKonsult::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    popConsult = new QMenu(this);
    popConsult->setObjectName("popConsult");
    actUseStartup = popConsult->addAction(kUseAsStartupCaption);
    actClearStartup = popConsult->addAction(kClearDefaultCaption);
    connect(actUseStartup, &QAction::triggered, this, &TdlgKonsult::UseAsStartupValue);
    connect(actClearStartup, &QAction::triggered, this, &TdlgKonsult::ClearDefaultValue);
    // The boxes that show a file or a range belong to their slot; only what
    // the user types can become a startup value.
    const auto offerMenu = [this](QWidget* w) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            if (QMenu* menu = PrepareStartupMenu(w)) menu->popup(w->mapToGlobal(at));
        });
    };
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (!e->isReadOnly()) offerMenu(e);
    }
    for (QCheckBox* c : findChildren<QCheckBox*>()) offerMenu(c);
}

void TdlgKonsult::ApplyStartupValues() {
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (e->isReadOnly()) continue;
        const StartupValue v = ReadStartupValue(store_, e->objectName().toStdString());
        if (v.stored) e->setText(Q(v.text));
    }
    for (QCheckBox* c : findChildren<QCheckBox*>()) {
        const StartupValue v = ReadStartupValue(store_, c->objectName().toStdString());
        if (v.stored) c->setChecked(v.checked);
    }
}

QMenu* TdlgKonsult::PrepareStartupMenu(QWidget* component) {
    auto* box = qobject_cast<QCheckBox*>(component);
    auto* line = qobject_cast<QLineEdit*>(component);
    if (!box && !line) return nullptr;
    menuComponent_ = component;
    const StartupValue stored = ReadStartupValue(store_, component->objectName().toStdString());
    const StartupMenuState state =
        StartupMenuFor(box != nullptr, stored.stored, line ? line->text().toStdString() : std::string());
    actUseStartup->setEnabled(state.useEnabled);
    actClearStartup->setEnabled(state.clearEnabled);
    actClearStartup->setText(Q(state.clearCaption));
    return popConsult;
}

void TdlgKonsult::UseAsStartupValue() {
    if (!menuComponent_) return;
    const std::string name = menuComponent_->objectName().toStdString();
    if (auto* box = qobject_cast<QCheckBox*>(menuComponent_)) {
        StoreStartupValue(store_, name, true, "", box->isChecked());
    } else if (auto* line = qobject_cast<QLineEdit*>(menuComponent_)) {
        StoreStartupValue(store_, name, false, line->text().toStdString(), false);
    }
}

void TdlgKonsult::ClearDefaultValue() {
    if (menuComponent_) ClearStartupValue(store_, menuComponent_->objectName().toStdString());
}

bool TdlgKonsult::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        for (int i = 0; i < 3; ++i) {
            if (watched == fileEdits[static_cast<std::size_t>(i)]) {
                BrowseClick(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgKonsult::BrowseClick(int position) {
    if (!runOpen || !currentData || !runOpen()) return;
    const DataSet* data = currentData();
    if (!data || !data->dataLoaded) return;
    ConsultSlot& slot = slots_[static_cast<std::size_t>(position)];
    slot.baseName = data->baseName;
    slot.series = data->currentSeries;
    slot.first = data->rangeFirst;
    slot.last = data->rangeLast;
    slot.interval = data->rangeInterval;
    const int s = std::clamp<int>(data->currentSeries, 1, kMaxSeries);
    slot.intervalCode = data->series[static_cast<std::size_t>(s - 1)].intervalCode;
    fileEdits[static_cast<std::size_t>(position)]->setText(Q(slot.baseName + ".CVN"));
    selectionEdits[static_cast<std::size_t>(position)]->setText(Q(SlotSelectionText(slot)));
    depthEdits[static_cast<std::size_t>(position)]->setFocus();
}

void TdlgKonsult::ClearClick(int position) {
    const std::size_t k = static_cast<std::size_t>(position);
    slots_[k] = ConsultSlot{};
    fileEdits[k]->clear();
    selectionEdits[k]->clear();
    depthEdits[k]->clear();
    addressEdits[k]->clear();
}

void TdlgKonsult::LoadGClick() {
    QString initial = edtTemplate->text();
    if (initial.isEmpty()) initial = Q(store_.ReadString(kConsultSection, kConsultTemplateIdent, ""));
    if (initial.isEmpty()) initial = QDir(QApplication::applicationDirPath()).filePath(kBundledTemplateName);
    const QString chosen =
        chooseTemplate ? chooseTemplate(initial) : QFileDialog::getOpenFileName(this, "Open", initial, kTemplateFilter);
    if (chosen.isEmpty()) return;
    store_.WriteString(kConsultSection, kConsultTemplateIdent, chosen.toStdString());
    edtTemplate->setText(chosen);
}

ReportRequest TdlgKonsult::BuildRequest() const {
    ReportRequest r;
    r.templateFileName = edtTemplate->text().toStdString();
    for (std::size_t i = 0; i < 3; ++i) {
        const ConsultSlot& slot = slots_[i];
        r.facts.depth[i] = depthEdits[i]->text().toStdString();
        r.facts.address[i] = addressEdits[i]->text().toStdString();
        if (slot.Empty()) continue;
        r.positions[i].baseName = slot.baseName;
        r.positions[i].range.series = slot.series;
        r.positions[i].range.first = slot.first + 1;
        r.positions[i].range.last = slot.last + 1;
    }
    r.facts.totalDepth = edtTotDyp->text().toStdString();
    r.facts.utm = edtUTM->text().toStdString();
    r.facts.sted = edtSted->text().toStdString();
    r.facts.kommune = edtKomm->text().toStdString();
    r.facts.fylke = edtFylke->text().toStdString();
    r.startOfDays = cbGraphDays->isChecked();
    r.barPercent = cbBarGraphValg->isChecked();
    r.autoSize = cbAutoSize->isChecked();
    r.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    r.today = LocalNow().ToCivil();
    return r;
}

void TdlgKonsult::ReportError(const QString& text) {
    if (showError) {
        showError(text);
    } else {
        QMessageBox::critical(this, kConsultCaption, text);
    }
}

void TdlgKonsult::OKBtnClick() {
    ReportRequest request = BuildRequest();
    if (request.templateFileName.empty()) {
        ReportError(kNoTemplateText);
        return;
    }
    if (completeRequest) completeRequest(request);
    const QString folder =
        documentsFolder ? documentsFolder() : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(folder);
    const QString output = QDir(folder).filePath(Q(ReportFileName(request.today)));
    request.outputFileName = QDir::toNativeSeparators(output).toStdString();

    QProgressDialog progress(kWritingText, "Cancel", 0, 1, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QtReportPictureSource pictures;
    if (completePictures) completePictures(pictures);
    ReportOutcome outcome;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = ProduceReport(request, &pictures, [&](int done, int total, const std::string& what) {
            progress.setMaximum(total);
            progress.setValue(done);
            progress.setLabelText(Q(what));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    } catch (const FileError& e) {
        QGuiApplication::restoreOverrideCursor();
        progress.reset();
        // The dialog stays open with everything the user entered.
        ReportError(Q(e.FileName() + ": " + e.Reason()));
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    progress.reset();
    if (outcome.cancelled) return;
    lastReport_ = output;
    accept();
    if (afterReport) afterReport();
    if (openDocument) {
        openDocument(output);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(output));
    }
}

}  // namespace corvan
