#include "tools/gps_merge.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/byte_io.h"
#include "data/file_error.h"

namespace corvan {

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

}  // namespace

std::string MergeFileNotFoundText(const std::string& baseName) { return "File: \"" + baseName + "\" not found."; }

std::optional<MeasurementFileHeader> ReadHeaderRecord(const std::string& baseName) {
    std::ifstream in(PathOf(MeasurementFileName(baseName)), std::ios::binary);
    if (!in) return std::nullopt;
    std::uint8_t bytes[kHeaderSize];
    in.read(reinterpret_cast<char*>(bytes), kHeaderSize);
    if (in.gcount() != static_cast<std::streamsize>(kHeaderSize)) return std::nullopt;
    return DecodeHeader(bytes);
}

std::string CheckMergeFile(MergeSide side, const std::optional<MeasurementFileHeader>& header) {
    if (side == MergeSide::Temperature) return header && HasTemperature(*header) ? "" : kNotTemperatureFileText;
    return header && HasPositions(*header) ? "" : kNotGpsFileText;
}

int ReadSeriesTableOfVersion(const std::string& baseName, std::array<SeriesHeader, kMaxSeries>& table) {
    const int version = ReadFileVersion(baseName);
    if (version < 0 || version > 3) return ReadReferenceFile(baseName, table);
    const std::size_t size = version == 3 ? kVersion3SeriesHeaderSize : kOldSeriesHeaderSize;
    std::ifstream in(PathOf(ReferenceFileName(baseName)), std::ios::binary);
    if (!in) return -1;
    std::uint8_t buf[kMaxSeries * kVersion3SeriesHeaderSize];
    in.read(reinterpret_cast<char*>(buf), static_cast<std::streamsize>(size * kMaxSeries));
    if (in.bad()) return -1;
    const int n = static_cast<int>(static_cast<std::size_t>(in.gcount()) / size);
    for (int i = 0; i < kMaxSeries; ++i)
        table[static_cast<std::size_t>(i)] =
            i < n ? DecodeOldSeriesHeader(buf + static_cast<std::size_t>(i) * size) : SeriesHeader{};
    return n;
}

std::string UpgradeTemperatureFile(const std::string& baseName) {
    if (ReadFileVersion(baseName) == kCurrentFileVersion) return {};
    DataSet scratch;
    scratch.baseName = baseName;
    const LoadOutcome outcome = LoadMeasurementFiles(scratch);
    if (!outcome.message.empty()) return outcome.message;
    if (!scratch.dataLoaded) return kTemperatureReadErrorText;
    if (ReadFileVersion(baseName) != kCurrentFileVersion) WriteMeasurementFile(scratch);
    return {};
}

MergeOutcome RunGpsMerge(const MergeSideState& t, const MergeSideState& g, DataSet& gps) {
    MergeOutcome out;
    if (!FileExists(MeasurementFileName(t.baseName))) {
        out.message = MergeFileNotFoundText(t.baseName);
        return out;
    }
    // An older temperature file has 12-byte records; only once it is version
    // 4 on disk can its records be taken as they are.
    out.message = UpgradeTemperatureFile(t.baseName);
    if (!out.message.empty()) return out;
    if (!FileExists(MeasurementFileName(g.baseName))) {
        out.message = MergeFileNotFoundText(g.baseName);
        return out;
    }
    gps.baseName = g.baseName;
    const LoadOutcome loaded = LoadMeasurementFiles(gps);
    if (!loaded.message.empty()) {
        out.message = loaded.message;
        return out;
    }
    // Writing back a set that did not load would replace the file with
    // whatever the data set held before.
    if (!gps.dataLoaded || !HasPositions(gps.header)) {
        out.message = kNotGpsFileText;
        return out;
    }
    gps.series = g.series;
    gps.seriesCount = g.seriesCount;
    gps.currentSeries = static_cast<std::uint16_t>(g.currentSeries);

    const int g0 = std::max(g.first - 1, 0);
    const int g1 = std::min(g.last - 1, gps.HeaderCount() - 1);
    const int c = std::max(t.first, 1);
    const int t1 = t.last - 1;

    const std::string cvn = MeasurementFileName(t.baseName);
    std::ifstream in(PathOf(cvn), std::ios::binary);
    if (!in) {
        out.message = kTemperatureReadErrorText;
        return out;
    }
    in.seekg(static_cast<std::streamoff>(c) * static_cast<std::streamoff>(kRecordSize));
    for (int i = 0; c - 1 + i <= t1 && g0 + i <= g1; ++i) {
        std::uint8_t bytes[kRecordSize];
        in.read(reinterpret_cast<char*>(bytes), kRecordSize);
        if (in.bad()) {
            out.message = kTemperatureReadErrorText;
            return out;
        }
        if (in.gcount() != static_cast<std::streamsize>(kRecordSize)) break;
        // The temperature is taken as raw bits, so whatever the logger wrote
        // (an invalid marker included) arrives unchanged.
        ByteReader raw(bytes + 8, sizeof(float));
        gps.records[static_cast<std::size_t>(g0 + i)].temperature = raw.F32();
        ++out.copied;
    }
    in.close();
    WriteMeasurementFile(gps);
    return out;
}

}  // namespace corvan
