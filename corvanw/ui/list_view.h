#pragma once
// The list view: every record of the loaded file, one line each, painting
// only the lines on screen.

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QWidget>
#include <vector>

#include "data/data_set.h"
#include "data/list_format.h"

namespace corvan {

class TListView;

class TListPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TListPaintBox(TListView& owner);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TListView& owner_;
};

class TListView : public QWidget {
    Q_OBJECT
public:
    TListView(const DataSet& data, QWidget* parent = nullptr);

    // Rebuilds the column table from the loaded file.
    void RebuildListColumns();
    // Header sections and column positions, then a repaint.
    void UpdateListHeader();
    // Scroll bars and the number of visible lines.
    void LayoutListView();
    // Forgets the last painted position so the next paint is complete.
    void InvalidatePosition() { lastPainted_ = -1; }

    int VisibleLines() const { return visibleLines_; }
    int FirstVisibleRecord() const;
    // Scrolls so that record i is the first line (within the bar's range).
    void ScrollToRecord(int i);
    // The texts of one painted line, as drawn (for tests and printing).
    std::vector<std::string> LineTexts(int record) const;

    QHeaderView* HeaderList = nullptr;
    TListPaintBox* PaintBoxLst = nullptr;
    QScrollBar* ScrollBarV = nullptr;
    QScrollBar* ScrollBarH = nullptr;

    // Paints the visible lines into any surface (the widget, an image).
    void PaintLines(QPainter& painter, const QRect& area);
    const std::vector<ListColumn>& Columns() const { return columns_; }
    const std::vector<int>& ColumnEdges() const { return edges_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TListPaintBox;
    void ScrollChanged(int value);
    int LineHeight() const;

    const DataSet& data_;
    std::vector<ListColumn> columns_;
    std::vector<int> edges_;  // x[0] = 0 .. x[n]
    QStandardItemModel headerModel_;
    int visibleLines_ = 0;
    int lastPainted_ = -1;
    int penWidth_ = 1;
    // With a fixed-pitch font a line is one run of text, columns padded to
    // their widths in characters; that keeps scrolling cheap.
    bool fixedPitch_ = false;
    std::vector<int> widthsInChars_;
};

}  // namespace corvan
