#pragma once
// "Correct measurement scaling": current speeds multiplied by a factor and
// the measurement file written back.

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "data/data_set.h"

namespace corvan {

class TdlgMeasScale : public QDialog {
    Q_OBJECT
public:
    explicit TdlgMeasScale(DataSet& data, QWidget* parent = nullptr);

    // Shows the dialog; true when the file was scaled and written.
    bool Execute();

    QComboBox* ComboSeries = nullptr;
    QLineEdit* EditFactor = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKBtnClick();

    DataSet& data_;
};

}  // namespace corvan
