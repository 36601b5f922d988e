#pragma once
// Writes data-exchange files through the NetCDF library: NetCDF-4 in the
// classic model, every per-record variable deflated with shuffle. The file
// grows under a temporary name beside the target and replaces it only when
// complete, so a failure never leaves half a file where the user looks.

#include <string>

#include "data/data_set.h"
#include "exchange/netcdf_content.h"

namespace corvan {

inline constexpr int kNetcdfDeflateLevel = 4;

// Writes content to fileName. Throws FileError naming the target.
void WriteNetcdfContent(const std::string& fileName, const NetcdfContent& content);

// Builds and writes in one go: an empty text on success, or why the records
// cannot form a file (nothing is written then). Throws FileError when
// writing fails.
std::string WriteNetcdfExport(const std::string& fileName, const DataSet& data, const NetcdfExportOptions& options);

}  // namespace corvan
