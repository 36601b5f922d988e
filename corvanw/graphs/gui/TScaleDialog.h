#pragma once
// "Scaling parameters": automatic or manual axis limits, bar maxima and the
// speed range of the speed classes.

#include <QDialog>
#include <functional>
#include <string>

#include "data/data_set.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvan {

inline constexpr const char* kScaleDialogCaption = "Scaling parameters";
inline constexpr const char* kLinesOutsideWarning = "Lines might be drawn\r\noutside graph area.";
inline constexpr const char* kWarningCaption = "Warning";

class TScaleDialog : public QDialog {
    Q_OBJECT

public:
    TScaleDialog(DataSet& data, ScaleSettings& scale, Statistics& stats, QWidget* parent = nullptr);

    // What "recompute the statistics" means to the owner (the main window
    // also rebuilds its labels and grid); by default ComputeStatistics.
    void SetRecompute(std::function<void()> recompute) { recompute_ = std::move(recompute); }
    // The system's separator unless a caller (a test) fixes one.
    void SetDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

    QRadioButton* RadioAuto;
    QRadioButton* RadioManual;
    QLineEdit* EditSpeedMin;
    QLineEdit* EditSpeedMax;
    QLineEdit* EditTempMin;
    QLineEdit* EditTempMax;
    QLineEdit* EditOptMin;
    QLineEdit* EditOptMax;
    QLineEdit* EditOxmgMin;
    QLineEdit* EditOxmgMax;
    QLineEdit* EditOxFluxMin;
    QLineEdit* EditOxFluxMax;
    QLineEdit* EditFluxMin;
    QLineEdit* EditFluxMax;
    QLineEdit* EditCurrBarMax;
    QLineEdit* EditDirBarMax;
    QComboBox* ComboSpeedRange;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void RadioAutoClick();
    void RadioManualClick();
    void OKBtnClick();

private:
    void SelectAutomatic();
    void SelectManual();
    void FillFields();
    ScaleFields ReadFields() const;
    void Recompute();

    DataSet& data_;
    ScaleSettings& scale_;
    Statistics& stats_;
    std::function<void()> recompute_;
    std::string decimalSeparator_;
};

}  // namespace corvan
