#include "import_dialog_model.h"

#include <algorithm>

namespace tarsen {

ImportDialogValues InitialDialogValues(const CConfig& config) {
    ImportDialogValues v;
    if (config.type == kOrlen) {
        // A single-point meter has one cell; only the middle row stands for it.
        for (PositionRow& row : v.rows) row.cell = 1;
        v.rows[kSurface].selected = v.rows[kSurface].usable = false;
        v.rows[kBottom].selected = v.rows[kBottom].usable = false;
        return v;
    }
    const DefaultCellNumbers d = DefaultCells(config);
    v.rows[kSurface].cell = d.surface;
    v.rows[kCenter].cell = d.center;
    v.rows[kBottom].cell = d.bottom;
    return v;
}

int LastCellOf(const CConfig& config) { return std::clamp(config.cells, kLowestCellNumber, kHighestCellNumber); }

void UpdateDialogValues(ImportDialogValues& values, const CConfig& config) {
    const int last = LastCellOf(config);
    for (PositionRow& row : values.rows) {
        // Lowered before the distance is taken, so the distance shown is
        // that of the cell shown.
        row.cell = std::min(row.cell, last);
        row.distance = CellDistance(config, row.cell);
    }
}

std::optional<int> ReadCellNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < kLowestCellNumber || n > kHighestCellNumber) return std::nullopt;
    return n;
}

ImportSettings SettingsOf(const ImportDialogValues& values) {
    ImportSettings s;
    s.removeLowSnr = values.removeLowSnr;
    s.removeSpikes = values.removeSpikes;
    s.removeBoundary = values.removeBoundary;
    s.boundaryMethod = values.boundaryMethod;
    return s;
}

ImportOutcome ConvertSelectedPositions(TarsenFile& input, ImportDialogValues& values, ConverterUi& ui) {
    ImportOutcome outcome;
    outcome.accepted = true;
    // One settings object for all rows, so the note about a down-looking
    // file is shown once and not per row.
    ImportSettings settings = SettingsOf(values);
    for (int p = 0; p < kPositionCount; ++p) {
        const PositionRow& row = values.rows[static_cast<std::size_t>(p)];
        if (!row.selected || !row.usable) continue;
        outcome.converted[static_cast<std::size_t>(p)] = ConvertCell(input, settings, ui, row.cell);
    }
    values.boundaryMethod = settings.boundaryMethod;
    return outcome;
}

int ExportResult(const ImportDialogValues& values, const ImportOutcome& outcome) {
    if (!outcome.accepted) return 0;
    int first = 0;
    for (int p = 0; p < kPositionCount; ++p) {
        const PositionRow& row = values.rows[static_cast<std::size_t>(p)];
        if (!row.selected || !row.usable) continue;
        if (!outcome.converted[static_cast<std::size_t>(p)]) return -1;
        if (first == 0) first = row.cell;
    }
    return first;
}

}  // namespace tarsen
