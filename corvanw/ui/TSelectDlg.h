#pragma once
// "Select first and last measurement": the series and the range that every
// view shows.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>

#include "data/data_set.h"
#include "ui/range_selection.h"
#include "ui/tab_list.h"

namespace corvan {

// A spin edit that tells when the user types into it, steps it with the
// arrows, or leaves it.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

signals:
    void Typed();
    void Stepped();
    void Left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// The combo box of series, drawn tabbed both closed and in its list.
class TSeriesCombo : public QComboBox {
    Q_OBJECT
public:
    TSeriesCombo(const TTabList& tabs, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TTabList& tabs_;
};

class TSelectDlg : public QDialog {
    Q_OBJECT
public:
    TSelectDlg(DataSet& data, QWidget* parent = nullptr);

    // Shows the dialog modally; without Cancel after a file was opened, so a
    // range is always chosen. True on OK.
    bool Execute(bool allowCancel);

    TSeriesCombo* ComboBox1 = nullptr;
    TSpinEdit* SpinFirst = nullptr;
    TSpinEdit* SpinLast = nullptr;
    TSpinEdit* SpinCount = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    const TTabList& Tabs() const { return tabs_; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ComboBox1Change(int index);
    void SpinFirstChange(int value);
    void SpinLastChange(int value);
    void SpinCountChange(int value);
    void OKBtnClick();
    void PushToSpins();

    DataSet& data_;
    RangeSelection range_;
    TTabList tabs_;
    QLabel* labels_[6] = {};
    bool updating_ = false;
    bool cancelAllowed_ = true;
};

}  // namespace corvan
