#include "data/text_export.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "data/file_error.h"
#include "data/list_format.h"
#include "data/series_range.h"

namespace corvan {

namespace {

constexpr const char* kFromFile = "From file: ";
constexpr std::array<const char*, 12> kDosHeaderNames = {"FileName", "Ser", "Meas ", "Temp ", "Speed ", "Opt ",
                                                         "Dir",      "YY",  "MM",    "DD",    "HH",     "MM"};
constexpr const char* kWindowsExtension = ".txt";
constexpr const char* kDosExtension = ".prn";
constexpr const char* kLineEnd = "\r\n";
// The DOS layout is fixed; only the Windows layout follows the locale.
constexpr const char* kDosDecimalSeparator = ".";
constexpr const char* kNoDirection = "000";

constexpr int kSignificantDigits = 10;
// Digits taken from the binary value before rounding, as many as an 80-bit
// real carries, so exact halves such as 12.25 round up to 12.3.
constexpr int kDigitsConsidered = 18;
constexpr int kPositionDecimals = 5;
constexpr std::size_t kSourceNameMaxLength = 20;
constexpr std::size_t kSourceNameMinLength = 8;

std::string Iso(const char* format, int a, int b, int c = 0) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

// Removes the digits beyond keep and rounds half away from zero; a carry out
// of the first digit raises the exponent.
void RoundDigits(std::string& digits, int& exponent, int keep) {
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (static_cast<std::size_t>(keep) >= digits.size()) return;
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (!up) return;
    int k = keep - 1;
    while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') {
        digits[static_cast<std::size_t>(k)] = '0';
        --k;
    }
    if (k < 0) {
        digits.insert(digits.begin(), '1');
        ++exponent;
    } else {
        ++digits[static_cast<std::size_t>(k)];
    }
}

// Number of UTF-8 characters and the byte offset of character n.
std::size_t Utf8Offset(const std::string& s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n) return i;
            ++chars;
        }
    }
    return s.size();
}

std::size_t Utf8Length(const std::string& s) {
    std::size_t chars = 0;
    for (unsigned char c : s) chars += (c & 0xC0) != 0x80;
    return chars;
}

int Windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    static constexpr std::array<std::pair<char32_t, int>, 27> kUpper = {{
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86}, {0x2021, 0x87},
        {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91},
        {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98},
        {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
    }};
    for (const auto& [code, byte] : kUpper) {
        if (code == cp) return byte;
    }
    return '?';
}

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string ErrorText(int error) {
    return error != 0 ? std::generic_category().message(error) : std::string("the file cannot be written");
}

class RecordWriter {
public:
    RecordWriter(const DataSet& data, const TextExportOptions& options, const ExportLocale& locale, std::string& out)
        : data_(data), options_(options), locale_(locale), out_(out), source_(TextExportSourceName(data.baseName)) {}

    void Header() {
        if (options_.layout == ExportLayout::Windows) {
            out_ += kFromFile;
            out_ += source_;
            out_ += kLineEnd;
            for (const ListColumn& c : RebuildListColumns(data_)) Field(c.header);
            // The header control's empty section after the last column.
            Field("");
        } else {
            for (std::size_t k = 0; k < kDosHeaderNames.size(); ++k) {
                if (k > 0) out_ += options_.delimiter;
                out_ += kDosHeaderNames[k];
            }
        }
        out_ += kLineEnd;
    }

    void Record(int i, int series) {
        if (options_.layout == ExportLayout::Windows) {
            WindowsRecord(i, series);
        } else {
            DosRecord(i, series);
        }
    }

private:
    void Field(const std::string& text) {
        out_ += text;
        out_ += options_.delimiter;
    }

    std::string Fixed(double value, int decimals) const {
        return FormatExportFixed(value, decimals, locale_.decimalSeparator);
    }

    void WindowsRecord(int i, int series) {
        const MeasurementFileHeader& h = data_.header;
        const MeasurementRecord& r = data_.records[static_cast<std::size_t>(i)];
        const int s = series >= 1 ? series : 1;
        Field(series >= 1 && series <= data_.SeriesCount() ? std::to_string(series) : std::string());
        Field(std::to_string(i + 1));
        // Values go out unchecked: -999 stays a number the reader can filter.
        if (HasTemperature(h)) Field(Fixed(r.temperature, Channel(kChTemperature).decimals));
        if (HasOptional(h)) Field(Fixed(r.optional, data_.OptionalChannel().decimals));
        const double oxygen = HasOxygen(h) ? OxygenMgL(data_, s, r.temperature, r.optional) : 0.0;
        if (HasOxygen(h)) Field(Fixed(oxygen, Channel(kChOxMgL).decimals));
        if (HasCurrent(h)) {
            Field(Fixed(r.speed, Channel(kChSpeed).decimals));
            Field(r.direction >= 0.0f ? Fixed(DirectionDegrees(r.direction), Channel(kChDirection).decimals)
                                      : std::string());
        }
        if (HasPositions(h)) {
            Field(r.speed > kLMissingThreshold ? std::string() : Fixed(r.speed / 60.0, kPositionDecimals));
            Field(r.direction > kLMissingThreshold ? std::string() : Fixed(r.direction / 60.0, kPositionDecimals));
        }
        if (HasFlux(h)) {
            Field(Fixed(static_cast<double>(r.speed) * r.optional / 100.0, data_.FluxChannel().decimals));
        }
        if (HasOxygen(h)) Field(Fixed(oxygen * r.speed / 100.0, Channel(kChOxFlux).decimals));
        const CivilTime t = RecordTime(data_, i, s).ToCivil();
        Field(locale_.shortDate ? locale_.shortDate(t) : IsoExportLocale().shortDate(t));
        Field(locale_.shortTime ? locale_.shortTime(t) : IsoExportLocale().shortTime(t));
    }

    void DosRecord(int i, int series) {
        const MeasurementRecord& r = data_.records[static_cast<std::size_t>(i)];
        const int s = series >= 1 ? series : 1;
        const auto fixed = [](double v, int decimals, int width) {
            return PadWithZeros(FormatExportFixed(v, decimals, kDosDecimalSeparator), width);
        };
        Field(source_);
        Field(PadWithZeros(std::to_string(series), 3));
        Field(PadWithZeros(std::to_string(i + 1), 5));
        Field(fixed(r.temperature, Channel(kChTemperature).decimals, 5));
        Field(fixed(r.speed, Channel(kChSpeed).decimals, 6));
        Field(fixed(HasOptional(data_.header) ? r.optional : 0.0, data_.OptionalChannel().decimals, 4));
        Field(r.direction < 0.0f ? kNoDirection
                                 : fixed(DirectionDegrees(r.direction), Channel(kChDirection).decimals, 3));
        const CivilTime t = RecordTime(data_, i, s).ToCivil();
        Field(PadWithZeros(std::to_string(t.year % 100), 2));
        Field(PadWithZeros(std::to_string(t.month), 2));
        Field(PadWithZeros(std::to_string(t.day), 2));
        Field(PadWithZeros(std::to_string(t.hour), 2));
        out_ += PadWithZeros(std::to_string(t.minute), 2);
    }

    const DataSet& data_;
    const TextExportOptions& options_;
    const ExportLocale& locale_;
    std::string& out_;
    const std::string source_;
};

}  // namespace

ExportLocale IsoExportLocale() {
    ExportLocale l;
    l.decimalSeparator = ".";
    l.shortDate = [](const CivilTime& c) { return Iso("%04d-%02d-%02d", c.year, c.month, c.day); };
    l.shortTime = [](const CivilTime& c) { return Iso("%02d:%02d", c.hour, c.minute); };
    return l;
}

ExportRecordRange ExportRecords(const DataSet& data, ExportContents contents, int seriesNumber) {
    switch (contents) {
        case ExportContents::AllMeasurements:
            return {0, data.recordCount - 1};
        case ExportContents::SelectedMeasurements:
            return {data.rangeFirst, data.rangeLast};
        case ExportContents::SeriesNumber: {
            const int count = data.SeriesCount();
            if (count < 1) return {0, data.recordCount - 1};
            const SeriesBounds b = BoundsOfSeries(data, std::clamp(seriesNumber, 1, count));
            // The last series runs to the last record read, which a short
            // file may leave below the header's count.
            return {b.lowest - 1, std::min(b.highest, static_cast<int>(data.recordCount)) - 1};
        }
    }
    return {};
}

std::string TextExportSourceName(const std::string& baseName) {
    const std::size_t slash = baseName.find_last_of("/\\");
    std::string name = slash == std::string::npos ? baseName : baseName.substr(slash + 1);
    name = StripExtension(name);
    name.resize(Utf8Offset(name, kSourceNameMaxLength));
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    const std::size_t length = Utf8Length(name);
    if (length < kSourceNameMinLength) name.append(kSourceNameMinLength - length, ' ');
    return name;
}

std::string FormatExportFixed(double value, int decimals, const std::string& decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, kDigitsConsidered);

    // value = 0.digits x 10^exponent
    std::string digits;
    int exponent = 0;
    if (value != 0.0) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                       kDigitsConsidered - 1);
        const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
        const std::size_t e = text.find('e');
        digits.assign(1, text[0]);
        digits.append(text.substr(2, e - 2));
        std::string_view exp = text.substr(e + 1);
        const bool negativeExp = exp.front() == '-';
        if (exp.front() == '+' || exp.front() == '-') exp.remove_prefix(1);
        int e10 = 0;
        std::from_chars(exp.data(), exp.data() + exp.size(), e10);
        exponent = (negativeExp ? -e10 : e10) + 1;
    }
    RoundDigits(digits, exponent, std::min(kSignificantDigits, exponent + decimals));
    while (!digits.empty() && digits.back() == '0') digits.pop_back();

    // A value that rounds to zero is written without its sign.
    std::string out = (!digits.empty() && value < 0) ? "-" : "";
    const auto digitAt = [&digits](int k) {
        return k >= 0 && static_cast<std::size_t>(k) < digits.size() ? digits[static_cast<std::size_t>(k)] : '0';
    };
    if (!digits.empty() && exponent > kSignificantDigits) {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(exponent - 1);
        return out;
    }
    if (digits.empty() || exponent <= 0) {
        out += '0';
    } else {
        for (int k = 0; k < exponent; ++k) out += digitAt(k);
    }
    if (decimals > 0) {
        out += decimalSeparator;
        for (int k = 0; k < decimals; ++k) out += digits.empty() ? '0' : digitAt(exponent + k);
    }
    return out;
}

std::string ExportFileNameWithExtension(const std::string& chosenName, ExportLayout layout) {
    if (chosenName.find('.') != std::string::npos) return chosenName;
    return chosenName + (layout == ExportLayout::Windows ? kWindowsExtension : kDosExtension);
}

std::string BuildTextExport(const DataSet& data, const TextExportOptions& options, const ExportLocale& locale) {
    std::string out;
    RecordWriter writer(data, options, locale, out);
    writer.Header();

    const int first = std::max(options.records.first, 0);
    // A range from a damaged data set never runs past the records array.
    const int last = std::min(options.records.last, kMaxRecords - 1);
    const int held = std::min<int>(data.recordCount, static_cast<int>(data.records.size()));
    if (first <= last) out.reserve(out.size() + static_cast<std::size_t>(last - first + 1) * 64);
    SeriesCursor cursor(data, first);
    for (int i = first; i <= last; ++i) {
        cursor.Advance(i);
        if (i < held) writer.Record(i, cursor.Series());
        out += kLineEnd;
    }
    return Utf8ToWindows1252(out);
}

void ReplaceFileContents(const std::string& fileName, const std::string& bytes) {
    const std::filesystem::path target = PathFromUtf8(fileName);

    std::filesystem::path temp;
    std::error_code ec;
    for (int k = 0;; ++k) {
        temp = target;
        temp += k == 0 ? std::string(".~tmp") : ".~tmp" + std::to_string(k);
        if (!std::filesystem::exists(temp, ec) || k == 99) break;
    }

    errno = 0;
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(fileName, ErrorText(errno));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.fail()) {
        const int error = errno;
        std::filesystem::remove(temp, ec);
        throw FileError(fileName, ErrorText(error));
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(fileName, ec.message());
    }
}

void WriteTextExport(const std::string& fileName, const DataSet& data, const TextExportOptions& options,
                     const ExportLocale& locale) {
    ReplaceFileContents(fileName, BuildTextExport(data, options, locale));
}

std::string Utf8ToWindows1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const int length = b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
        char32_t cp = length == 4 ? (b & 0x07u) : length == 3 ? (b & 0x0Fu) : (b & 0x1Fu);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= n;
        for (int k = 1; valid && k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (valid) {
            out += static_cast<char>(Windows1252Byte(cp));
            i += static_cast<std::size_t>(length);
        } else {
            out += b >= 0xA0 ? static_cast<char>(b) : '?';
            ++i;
        }
    }
    return out;
}

}  // namespace corvan
