#pragma once
// "Recalculate calibration coefficients": a new offset coefficient A from
// one reference measurement.

#include <QDialog>
#include <QPushButton>

#include "tools/calibration.h"
#include "tools/gui/tool_widgets.h"

namespace corvan {

class TReCalcDlg : public QDialog {
    Q_OBJECT
public:
    explicit TReCalcDlg(QWidget* parent = nullptr);

    TToolEdit* EditInstrument = nullptr;
    TToolEdit* EditA = nullptr;
    TToolEdit* EditB = nullptr;
    TToolEdit* EditC = nullptr;
    TToolEdit* EditMeasured = nullptr;
    TToolEdit* EditRt = nullptr;
    TToolEdit* EditReference = nullptr;
    TToolEdit* EditNewA = nullptr;
    QPushButton* CalcRtBtn = nullptr;
    QPushButton* CalcNewABtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

private:
    void CoefficientLeft(int index);
    void CalcRtBtnClick();
    void CalcNewABtnClick();

    ReCalcModel model_;
};

}  // namespace corvan
