// corvan salinity / scale: the two corrections of a loaded file set that
// are written back to its files, each keeping the previous file as backup.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "cli/tool_cli.h"
#include "data/series_range.h"
#include "tools/number_entry.h"
#include "tools/salinity.h"
#include "tools/speed_scaling.h"

namespace corvan::cli {
namespace {

constexpr char kSeparator = '.';
constexpr const char* kNoOxygenText = "the file has no oxygen sensor; salinity is used only for oxygen";

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string GridText(const std::vector<SalinityRow>& rows) {
    std::string out;
    for (int i = 0; i < 5; ++i) out += std::string(i ? "\t" : "") + kSalinityHeadings[i];
    out += "\n";
    for (const SalinityRow& r : rows) {
        out += std::to_string(r.series) + "\t" + std::to_string(r.first) + "\t" + r.date + "\t" + r.time + "\t" +
               r.salinity + "\n";
    }
    return out;
}

std::string GridJson(const std::vector<SalinityRow>& rows) {
    std::string out = "{\"series\": [";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SalinityRow& r = rows[i];
        if (i) out += ", ";
        out += "{\"ser\": " + std::to_string(r.series) + ", \"first\": " + std::to_string(r.first) +
               ", \"date\": " + JsonString(r.date) + ", \"time\": " + JsonString(r.time) +
               ", \"salinity\": " + JsonString(r.salinity) + "}";
    }
    return out + "]}\n";
}

int RunSalinity(const std::vector<std::string>& args) {
    CLI::App app(
        "Salinity of each series of an oxygen file, as \"Update salinity\" shows and sets it.\n"
        "Without --set the grid is printed. With --set the values are typed into their cells and\n"
        "OK is pressed: every row is converted (a cell that is no number keeps its salinity, an\n"
        "empty one clears it) and the reference file is written, the old one kept as backup.",
        "corvan salinity");
    std::string file;
    std::vector<std::string> sets;
    bool json = false;
    app.add_option("FILE", file, "the measurement file (base name or .CVN)")->required();
    app.add_option("--set", sets, "N=VALUE: type VALUE (may be empty) into series N's cell")->allow_extra_args(false);
    app.add_flag("--json", json, "the grid as JSON");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    std::map<int, std::string> typed;
    for (const std::string& s : sets) {
        const auto eq = s.find('=');
        const auto n = eq == std::string::npos ? std::nullopt : ParseInteger(s.substr(0, eq));
        if (!n) return ToolUsageError("salinity", "--set needs N=VALUE: " + s);
        typed[static_cast<int>(*n)] = s.substr(eq + 1);
    }

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    const std::string cvn = MeasurementFileName(data.baseName);
    if (!HasOxygen(data.header)) return ToolFailure(cvn, kNoOxygenText);
    for (const auto& [n, value] : typed) {
        if (n < 1 || n > data.SeriesCount())
            return ToolUsageError(
                "salinity", "series " + std::to_string(n) + " is not in 1.." + std::to_string(data.SeriesCount()));
    }
    if (!typed.empty()) {
        std::vector<std::string> cells;
        for (const SalinityRow& r : SalinityRows(data, kSeparator)) cells.push_back(r.salinity);
        for (const auto& [n, value] : typed) cells[static_cast<std::size_t>(n - 1)] = value;
        ApplySalinityCells(data, cells, kSeparator);
        WriteReferenceFile(data, data.SeriesCount());
    }
    const auto rows = SalinityRows(data, kSeparator);
    Print(json ? GridJson(rows) : GridText(rows));
    return kExitOk;
}

int RunScale(const std::vector<std::string>& args) {
    CLI::App app(
        "Correct measurement scaling: multiply current speeds by a factor and rewrite the\n"
        "measurement file, keeping the old one as backup. Without --series every record is\n"
        "scaled (the list's \"All\"); with it, the records of that series, its first to its last.\n"
        "Invalid speeds (-999 and below) keep their marker.",
        "corvan scale");
    std::string file;
    std::string factor;
    long long series = 0;
    app.add_option("FILE", file, "the measurement file (base name or .CVN)")->required();
    app.add_option("--factor", factor, "the factor; \".\" or \",\" as decimal separator")->required();
    auto* s = app.add_option("--series", series, "scale only this series");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    const std::string cvn = MeasurementFileName(data.baseName);
    const auto f = ParseUserNumber(factor, kSeparator);
    if (!f) return ToolFailure(cvn, kScaleValueError);
    int first = 0;
    int last = data.HeaderCount() - 1;
    if (s->count() > 0) {
        RangeRequest request;
        request.series = static_cast<int>(series);
        const std::string refusal = SelectSeriesRange(data, request);
        if (!refusal.empty()) return ToolFailure(cvn, refusal);
        first = data.rangeFirst;
        last = data.rangeLast;
    }
    const int changed = ScaleSpeeds(data, first, last, *f);
    WriteMeasurementFile(data);
    Print(std::to_string(changed) + " speeds of measurements " + std::to_string(first + 1) + ".." +
          std::to_string(last + 1) + " scaled by " + factor + " in " + cvn + "\n");
    return kExitOk;
}

const CommandRegistrar kSalinity("salinity", "salinity FILE [--set N=VALUE]... [--json]  salinity of each series",
                                 &RunSalinity);
const CommandRegistrar kScale("scale", "scale FILE --factor F [--series N]  correct measurement scaling", &RunScale);

}  // namespace
}  // namespace corvan::cli
