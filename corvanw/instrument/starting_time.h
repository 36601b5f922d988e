#pragma once
// The rules of the starting-time editor: which days a month allows, and the
// lines of its series list.

#include <array>
#include <string>
#include <vector>

#include "data/data_set.h"

namespace corvan {

// Days the day spin allows for a two-digit year and a month.
int DayMaximum(int twoDigitYear, int month);

struct SeriesStartFields {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

SeriesStartFields StartFields(const SeriesHeader& s);
void StoreStartFields(SeriesHeader& s, const SeriesStartFields& f);

// After the month (or the year in February) changed: the day lowered to what
// the month allows.
int ClampDay(int twoDigitYear, int month, int day);

// One line of the series list: number, first record, last record, count,
// "yy.mm.dd", "hh:mm".
struct SeriesListLine {
    std::string series;
    std::string first;
    std::string last;
    std::string count;
    std::string date;
    std::string time;
};

std::vector<SeriesListLine> SeriesListLines(const DataSet& data, int seriesCount);

}  // namespace corvan
