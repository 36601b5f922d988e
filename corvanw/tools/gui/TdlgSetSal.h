#pragma once
// "Set salinity": the salinity of each series of the loaded oxygen file,
// written to its reference file on OK.

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "data/data_set.h"

namespace corvan {

class TdlgSetSal : public QDialog {
    Q_OBJECT
public:
    explicit TdlgSetSal(DataSet& data, QWidget* parent = nullptr);

    // Shows the dialog; true when OK wrote the reference file. A write that
    // fails is reported here and counts as not written.
    bool Execute();

    QTableWidget* StringGridPress = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
    bool RowEdited(int row) const { return edited_[static_cast<std::size_t>(row)]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FitToColumns();
    void CellChanged(QTableWidgetItem* item);
    void OKBtnClick();

    DataSet& data_;
    std::array<bool, kMaxSeries> edited_{};
    bool filling_ = false;
};

}  // namespace corvan
