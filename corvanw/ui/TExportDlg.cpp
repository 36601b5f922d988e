#include "ui/TExportDlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>

#include <algorithm>

namespace corvan {

namespace {
constexpr const char* kCaption = "Export data";
constexpr const char* kContentsCaption = "Contents";
constexpr const char* kAllMeasurements = "All measurements in file";
constexpr const char* kSelectedMeasurements = "Selected measurements";
constexpr const char* kSeriesNumber = "Series number";
constexpr const char* kDelimiterCaption = "Delimiter";
constexpr const char* kSemicolon = "Semicolon";
constexpr const char* kTab = "Tab";
constexpr const char* kOther = "Other";
constexpr const char* kFileTypeCaption = "File type";
constexpr const char* kWindows = "Windows";
constexpr const char* kDos = "DOS";
constexpr const char* kNetcdf = "NetCDF (*.nc)";
constexpr const char* kSiteCaption = "Site (NetCDF)";
constexpr const char* kOk = "OK";
constexpr const char* kCancel = "Cancel";
constexpr const char* kInitialDelimiter = "|";
constexpr const char* kNoDelimiterMessage =
    "Type the character that is to separate the fields into the box beside \"Other\", "
    "or choose another delimiter.";

constexpr int kSeriesChoice = 2;
constexpr int kOtherChoice = 2;
constexpr int kNetcdfChoice = 2;
}  // namespace

TExportRadioGroup::TExportRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    for (int k = 0; k < items.size(); ++k) {
        auto* b = new QRadioButton(items[k], this);
        buttons_->addButton(b, k);
        grid->addWidget(b, k, 0);
    }
    grid->setColumnStretch(1, 1);
    SetItemIndex(0);
}

void TExportRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* b = buttons_->button(index)) b->setChecked(true);
}

QRadioButton* TExportRadioGroup::Item(int index) const { return static_cast<QRadioButton*>(buttons_->button(index)); }

void TExportRadioGroup::PlaceBeside(int index, QWidget* widget) {
    static_cast<QGridLayout*>(layout())->addWidget(widget, index, 1, Qt::AlignLeft);
}

TExportDlg::TExportDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kCaption);

    RadioGroup1 =
        new TExportRadioGroup(kContentsCaption, {kAllMeasurements, kSelectedMeasurements, kSeriesNumber}, this);
    SpinEditSer = new QSpinBox(this);
    SpinEditSer->setObjectName("SpinEditSer");
    SpinEditSer->setRange(1, 1);
    RadioGroup1->PlaceBeside(kSeriesChoice, SpinEditSer);

    RadioGroup2 = new TExportRadioGroup(kDelimiterCaption, {kSemicolon, kTab, kOther}, this);
    EditDelimiter = new QLineEdit(kInitialDelimiter, this);
    EditDelimiter->setObjectName("EditDelimiter");
    EditDelimiter->setMaxLength(1);
    EditDelimiter->setFixedWidth(EditDelimiter->fontMetrics().horizontalAdvance("MMM") + 12);
    RadioGroup2->PlaceBeside(kOtherChoice, EditDelimiter);

    RadioGroup3 = new TExportRadioGroup(kFileTypeCaption, {kWindows, kDos, kNetcdf}, this);

    GroupSite = new QGroupBox(kSiteCaption, this);
    auto* form = new QFormLayout(GroupSite);
    const auto edit = [this, form](const char* name, const char* label, const char* hint) {
        auto* e = new QLineEdit(GroupSite);
        e->setObjectName(name);
        e->setPlaceholderText(hint);
        form->addRow(label, e);
        return e;
    };
    EditLatitude = edit("EditLatitude", "Latitude", "degrees N");
    EditLongitude = edit("EditLongitude", "Longitude", "degrees E");
    EditDepth = edit("EditDepth", "Instrument depth", "metres");
    EditSiteCode = edit("EditSiteCode", "Site code", "");
    EditInstitution = edit("EditInstitution", "Institution", "");
    EditInvestigator = edit("EditInvestigator", "Principal investigator", "");

    OKBtn = new QPushButton(kOk, this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(kCancel, this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* main = new QGridLayout(this);
    main->addWidget(RadioGroup1, 0, 0);
    main->addWidget(RadioGroup2, 0, 1);
    main->addWidget(RadioGroup3, 1, 0, Qt::AlignTop);
    main->addWidget(GroupSite, 1, 1);
    main->addLayout(buttons, 2, 0, 1, 2);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioGroup1->Buttons(), &QButtonGroup::idToggled, this, [this](int, bool) { UpdateEnabled(); });
    connect(RadioGroup2->Buttons(), &QButtonGroup::idToggled, this, [this](int, bool) { UpdateEnabled(); });
    connect(RadioGroup3->Buttons(), &QButtonGroup::idToggled, this, [this](int, bool) { UpdateEnabled(); });
    connect(OKBtn, &QPushButton::clicked, this, &TExportDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    UpdateEnabled();
}

void TExportDlg::SetSiteStore(SettingsAccess* store) {
    siteStore_ = store;
    if (siteStore_ != nullptr) site_ = ReadDeploymentSite(*siteStore_);
    ShowSite(site_);
}

void TExportDlg::ShowSite(const DeploymentSite& site) {
    const DeploymentSiteTexts t = DeploymentSiteAsTexts(site);
    EditLatitude->setText(QString::fromStdString(t.latitude));
    EditLongitude->setText(QString::fromStdString(t.longitude));
    EditDepth->setText(QString::fromStdString(t.depth));
    EditSiteCode->setText(QString::fromStdString(t.siteCode));
    EditInstitution->setText(QString::fromStdString(t.institution));
    EditInvestigator->setText(QString::fromStdString(t.principalInvestigator));
}

void TExportDlg::Prepare(const DataSet& data) {
    setWindowTitle(kCaption);
    // What was typed and then cancelled last time is not offered again.
    ShowSite(site_);
    const int count = std::max(data.SeriesCount(), 1);
    SpinEditSer->setRange(1, count);
    SpinEditSer->setValue(std::clamp<int>(data.currentSeries, 1, count));
    UpdateEnabled();
}

bool TExportDlg::Execute(const DataSet& data) {
    Prepare(data);
    return exec() == QDialog::Accepted;
}

ExportContents TExportDlg::Contents() const {
    switch (RadioGroup1->ItemIndex()) {
        case 1:
            return ExportContents::SelectedMeasurements;
        case kSeriesChoice:
            return ExportContents::SeriesNumber;
        default:
            return ExportContents::AllMeasurements;
    }
}

int TExportDlg::SeriesNumber() const {
    bool ok = false;
    const int n = SpinEditSer->text().trimmed().toInt(&ok);
    return ok ? n : 1;
}

std::string TExportDlg::Delimiter() const {
    switch (RadioGroup2->ItemIndex()) {
        case 1:
            return "\t";
        case kOtherChoice:
            return EditDelimiter->text().left(1).toStdString();
        default:
            return ";";
    }
}

ExportLayout TExportDlg::Layout() const {
    return RadioGroup3->ItemIndex() == 1 ? ExportLayout::Dos : ExportLayout::Windows;
}

bool TExportDlg::NetcdfChosen() const { return RadioGroup3->ItemIndex() == kNetcdfChoice; }

void TExportDlg::UpdateEnabled() {
    SpinEditSer->setEnabled(RadioGroup1->ItemIndex() == kSeriesChoice);
    // A NetCDF file has no delimiter, and text files no site.
    RadioGroup2->setEnabled(!NetcdfChosen());
    EditDelimiter->setEnabled(!NetcdfChosen() && RadioGroup2->ItemIndex() == kOtherChoice);
    GroupSite->setEnabled(NetcdfChosen());
}

void TExportDlg::OKBtnClick() {
    // An empty box would give fields with nothing between them.
    if (!NetcdfChosen() && RadioGroup2->ItemIndex() == kOtherChoice && EditDelimiter->text().isEmpty()) {
        QMessageBox::warning(this, kCaption, kNoDelimiterMessage);
        EditDelimiter->setFocus();
        return;
    }
    if (NetcdfChosen()) {
        const DeploymentSiteTexts texts{EditLatitude->text().toStdString(),    EditLongitude->text().toStdString(),
                                        EditDepth->text().toStdString(),       EditSiteCode->text().toStdString(),
                                        EditInstitution->text().toStdString(), EditInvestigator->text().toStdString()};
        DeploymentSite site;
        const std::string why = DeploymentSiteFromTexts(texts, site);
        if (!why.empty()) {
            QMessageBox::warning(this, kCaption, QString::fromStdString(why));
            // The box the message is about gets the focus.
            QLineEdit* culprit = why.find("atitude") != std::string::npos    ? EditLatitude
                                 : why.find("ongitude") != std::string::npos ? EditLongitude
                                                                             : EditDepth;
            culprit->setFocus();
            culprit->selectAll();
            return;
        }
        site_ = site;
        if (siteStore_ != nullptr) WriteDeploymentSite(*siteStore_, site_);
    }
    accept();
}

}  // namespace corvan
