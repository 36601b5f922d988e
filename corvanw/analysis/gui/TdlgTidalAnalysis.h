#pragma once
// "Tidal analysis": the constituents of the range's current and
// temperature, the ellipses of the main constituents and the current with
// the tide taken away, with copy, print and saving of the detided file. The
// latitude of the nodal corrections can be changed and the range analysed
// again.

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "analysis/harmonic_analysis.h"
#include "graphs/graph_settings.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace corvan {

struct DataSet;
class PrinterChooser;

inline constexpr const char* kTidalAnalysisCaption = "Tidal analysis";
inline constexpr const char* kTidalLatitudeMessage = "The latitude must be a number of degrees north in -90..90.";

// A page that paints itself through a function, on screen and on paper
// alike.
class TTidalChartView : public QWidget {
    Q_OBJECT
public:
    explicit TTidalChartView(QWidget* parent = nullptr) : QWidget(parent) {}
    std::function<void(QPainter&, const QRectF&, bool paper)> paint;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TdlgTidalAnalysis : public QDialog {
    Q_OBJECT
public:
    explicit TdlgTidalAnalysis(QWidget* parent = nullptr);
    ~TdlgTidalAnalysis() override;

    // Analyses the data set's selected range and fills every page; false
    // (with the reason in Error()) when nothing could be fitted. Without a
    // latitude the nodal corrections leave out the satellites that depend
    // on it. The data set must outlive the dialog's use of it.
    bool Analyse(const DataSet& data, const ScaleSettings& scale, const GraphSettings& settings,
                 std::optional<double> latitude);
    const std::string& Error() const { return analysis_.error; }
    const TidalAnalysis& Analysis() const { return analysis_; }
    // The detided range as a data set of its own, statistics computed.
    const DataSet* Detided() const { return detided_.get(); }

    // Writes OUT.CVN/OUT.RF6 of the detided range; empty or the reason.
    std::string SaveResidualTo(const std::string& baseName);
    // The page on show to the clipboard: tables as tab-separated text,
    // graphs as a picture.
    void CopyPage();
    // The page on show onto a printer (or a PDF printer).
    void PrintPage(QPrinter& printer);

    PrinterChooser* printerChooser = nullptr;
    // Test hook: the base name the save dialog would return (empty =
    // cancelled); nullptr uses the real dialog.
    std::function<QString()> chooseResidualName;

    QLabel* LabelSummary = nullptr;
    QLineEdit* EditLatitude = nullptr;
    QPushButton* AnalyseBtn = nullptr;
    QTabWidget* Pages = nullptr;
    QTableWidget* GridConstituents = nullptr;
    QTableWidget* GridTemperature = nullptr;
    TTidalChartView* ChartEllipses = nullptr;
    TTidalChartView* ChartResidual = nullptr;
    TTidalChartView* ChartResidualVector = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* CopyBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

private:
    void AnalyseBtnClick();
    void ShowAnalysis();
    void SaveBtnClick();
    void PrintBtnClick();
    void FillTables();
    void PrepareCharts();
    std::string Title() const;

    const DataSet* data_ = nullptr;
    ScaleSettings scale_;
    GraphSettings settings_;
    TidalAnalysis analysis_;
    std::unique_ptr<DataSet> detided_;
    Statistics detidedStats_;
    std::string decimalSeparator_ = ".";
};

// The command: analyses the range on show for the mooring's latitude (when
// it is known) and opens the dialog, or says why it cannot.
void RunTidalAnalysis(QWidget* parent, const DataSet& data, const ScaleSettings& scale, const GraphSettings& settings,
                      std::optional<double> latitude, TdlgTidalAnalysis& dialog);

}  // namespace corvan
