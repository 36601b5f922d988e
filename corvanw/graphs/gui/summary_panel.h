#pragma once
// The statistical summary page: means, spreads, extreme and significant
// speeds of the selected range, and the valid counts when some are missing.
// The main window shows one as its panel `Panel4` (the object's name).

#include <QFrame>
#include <array>
#include <string>

#include "data/data_set.h"
#include "graphs/graph_settings.h"
#include "graphs/statistics.h"

class QLabel;
class QLineEdit;

namespace corvan {

class SummaryPanel : public QFrame {
    Q_OBJECT

public:
    SummaryPanel(const DataSet& data, const Statistics& stats, QWidget* parent = nullptr);

    // Rewrites every box from the statistics; empty while they are not valid.
    void Refresh();
    // The system's separator unless a caller (a test) fixes one.
    void SetDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }
    // The panel colour of ApplyColours, raised when it is the button face.
    void SetPanelColour(ColourValue colour, bool raised);

    QLineEdit* EditTotMean;
    QLineEdit* EditNSmean;
    QLineEdit* EditEWmean;
    QLineEdit* EditTotVar;
    QLineEdit* EditNSvar;
    QLineEdit* EditEWvar;
    QLineEdit* EditTotDev;
    QLineEdit* EditNSdev;
    QLineEdit* EditEWdev;
    QLineEdit* EditTotMeanDev;
    QLineEdit* EditNSMeanDev;
    QLineEdit* EditEWMeanDev;
    QLineEdit* EditMaxCurr;
    QLineEdit* EditMinCurr;
    QLineEdit* EditSignMaxCurr;
    QLineEdit* EditSignMinCurr;
    QLabel* lblVal1;
    QLabel* lblVal2;
    QLabel* lblVal3;
    QLabel* lblVal4;
    QLineEdit* edtValC;
    QLineEdit* edtValD;
    QLineEdit* edtValT;

private:
    void ShowValidRow(bool visible);

    const DataSet& data_;
    const Statistics& stats_;
    std::string decimalSeparator_;
};

}  // namespace corvan
