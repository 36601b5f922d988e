#include "instrument/gui/TEditRefDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data/data_set.h"
#include "data/file_error.h"
#include "instrument/erase_measurements.h"
#include "instrument/gui/TDeleteDlg.h"
#include "instrument/starting_time.h"

namespace corvan {

namespace {
constexpr const char* kCaption = "Edit starting time";
constexpr const char* kColumns[] = {"Ser", "First", "Last", "Count", "Date", "Time"};
constexpr const char* kYear = "Year";
constexpr const char* kMonth = "Month";
constexpr const char* kDay = "Day";
constexpr const char* kHour = "Hour";
constexpr const char* kMinute = "Minute";
constexpr const char* kOk = "&OK";
constexpr const char* kCancel = "&Cancel";

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1("Spin") + QString::fromLatin1(name));
    s->setRange(low, high);
    return s;
}
}  // namespace

TEditRefDlg::TEditRefDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(kCaption));
    ListSeries = new QTreeWidget(this);
    ListSeries->setObjectName(QStringLiteral("ListSeries"));
    ListSeries->setRootIsDecorated(false);
    ListSeries->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (const char* c : kColumns) headers << QString::fromLatin1(c);
    ListSeries->setHeaderLabels(headers);
    ListSeries->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    SpinYear = Spin(this, kYear, 0, 99);
    SpinMonth = Spin(this, kMonth, 1, 12);
    SpinDay = Spin(this, kDay, 1, 31);
    SpinHour = Spin(this, kHour, 0, 23);
    SpinMinute = Spin(this, kMinute, 0, 59);
    OKBtn = new QPushButton(QString::fromLatin1(kOk), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QString::fromLatin1(kCancel), this);

    auto* spins = new QGridLayout;
    const std::pair<const char*, QSpinBox*> rows[] = {
        {kYear, SpinYear}, {kMonth, SpinMonth}, {kDay, SpinDay}, {kHour, SpinHour}, {kMinute, SpinMinute}};
    int column = 0;
    for (const auto& [label, spin] : rows) {
        spins->addWidget(new QLabel(QString::fromLatin1(label), this), 0, column);
        spins->addWidget(spin, 1, column);
        ++column;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListSeries);
    layout->addLayout(spins);
    layout->addLayout(buttons);

    connect(SpinMonth, &QSpinBox::valueChanged, this, &TEditRefDlg::SpinMonthChange);
    connect(SpinYear, &QSpinBox::valueChanged, this, &TEditRefDlg::SpinYearChange);
    connect(ListSeries, &QTreeWidget::itemSelectionChanged, this, &TEditRefDlg::SeriesSelected);
    connect(OKBtn, &QPushButton::clicked, this, &TEditRefDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TEditRefDlg::Edit(DataSet& data, int seriesCount) {
    data_ = &data;
    count_ = std::clamp(seriesCount, 0, kMaxSeries);
    selected_ = -1;
    FillList();
    if (count_ > 0) {
        LoadSeries(0);
        const QSignalBlocker block(ListSeries);
        ListSeries->setCurrentItem(ListSeries->topLevelItem(0));
    }
    const bool ok = exec() == QDialog::Accepted;
    data_ = nullptr;
    return ok;
}

void TEditRefDlg::FillList() {
    const QSignalBlocker block(ListSeries);
    ListSeries->clear();
    for (const SeriesListLine& l : SeriesListLines(*data_, count_)) {
        QStringList cells;
        for (const std::string* s : {&l.series, &l.first, &l.last, &l.count, &l.date, &l.time}) {
            cells << QString::fromStdString(*s);
        }
        auto* item = new QTreeWidgetItem(ListSeries, cells);
        for (int c = 0; c < 4; ++c) item->setTextAlignment(c, Qt::AlignRight);
    }
}

void TEditRefDlg::LoadSeries(int index) {
    const SeriesStartFields f = StartFields(data_->series[static_cast<std::size_t>(index)]);
    loading_ = true;
    SpinYear->setValue(f.year);
    SpinMonth->setValue(f.month);
    SpinMonthChange();
    SpinDay->setValue(f.day);
    SpinHour->setValue(f.hour);
    SpinMinute->setValue(f.minute);
    loading_ = false;
    selected_ = index;
}

void TEditRefDlg::StoreSeries(int index) {
    if (index < 0 || index >= count_) return;
    StoreStartFields(data_->series[static_cast<std::size_t>(index)],
                     {SpinYear->value(), SpinMonth->value(), SpinDay->value(), SpinHour->value(), SpinMinute->value()});
}

void TEditRefDlg::SeriesSelected() {
    const auto items = ListSeries->selectedItems();
    if (!data_ || items.isEmpty()) return;
    const int index = ListSeries->indexOfTopLevelItem(items.constFirst());
    if (index == selected_ || index < 0) return;
    StoreSeries(selected_);
    LoadSeries(index);
    FillList();
    const QSignalBlocker block(ListSeries);
    ListSeries->setCurrentItem(ListSeries->topLevelItem(index));
}

void TEditRefDlg::SpinMonthChange() {
    // Lowering the maximum lowers a larger day with it.
    SpinDay->setMaximum(DayMaximum(SpinYear->value(), SpinMonth->value()));
}

void TEditRefDlg::SpinYearChange() {
    if (SpinMonth->value() == 2) SpinMonthChange();
}

void TEditRefDlg::OKBtnClick() {
    if (data_) StoreSeries(selected_);
    accept();
}

bool RunEditStartingTime(QWidget* parent, DataSet& data, TEditRefDlg& dialog, const QString& directory) {
    const QString base = SelectMeasurementFile(parent, directory);
    if (base.isEmpty()) return false;
    try {
        data.baseName = base.toStdString();
        const LoadOutcome outcome = LoadMeasurementFiles(data);
        // A missing reference file shows an empty list of series.
        if (!outcome.message.empty() && !LoadedWithoutReference(data, outcome)) {
            QMessageBox::critical(parent, QString(), QString::fromStdString(outcome.message));
            data.dataLoaded = false;
            data.statisticsValid = false;
            return false;
        }
        if (ReadFileVersion(data.baseName) != kCurrentFileVersion) WriteMeasurementFile(data);
        data.seriesCount = ReadReferenceFile(data.baseName, data.series, &data);
        data.dataLoaded = false;
        data.statisticsValid = false;
        const int count = data.seriesCount;
        if (!dialog.Edit(data, count)) return false;
        // Without a readable reference file there is nothing to write back.
        if (count < 0) return false;
        WriteReferenceFile(data, count);
    } catch (const FileError& e) {
        QMessageBox::critical(parent, QString(), QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

}  // namespace corvan
