// The download dialogue fed with whatever the link delivers, one byte at a
// time, and a completed download stored, saved and opened again. The block
// decoders also see the input directly as a header block and as a data
// block of every instrument type.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "data/data_set.h"
#include "data/file_error.h"
#include "data/list_format.h"
#include "data/measurement_files.h"
#include "fuzz_support.h"
#include "instrument/download_blocks.h"
#include "instrument/download_protocol.h"
#include "instrument/download_store.h"

namespace {

void DecodeDirectly(const std::uint8_t* bytes, std::size_t size) {
    std::array<std::uint8_t, corvan::kBlockSize> block{};
    std::copy_n(bytes, std::min(size, block.size()), block.begin());
    const std::span<const std::uint8_t, corvan::kBlockSize> view(block);
    const int count = size > 2 ? (bytes[0] << 8 | bytes[1]) % (corvan::kMaxRecords + 1) : 64;
    const corvan::HeaderBlock header = corvan::ParseHeaderBlock(view, count);

    std::vector<corvan::MeasurementRecord> records(static_cast<std::size_t>(count) + 1);
    for (int type = 0; type <= 13; ++type) {
        corvan::RecordDecoder decoder{type, block[5] % 8, 1.0};
        decoder.DecodeBlock(view, 0, count, records.data());
        if (type == 3) {
            corvan::FillType3Gaps(std::span<corvan::MeasurementRecord>(records.data(), static_cast<std::size_t>(count)),
                                  header.series, header.seriesCount);
        }
    }
    const std::span<const std::uint8_t, 6> bcd(block.data(), 6);
    corvan::BcdFloat(bcd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    DecodeDirectly(bytes, size);

    corvan::DownloadProtocol protocol;
    protocol.Start();
    for (std::size_t i = 0; i < size && protocol.Active(); ++i) {
        protocol.Feed(bytes[i]);
        if (protocol.Phase() == corvan::DownloadPhase::Done) break;
    }
    corvan::ProgressText(protocol.Received(), protocol.Total());
    if (protocol.End() != corvan::DownloadEnd::Completed) {
        protocol.Cancel();
        return 0;
    }

    corvan::DataSet data;
    corvan::BeginDownload(data);
    corvan::StoreDownload(protocol.Result(), data);
    const std::string base = scratch.Path("download");
    try {
        corvan::SaveDownload(data, base);
    } catch (const corvan::FileError&) {
        return 0;
    }
    corvan::DataSet reopened;
    reopened.baseName = base;
    try {
        corvan::LoadMeasurementFiles(reopened);
    } catch (const corvan::FileError&) {
        return 0;
    }
    // What was saved must come back as it was stored.
    if (reopened.HeaderCount() != data.HeaderCount() ||
        std::memcmp(reopened.records.data(), data.records.data(),
                    static_cast<std::size_t>(data.HeaderCount()) * sizeof(corvan::MeasurementRecord)) != 0) {
        __builtin_trap();
    }
    if (reopened.dataLoaded) {
        const std::vector<corvan::ListColumn> columns = corvan::RebuildListColumns(reopened);
        corvan::SeriesCursor cursor(reopened, 0);
        std::vector<std::string> cells;
        bool startsSeries = false;
        for (int i = 0; i < reopened.HeaderCount(); ++i) {
            corvan::FormatListRow(reopened, columns, i, cursor, cells, startsSeries);
        }
    }
    return 0;
}
