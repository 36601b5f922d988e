#include "ui/list_view.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace corvan {

TListPaintBox::TListPaintBox(TListView& owner) : QWidget(&owner), owner_(owner) {
    setAutoFillBackground(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(QFont().pointSizeF());
    setFont(fixed);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
    setObjectName("PaintBoxLst");
}

void TListPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    owner_.PaintLines(painter, rect());
}

TListView::TListView(const DataSet& data, QWidget* parent) : QWidget(parent), data_(data) {
    setFocusPolicy(Qt::StrongFocus);
    HeaderList = new QHeaderView(Qt::Horizontal, this);
    HeaderList->setObjectName("HeaderList");
    HeaderList->setModel(&headerModel_);
    HeaderList->setSectionResizeMode(QHeaderView::Fixed);
    HeaderList->setSectionsClickable(false);
    HeaderList->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HeaderList->setStretchLastSection(true);
    PaintBoxLst = new TListPaintBox(*this);
    ScrollBarV = new QScrollBar(Qt::Vertical, PaintBoxLst);
    ScrollBarV->setObjectName("ScrollBarV");
    ScrollBarH = new QScrollBar(Qt::Horizontal, PaintBoxLst);
    ScrollBarH->setObjectName("ScrollBarH");
    ScrollBarH->hide();
    connect(ScrollBarV, &QScrollBar::valueChanged, this, &TListView::ScrollChanged);
    connect(ScrollBarH, &QScrollBar::valueChanged, this, [this](int) {
        HeaderList->setOffset(ScrollBarH->value());
        PaintBoxLst->update();
    });
    RebuildListColumns();
}

int TListView::LineHeight() const { return std::max(1, QFontMetrics(PaintBoxLst->font()).height()); }

void TListView::RebuildListColumns() {
    columns_ = corvan::RebuildListColumns(data_);
    UpdateListHeader();
}

void TListView::UpdateListHeader() {
    headerModel_.clear();
    headerModel_.setColumnCount(static_cast<int>(columns_.size()) + 1);
    const QFontMetrics fm(PaintBoxLst->font());
    const QFontMetricsF fmf(PaintBoxLst->font());
    const QFontMetrics hfm(HeaderList->font());
    const int digit = fm.horizontalAdvance('0');
    fixedPitch_ = QFontInfo(PaintBoxLst->font()).fixedPitch() && fm.horizontalAdvance("\u00B0'") == 2 * digit;
    // A line of a fixed-pitch font is painted as one run, whose glyphs
    // advance by the font's true pitch, not by the rounded digit width: the
    // edges must follow the run or the values drift right column by column.
    const QString ruler(64, QLatin1Char('0'));
    const double pitch = fixedPitch_ ? fmf.horizontalAdvance(ruler) / ruler.size() : digit;
    widthsInChars_.clear();
    edges_.assign(1, 0);
    int charsSoFar = 0;
    for (std::size_t j = 0; j < columns_.size(); ++j) {
        const QString text = QString::fromStdString(columns_[j].header);
        headerModel_.setHeaderData(static_cast<int>(j), Qt::Horizontal, text);
        headerModel_.setHeaderData(static_cast<int>(j), Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                                   Qt::TextAlignmentRole);
        // The wider of the caption and the characters the values take.
        const int headerWidth = hfm.horizontalAdvance(text) + 2 * digit;
        const int valuesWidth = (columns_[j].width + 1) * digit;
        const int chars = std::max(static_cast<int>(std::ceil(headerWidth / pitch)), columns_[j].width + 1);
        widthsInChars_.push_back(chars);
        charsSoFar += chars;
        const int right = fixedPitch_ ? static_cast<int>(std::lround(charsSoFar * pitch))
                                      : edges_.back() + std::max(headerWidth, valuesWidth);
        HeaderList->resizeSection(static_cast<int>(j), right - edges_.back());
        edges_.push_back(right);
    }
    headerModel_.setHeaderData(static_cast<int>(columns_.size()), Qt::Horizontal, QString());
    LayoutListView();
    PaintBoxLst->update();
}

void TListView::LayoutListView() {
    const int headerHeight = HeaderList->sizeHint().height();
    // The lines start two pens in from the paint box's edge; the header
    // starts there too, so each section ends where its values end.
    const int inset = 2 * penWidth_;
    HeaderList->setGeometry(inset, 0, std::max(0, width() - inset), headerHeight);
    PaintBoxLst->setGeometry(0, headerHeight, width(), std::max(0, height() - headerHeight));

    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int pen = penWidth_;
    const int totalWidth = edges_.empty() ? 0 : edges_.back() + 4 * pen;
    const bool needH = totalWidth > PaintBoxLst->width() - bar - 2 * pen;
    ScrollBarH->setVisible(needH);
    const int hHeight = needH ? bar : 0;
    const int barHeight = std::max(0, PaintBoxLst->height() - 2 * pen - hHeight);
    ScrollBarV->setGeometry(PaintBoxLst->width() - pen - bar, pen, bar, barHeight);
    if (needH) {
        ScrollBarH->setGeometry(pen, PaintBoxLst->height() - pen - bar, PaintBoxLst->width() - 2 * pen - bar, bar);
        ScrollBarH->setRange(0, totalWidth - (PaintBoxLst->width() - bar - 2 * pen));
        ScrollBarH->setPageStep(PaintBoxLst->width() / 2);
    } else {
        ScrollBarH->setRange(0, 0);
        HeaderList->setOffset(0);
    }

    visibleLines_ = std::max(0, (barHeight - 6 * pen) / LineHeight());
    const QSignalBlocker block(ScrollBarV);
    const int old = ScrollBarV->value();
    if (data_.dataLoaded && data_.statisticsValid && visibleLines_ < data_.recordCount) {
        ScrollBarV->setEnabled(true);
        ScrollBarV->setRange(0, data_.recordCount - visibleLines_);
        ScrollBarV->setValue(std::min(old, ScrollBarV->maximum()));
    } else {
        ScrollBarV->setEnabled(false);
        ScrollBarV->setRange(0, 0);
        ScrollBarV->setValue(0);
    }
    ScrollBarV->setPageStep(std::max(1, visibleLines_ - 1));
    ScrollBarV->setSingleStep(1);
    if (ScrollBarV->value() != old) InvalidatePosition();
    PaintBoxLst->update();
}

int TListView::FirstVisibleRecord() const { return ScrollBarV->isEnabled() ? ScrollBarV->value() : 0; }

void TListView::ScrollToRecord(int i) { ScrollBarV->setValue(std::clamp(i, 0, ScrollBarV->maximum())); }

void TListView::ScrollChanged(int value) {
    if (value != lastPainted_) PaintBoxLst->update();
}

std::vector<std::string> TListView::LineTexts(int record) const {
    std::vector<std::string> cells;
    if (record < 0 || record >= data_.recordCount) return cells;
    SeriesCursor cursor(data_, record);
    bool starts = false;
    FormatListRow(data_, columns_, record, cursor, cells, starts);
    for (auto& c : cells) c = Trim(c);
    cells.insert(cells.begin(), starts ? "*" : "");
    return cells;
}

void TListView::PaintLines(QPainter& painter, const QRect& area) {
    const int pen = penWidth_;
    const int h = LineHeight();
    painter.setPen(QPen(palette().color(QPalette::Mid), pen));
    painter.drawRect(area.adjusted(0, 0, -pen, -pen));
    if (ScrollBarV->isVisible() && ScrollBarH->isVisible()) {
        const QRect corner(ScrollBarV->x(), ScrollBarH->y(), ScrollBarV->width(), ScrollBarH->height());
        painter.fillRect(corner, palette().color(QPalette::Button));
    }
    if (!(data_.dataLoaded && data_.statisticsValid)) return;

    int i = FirstVisibleRecord();
    lastPainted_ = i;
    int y = 4 * pen;
    SeriesCursor cursor(data_, i);
    std::vector<std::string> cells;
    QString line;
    bool starts = false;
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(PaintBoxLst->font());
    const QFontMetrics fm(PaintBoxLst->font());
    const QFontMetricsF fmf(PaintBoxLst->font());
    const int xOffset = -ScrollBarH->value() + 2 * pen;
    const int clipRight = ScrollBarV->isVisible() ? ScrollBarV->x() : area.right();
    painter.setClipRect(
        QRect(area.left() + pen, area.top() + pen, clipRight - area.left() - pen, area.height() - 2 * pen));
    const int bottom = area.bottom() - (ScrollBarH->isVisible() ? ScrollBarH->height() : 0);
    while (y + h <= bottom - 4 * pen) {
        if (i < data_.recordCount) {
            FormatListRow(data_, columns_, i, cursor, cells, starts);
            const int baseline = y + fm.ascent();
            if (starts) painter.drawText(2 + xOffset - 2 * pen, baseline, "*");
            if (fixedPitch_) {
                line.clear();
                for (std::size_t j = 0; j < cells.size() && j < widthsInChars_.size(); ++j) {
                    const QString cell = QString::fromUtf8(cells[j].data(), static_cast<int>(cells[j].size()));
                    const int pad = widthsInChars_[j] - static_cast<int>(cell.size());
                    if (pad > 0) line.append(QString(pad, QLatin1Char(' ')));
                    line.append(cell);
                }
                painter.drawText(xOffset, baseline, line);
                y += h;
                ++i;
                continue;
            }
            for (std::size_t j = 0; j < cells.size() && j + 1 < edges_.size(); ++j) {
                const QString text = QString::fromStdString(cells[j]);
                // Right-aligned at the column's edge; trailing blanks of a
                // dash keep it under the numbers' integer part.
                const double right = edges_[j + 1] + xOffset;
                painter.drawText(QPointF(right - fmf.horizontalAdvance(text), baseline), text);
            }
        }
        y += h;
        ++i;
    }
}

void TListView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutListView();
}

void TListView::wheelEvent(QWheelEvent* event) {
    if (!ScrollBarV->isEnabled()) return;
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) ScrollBarV->setValue(ScrollBarV->value() - steps);
    event->accept();
}

void TListView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            ScrollBarV->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Up:
            ScrollBarV->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_PageDown:
            ScrollBarV->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_PageUp:
            ScrollBarV->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_Home:
            ScrollBarV->setValue(0);
            break;
        case Qt::Key_End:
            ScrollBarV->setValue(ScrollBarV->maximum());
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
}

}  // namespace corvan
