#pragma once
// The rules of the import dialog without the dialog: the opening cells of a
// file, what the update does to the values, the cell number check, the
// conversion of the chosen positions and the number the export returns.
// The Qt dialog only shows these values and feeds clicks back.

#include <array>
#include <optional>
#include <string_view>

#include "configuration.h"
#include "convert_cell.h"
#include "converter_ui.h"
#include "tarsen_file.h"

namespace tarsen {

inline constexpr int kLowestCellNumber = 1;
inline constexpr int kHighestCellNumber = 128;

// Rows of the dialog, in the order they are converted.
enum Position : int { kSurface = 0, kCenter = 1, kBottom = 2 };
inline constexpr int kPositionCount = 3;

struct PositionRow {
    bool selected = true;
    // False for the rows a single-point instrument does not have.
    bool usable = true;
    int cell = 1;
    double distance = 0.0;  // m from the head, one decimal
};

struct ImportDialogValues {
    std::array<PositionRow, kPositionCount> rows;
    bool removeLowSnr = true;
    bool removeSpikes = true;
    bool removeBoundary = true;
    int boundaryMethod = kBoundaryAcoustic;
};

// The values a dialog opens with for a file of this configuration (before
// the first update).
ImportDialogValues InitialDialogValues(const CConfig& config);

// The highest cell number the spins offer and the update allows.
int LastCellOf(const CConfig& config);

// The update: every cell at most the last cell of the profile, and the
// distance of each row's cell.
void UpdateDialogValues(ImportDialogValues& values, const CConfig& config);

// A cell edit's text as a cell number: digits only, 1..128.
std::optional<int> ReadCellNumber(std::string_view text);

// The settings the conversion takes from the dialog.
ImportSettings SettingsOf(const ImportDialogValues& values);

struct ImportOutcome {
    bool accepted = false;
    std::array<bool, kPositionCount> converted{};
};

// Converts the selected rows, Surface, Center, Bottom in that order; a
// failed row does not stop the others. A down-looking file met on the way
// leaves the acoustic boundary method in the values.
ImportOutcome ConvertSelectedPositions(TarsenFile& input, ImportDialogValues& values, ConverterUi& ui);

// What the export returns: 0 when cancelled or nothing was selected, -1
// when a selected row failed, else the cell of the first selected row (the
// file the caller is told about is one that was written).
int ExportResult(const ImportDialogValues& values, const ImportOutcome& outcome);

}  // namespace tarsen
