// corvan info FILE [--json]: the header, channels and series table of a set.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/data_set.h"

namespace corvan::cli {
namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

struct SeriesRow {
    int number;
    int first;
    int last;
    std::string start;
    const SeriesHeader* header;
};

std::vector<SeriesRow> SeriesRows(const DataSet& data) {
    std::vector<SeriesRow> rows;
    for (int s = 1; s <= data.SeriesCount(); ++s) {
        const SeriesHeader& h = data.series[static_cast<std::size_t>(s - 1)];
        rows.push_back({s, h.first, data.SeriesLast(s), SeriesStart(h).Iso(), &h});
    }
    return rows;
}

void PrintJson(const DataSet& data) {
    const MeasurementFileHeader& h = data.header;
    std::string out = "{";
    out += "\"base\": " + JsonString(data.baseName);
    out += ", \"version\": " + std::to_string(ReadFileVersion(data.baseName));
    out += ", \"reference\": " + std::to_string(h.referenceNumber);
    out += ", \"instrument_type\": " + std::to_string(h.instrumentType);
    out += ", \"type_name\": " + JsonString(InstrumentTypeName(h.instrumentType));
    out += ", \"header_count\": " + std::to_string(h.count);
    out += ", \"records_read\": " + std::to_string(data.recordCount);
    out += ", \"sensor_kind\": " + std::to_string(h.sensorKind);
    out += ", \"sensor_coefficient\": " + JsonNumber(h.sensorCoefficient);
    out += ", \"channels\": {";
    out += std::string("\"temperature\": ") + Bool(HasTemperature(h));
    out += std::string(", \"current\": ") + Bool(HasCurrent(h));
    out += std::string(", \"optional\": ") + Bool(HasOptional(h));
    out += std::string(", \"oxygen\": ") + Bool(HasOxygen(h));
    out += std::string(", \"flux\": ") + Bool(HasFlux(h));
    out += std::string(", \"positions\": ") + Bool(HasPositions(h));
    out += "}";
    out += ", \"optional_channel\": " + JsonString(data.OptionalChannel().longName);
    out += ", \"flux_channel\": " + JsonString(data.FluxChannel().longName);
    out += std::string(", \"l_file\": ") + Bool(data.lFilePresent);
    out += ", \"series\": [";
    bool firstRow = true;
    for (const SeriesRow& r : SeriesRows(data)) {
        if (!firstRow) out += ", ";
        firstRow = false;
        out += "{\"number\": " + std::to_string(r.number);
        out += ", \"first\": " + std::to_string(r.first);
        out += ", \"last\": " + std::to_string(r.last);
        out += ", \"count\": " + std::to_string(r.last - r.first + 1);
        out += ", \"start\": " + JsonString(r.start);
        out += ", \"interval\": " + std::to_string(r.header->interval);
        out += ", \"interval_code\": " + std::to_string(r.header->intervalCode);
        out += ", \"salinity\": " + JsonNumber(r.header->salinity);
        out += "}";
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
}

void PrintText(const DataSet& data) {
    const MeasurementFileHeader& h = data.header;
    std::printf("Base name:          %s\n", data.baseName.c_str());
    std::printf("File version:       %d\n", ReadFileVersion(data.baseName));
    std::printf("Ref. number:        %d\n", h.referenceNumber);
    std::printf("Instrument type:    %d (%s)\n", h.instrumentType, InstrumentTypeName(h.instrumentType).c_str());
    std::printf("Header count:       %d\n", h.count);
    std::printf("Records read:       %d\n", data.recordCount);
    std::printf("Sensor kind:        %d\n", h.sensorKind);
    std::printf("Sensor coefficient: %s\n", JsonNumber(h.sensorCoefficient).c_str());
    std::string channels;
    auto add = [&](bool on, const char* name) {
        if (!on) return;
        if (!channels.empty()) channels += ", ";
        channels += name;
    };
    add(HasTemperature(h), "temperature");
    add(HasCurrent(h), "current");
    add(HasOptional(h), "optional");
    add(HasOxygen(h), "oxygen");
    add(HasFlux(h), "flux");
    add(HasPositions(h), "positions");
    std::printf("Channels:           %s\n", channels.empty() ? "(none)" : channels.c_str());
    if (HasOptional(h)) std::printf("Optional channel:   %s\n", data.OptionalChannel().longName);
    if (HasFlux(h)) std::printf("Flux channel:       %s\n", data.FluxChannel().longName);
    std::printf("L-file:             %s\n", data.lFilePresent ? "yes" : "no");
    std::printf("\nSeries  First   Last  Count  Start                Interval  Code  Salinity\n");
    for (const SeriesRow& r : SeriesRows(data)) {
        std::printf("%6d %6d %6d %6d  %s %8d %5d  %s\n", r.number, r.first + 1, r.last + 1, r.last - r.first + 1,
                    r.start.c_str(), r.header->interval, r.header->intervalCode,
                    JsonNumber(r.header->salinity).c_str());
    }
}

int RunInfo(const std::vector<std::string>& args) {
    CLI::App app = CommandApp("info", "The header, channels and series table of a measurement file set.");
    std::string file;
    bool json = false;
    app.add_option("FILE", file, "measurement file (base name or .CVN)")->required();
    app.add_flag("--json", json, "one JSON object instead of text");
    if (const auto status = ParseCommandLine(app, args)) return *status;
    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    if (json) {
        PrintJson(data);
    } else {
        PrintText(data);
    }
    return kExitOk;
}

const CommandRegistrar kInfo("info", "info FILE [--json]          header, channels and series of a file set", &RunInfo);

}  // namespace
}  // namespace corvan::cli
