#include "tools/gui/TdlgSetSal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QVBoxLayout>

#include "data/file_error.h"
#include "tools/gui/tool_widgets.h"
#include "tools/salinity.h"

namespace corvan {

namespace {

constexpr const char* kCaption = "Set salinity";
constexpr int kSalinityColumn = 4;

}  // namespace

TdlgSetSal::TdlgSetSal(DataSet& data, QWidget* parent) : QDialog(parent), data_(data) {
    setWindowTitle(kCaption);
    StringGridPress = new QTableWidget(0, 5, this);
    StringGridPress->setObjectName("StringGridPress");
    for (int c = 0; c < 5; ++c)
        StringGridPress->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromLatin1(kSalinityHeadings[c])));
    QFont bold = StringGridPress->horizontalHeader()->font();
    bold.setBold(true);
    StringGridPress->horizontalHeader()->setFont(bold);
    StringGridPress->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGridPress->horizontalHeader()->setHighlightSections(false);
    StringGridPress->verticalHeader()->hide();
    StringGridPress->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGridPress->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridPress->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridPress->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                     QAbstractItemView::EditKeyPressed);
    StringGridPress->setSelectionMode(QAbstractItemView::SingleSelection);

    const OkCancelHelp buttons = LayOutWithOkCancelHelp(this, StringGridPress, false);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    HelpBtn = buttons.help;

    connect(StringGridPress, &QTableWidget::itemChanged, this, &TdlgSetSal::CellChanged);
    connect(OKBtn, &QPushButton::clicked, this, &TdlgSetSal::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TdlgSetSal::Execute() { return exec() == QDialog::Accepted; }

void TdlgSetSal::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    StringGridPress->setFocus();
    StringGridPress->setCurrentCell(0, kSalinityColumn);
}

void TdlgSetSal::FormShow() {
    filling_ = true;
    edited_.fill(false);
    const auto rows = SalinityRows(data_, SystemDecimalSeparator());
    StringGridPress->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const SalinityRow& row = rows[static_cast<std::size_t>(r)];
        const QString texts[5] = {QString::number(row.series), QString::number(row.first),
                                  QString::fromStdString(row.date), QString::fromStdString(row.time),
                                  QString::fromStdString(row.salinity)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c != kSalinityColumn) item->setFlags(Qt::ItemIsEnabled);
            StringGridPress->setItem(r, c, item);
        }
    }
    filling_ = false;
    FitToColumns();
}

// Each column holds the widest text it can show, or its bold heading with
// two spaces when that is wider; the grid and the dialog take exactly the
// columns' width.
void TdlgSetSal::FitToColumns() {
    const QFontMetrics cell(StringGridPress->font());
    const QFontMetrics heading(StringGridPress->horizontalHeader()->font());
    const int pad = StringGridPress->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGridPress) * 2;
    int total = 0;
    for (int c = 0; c < 5; ++c) {
        const int w = std::max(cell.horizontalAdvance(QString::fromLatin1(kSalinityWidthTexts[c])),
                               heading.horizontalAdvance(QString::fromLatin1(kSalinityHeadings[c]) + "  ")) +
                      pad;
        StringGridPress->setColumnWidth(c, w);
        total += w;
    }
    const int rowHeight = cell.height() + 6;
    for (int r = 0; r < StringGridPress->rowCount(); ++r) StringGridPress->setRowHeight(r, rowHeight);
    const int frame = StringGridPress->frameWidth() * 2;
    StringGridPress->setFixedWidth(total + frame);
    StringGridPress->setFixedHeight(StringGridPress->horizontalHeader()->sizeHint().height() +
                                    rowHeight * StringGridPress->rowCount() + frame);
    const int spacing = 6;
    const int button = (total + frame - spacing) / 2;
    OKBtn->setFixedWidth(button);
    CancelBtn->setFixedWidth(total + frame - spacing - button);
}

void TdlgSetSal::CellChanged(QTableWidgetItem* item) {
    if (filling_ || item->column() != kSalinityColumn) return;
    const int row = item->row();
    if (row < 0 || row >= kMaxSeries) return;
    // A cell the user typed in shows the value it will store once the edit
    // ends, so "34,5" reads back as 34.50 and text that is no number as the
    // salinity it keeps.
    edited_[static_cast<std::size_t>(row)] = true;
    const char sep = SystemDecimalSeparator();
    const float value =
        ConvertSalinityCell(item->text().toStdString(), data_.series[static_cast<std::size_t>(row)].salinity, sep);
    filling_ = true;
    item->setText(QString::fromStdString(SalinityText(value, sep)));
    filling_ = false;
    edited_[static_cast<std::size_t>(row)] = false;
}

void TdlgSetSal::OKBtnClick() {
    std::vector<std::string> cells;
    for (int r = 0; r < StringGridPress->rowCount(); ++r) {
        const QTableWidgetItem* item = StringGridPress->item(r, kSalinityColumn);
        cells.push_back(item ? item->text().toStdString() : std::string());
    }
    ApplySalinityCells(data_, cells, SystemDecimalSeparator());
    try {
        WriteReferenceFile(data_, data_.SeriesCount());
    } catch (const FileError& e) {
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
        return;
    }
    accept();
}

}  // namespace corvan
