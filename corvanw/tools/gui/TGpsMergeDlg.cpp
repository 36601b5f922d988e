#include "tools/gui/TGpsMergeDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "data/file_error.h"
#include "tools/gui/tool_widgets.h"
#include "ui/TSelectDlg.h"

namespace corvan {

namespace {

constexpr const char* kCaption = "Merge files";
constexpr const char* kGroupCaption = "Import temperature data to GPS file";
constexpr const char* kTemperatureLabel = "Temperature file:";
constexpr const char* kGpsLabel = "GPS file:";
constexpr const char* kFirstLabel = "First valid:";
constexpr const char* kLastLabel = "Last valid:";
constexpr const char* kLoadCaption = "Load...";
constexpr const char* kSelectCaption = "Select...";
constexpr const char* kOpenFilter = "Measurement Files (*.CVN)";

QLineEdit* NewEdit(QWidget* parent, const char* name, bool readOnly) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

// An empty or unconvertible box counts as 1.
int BoxNumber(const QLineEdit* box) {
    bool ok = false;
    const int v = box->text().trimmed().toInt(&ok);
    return ok ? v : 1;
}

}  // namespace

TGpsMergeDlg::TGpsMergeDlg(DataSet& data, TSelectDlg& select, QWidget* parent)
    : QDialog(parent), data_(data), select_(select) {
    setWindowTitle(kCaption);
    auto* group = new QGroupBox(kGroupCaption, this);
    auto* grid = new QGridLayout(group);
    EditTfile = NewEdit(group, "EditTfile", true);
    EditTfirst = NewEdit(group, "EditTfirst", false);
    EditTlast = NewEdit(group, "EditTlast", false);
    EditGFile = NewEdit(group, "EditGFile", true);
    EditGfirst = NewEdit(group, "EditGfirst", false);
    EditGlast = NewEdit(group, "EditGlast", false);
    LoadT = new QPushButton(kLoadCaption, group);
    SelT = new QPushButton(kSelectCaption, group);
    LoadG = new QPushButton(kLoadCaption, group);
    SelG = new QPushButton(kSelectCaption, group);
    LoadT->setObjectName("LoadT");
    SelT->setObjectName("SelT");
    LoadG->setObjectName("LoadG");
    SelG->setObjectName("SelG");
    int row = 0;
    for (auto [label, file, first, last, load, sel] :
         {std::tuple{kTemperatureLabel, EditTfile, EditTfirst, EditTlast, LoadT, SelT},
          std::tuple{kGpsLabel, EditGFile, EditGfirst, EditGlast, LoadG, SelG}}) {
        grid->addWidget(new QLabel(label, group), row, 0);
        grid->addWidget(file, row, 1, 1, 3);
        grid->addWidget(load, row, 4);
        grid->addWidget(new QLabel(kFirstLabel, group), row + 1, 0);
        grid->addWidget(first, row + 1, 1);
        grid->addWidget(new QLabel(kLastLabel, group), row + 1, 2);
        grid->addWidget(last, row + 1, 3);
        grid->addWidget(sel, row + 1, 4);
        row += 2;
    }
    grid->setColumnMinimumWidth(1, 70);
    grid->setColumnMinimumWidth(3, 70);

    for (QPushButton* b : {LoadT, SelT, LoadG, SelG}) b->setAutoDefault(false);
    const OkCancelHelp buttons = LayOutWithOkCancelHelp(this, group);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    HelpBtn = buttons.help;

    t_ = Side{MergeSide::Temperature, {}, {}, EditTfile, EditTfirst, EditTlast, SelT};
    g_ = Side{MergeSide::Gps, {}, {}, EditGFile, EditGfirst, EditGlast, SelG};
    chooseFileName = [this](MergeSide, const QString& previous) {
        const QFileInfo info(previous);
        return QFileDialog::getOpenFileName(this, QString(), previous.isEmpty() ? QString() : info.absoluteFilePath(),
                                            kOpenFilter);
    };
    connect(LoadT, &QPushButton::clicked, this, [this] { LoadClick(t_); });
    connect(LoadG, &QPushButton::clicked, this, [this] { LoadClick(g_); });
    connect(SelT, &QPushButton::clicked, this, [this] { SelectRun(t_, true); });
    connect(SelG, &QPushButton::clicked, this, [this] { SelectRun(g_, true); });
    connect(OKBtn, &QPushButton::clicked, this, &TGpsMergeDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TGpsMergeDlg::ClearFlags() {
    data_.dataLoaded = false;
    data_.statisticsValid = false;
    data_.referenceLoaded = false;
}

void TGpsMergeDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TGpsMergeDlg::FormShow() {
    // The data set serves the range dialog while this one is open; what was
    // loaded before is no longer shown.
    ClearFlags();
    for (Side* s : {&t_, &g_}) {
        s->state = MergeSideState{};
        s->file->clear();
        s->first->clear();
        s->last->clear();
        s->select->setEnabled(false);
    }
}

void TGpsMergeDlg::done(int result) {
    ClearFlags();
    QDialog::done(result);
}

void TGpsMergeDlg::LoadClick(Side& side) {
    const QString picked = chooseFileName ? chooseFileName(side.kind, side.previous) : QString();
    if (picked.isEmpty() || !QFileInfo::exists(picked)) return;
    const QFileInfo info(picked);
    side.previous = info.absoluteFilePath();
    side.state = MergeSideState{};
    side.state.baseName = StripExtension(QDir::toNativeSeparators(info.absoluteFilePath()).toStdString());
    side.file->setText(info.fileName());
    QDir::setCurrent(info.absolutePath());
    const auto header = ReadHeaderRecord(side.state.baseName);
    const std::string refusal = CheckMergeFile(side.kind, header);
    if (!refusal.empty()) {
        side.select->setEnabled(false);
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(refusal));
        return;
    }
    side.state.header = *header;
    side.select->setEnabled(true);
    side.state.seriesCount = std::max(0, ReadSeriesTableOfVersion(side.state.baseName, side.state.series));
    side.state.currentSeries = 1;
    side.first->clear();
    side.last->clear();
    SelectRun(side, false);
}

void TGpsMergeDlg::SelectRun(Side& side, bool allowCancel) {
    data_.header = side.state.header;
    data_.series = side.state.series;
    data_.seriesCount = side.state.seriesCount;
    data_.currentSeries = static_cast<std::uint16_t>(side.state.currentSeries);
    const bool empty = side.first->text().trimmed().isEmpty() || side.last->text().trimmed().isEmpty();
    data_.rangeFirst = BoxNumber(side.first) - 1;
    data_.rangeLast = BoxNumber(side.last) - 1;
    // No run chosen yet: the range dialog proposes the whole series.
    data_.rangeCount = empty ? 0 : data_.rangeLast - data_.rangeFirst;
    if (!select_.Execute(allowCancel)) return;
    side.state.currentSeries = data_.currentSeries;
    side.first->setText(QString::number(data_.rangeFirst + 1));
    side.last->setText(QString::number(data_.rangeLast + 1));
}

void TGpsMergeDlg::OKBtnClick() {
    t_.state.first = BoxNumber(EditTfirst);
    t_.state.last = BoxNumber(EditTlast);
    g_.state.first = BoxNumber(EditGfirst);
    g_.state.last = BoxNumber(EditGlast);
    MergeOutcome outcome;
    try {
        outcome = RunGpsMerge(t_.state, g_.state, data_);
    } catch (const FileError& e) {
        outcome.message = e.what();
    }
    if (!outcome.message.empty()) {
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(outcome.message));
        return;
    }
    accept();
}

}  // namespace corvan
