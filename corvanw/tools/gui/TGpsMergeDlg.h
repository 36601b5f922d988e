#pragma once
// "Merge files": temperatures of a run of one measurement file copied into
// a run of a position logger's file. The runs are chosen with the range
// dialog on each file's own series table.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "data/data_set.h"
#include "tools/gps_merge.h"

namespace corvan {

class TSelectDlg;

class TGpsMergeDlg : public QDialog {
    Q_OBJECT
public:
    TGpsMergeDlg(DataSet& data, TSelectDlg& select, QWidget* parent = nullptr);

    // The file the open dialog returns (empty = cancelled), starting at the
    // previous pick; tests replace it.
    std::function<QString(MergeSide side, const QString& previous)> chooseFileName;

    QLineEdit* EditTfile = nullptr;
    QLineEdit* EditTfirst = nullptr;
    QLineEdit* EditTlast = nullptr;
    QLineEdit* EditGFile = nullptr;
    QLineEdit* EditGfirst = nullptr;
    QLineEdit* EditGlast = nullptr;
    QPushButton* LoadT = nullptr;
    QPushButton* SelT = nullptr;
    QPushButton* LoadG = nullptr;
    QPushButton* SelG = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Side {
        MergeSide kind;
        MergeSideState state;
        QString previous;  // the file picked last, with its folder
        QLineEdit* file;
        QLineEdit* first;
        QLineEdit* last;
        QPushButton* select;
    };
    void FormShow();
    void LoadClick(Side& side);
    void SelectRun(Side& side, bool allowCancel);
    void OKBtnClick();
    void ClearFlags();

    DataSet& data_;
    TSelectDlg& select_;
    Side t_;
    Side g_;
};

}  // namespace corvan
