#pragma once
// The current with the tide taken away: observed minus the tidal
// prediction, the mean flow kept, as records and as a file set of its own.

#include <string>
#include <vector>

#include "analysis/harmonic_analysis.h"
#include "data/measurement_files.h"

namespace corvan {

struct DataSet;

// The selected range's records with the tide removed from every valid
// current (speed valid and a direction); invalid records, temperatures and
// optional values are copied as they are.
std::vector<MeasurementRecord> DetidedRecords(const DataSet& data, const TidalAnalysis& analysis);

// Writes the detided range as OUT.CVN / OUT.RF6: one series that starts
// where the range starts, with the file's header. An existing OUT is kept
// under a backup name. Returns a text for the user when the range cannot be
// stored (its start is not on a whole minute or outside the two-digit
// years); throws FileError when writing fails.
std::string WriteDetidedFiles(const DataSet& data, const TidalAnalysis& analysis, const std::string& outBase);

}  // namespace corvan
