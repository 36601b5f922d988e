#pragma once
// The columns of the list view and the text of every cell. The desktop list
// and `corvan list` both format through here, so they cannot disagree.

#include <string>
#include <vector>

#include "data/data_set.h"

namespace corvan {

enum class ListColumnKind {
    Series,
    Measurement,
    Temperature,
    Optional,
    OxygenMgL,
    Speed,
    Direction,
    Latitude,
    Longitude,
    Flux,
    OxygenFlux,
    Date,
    Time,
};

struct ListColumn {
    ListColumnKind kind;
    bool fromLFile;  // an "L-" column showing the companion file
    int width;       // characters
    int decimals;
    std::string header;  // at most 10 characters
};

inline constexpr int kMaxListColumns = 20;
inline constexpr std::size_t kListHeaderLength = 10;

std::vector<ListColumn> RebuildListColumns(const DataSet& data);

// Text of one cell of record i, right-justified in the column width the way
// the list draws it ("-" plus blanks for invalid values). series is the
// cursor's series of the record (0 when before the first series).
std::string FormatListCell(const DataSet& data, const ListColumn& column, int i, int series);

// One line of the list: the cells of record i in column order. The cursor
// must have been positioned for the first line; startsSeries tells whether
// record i starts a series (the "*" mark).
void FormatListRow(const DataSet& data, const std::vector<ListColumn>& columns, int i, SeriesCursor& cursor,
                   std::vector<std::string>& cells, bool& startsSeries);

// Fixed-point text with a point, right-justified in width.
std::string FormatFixed(double value, int width, int decimals);
// "59°05.5'" for 3545.5 minutes of arc.
std::string FormatPosition(double minutesOfArc);
// "25.Feb-97" and "12:10".
std::string FormatListDate(const CivilTime& c);
std::string FormatListTime(const CivilTime& c);

std::string Trim(const std::string& text);

}  // namespace corvan
