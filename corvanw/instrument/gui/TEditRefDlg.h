#pragma once
// "Edit starting time": the start date and time of each series of a file.

#include <QDialog>
#include <QString>

class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace corvan {

struct DataSet;

class TEditRefDlg : public QDialog {
    Q_OBJECT
public:
    explicit TEditRefDlg(QWidget* parent = nullptr);

    // Edits the first seriesCount entries of the data set's series table in
    // place; true on OK. Series already left for another stay edited in
    // memory after Cancel.
    bool Edit(DataSet& data, int seriesCount);

    int SelectedSeries() const { return selected_; }

    QTreeWidget* ListSeries;
    QSpinBox* SpinYear;
    QSpinBox* SpinMonth;
    QSpinBox* SpinDay;
    QSpinBox* SpinHour;
    QSpinBox* SpinMinute;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void FillList();
    void LoadSeries(int index);
    void StoreSeries(int index);
    void SeriesSelected();
    void SpinMonthChange();
    void SpinYearChange();
    void OKBtnClick();

    DataSet* data_ = nullptr;
    int count_ = 0;
    int selected_ = -1;
    bool loading_ = false;
};

// The whole command on a file the user picks; true when the reference file
// was written. The data set stays unloaded either way.
bool RunEditStartingTime(QWidget* parent, DataSet& data, TEditRefDlg& dialog, const QString& directory);

}  // namespace corvan
