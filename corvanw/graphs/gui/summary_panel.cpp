#include "graphs/gui/summary_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "graphs/gui/colour_values.h"
#include "graphs/statistics_pages.h"

namespace corvan {

namespace {

QLineEdit* NewBox(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel* NewLabel(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

void Put(QLineEdit* e, const std::string& text) { e->setText(QString::fromStdString(text)); }

}  // namespace

SummaryPanel::SummaryPanel(const DataSet& data, const Statistics& stats, QWidget* parent)
    : QFrame(parent), data_(data), stats_(stats), decimalSeparator_(QLocale::system().decimalPoint().toStdString()) {
    setObjectName("Panel4");
    setAutoFillBackground(true);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    EditTotMean = NewBox(this, "EditTotMean");
    EditNSmean = NewBox(this, "EditNSmean");
    EditEWmean = NewBox(this, "EditEWmean");
    EditTotVar = NewBox(this, "EditTotVar");
    EditNSvar = NewBox(this, "EditNSvar");
    EditEWvar = NewBox(this, "EditEWvar");
    EditTotDev = NewBox(this, "EditTotDev");
    EditNSdev = NewBox(this, "EditNSdev");
    EditEWdev = NewBox(this, "EditEWdev");
    EditTotMeanDev = NewBox(this, "EditTotMeanDev");
    EditNSMeanDev = NewBox(this, "EditNSMeanDev");
    EditEWMeanDev = NewBox(this, "EditEWMeanDev");
    EditMaxCurr = NewBox(this, "EditMaxCurr");
    EditMinCurr = NewBox(this, "EditMinCurr");
    EditSignMaxCurr = NewBox(this, "EditSignMaxCurr");
    EditSignMinCurr = NewBox(this, "EditSignMinCurr");
    lblVal1 = NewLabel(this, "lblVal1", kValidMeasurementsCaption);
    lblVal2 = NewLabel(this, "lblVal2", kValidVelocityCaption);
    lblVal3 = NewLabel(this, "lblVal3", kValidDirectionCaption);
    lblVal4 = NewLabel(this, "lblVal4", kValidTemperatureCaption);
    edtValC = NewBox(this, "edtValC");
    edtValD = NewBox(this, "edtValD");
    edtValT = NewBox(this, "edtValT");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(kSummaryColumnTotal, this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(kSummaryColumnEastWest, this), 0, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel(kSummaryColumnNorthSouth, this), 0, 3, Qt::AlignHCenter);
    int row = 1;
    auto three = [&](const char* caption, QLineEdit* total, QLineEdit* ns, QLineEdit* ew) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(total, row, 1);
        grid->addWidget(ew, row, 2);
        grid->addWidget(ns, row, 3);
        ++row;
    };
    auto one = [&](const char* caption, QLineEdit* total) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(total, row, 1);
        ++row;
    };
    three(kSummaryRowMean, EditTotMean, EditNSmean, EditEWmean);
    three(kSummaryRowVariance, EditTotVar, EditNSvar, EditEWvar);
    three(kSummaryRowStdDev, EditTotDev, EditNSdev, EditEWdev);
    three(kSummaryRowRelStdDev, EditTotMeanDev, EditNSMeanDev, EditEWMeanDev);
    one(kSummaryRowMaxSpeed, EditMaxCurr);
    one(kSummaryRowMinSpeed, EditMinCurr);
    one(kSummaryRowSignificantMax, EditSignMaxCurr);
    one(kSummaryRowSignificantMin, EditSignMinCurr);

    auto* valid = new QHBoxLayout;
    valid->addWidget(lblVal2);
    valid->addWidget(edtValC);
    valid->addWidget(lblVal3);
    valid->addWidget(edtValD);
    valid->addWidget(lblVal4);
    valid->addWidget(edtValT);
    grid->addWidget(lblVal1, row, 0);
    grid->addLayout(valid, row, 1, 1, 3);
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(4, 1);
    Refresh();
}

void SummaryPanel::ShowValidRow(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{lblVal1, lblVal2, lblVal3, lblVal4, edtValC, edtValD, edtValT})
        w->setVisible(visible);
}

void SummaryPanel::Refresh() {
    if (!data_.statisticsValid) {
        for (QLineEdit* e : findChildren<QLineEdit*>()) e->clear();
        ShowValidRow(false);
        return;
    }
    const SummaryPageTexts t = SummaryTexts(data_, stats_, decimalSeparator_);
    Put(EditTotMean, t.mean[0]);
    Put(EditNSmean, t.mean[1]);
    Put(EditEWmean, t.mean[2]);
    Put(EditTotVar, t.variance[0]);
    Put(EditNSvar, t.variance[1]);
    Put(EditEWvar, t.variance[2]);
    Put(EditTotDev, t.stdDev[0]);
    Put(EditNSdev, t.stdDev[1]);
    Put(EditEWdev, t.stdDev[2]);
    Put(EditTotMeanDev, t.relStdDev[0]);
    Put(EditNSMeanDev, t.relStdDev[1]);
    Put(EditEWMeanDev, t.relStdDev[2]);
    Put(EditMaxCurr, t.maxSpeed);
    Put(EditMinCurr, t.minSpeed);
    Put(EditSignMaxCurr, t.significantMax);
    Put(EditSignMinCurr, t.significantMin);
    Put(edtValC, t.validSpeed);
    Put(edtValD, t.validDirection);
    Put(edtValT, t.validTemperature);
    ShowValidRow(t.validRowVisible);
}

void SummaryPanel::SetPanelColour(ColourValue colour, bool raised) {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    setPalette(p);
    setFrameShadow(raised ? QFrame::Raised : QFrame::Plain);
    setFrameShape(raised ? QFrame::Panel : QFrame::NoFrame);
}

}  // namespace corvan
