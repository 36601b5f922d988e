#pragma once
// The converter's own dialog "Tarsen File Import": the user picks up to
// three cells of the profile and the quality control, and watches each
// cell's conversion. Built only where Qt is present; the desktop program
// that loads the library owns the application object.

#include <QDialog>
#include <array>
#include <string>

#include "converter_ui.h"
#include "import_dialog_model.h"
#include "tarsen_file.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tarsen {

class UpDownSpin;
class ElidedPathLabel;

inline constexpr const char* kImportDialogCaption = "Tarsen File Import";

class CTarsenCVNDlg final : public QDialog, private ConverterUi {
public:
    explicit CTarsenCVNDlg(const std::string& inputPathUtf8, QWidget* parent = nullptr);
    ~CTarsenCVNDlg() override;

    // Opens the input and sets the controls; false when the input cannot be
    // converted at all (the reason has been shown).
    bool OnInitDialog();
    // What the export returns once the dialog has ended.
    int Result() const;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QCheckBox* check = nullptr;
        QLineEdit* cell = nullptr;
        UpDownSpin* spin = nullptr;
        QLineEdit* distance = nullptr;
    };

    void BuildControls();
    // Reads the controls back; a cell outside 1..128 is refused with a
    // message and its edit shows the last accepted number again.
    bool ReadValues();
    void ShowValues();
    // Read, limit, show, enable; false when a value was refused.
    bool Update();
    void OKBtnClick();

    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskTimeGlitch(int cell, const std::string& text) override;
    void SetProgress(int percent) override;

    std::string inputPath_;
    TarsenFile file_;
    ImportDialogValues values_;
    ImportOutcome outcome_;
    bool converting_ = false;
    bool updating_ = false;
    // Set by a spin click: the edit's next change runs the update.
    bool spinClicked_ = false;

    ElidedPathLabel* fileName_ = nullptr;
    std::array<Row, kPositionCount> rows_{};
    QCheckBox* removeLowSnr_ = nullptr;
    QCheckBox* removeSpikes_ = nullptr;
    QCheckBox* removeBoundary_ = nullptr;
    QRadioButton* usePressure_ = nullptr;
    QRadioButton* useAcoustic_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// The export's dialog run from start to end: -1 when the input cannot be
// read or a chosen cell failed, 0 when cancelled or nothing was chosen,
// else the first cell written.
int RunImportDialog(const std::string& inputPathUtf8, QWidget* parent);

}  // namespace tarsen
