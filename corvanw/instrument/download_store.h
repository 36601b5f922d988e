#pragma once
// What happens to the data set around a download: cleared when it starts,
// filled when it completes, written as a file set when the user saves it.
// The desktop and the command line share these so both write the same files.

#include <string>

#include "data/data_set.h"
#include "instrument/download_protocol.h"

namespace corvan {

// Starting a download discards the loaded set: flags cleared, header zeroed.
void BeginDownload(DataSet& data);

// Moves a completed download into the data set. The series entries keep
// their interval code; nothing is marked loaded until the set is saved.
void StoreDownload(const DownloadedSeries& series, DataSet& data);

// Writes B.CVN and B.RF6 (each keeping the previous file as a backup), marks
// the set loaded and selects series 1 as the range. Throws FileError.
void SaveDownload(DataSet& data, const std::string& baseName);

// Series 1 of a freshly written set as the range.
void SelectFirstSeriesRange(DataSet& data);

}  // namespace corvan
