#pragma once
// "Set graphics parameters": the four colours of the graphs and panels, grid
// lines on the date axis and solid or marker-only lines.

#include <QDialog>
#include <array>

#include "graphs/graph_settings.h"

class QCheckBox;
class QFrame;
class QPushButton;

namespace corvan {

inline constexpr const char* kColourDialogCaption = "Set graphics parameters";

class TdlgColor : public QDialog {
    Q_OBJECT

public:
    // OK writes the settings to `store` when one is given.
    explicit TdlgColor(SettingsAccess* store, QWidget* parent = nullptr);

    // Presets the swatches and boxes from what the window shows now.
    void SetSettings(const GraphSettings& settings);
    // The swatches and boxes as they stand.
    GraphSettings Settings() const;

    enum Swatch { kLegend = 0, kBackground = 1, kLine = 2, kBar = 3 };

    QFrame* clrLegend;
    QFrame* clrBack;
    QFrame* clrLine;
    QFrame* clrBar;
    std::array<QPushButton*, 4> ClrBtn{};
    QCheckBox* chkDateGrid;
    QCheckBox* cbSolid;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* DefaultBtn;

private slots:
    void ClrBtnClick();
    void DefaultBtnClick();
    void OKBtnClick();

private:
    QFrame* SwatchFrame(int tag) const;
    void SetSwatch(int tag, ColourValue colour);

    SettingsAccess* store_;
    std::array<ColourValue, 4> colours_{};
};

}  // namespace corvan
