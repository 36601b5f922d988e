#include "graphs/gui/TdlgColor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphs/gui/colour_values.h"

namespace corvan {

namespace {

constexpr const char* kLegendCaption = "Legend background color:";
constexpr const char* kBackgroundCaption = "Background color:";
constexpr const char* kLineCaption = "Line color:";
constexpr const char* kBarCaption = "Bar fill color:";
constexpr const char* kDateGridCaption = "Grid lines on date axis:";
constexpr const char* kSolidCaption = "Draw solid lines:";
constexpr const char* kOkCaption = "&OK";
constexpr const char* kCancelCaption = "&Cancel";
constexpr const char* kDefaultCaption = "&Default";
constexpr const char* kTagProperty = "Tag";
constexpr int kSwatchWidth = 60;
constexpr int kSwatchHeight = 20;
constexpr int kLineSwatchHeight = 4;

QFrame* NewSwatch(QWidget* parent, const char* name, int height) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::Box);
    f->setAutoFillBackground(true);
    f->setFixedSize(kSwatchWidth, height);
    return f;
}

}  // namespace

TdlgColor::TdlgColor(SettingsAccess* store, QWidget* parent) : QDialog(parent), store_(store) {
    setWindowTitle(kColourDialogCaption);
    clrLegend = NewSwatch(this, "clrLegend", kSwatchHeight);
    clrBack = NewSwatch(this, "clrBack", kSwatchHeight);
    clrLine = NewSwatch(this, "clrLine", kLineSwatchHeight);
    clrBar = NewSwatch(this, "clrBar", kSwatchHeight);

    auto* grid = new QGridLayout;
    const char* captions[] = {kLegendCaption, kBackgroundCaption, kLineCaption, kBarCaption};
    QFrame* swatches[] = {clrLegend, clrBack, clrLine, clrBar};
    for (int tag = 0; tag < 4; ++tag) {
        grid->addWidget(new QLabel(captions[tag], this), tag, 0);
        grid->addWidget(swatches[tag], tag, 1, Qt::AlignVCenter);
        auto* button = new QPushButton("...", this);
        button->setObjectName(QString("ClrBtn%1").arg(tag));
        button->setProperty(kTagProperty, tag);
        connect(button, &QPushButton::clicked, this, &TdlgColor::ClrBtnClick);
        grid->addWidget(button, tag, 2);
        ClrBtn[static_cast<std::size_t>(tag)] = button;
    }
    chkDateGrid = new QCheckBox(kDateGridCaption, this);
    chkDateGrid->setObjectName("chkDateGrid");
    chkDateGrid->setLayoutDirection(Qt::RightToLeft);  // caption before the box
    cbSolid = new QCheckBox(kSolidCaption, this);
    cbSolid->setObjectName("cbSolid");
    cbSolid->setLayoutDirection(Qt::RightToLeft);
    grid->addWidget(chkDateGrid, 4, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(cbSolid, 5, 0, 1, 2, Qt::AlignLeft);

    OKBtn = new QPushButton(kOkCaption, this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(kCancelCaption, this);
    CancelBtn->setObjectName("CancelBtn");
    DefaultBtn = new QPushButton(kDefaultCaption, this);
    DefaultBtn->setObjectName("DefaultBtn");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(DefaultBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TdlgColor::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DefaultBtn, &QPushButton::clicked, this, &TdlgColor::DefaultBtnClick);
    SetSettings(GraphSettings{});
}

QFrame* TdlgColor::SwatchFrame(int tag) const {
    switch (tag) {
        case kLegend:
            return clrLegend;
        case kBackground:
            return clrBack;
        case kLine:
            return clrLine;
        default:
            return clrBar;
    }
}

void TdlgColor::SetSwatch(int tag, ColourValue colour) {
    colours_[static_cast<std::size_t>(tag)] = colour;
    QFrame* f = SwatchFrame(tag);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    f->setPalette(p);
}

void TdlgColor::SetSettings(const GraphSettings& settings) {
    SetSwatch(kLegend, settings.legendColour);
    SetSwatch(kBackground, settings.backgroundColour);
    SetSwatch(kLine, settings.lineColour);
    SetSwatch(kBar, settings.barColour);
    chkDateGrid->setChecked(settings.dateGridVisible);
    cbSolid->setChecked(settings.drawSolidLines);
}

GraphSettings TdlgColor::Settings() const {
    GraphSettings g;
    g.legendColour = colours_[kLegend];
    g.backgroundColour = colours_[kBackground];
    g.lineColour = colours_[kLine];
    g.barColour = colours_[kBar];
    g.dateGridVisible = chkDateGrid->isChecked();
    g.drawSolidLines = cbSolid->isChecked();
    return g;
}

void TdlgColor::ClrBtnClick() {
    const int tag = sender() ? sender()->property(kTagProperty).toInt() : 0;
    QColorDialog picker(ToQColor(colours_[static_cast<std::size_t>(tag)]), this);
    picker.setOption(QColorDialog::DontUseNativeDialog);
    if (picker.exec() == QDialog::Accepted) SetSwatch(tag, FromQColor(picker.selectedColor()));
}

void TdlgColor::DefaultBtnClick() {
    const GraphSettings d = DefaultGraphSettings(cbSolid->isChecked());
    SetSettings(d);
}

void TdlgColor::OKBtnClick() {
    if (store_ != nullptr) SaveGraphSettings(Settings(), *store_);
    accept();
}

}  // namespace corvan
