#pragma once
// The table page's grid: the current speed / direction matrix with its
// merged captions. The statistics own what stands in each cell; the grid
// sets itself up and draws.

#include <QTableWidget>
#include <string>
#include <vector>

#include "data/data_set.h"

namespace corvan {

class TTableGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TTableGrid(QWidget* parent = nullptr);

    // Row and column counts, spans and widths for a file's header.
    void SetupTableGrid(const MeasurementFileHeader& header);
    // Writes every cell ([row][column]) and fits the widths to the captions.
    void FillTable(const std::vector<std::vector<std::string>>& cells, bool statisticsValid);

    bool StatisticsValid() const { return statisticsValid_; }
    QString CellText(int row, int column) const;

private:
    void FitColumns();
    bool statisticsValid_ = false;
};

}  // namespace corvan
