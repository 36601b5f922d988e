#include "tools/salinity.h"

#include <algorithm>

#include "tools/number_entry.h"

namespace corvan {

namespace {

std::string TwoDigits(int v) {
    const std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::vector<SalinityRow> SalinityRows(const DataSet& data, char separator) {
    std::vector<SalinityRow> rows;
    for (int s = 1; s <= data.SeriesCount(); ++s) {
        const SeriesHeader& h = data.series[static_cast<std::size_t>(s - 1)];
        SalinityRow row;
        row.series = s;
        row.first = h.first;
        // A download may store a day the month does not have; the row then
        // shows the stored numbers as they are, so the user sees what is
        // there rather than losing the row.
        row.date = TwoDigits(h.year % 100) + "." + TwoDigits(h.month) + "." + TwoDigits(h.day);
        row.time = TwoDigits(h.hour) + ":" + TwoDigits(h.minute);
        row.salinity = SalinityText(h.salinity, separator);
        rows.push_back(row);
    }
    return rows;
}

std::string SalinityText(float salinity, char separator) {
    if (!(salinity >= 0.0f)) return {};
    return FormatFixed(salinity, 2, 6, separator);
}

float ConvertSalinityCell(const std::string& text, float stored, char separator) {
    if (IsBlank(text)) return -1.0f;
    const auto v = ParseUserNumber(text, separator);
    return v ? static_cast<float>(*v) : stored;
}

void ApplySalinityCells(DataSet& data, const std::vector<std::string>& cells, char separator) {
    const int n = std::min<int>(data.SeriesCount(), static_cast<int>(cells.size()));
    for (int i = 0; i < n; ++i) {
        SeriesHeader& h = data.series[static_cast<std::size_t>(i)];
        h.salinity = ConvertSalinityCell(cells[static_cast<std::size_t>(i)], h.salinity, separator);
    }
}

}  // namespace corvan
