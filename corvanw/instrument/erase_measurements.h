#pragma once
// Replacing a run of bad measurements by values interpolated between the
// measurements on either side, keeping the number of records.

#include <string>

#include "data/data_set.h"
#include "data/measurement_files.h"

namespace corvan {

inline constexpr const char* kInvalidDataEntered = "Invalid data entered.";

// A typed record number; unparsable text gives the fallback.
int ParseRecordNumber(const std::string& text, int fallback);

// Whether a load's only complaint is the missing reference file, with the
// measurements read: the erase and starting-time tools go on without series
// then, where opening a file stops.
bool LoadedWithoutReference(const DataSet& data, const LoadOutcome& outcome);

// Erases the 1-based records first..last of the data set in place, using the
// series table (data.seriesCount entries, 0 when there is no reference file)
// for the series boundaries. False, with nothing changed, when the range is
// empty, starts before record 1 or reaches beyond the records.
bool EraseMeasurements(DataSet& data, int first, int last);

}  // namespace corvan
