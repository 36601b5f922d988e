#include "data/measurement_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "data/byte_io.h"
#include "data/data_set.h"
#include "data/file_error.h"

namespace corvan {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Of(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

std::string LastSystemReason(const char* fallback) {
    const int e = errno;
    if (e != 0) return std::strerror(e);
    return fallback;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// Reads at most maxBytes of a file into buf; returns the bytes read.
// Throws FileError when the file cannot be opened or read.
std::size_t ReadFilePrefix(const std::string& fileName, std::uint8_t* buf, std::size_t maxBytes) {
    errno = 0;
    std::ifstream in(PathOf(fileName), std::ios::binary);
    if (!in) throw FileError(fileName, LastSystemReason("cannot be opened"));
    in.read(reinterpret_cast<char*>(buf), static_cast<std::streamsize>(maxBytes));
    if (in.bad()) throw FileError(fileName, LastSystemReason("read error"));
    return static_cast<std::size_t>(in.gcount());
}

void WriteWholeFile(const std::string& fileName, const std::uint8_t* data, std::size_t size) {
    errno = 0;
    std::ofstream out(PathOf(fileName), std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(fileName, LastSystemReason("cannot be created"));
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.flush();
    if (!out) throw FileError(fileName, LastSystemReason("write error"));
    out.close();
    if (out.fail()) throw FileError(fileName, LastSystemReason("write error"));
}

void RenameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(PathOf(from), PathOf(to), ec);
    if (ec) throw FileError(from, "cannot be renamed to " + to + ": " + ec.message());
}

void RemoveQuietly(const std::string& fileName) {
    std::error_code ec;
    fs::remove(PathOf(fileName), ec);
}

// A full disk or a lost folder must never cost the user the file he had:
// the new bytes go to a temporary name beside it, and only when they are
// all on disk does the old file move to its backup name and the new one
// take its place. Whatever fails, the previous file is where it was (or,
// when even the last rename fails, under its backup name) and no partial
// file carries the set's name.
void ReplaceFileKeepingBackup(const std::string& fileName, const std::uint8_t* data, std::size_t size) {
    const std::string temp = fileName + ".~tmp";
    try {
        WriteWholeFile(temp, data, size);
    } catch (const FileError& e) {
        RemoveQuietly(temp);
        throw FileError(fileName, e.Reason());
    }
    std::string backup;
    try {
        backup = KeepBackup(fileName);
    } catch (const FileError&) {
        RemoveQuietly(temp);
        throw;
    }
    std::error_code ec;
    fs::rename(PathOf(temp), PathOf(fileName), ec);
    if (ec) {
        RemoveQuietly(temp);
        std::error_code ignored;
        if (!backup.empty()) fs::rename(PathOf(backup), PathOf(fileName), ignored);
        throw FileError(fileName, "cannot be replaced: " + ec.message());
    }
}

// Where the records behind the header lie about their number, the surplus
// must not show the previous file's values: fill it with invalid markers.
void FillBeyondRecords(DataSet& data, int from) {
    const int to = std::max(from, data.HeaderCount());
    const MeasurementRecord filler = HasPositions(data.header)
                                         ? MeasurementRecord{kNoPosition, kNoPosition, kInvalidValue, 0.0f}
                                         : MeasurementRecord{kInvalidValue, kInvalidValue, kInvalidValue, 0.0f};
    for (int i = std::max(from, 0); i < to && i < kMaxRecords; ++i) data.records[static_cast<std::size_t>(i)] = filler;
}

void WriteMeasurementFileTo(DataSet& data, const std::string& fileName) {
    data.header.version = kCurrentFileVersion;
    const int count = data.HeaderCount();
    const std::size_t size = kHeaderSize + static_cast<std::size_t>(count) * kRecordSize;
    std::uint8_t* buf = data.ioBuffer.data();
    EncodeHeader(data.header, buf);
    for (int i = 0; i < count; ++i) {
        EncodeRecord(data.records[static_cast<std::size_t>(i)],
                     buf + kHeaderSize + static_cast<std::size_t>(i) * kRecordSize);
    }
    ReplaceFileKeepingBackup(fileName, buf, size);
}

void WriteReferenceFileTo(DataSet& data, int count, const std::string& fileName) {
    count = std::min(count, kMaxSeries);
    int kept = 0;
    if (count > 0) {
        kept = 1;
        for (int j = 2; j <= count; ++j) {
            SeriesHeader& last = data.series[static_cast<std::size_t>(kept - 1)];
            const SeriesHeader& entry = data.series[static_cast<std::size_t>(j - 1)];
            if (entry.first > last.first) {
                data.series[static_cast<std::size_t>(kept)] = entry;
                ++kept;
            } else {
                last = entry;
            }
        }
        if (data.series[static_cast<std::size_t>(kept - 1)].first == data.header.count) --kept;
    }
    data.seriesCount = kept;
    std::uint8_t buf[kMaxSeries * kSeriesHeaderSize];
    for (int i = 0; i < kept; ++i) {
        EncodeSeriesHeader(data.series[static_cast<std::size_t>(i)],
                           buf + static_cast<std::size_t>(i) * kSeriesHeaderSize);
    }
    ReplaceFileKeepingBackup(fileName, buf, static_cast<std::size_t>(kept) * kSeriesHeaderSize);
}

void ConvertOldMeasurementFile(DataSet& data) {
    const std::string cvn = MeasurementFileName(data.baseName);
    data.header.version = kCurrentFileVersion;
    data.header.sensorCoefficient = 0.0f;
    data.header.reserved = 0;

    // The old file is read where it is; the writer moves it to its backup
    // name only once the converted file is complete.
    const std::size_t maxBytes = kOldRecordSize * static_cast<std::size_t>(kMaxRecords + 1);
    const std::size_t got = ReadFilePrefix(cvn, data.ioBuffer.data(), std::min(maxBytes, data.ioBuffer.size()));
    int stored = 0;
    if (got > kOldRecordSize) {
        const std::size_t complete = (got - kOldRecordSize) / kOldRecordSize;
        stored = static_cast<int>(std::min<std::size_t>(complete, kMaxRecords));
    }
    ByteReader in(data.ioBuffer.data(), got);
    in.Seek(kOldRecordSize);
    for (int i = 0; i < stored; ++i) {
        MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        r.speed = in.F32();
        r.direction = in.F32();
        r.temperature = in.F32();
        r.optional = 0.0f;
    }
    data.header.count = static_cast<std::int16_t>(stored);
    data.recordCount = stored;
    WriteMeasurementFileTo(data, cvn);
}

// False when the set has no reference file to convert.
bool ConvertOldReferenceFile(DataSet& data, std::size_t recordSize) {
    const std::string rf6 = ReferenceFileName(data.baseName);
    if (!FileExists(rf6)) return false;
    std::uint8_t buf[kMaxSeries * kVersion3SeriesHeaderSize];
    const std::size_t got = ReadFilePrefix(rf6, buf, static_cast<std::size_t>(kMaxSeries) * recordSize);
    const int n = static_cast<int>(got / recordSize);
    data.series.fill(SeriesHeader{});
    for (int i = 0; i < n; ++i) {
        data.series[static_cast<std::size_t>(i)] =
            DecodeOldSeriesHeader(buf + static_cast<std::size_t>(i) * recordSize);
    }
    data.seriesCount = n;
    data.referenceLoaded = n >= 1;
    WriteReferenceFileTo(data, n, rf6);
    return true;
}

void PatchHeaderVersion(const std::string& cvn) {
    errno = 0;
    std::fstream f(PathOf(cvn), std::ios::binary | std::ios::in | std::ios::out);
    if (!f) throw FileError(cvn, LastSystemReason("cannot be opened"));
    std::uint8_t bytes[kHeaderSize];
    f.read(reinterpret_cast<char*>(bytes), kHeaderSize);
    if (f.gcount() != static_cast<std::streamsize>(kHeaderSize)) throw FileError(cvn, "the header is incomplete");
    MeasurementFileHeader h = DecodeHeader(bytes);
    h.version = kCurrentFileVersion;
    EncodeHeader(h, bytes);
    f.seekp(0);
    f.write(reinterpret_cast<const char*>(bytes), kHeaderSize);
    f.flush();
    if (!f) throw FileError(cvn, LastSystemReason("write error"));
}

}  // namespace

MeasurementFileHeader DecodeHeader(const std::uint8_t* bytes) {
    ByteReader r(bytes, kHeaderSize);
    MeasurementFileHeader h;
    h.version = r.I16();
    h.referenceNumber = r.I32();
    h.instrumentType = r.U8();
    h.count = r.I16();
    h.sensorKind = r.U8();
    h.sensorCoefficient = r.F32();
    h.reserved = r.I16();
    return h;
}

void EncodeHeader(const MeasurementFileHeader& h, std::uint8_t* out) {
    ByteWriter w(out, kHeaderSize);
    w.I16(h.version);
    w.I32(h.referenceNumber);
    w.U8(h.instrumentType);
    w.I16(h.count);
    w.U8(h.sensorKind);
    w.F32(h.sensorCoefficient);
    w.I16(h.reserved);
}

MeasurementRecord DecodeRecord(const std::uint8_t* bytes) {
    ByteReader r(bytes, kRecordSize);
    MeasurementRecord m;
    m.speed = r.F32();
    m.direction = r.F32();
    m.temperature = r.F32();
    m.optional = r.F32();
    return m;
}

void EncodeRecord(const MeasurementRecord& m, std::uint8_t* out) {
    ByteWriter w(out, kRecordSize);
    w.F32(m.speed);
    w.F32(m.direction);
    w.F32(m.temperature);
    w.F32(m.optional);
}

SeriesHeader DecodeSeriesHeader(const std::uint8_t* bytes) {
    ByteReader r(bytes, kSeriesHeaderSize);
    SeriesHeader s;
    s.first = r.I32();
    s.year = r.U8();
    s.month = r.U8();
    s.day = r.U8();
    s.hour = r.U8();
    s.minute = r.U8();
    s.interval = r.I32();
    s.intervalCode = r.I32();
    s.salinity = r.F32();
    return s;
}

void EncodeSeriesHeader(const SeriesHeader& s, std::uint8_t* out) {
    ByteWriter w(out, kSeriesHeaderSize);
    w.I32(s.first);
    w.U8(s.year);
    w.U8(s.month);
    w.U8(s.day);
    w.U8(s.hour);
    w.U8(s.minute);
    w.I32(s.interval);
    w.I32(s.intervalCode);
    w.F32(s.salinity);
}

SeriesHeader DecodeOldSeriesHeader(const std::uint8_t* bytes) {
    ByteReader r(bytes, kOldSeriesHeaderSize);
    SeriesHeader s;
    s.first = r.I32();
    s.year = r.U8();
    s.month = r.U8();
    s.day = r.U8();
    s.hour = r.U8();
    s.minute = r.U8();
    const int minutes = r.I16();
    s.interval = minutes * 60;
    s.intervalCode = minutes == 1 ? 1 : minutes / 5;
    s.salinity = -1.0f;
    return s;
}

bool FileExists(const std::string& fileName) {
    std::error_code ec;
    return fs::is_regular_file(PathOf(fileName), ec);
}

std::string FileNameWithExtension(const std::string& baseName, const std::string& extension) {
    const std::string canonical = baseName + "." + extension;
    if (FileExists(canonical)) return canonical;
    // A case-sensitive file system may hold the set with another spelling of
    // the extension; the first match in the folder is taken.
    const fs::path base = PathOf(baseName);
    const fs::path dir = base.has_parent_path() ? base.parent_path() : fs::path(".");
    const std::string wanted = Utf8Of(base.filename()) + "." + extension;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Of(it->path().filename());
        if (name.size() == wanted.size() &&
            name.compare(0, name.size() - extension.size(), wanted, 0, wanted.size() - extension.size()) == 0 &&
            EqualsIgnoringCase(name, wanted) && it->is_regular_file(ec)) {
            return Utf8Of(base.has_parent_path() ? base.parent_path() / it->path().filename() : it->path().filename());
        }
    }
    return canonical;
}

std::string MeasurementFileName(const std::string& baseName) { return FileNameWithExtension(baseName, "CVN"); }
std::string ReferenceFileName(const std::string& baseName) { return FileNameWithExtension(baseName, "RF6"); }
std::string LFileName(const std::string& baseName) { return FileNameWithExtension(baseName, "LN6"); }

std::string MakeBackupName(const std::string& fileName) {
    const std::string stem = StripExtension(fileName);
    std::string ext = fileName.substr(stem.size());
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    const std::string first = stem + ".~" + ext;
    if (!FileExists(first)) return first;
    for (int n = 1; n <= 99; ++n) {
        const std::string candidate = first + "~" + std::to_string(n);
        if (!FileExists(candidate)) return candidate;
    }
    const std::string last = first + "~99";
    std::error_code ec;
    fs::remove(PathOf(last), ec);
    return last;
}

std::string KeepBackup(const std::string& fileName) {
    if (!FileExists(fileName)) return {};
    const std::string backup = MakeBackupName(fileName);
    RenameFile(fileName, backup);
    return backup;
}

int ReadFileVersion(const std::string& baseName) {
    const std::string cvn = MeasurementFileName(baseName);
    std::ifstream in(PathOf(cvn), std::ios::binary);
    if (!in) return -1;
    std::uint8_t bytes[kHeaderSize];
    in.read(reinterpret_cast<char*>(bytes), kHeaderSize);
    if (in.gcount() != static_cast<std::streamsize>(kHeaderSize)) return -1;
    return DecodeHeader(bytes).version;
}

int ReadReferenceFile(const std::string& baseName, std::array<SeriesHeader, kMaxSeries>& table, DataSet* data) {
    const std::string rf6 = ReferenceFileName(baseName);
    std::uint8_t buf[kMaxSeries * kSeriesHeaderSize];
    std::size_t got = 0;
    try {
        got = ReadFilePrefix(rf6, buf, sizeof buf);
    } catch (const FileError&) {
        return -1;
    }
    const int n = static_cast<int>(got / kSeriesHeaderSize);
    for (int i = 0; i < kMaxSeries; ++i) {
        table[static_cast<std::size_t>(i)] =
            i < n ? DecodeSeriesHeader(buf + static_cast<std::size_t>(i) * kSeriesHeaderSize) : SeriesHeader{};
    }
    if (data && n >= 1) data->referenceLoaded = true;
    return n;
}

bool ConvertFileVersion(DataSet& data, std::int16_t version, LoadOutcome& outcome) {
    switch (version) {
        case 0:
        case 1: {
            ConvertOldMeasurementFile(data);
            if (!ConvertOldReferenceFile(data, kOldSeriesHeaderSize)) {
                outcome.message = kReferenceNotFoundMessage;
                data.dataLoaded = false;
                data.seriesCount = 0;
                return true;
            }
            data.dataLoaded = data.recordCount > 0;
            return true;
        }
        case 2:
        case 3: {
            // Without the reference file the set stays as it is, so that a
            // reference file restored later is still read in its own layout.
            const std::size_t size = version == 2 ? kOldSeriesHeaderSize : kVersion3SeriesHeaderSize;
            if (ConvertOldReferenceFile(data, size)) PatchHeaderVersion(MeasurementFileName(data.baseName));
            return false;
        }
        case 4:
            return false;
        default:
            outcome.message = std::string(kIncompatibleVersionMessage) + std::to_string(version) + ".";
            return true;
    }
}

LoadOutcome LoadMeasurementFiles(DataSet& data) {
    LoadOutcome outcome;
    const std::string cvn = MeasurementFileName(data.baseName);
    if (!FileExists(cvn)) return outcome;
    outcome.measurementFileFound = true;

    data.dataLoaded = false;
    data.referenceLoaded = false;
    data.statisticsValid = false;
    data.currentSeries = 1;
    data.rangeFirst = 0;
    data.rangeLast = 0;
    data.rangeCount = 0;

    std::uint8_t* buf = data.ioBuffer.data();
    std::size_t got = ReadFilePrefix(cvn, buf, kHeaderSize);
    if (got < kHeaderSize) throw FileError(cvn, "the file is too short to hold a header");
    data.header = DecodeHeader(buf);

    bool skipRead = false;
    if (data.header.version != kCurrentFileVersion) skipRead = ConvertFileVersion(data, data.header.version, outcome);

    if (!skipRead) {
        got = ReadFilePrefix(cvn, buf, data.ioBuffer.size());
        if (got < kHeaderSize) throw FileError(cvn, "the file is too short to hold a header");
        data.header = DecodeHeader(buf);
        const int n = static_cast<int>(std::min<std::size_t>((got - kHeaderSize) / kRecordSize, kMaxRecords));
        for (int i = 0; i < n; ++i) {
            data.records[static_cast<std::size_t>(i)] =
                DecodeRecord(buf + kHeaderSize + static_cast<std::size_t>(i) * kRecordSize);
        }
        data.recordCount = n;
        FillBeyondRecords(data, n);
        if (n > 0) {
            data.dataLoaded = true;
            const int count = ReadReferenceFile(data.baseName, data.series, &data);
            if (count < 0) {
                outcome.message = kReferenceNotFoundMessage;
                data.dataLoaded = false;
                data.seriesCount = 0;
            } else {
                data.seriesCount = count;
            }
        } else {
            // No records: the previous file's series must not linger.
            data.seriesCount = 0;
        }
    } else if (!data.dataLoaded) {
        data.recordCount = 0;
        data.seriesCount = 0;
    } else {
        FillBeyondRecords(data, data.recordCount);
    }

    const std::string ln6 = LFileName(data.baseName);
    if (FileExists(ln6)) {
        try {
            data.AllocateLRecords();
            // Whole records only; whatever lies beyond keeps the missing marker.
            const std::size_t maxBytes = static_cast<std::size_t>(kMaxRecords) * kRecordSize;
            const std::size_t lgot = ReadFilePrefix(ln6, buf, maxBytes);
            const std::size_t n = lgot / kRecordSize;
            for (std::size_t i = 0; i < n; ++i) data.lRecords[i] = DecodeRecord(buf + i * kRecordSize);
        } catch (const std::exception&) {
            data.ReleaseLRecords();
        }
    } else {
        data.ReleaseLRecords();
    }

    data.defaultSaveName = Utf8Of(PathOf(data.baseName).filename());
    SelectChannelDescriptors(data);
    return outcome;
}

void WriteMeasurementFile(DataSet& data) { WriteMeasurementFileTo(data, MeasurementFileName(data.baseName)); }

void WriteReferenceFile(DataSet& data, int count) {
    WriteReferenceFileTo(data, count, ReferenceFileName(data.baseName));
}

}  // namespace corvan
