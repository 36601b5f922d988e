#pragma once
// "Export data": which records, the field delimiter and the layout of a text
// export. The dialog only gathers the choices; the writer is in the core.

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>

#include <string>

#include "data/data_set.h"
#include "data/deployment_site.h"
#include "data/text_export.h"

namespace corvan {

// A titled group of exclusive choices addressed by index, with room for a
// control beside an item (the series spin, the delimiter box).
class TExportRadioGroup : public QGroupBox {
public:
    TExportRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

    int ItemIndex() const { return buttons_->checkedId(); }
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;
    QButtonGroup* Buttons() const { return buttons_; }
    void PlaceBeside(int index, QWidget* widget);

private:
    QButtonGroup* buttons_;
};

class TExportDlg : public QDialog {
    Q_OBJECT
public:
    explicit TExportDlg(QWidget* parent = nullptr);

    // Where the site facts of the NetCDF choice are remembered; without a
    // store they last as long as the dialog.
    void SetSiteStore(SettingsAccess* store);

    // Caption, the series spin's limits and its start at the current series;
    // the other choices stay as the user left them last time.
    void Prepare(const DataSet& data);
    // Prepare, then modal; true on OK.
    bool Execute(const DataSet& data);

    ExportContents Contents() const;
    // The spin's text; text that is not a number counts as 1.
    int SeriesNumber() const;
    // One character, UTF-8.
    std::string Delimiter() const;
    ExportLayout Layout() const;
    // The third "File type": a NetCDF file instead of text.
    bool NetcdfChosen() const;
    // The site facts as accepted by OK.
    const DeploymentSite& Site() const { return site_; }

    TExportRadioGroup* RadioGroup1 = nullptr;
    QSpinBox* SpinEditSer = nullptr;
    TExportRadioGroup* RadioGroup2 = nullptr;
    QLineEdit* EditDelimiter = nullptr;
    TExportRadioGroup* RadioGroup3 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QGroupBox* GroupSite = nullptr;
    QLineEdit* EditLatitude = nullptr;
    QLineEdit* EditLongitude = nullptr;
    QLineEdit* EditDepth = nullptr;
    QLineEdit* EditSiteCode = nullptr;
    QLineEdit* EditInstitution = nullptr;
    QLineEdit* EditInvestigator = nullptr;

private:
    void ShowSite(const DeploymentSite& site);
    SettingsAccess* siteStore_ = nullptr;
    DeploymentSite site_;
    void UpdateEnabled();
    void OKBtnClick();
};

}  // namespace corvan
