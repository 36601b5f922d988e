#pragma once
// The salinity of each series, as the "Set salinity" grid shows and takes
// it. A negative salinity means not set.

#include <string>
#include <vector>

#include "data/data_set.h"

namespace corvan {

inline constexpr const char* kSalinityHeadings[5] = {"Ser", "First", "Date", "Time", "Salinity"};
// The widest text each column must hold.
inline constexpr const char* kSalinityWidthTexts[5] = {" Ser ", " 99999 ", " 99.99.99 ", " 99:99 ", " 999999 "};

struct SalinityRow {
    int series = 0;
    int first = 0;
    std::string date;  // "yy.mm.dd"
    std::string time;  // "hh:nn"
    std::string salinity;
};

// One row per series of the table.
std::vector<SalinityRow> SalinityRows(const DataSet& data, char separator = '.');

// The cell text of a stored salinity: two decimals, empty when not set.
std::string SalinityText(float salinity, char separator = '.');

// The salinity a cell's text stands for: the number typed, -1 for an empty
// cell, the stored value for text that is no number.
float ConvertSalinityCell(const std::string& text, float stored, char separator = '.');

// OK of the dialog: every row's cell is converted into its series entry.
// The caller writes the reference file.
void ApplySalinityCells(DataSet& data, const std::vector<std::string>& cells, char separator = '.');

}  // namespace corvan
