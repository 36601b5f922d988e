// An older-series data file of the input's bytes converted as the Belvan
// tool converts it, then the written set opened (which upgrades its
// version) and listed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/file_error.h"
#include "data/list_format.h"
#include "data/measurement_files.h"
#include "fuzz_support.h"
#include "tools/belvan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    const std::vector<std::uint8_t> input(bytes, bytes + size);
    corvan::BelvanConversion conversion;
    try {
        conversion = corvan::ConvertBelvanRecords(input, "input.dat", [] {
            return *corvan::DateTime::FromCivil({2020, 6, 1, 8, 30, 0});
        });
    } catch (const corvan::FileError&) {
        return 0;
    }
    const std::string base = scratch.Path("converted");
    corvan::fuzz::WriteFile(base + ".CVN", conversion.measurementFile.data(), conversion.measurementFile.size());
    corvan::fuzz::WriteFile(base + ".RF6", conversion.referenceFile.data(), conversion.referenceFile.size());

    corvan::DataSet data;
    data.baseName = base;
    try {
        corvan::LoadMeasurementFiles(data);
    } catch (const corvan::FileError&) {
        return 0;
    }
    // The conversion promises a set that opens with its records.
    if (conversion.recordCount > 0 && data.recordCount != conversion.recordCount) __builtin_trap();
    if (data.dataLoaded) {
        const std::vector<corvan::ListColumn> columns = corvan::RebuildListColumns(data);
        corvan::SeriesCursor cursor(data, 0);
        std::vector<std::string> cells;
        bool startsSeries = false;
        for (int i = 0; i < data.recordCount; ++i) corvan::FormatListRow(data, columns, i, cursor, cells, startsSeries);
    }
    return 0;
}
