#pragma once
// "Calibrate from raw data": thermistor coefficients from three resistance /
// temperature pairs, a test pad, and a calibration sheet whose print job
// lives from the first "Calc+&Print" until the dialog closes.

#include <QDialog>
#include <QPrinter>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/calibration.h"
#include "tools/gui/tool_widgets.h"

namespace corvan {

class TCalRawDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCalRawDlg(QWidget* parent = nullptr);
    ~TCalRawDlg() override;

    TToolEdit* EditInstrument = nullptr;
    TToolEdit* EditR[3] = {};
    TToolEdit* EditT[3] = {};
    TToolEdit* EditA = nullptr;
    TToolEdit* EditB = nullptr;
    TToolEdit* EditC = nullptr;
    TToolEdit* EditTestR = nullptr;
    TToolEdit* EditTestT = nullptr;
    QPushButton* CalcBtn = nullptr;
    QPushButton* CalcTestBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    // Where the sheet goes when the system has no printer: a PDF file name
    // (empty = no print). Tests replace it; they also set printToPdf.
    std::function<QString(QWidget* parent)> choosePdfFileName;
    bool printToPdf = false;
    bool PrintJobStarted() const { return printer_ != nullptr; }
    const std::vector<std::string>& PrintedLines() const { return lines_; }

    void done(int result) override;

private:
    void BoxLeft(CalRawModel::Box box);
    void CalcBtnClick();
    void CalcTestBtnClick();
    void PrintBtnClick();
    void ShowCoefficients();
    bool StartPrintJob();
    void EndPrintJob();
    TToolEdit* BoxEdit(CalRawModel::Box box) const;

    CalRawModel model_;
    int typing_ = -1;
    std::unique_ptr<QPrinter> printer_;
    std::vector<std::string> lines_;
};

}  // namespace corvan
