#include "ui/table_grid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace corvan {

namespace {

constexpr int kRows = 27;
constexpr int kPlainColumns = 17;
constexpr int kFluxColumns = 19;

bool HasSensorFlux(const MeasurementFileHeader& h) { return HasFlux(h) || HasOxygen(h); }

void RaisedFrame(QPainter& p, const QRect& r, const QPalette& pal) {
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TTableGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int row = index.row();
        const int col = index.column();
        const QPalette& pal = option.palette;
        const QRect r = option.rect;
        const QFontMetrics fm(option.font);
        const int blank = fm.horizontalAdvance(' ');
        // The merged captions are drawn from the cells that hold their texts.
        QString text = index.data().toString();
        if (row == 0 && (col == 14 || col == 17)) text = grid_.CellText(0, col + 1);
        p->save();
        p->setFont(option.font);
        const int columns = grid_.columnCount();
        if (row >= 2 && col >= 1) {
            p->fillRect(r, pal.color(QPalette::Base));
            p->setPen(pal.color(QPalette::Text));
            if (grid_.StatisticsValid())
                p->drawText(r.adjusted(0, 0, -blank, 0), Qt::AlignRight | Qt::AlignVCenter, text);
            if (col >= columns - 3) {
                p->setPen(pal.color(QPalette::Shadow));
                p->drawLine(r.topRight(), r.bottomRight());
            }
        } else {
            p->fillRect(r, pal.color(QPalette::Button));
            p->setPen(pal.color(QPalette::ButtonText));
            const bool merged = row == 0 && col >= 1 && col != 16 && grid_.columnSpan(row, col) > 1;
            if (merged) {
                const int margin = col == 17 ? 4 : 5;
                if (col == 1 || fm.horizontalAdvance(text) <= r.width() - margin) {
                    p->drawText(r, Qt::AlignCenter, text);
                } else {
                    p->drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
                }
            } else {
                p->drawText(r.adjusted(0, 0, -blank, 0), Qt::AlignRight | Qt::AlignVCenter, text);
            }
            RaisedFrame(*p, r.adjusted(0, 0, -1, -1), pal);
        }
        if (row >= kRows - 2) {
            p->setPen(pal.color(QPalette::Shadow));
            p->drawLine(r.bottomLeft(), r.bottomRight());
        }
        p->restore();
    }

private:
    TTableGrid& grid_;
};

}  // namespace

TTableGrid::TTableGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName("StringGridTab");
    QFont f("Arial", 10);
    f.setBold(true);
    setFont(f);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new CellDelegate(*this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SetupTableGrid(MeasurementFileHeader{});
}

void TTableGrid::SetupTableGrid(const MeasurementFileHeader& header) {
    const int columns = HasSensorFlux(header) ? kFluxColumns : kPlainColumns;
    clearSpans();
    setRowCount(kRows);
    setColumnCount(columns);
    const QFontMetrics fm(font());
    const int h = fm.height();
    for (int r = 0; r < kRows; ++r) setRowHeight(r, r < 2 ? h + 4 : h + 2);
    setSpan(0, 1, 1, 13);
    setSpan(0, 14, 1, 2);
    if (columns == kFluxColumns) setSpan(0, 17, 1, 2);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (!item(r, c)) setItem(r, c, new QTableWidgetItem());
        }
    }
    FitColumns();
}

QString TTableGrid::CellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void TTableGrid::FillTable(const std::vector<std::vector<std::string>>& cells, bool statisticsValid) {
    statisticsValid_ = statisticsValid;
    for (int r = 0; r < rowCount() && r < static_cast<int>(cells.size()); ++r) {
        for (int c = 0; c < columnCount() && c < static_cast<int>(cells[static_cast<std::size_t>(r)].size()); ++c) {
            QTableWidgetItem* it = item(r, c);
            if (!it) setItem(r, c, it = new QTableWidgetItem());
            it->setText(QString::fromStdString(cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        }
    }
    FitColumns();
    viewport()->update();
}

void TTableGrid::FitColumns() {
    const QFontMetrics fm(font());
    const int d = fm.horizontalAdvance('0');
    auto textWidth = [&](const QString& t) { return fm.horizontalAdvance("S" + t); };
    const int columns = columnCount();
    std::vector<int> w(static_cast<std::size_t>(columns), 5 * d);
    w[0] = std::max(textWidth("Sum%"), 4 * d);
    for (int c = 13; c < columns; ++c)
        w[static_cast<std::size_t>(c)] = std::max(w[static_cast<std::size_t>(c)], textWidth(CellText(1, c)));
    if (columns > 14) w[14] = std::max(w[14], 7 * d);
    if (columns > 15) w[15] = std::max(w[15], textWidth(CellText(0, 15)) - w[14]);
    if (columns > 17) {
        w[17] = std::max(w[17], 7 * d);
        w[18] = std::max(w[18], textWidth(CellText(0, 18)) - w[17]);
    }
    w[13] = std::max(w[13], 6 * d);
    if (columns > 14) w[14] = std::max(w[14], 6 * d);
    // Data wider than the default (large counts, long flux values) still fits.
    for (int c = 1; c < columns; ++c) {
        for (int r = 1; r < rowCount(); ++r) {
            w[static_cast<std::size_t>(c)] = std::max(w[static_cast<std::size_t>(c)], textWidth(CellText(r, c)));
        }
    }
    for (int c = 0; c < columns; ++c) setColumnWidth(c, w[static_cast<std::size_t>(c)]);
}

}  // namespace corvan
