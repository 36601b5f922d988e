#pragma once
// "Set margins": the four page margins in centimetres, shown as the sheet
// lies for the page on show, with a small picture of the sheet.

#include <QAbstractSpinBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>

#include "data/settings_access.h"
#include "print/print_geometry.h"

namespace corvan {

// A margin box: free text, with spin buttons that step to half
// centimetres and never below the side's unprintable border.
class TMarginBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TMarginBox(QWidget* parent = nullptr);
    void SetText(const QString& text);
    void SetOffset(double millimetres) { offsetMm_ = millimetres; }
    double Offset() const { return offsetMm_; }
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    double offsetMm_ = 0.0;
};

class TPagePicture : public QWidget {
    Q_OBJECT
public:
    explicit TPagePicture(QWidget* parent = nullptr);
    void SetLandscape(bool landscape);
    bool Landscape() const { return landscape_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool landscape_ = false;
};

class TMarginDlg : public QDialog {
    Q_OBJECT
public:
    // The printer is the print dialog's, so both see one setup.
    TMarginDlg(SettingsAccess& store, QPrinter& printer, QWidget* parent = nullptr);

    // Opens the dialog for a page printed in this orientation; on OK the
    // margins are taken and stored. The margins are raised to the printer's
    // borders in any case, as every reading of its metrics does.
    bool Execute(PrintMargins& margins, bool landscape);

    // Everything Execute does before it shows the dialog.
    void Prepare(PrintMargins& margins, bool landscape);
    // Takes the boxes that hold numbers into the margins and stores all four.
    void OKBtnClick(PrintMargins& margins);

    TMarginBox* EditLeftM = nullptr;
    TMarginBox* EditRightM = nullptr;
    TMarginBox* EditTopM = nullptr;
    TMarginBox* EditBottM = nullptr;
    QLabel* LabelLeft = nullptr;
    QLabel* LabelRight = nullptr;
    QLabel* LabelTop = nullptr;
    QLabel* LabelBottom = nullptr;
    TPagePicture* PaintBoxPage = nullptr;
    QPushButton* PrinterBtn = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    void PrinterBtnClick();
    void ApplyMetrics(const PrinterMetrics& m);

    SettingsAccess& store_;
    QPrinter& printer_;
    bool landscape_ = false;
};

}  // namespace corvan
