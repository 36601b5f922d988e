#pragma once
// "Select data": the files of the three measuring positions, the template
// and the site facts of a site-survey report; OK writes the report.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <array>
#include <functional>
#include <string>

#include "data/settings_access.h"
#include "report/report_builder.h"

namespace corvan {

class QtReportPictureSource;

inline constexpr const char* kConsultCaption = "Select data";
inline constexpr const char* kBundledTemplateName = "Spesifikasjons og resutatoversikt.docx";

// One measuring position's file and range.
struct ConsultSlot {
    std::string baseName;
    int series = 0;
    int first = 0;  // 0-based
    int last = 0;
    int interval = 0;
    int intervalCode = 0;
    bool Empty() const { return baseName.empty(); }
};

// "Ser: 1, Meas: 1 - 3024"
std::string SlotSelectionText(const ConsultSlot& slot);

class TdlgKonsult : public QDialog {
    Q_OBJECT
public:
    explicit TdlgKonsult(SettingsAccess& store, QWidget* parent = nullptr);

    // Runs the main window's "&Open..." (file, series and range); true
    // when a file was chosen and loaded.
    std::function<bool()> runOpen;
    // The data set the main window holds.
    std::function<const DataSet*()> currentData;
    // Adds what the main window knows: scaling, graph area, legend.
    std::function<void(ReportRequest&)> completeRequest;
    // Shows the written document; the desktop's default application when unset.
    std::function<void(const QString&)> openDocument;
    // Where reports are saved; the user's documents folder when unset.
    std::function<QString()> documentsFolder;
    // The template browse's dialog; returns the chosen path or empty.
    std::function<QString(const QString& initialName)> chooseTemplate;
    // Called after a report was written (the window shows its list again).
    std::function<void()> afterReport;
    // Gives the pictures the window's graph colours and line settings.
    std::function<void(QtReportPictureSource&)> completePictures;
    // Shows a failure; a message box when unset.
    std::function<void(const QString&)> showError;

    const ConsultSlot& Slot(int position) const { return slots_[static_cast<std::size_t>(position)]; }
    // The request the controls describe (without what the window adds).
    ReportRequest BuildRequest() const;
    const QString& LastReport() const { return lastReport_; }

    // Browse and clear of a position (0 surface, 1 center, 2 bottom).
    void BrowseClick(int position);
    void ClearClick(int position);
    void LoadGClick();
    void OKBtnClick();

    // Controls, named as in the dialog definition.
    std::array<QLineEdit*, 3> fileEdits{};
    std::array<QLineEdit*, 3> selectionEdits{};
    std::array<QLineEdit*, 3> depthEdits{};
    std::array<QLineEdit*, 3> addressEdits{};
    std::array<QPushButton*, 3> browseButtons{};
    std::array<QPushButton*, 3> clearButtons{};
    QLineEdit* edtTemplate = nullptr;
    QPushButton* LoadG = nullptr;
    QLineEdit* edtTotDyp = nullptr;
    QLineEdit* edtUTM = nullptr;
    QLineEdit* edtSted = nullptr;
    QLineEdit* edtKomm = nullptr;
    QLineEdit* edtFylke = nullptr;
    QCheckBox* cbGraphDays = nullptr;
    QCheckBox* cbBarGraphValg = nullptr;
    QCheckBox* cbAutoSize = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QMenu* popConsult = nullptr;
    QAction* actUseStartup = nullptr;
    QAction* actClearStartup = nullptr;

    // Opens the startup-value menu of a component as a right-click would;
    // returns the menu without showing it when `show` is false (tests).
    QMenu* PrepareStartupMenu(QWidget* component);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ApplyStartupValues();
    void UseAsStartupValue();
    void ClearDefaultValue();
    void ReportError(const QString& text);

    SettingsAccess& store_;
    std::array<ConsultSlot, 3> slots_;
    QWidget* menuComponent_ = nullptr;
    QString lastReport_;
};

}  // namespace corvan
