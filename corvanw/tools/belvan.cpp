#include "tools/belvan.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <system_error>

#include "data/byte_io.h"
#include "data/file_error.h"
#include "data/measurement_files.h"

namespace corvan {

namespace {

namespace fs = std::filesystem;

constexpr int kExponentBias = 129;
constexpr int kFractionBits = 39;
constexpr int kMinutesPerDay = 1440;
constexpr double kNotMeasuredTemperature = -20.0;

fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

struct Current {
    float speed = 0.0f;
    float direction = 0.0f;
    float temperature = 0.0f;
};

BelvanSeries StartOf(const BelvanRecord& r) {
    BelvanSeries s;
    s.year = static_cast<std::uint8_t>(((r.year % 100) + 100) % 100);
    s.month = r.month;
    s.day = r.day;
    s.hour = r.hour;
    s.minute = r.minute;
    return s;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName) {
    std::error_code ec;
    if (!fs::is_regular_file(PathOf(fileName), ec)) throw FileError(fileName, "file not found");
    std::ifstream in(PathOf(fileName), std::ios::binary);
    if (!in) throw FileError(fileName, "cannot be opened");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError(fileName, "read error");
    return bytes;
}

void WriteFileTo(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(PathOf(fileName), std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(fileName, "cannot be created");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.fail()) throw FileError(fileName, "write error");
}

void RemoveQuietly(const std::string& fileName) {
    std::error_code ec;
    fs::remove(PathOf(fileName), ec);
}

}  // namespace

double DecodeReal48(const std::uint8_t* b) {
    const int e = b[0];
    if (e == 0) return 0.0;
    std::uint64_t f = 0;
    for (int i = 5; i >= 1; --i) f = (f << 8) | b[i];
    const bool negative = (f >> kFractionBits) & 1u;
    f &= (std::uint64_t{1} << kFractionBits) - 1;
    const double mantissa = 1.0 + std::ldexp(static_cast<double>(f), -kFractionBits);
    const double v = std::ldexp(mantissa, e - kExponentBias);
    return negative ? -v : v;
}

BelvanRecord DecodeBelvanRecord(const std::uint8_t* bytes) {
    ByteReader r(bytes, kBelvanRecordSize);
    BelvanRecord rec;
    rec.number = r.I16();
    rec.speed = DecodeReal48(bytes + 2);
    r.Skip(6);
    rec.direction = r.I16();
    rec.temperature = DecodeReal48(bytes + 10);
    r.Skip(6);
    rec.year = r.I16();
    rec.month = r.U8();
    rec.day = r.U8();
    rec.hour = r.U8();
    rec.minute = r.U8();
    return rec;
}

BelvanConversion ConvertBelvanRecords(const std::vector<std::uint8_t>& input, const std::string& inputName,
                                      const std::function<DateTime()>& now) {
    // A piece of a record at the end is no measurement; it is left out.
    const std::size_t n = input.size() / kBelvanRecordSize;
    // Every record yields at least one measurement, so a longer file cannot
    // fit before a single gap is filled.
    if (n > static_cast<std::size_t>(kMaxRecords))
        throw FileError(inputName, "the file holds " + std::to_string(n) + " records, more than the " +
                                       std::to_string(kMaxRecords) + " a measurement file holds");
    std::vector<BelvanRecord> records;
    records.reserve(n);
    for (std::size_t k = 0; k < n; ++k) records.push_back(DecodeBelvanRecord(input.data() + k * kBelvanRecordSize));

    BelvanConversion out;
    long long index = 0;
    if (!records.empty()) {
        const BelvanRecord& r1 = records[0];
        index = r1.number;
        out.series = StartOf(r1);
        if (records.size() >= 2) {
            const BelvanRecord& r2 = records[1];
            const int step = r2.number - r1.number;
            if (step == 0)
                throw FileError(inputName, "the first two records carry the same number " + std::to_string(r1.number) +
                                               ", so the measuring interval cannot be found");
            int minutes = (r2.hour - r1.hour) * 60 + r2.minute - r1.minute;
            if (r2.day != r1.day) minutes += kMinutesPerDay;
            const int k = minutes / step;
            out.series.intervalMinutes = static_cast<std::int16_t>(k);
            CivilTime c;
            c.year = TwoDigitYear(out.series.year);
            c.month = r1.month;
            c.day = r1.day;
            c.hour = r1.hour;
            c.minute = r1.minute;
            const auto first = DateTime::FromCivil(c);
            const CivilTime start = (first ? *first : now()).AddSeconds(-60LL * k).ToCivil();
            out.series.year = static_cast<std::uint8_t>(start.year % 100);
            out.series.month = static_cast<std::uint8_t>(start.month);
            out.series.day = static_cast<std::uint8_t>(start.day);
            out.series.hour = static_cast<std::uint8_t>(start.hour);
            out.series.minute = static_cast<std::uint8_t>(start.minute);
        }
    }

    std::vector<std::uint8_t>& cvn = out.measurementFile;
    cvn.assign(kOldRecordSize, 0);
    ByteWriter w(cvn);
    Current cur;
    int written = 0;
    auto emit = [&] {
        if (written >= kMaxRecords)
            throw FileError(inputName, "the measurements with their gaps filled exceed " + std::to_string(kMaxRecords) +
                                           " records");
        w.F32(cur.speed);
        w.F32(cur.direction);
        w.F32(cur.temperature);
        ++written;
    };
    for (const BelvanRecord& r : records) {
        // Missing numbers repeat the values before them.
        while (r.number > index) {
            emit();
            ++index;
        }
        if (r.speed >= 0.0) cur.speed = static_cast<float>(r.speed);
        if (r.temperature > kNotMeasuredTemperature) cur.temperature = static_cast<float>(r.temperature);
        if (r.direction >= 0) cur.direction = static_cast<float>(r.direction * std::numbers::pi / 180.0);
        emit();
        ++index;
    }
    out.recordCount = written;
    ByteWriter header(cvn.data(), kOldRecordSize);
    header.I16(1);
    header.I32(0);
    header.U8(1);
    header.I16(static_cast<std::int16_t>(written));

    ByteWriter ref(out.referenceFile);
    ref.I32(0);
    ref.U8(out.series.year);
    ref.U8(out.series.month);
    ref.U8(out.series.day);
    ref.U8(out.series.hour);
    ref.U8(out.series.minute);
    ref.I16(out.series.intervalMinutes);
    return out;
}

bool BelvanOutputExists(const std::string& outputBase) {
    return FileExists(MeasurementFileName(outputBase)) || FileExists(ReferenceFileName(outputBase));
}

BelvanConversion ConvertBelvanFile(const std::string& inputFile, const std::string& outputBase,
                                   const std::function<DateTime()>& now) {
    const BelvanConversion c = ConvertBelvanRecords(ReadWholeFile(inputFile), inputFile, now);
    const std::string cvn = MeasurementFileName(outputBase);
    const std::string rf6 = ReferenceFileName(outputBase);
    const std::string cvnPart = outputBase + ".CVN.part";
    const std::string rf6Part = outputBase + ".RF6.part";
    try {
        WriteFileTo(cvnPart, c.measurementFile);
        WriteFileTo(rf6Part, c.referenceFile);
        KeepBackup(cvn);
        KeepBackup(rf6);
        std::error_code ec;
        fs::rename(PathOf(cvnPart), PathOf(outputBase + ".CVN"), ec);
        if (ec) throw FileError(outputBase + ".CVN", ec.message());
        fs::rename(PathOf(rf6Part), PathOf(outputBase + ".RF6"), ec);
        if (ec) {
            RemoveQuietly(outputBase + ".CVN");
            throw FileError(outputBase + ".RF6", ec.message());
        }
    } catch (...) {
        RemoveQuietly(cvnPart);
        RemoveQuietly(rf6Part);
        throw;
    }
    return c;
}

std::string BelvanDirectorySetting(const std::string& folder) {
    if (folder.size() >= 3) return folder.substr(0, folder.size() - 1);
    return folder;
}

}  // namespace corvan
