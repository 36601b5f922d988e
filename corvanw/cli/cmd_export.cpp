// corvan export FILE --layout windows|dos [--delimiter semicolon|tab|C]
//   [--all | --series N | --first A --last B] -o OUT [--force]
// Writes the file the desktop's Export command writes for the same choices.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/file_error.h"
#include "data/series_range.h"
#include "data/text_export.h"

#if defined(__unix__) || defined(__APPLE__)
#define CORVAN_EXPORT_LANGINFO 1
#include <langinfo.h>
#include <locale.h>
#endif

namespace corvan::cli {
namespace {

constexpr long long kIntMax = std::numeric_limits<int>::max();

constexpr const char* kFallbackShortTime = "%H:%M";
constexpr const char* kLocaleShortDate = "%x";

std::tm ToTm(const CivilTime& c) {
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    // Some date formats name the weekday; 1899-12-30, day 0, was a Saturday.
    if (const auto t = DateTime::FromCivil(c)) {
        const std::int64_t days = t->Seconds() / 86400;
        tm.tm_wday = static_cast<int>((days + 6) % 7);
        if (const auto jan1 = DateTime::FromCivil(CivilTime{c.year, 1, 1, 0, 0, 0})) {
            tm.tm_yday = static_cast<int>(days - jan1->Seconds() / 86400);
        }
    }
    return tm;
}

std::string PutTime(const std::locale& loc, const CivilTime& c, const std::string& format) {
    std::ostringstream os;
    os.imbue(loc);
    const std::tm tm = ToTm(c);
    os << std::put_time(&tm, format.c_str());
    return os.str();
}

#ifdef CORVAN_EXPORT_LANGINFO
// The locale a category of the environment names, by the POSIX precedence.
std::string EnvironmentLocaleName(const char* category) {
    for (const char* var : {"LC_ALL", category, "LANG"}) {
        const char* v = std::getenv(var);
        if (v != nullptr && *v != '\0') return v;
    }
    return {};
}

bool NamesNoLocale(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// A short time is the locale's time without its seconds, as the desktop's
// short time format has none.
std::string WithoutSeconds(std::string format, const std::string& ampmFormat) {
    for (std::size_t p; (p = format.find("%T")) != std::string::npos;) format.replace(p, 2, "%H:%M:%S");
    for (std::size_t p; (p = format.find("%r")) != std::string::npos;) format.replace(p, 2, ampmFormat);
    const std::size_t s = format.find("%S");
    if (s == std::string::npos) return format;
    std::size_t from = s;
    // The separator in front of the seconds goes with them unless it is
    // itself a conversion.
    if (s >= 1 && format[s - 1] != '%' && !(s >= 2 && format[s - 2] == '%')) from = s - 1;
    format.erase(from, s + 2 - from);
    return format.empty() ? kFallbackShortTime : format;
}

std::optional<std::string> EnvironmentShortTime() {
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return std::nullopt;
    const std::string timeFormat = nl_langinfo_l(T_FMT, loc);
    const std::string ampm = nl_langinfo_l(T_FMT_AMPM, loc);
    freelocale(loc);
    if (timeFormat.empty()) return std::nullopt;
    return WithoutSeconds(timeFormat, ampm.empty() ? "%I:%M:%S %p" : ampm);
}
#endif

// The locale the Windows layout uses here: the environment's decimal point
// and date representation. An environment that names no locale (C, POSIX)
// gets ISO dates rather than the C locale's American ones.
ExportLocale EnvironmentExportLocale() {
    ExportLocale result = IsoExportLocale();
    std::locale loc;
    try {
        loc = std::locale("");
    } catch (const std::runtime_error&) {
        return result;
    }
    result.decimalSeparator.assign(1, std::use_facet<std::numpunct<char>>(loc).decimal_point());
    std::string shortTime = kFallbackShortTime;
#ifdef CORVAN_EXPORT_LANGINFO
    if (NamesNoLocale(EnvironmentLocaleName("LC_TIME"))) return result;
    if (const auto t = EnvironmentShortTime()) shortTime = *t;
#endif
    result.shortDate = [loc](const CivilTime& c) { return PutTime(loc, c, kLocaleShortDate); };
    result.shortTime = [loc, shortTime](const CivilTime& c) { return PutTime(loc, c, shortTime); };
    return result;
}

std::size_t Utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

int RunExport(const std::vector<std::string>& args) {
    CLI::App app =
        CommandApp("export", "Records of a measurement file set as a text file, as the desktop exports them.");
    std::string file;
    std::string output;
    std::string layoutName;
    std::string delimiterName = "semicolon";
    bool all = false;
    bool force = false;
    std::optional<long long> series;
    std::optional<long long> firstNumber;
    std::optional<long long> lastNumber;
    app.add_option("FILE", file, "measurement file (base name or .CVN)")->required();
    app.add_option("--layout", layoutName, "windows (the list's columns) or dos (fixed fields)")
        ->required()
        ->check(CLI::IsMember({"windows", "dos"}));
    app.add_option("--delimiter", delimiterName, "semicolon (default), tab or one character")
        ->check(CLI::Validator(
            [](std::string& v) {
                return v == "semicolon" || v == "tab" || Utf8Length(v) == 1
                           ? std::string()
                           : std::string("--delimiter needs semicolon, tab or one character");
            },
            "DELIMITER"));
    auto* allFlag = app.add_flag("--all", all, "every record of the file (the default without a range)");
    auto* seriesOption = app.add_option("--series", series, "series number (from 1)")->check(WholeNumberFrom(1));
    auto* firstOption =
        app.add_option("--first", firstNumber, "first measurement number of the series")->check(WholeNumberFrom(1));
    auto* lastOption =
        app.add_option("--last", lastNumber, "last measurement number of the series")->check(WholeNumberFrom(1));
    allFlag->excludes(seriesOption)->excludes(firstOption)->excludes(lastOption);
    app.add_option("-o", output, "the text file to write")
        ->required()
        ->check(CLI::Validator(
            [](std::string& v) { return v.empty() ? std::string("-o needs the output file") : std::string(); }, "OUT"));
    app.add_flag("--force", force, "replace an existing output file");
    if (const auto status = ParseCommandLine(app, args)) return *status;
    const ExportLayout layout = layoutName == "dos" ? ExportLayout::Dos : ExportLayout::Windows;
    const std::string delimiter = delimiterName == "semicolon" ? ";" : delimiterName == "tab" ? "\t" : delimiterName;

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;

    ExportContents contents = ExportContents::AllMeasurements;
    int seriesNumber = 1;
    if (series || firstNumber || lastNumber) {
        // The series and range go through the same choice as the range
        // dialog's, so the export's header shows the range's own interval.
        const RangeRequest request{static_cast<int>(std::min<long long>(series.value_or(1), kIntMax)), firstNumber,
                                   lastNumber};
        const std::string refused = SelectSeriesRange(data, request);
        if (!refused.empty()) return UsageError("export: " + refused + " in " + file);
        seriesNumber = request.series;
        contents = firstNumber || lastNumber ? ExportContents::SelectedMeasurements : ExportContents::SeriesNumber;
    }

    TextExportOptions options;
    options.layout = layout;
    options.delimiter = delimiter;
    options.records = ExportRecords(data, contents, seriesNumber);

    const std::string target = ExportFileNameWithExtension(output, layout);
    if (FileExists(target) && !force) {
        std::fprintf(stderr, "%s: the file already exists (--force replaces it)\n", target.c_str());
        return kExitFailure;
    }
    try {
        WriteTextExport(target, data, options, EnvironmentExportLocale());
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s: %s\n", e.FileName().c_str(), e.Reason().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistrar kExport("export",
                               "export FILE --layout windows|dos [--delimiter semicolon|tab|C] "
                               "[--all | --series N | --first A --last B] -o OUT [--force] "
                               "records as a text file",
                               &RunExport);

}  // namespace
}  // namespace corvan::cli
