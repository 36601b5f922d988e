// Opens a measurement file set made of the input's bytes, as a user opening
// a damaged or foreign set would: every file version, the conversion of the
// older ones on disk, then what the list and the statistics read of every
// series.
//
// Input: a flags byte (bit 0: a reference file, bit 1: a companion file,
// bit 2: manual scaling, bit 3: the DOS text export), the reference and
// companion lengths (16 bits each, little-endian), their bytes, then the
// measurement file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/file_error.h"
#include "data/list_format.h"
#include "data/measurement_files.h"
#include "data/series_range.h"
#include "data/text_export.h"
#include "fuzz_support.h"
#include "graphs/statistics.h"
#include "graphs/statistics_pages.h"

namespace {

using corvan::fuzz::Input;

void ReadEverything(corvan::DataSet& data, bool manualScale, bool dosExport) {
    const std::vector<corvan::ListColumn> columns = corvan::RebuildListColumns(data);
    corvan::SeriesCursor cursor(data, 0);
    std::vector<std::string> cells;
    bool startsSeries = false;
    // Every record the file held; beyond them the header's count is made of
    // one filler, of which the first and the last stand for all.
    const int count = data.HeaderCount();
    for (int i = 0; i < count; ++i) {
        if (i > data.recordCount && i < count - 1) {
            cursor.Advance(i);
            continue;
        }
        corvan::FormatListRow(data, columns, i, cursor, cells, startsSeries);
    }

    corvan::TextExportOptions options;
    options.layout = dosExport ? corvan::ExportLayout::Dos : corvan::ExportLayout::Windows;
    options.records = corvan::ExportRecords(data, corvan::ExportContents::AllMeasurements, 1);
    corvan::BuildTextExport(data, options, corvan::IsoExportLocale());

    corvan::ScaleSettings scale;
    scale.manual = manualScale;
    corvan::Statistics stats;
    for (int s = 1; s <= std::max(1, data.SeriesCount()); ++s) {
        corvan::RangeRequest request;
        request.series = s;
        if (!corvan::SelectSeriesRange(data, request).empty()) continue;
        corvan::ComputeStatistics(data, scale, stats);
        std::vector<corvan::ProgressivePoint> path;
        stats.progressive = corvan::ComputeProgressiveFigures(data, &path);
        corvan::SummaryTexts(data, stats, ",");
        corvan::MatrixCellTexts(data, stats);
        corvan::InformationTexts(data, data.baseName);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    Input in(bytes, size);
    const std::uint8_t flags = in.U8();
    const std::size_t rf6Length = in.U16();
    const std::size_t ln6Length = in.U16();
    const std::vector<std::uint8_t> rf6 = in.Take(rf6Length);
    const std::vector<std::uint8_t> ln6 = in.Take(ln6Length);

    const std::string base = scratch.Path("set");
    corvan::fuzz::WriteFile(base + ".CVN", in.Rest(), in.Left());
    if (flags & 1) corvan::fuzz::WriteFile(base + ".RF6", rf6.data(), rf6.size());
    if (flags & 2) corvan::fuzz::WriteFile(base + ".LN6", ln6.data(), ln6.size());

    corvan::DataSet data;
    data.baseName = base;
    try {
        corvan::LoadMeasurementFiles(data);
    } catch (const corvan::FileError&) {
        return 0;
    }
    if (data.dataLoaded) ReadEverything(data, (flags & 4) != 0, (flags & 8) != 0);
    return 0;
}
