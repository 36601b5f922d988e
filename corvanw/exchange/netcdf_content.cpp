#include "exchange/netcdf_content.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <numbers>

namespace corvan {

namespace {

constexpr const char* kConventions = "CF-1.8 OceanSITES-1.4";
constexpr const char* kTimeUnits = "days since 1950-01-01T00:00:00Z";
constexpr const char* kQcMeanings =
    "no_qc_performed good_data probably_good_data bad_data_that_are_potentially_correctable bad_data "
    "value_changed nominal_value interpolated_value missing_value";
constexpr const char* kQcConventions = "OceanSITES reference table 2";
constexpr double kSecondsPerDay = 86400.0;
// The instrument records mmho/cm; one mmho/cm is 0.1 S/m.
constexpr double kSiemensPerMetrePerMmhoPerCm = 0.1;

// How one channel is named and which values the data centres take as
// physically possible; values outside stay in the file, flagged bad.
struct ChannelDef {
    const char* name;
    const char* standardName;  // nullptr when no standard name fits
    const char* longName;
    const char* units;
    bool hasRange;
    double validMin;
    double validMax;
};

constexpr ChannelDef kSpeed{"CSPD", "sea_water_speed", "current speed", "m s-1", true, 0.0, 10.0};
constexpr ChannelDef kDirection{
    "CDIR", "direction_of_sea_water_velocity", "current direction (towards which the water flows)", "degree", true, 0.0,
    360.0};
constexpr ChannelDef kEast{"UCUR", "eastward_sea_water_velocity", "eastward current velocity", "m s-1", true, -10.0,
                           10.0};
constexpr ChannelDef kNorth{"VCUR", "northward_sea_water_velocity", "northward current velocity", "m s-1", true, -10.0,
                            10.0};
constexpr ChannelDef kTemperature{
    "TEMP", "sea_water_temperature", "sea water temperature", "degree_Celsius", true, -2.5, 40.0};
constexpr ChannelDef kOxygenSaturation{
    "OSAT", "fractional_saturation_of_oxygen_in_sea_water", "oxygen saturation", "percent", true, 0.0, 300.0};
constexpr ChannelDef kTurbidity{
    "TURB", "sea_water_turbidity", "turbidity in FTU (formazin turbidity units)", "1", true, 0.0, 10000.0};
constexpr ChannelDef kFluorescence{"FLU2", nullptr, "fluorescence in ug/l as the instrument reports it", "ug l-1", true,
                                   0.0,    1000.0};
constexpr ChannelDef kConductivity{
    "CNDC", "sea_water_electrical_conductivity", "electrical conductivity", "S m-1", true, 0.0, 10.0};
constexpr ChannelDef kOxygen{"DOXY",
                             "mass_concentration_of_oxygen_in_sea_water",
                             "dissolved oxygen from saturation, temperature and salinity",
                             "mg l-1",
                             true,
                             0.0,
                             50.0};
constexpr ChannelDef kLatitude{"LATITUDE", "latitude", "latitude of each measurement", "degrees_north", true,
                               -90.0,      90.0};
constexpr ChannelDef kLongitude{"LONGITUDE", "longitude", "longitude of each measurement", "degrees_east", true,
                                -180.0,      180.0};
// A sensor of a kind this program does not know still reaches the file, so
// nothing the instrument recorded is lost.
constexpr ChannelDef kUnknownSensor{
    "OPTIONAL", nullptr, "value of the optional sensor (unknown sensor kind)", "1", false, 0.0, 0.0};

NcAttribute Text(const std::string& name, const std::string& value) {
    return NcAttribute{name, NcType::Char, value, {}};
}
NcAttribute Number(const std::string& name, NcType type, std::vector<double> values) {
    return NcAttribute{name, type, {}, std::move(values)};
}

std::string SourceName(const std::string& baseName) {
    const std::u8string name =
        std::filesystem::path(std::u8string(baseName.begin(), baseName.end())).filename().u8string();
    return std::string(name.begin(), name.end());
}

using ValueOf = std::function<std::optional<double>(const MeasurementRecord&, int series)>;

struct Sample {
    float value;
    signed char qc;
};

Sample Classify(std::optional<double> v, const ChannelDef& def) {
    if (!v || !std::isfinite(*v) || std::fabs(*v) > std::numeric_limits<float>::max())
        return {kNcFloatFill, kQcMissing};
    const float f = static_cast<float>(*v);
    if (def.hasRange && (f < def.validMin || f > def.validMax)) return {f, kQcBad};
    return {f, kQcGood};
}

NcVariable QcVariable(const std::string& name, const std::string& of) {
    NcVariable qc;
    qc.name = name;
    qc.type = NcType::Byte;
    qc.attributes = {
        Text("long_name", "quality flag of " + of),
        Text("conventions", kQcConventions),
        Number("_FillValue", NcType::Byte, {kNcQcFill}),
        Number("valid_min", NcType::Byte, {0}),
        Number("valid_max", NcType::Byte, {9}),
        Number("flag_values", NcType::Byte, {0, 1, 2, 3, 4, 5, 7, 8, 9}),
        Text("flag_meanings", kQcMeanings),
    };
    return qc;
}

NcVariable DataVariable(const ChannelDef& def, const std::string& qcName, const std::string& coordinates) {
    NcVariable v;
    v.name = def.name;
    v.type = NcType::Float;
    if (def.standardName != nullptr) v.attributes.push_back(Text("standard_name", def.standardName));
    v.attributes.push_back(Text("long_name", def.longName));
    v.attributes.push_back(Text("units", def.units));
    v.attributes.push_back(Number("_FillValue", NcType::Float, {kNcFloatFill}));
    if (def.hasRange) {
        v.attributes.push_back(Number("valid_min", NcType::Float, {def.validMin}));
        v.attributes.push_back(Number("valid_max", NcType::Float, {def.validMax}));
    }
    if (!coordinates.empty()) v.attributes.push_back(Text("coordinates", coordinates));
    v.attributes.push_back(Text("ancillary_variables", qcName));
    return v;
}

struct ExportChannel {
    ChannelDef def;
    ValueOf value;
};

std::vector<ExportChannel> ChannelsOf(const DataSet& data) {
    const MeasurementFileHeader& h = data.header;
    std::vector<ExportChannel> channels;
    const auto speedValid = [](const MeasurementRecord& r) { return IsValid(r.speed); };
    const auto directionValid = [](const MeasurementRecord& r) { return r.direction >= 0.0f; };
    if (HasCurrent(h)) {
        channels.push_back({kSpeed, [=](const MeasurementRecord& r, int) -> std::optional<double> {
                                if (!speedValid(r)) return std::nullopt;
                                return static_cast<double>(r.speed) / 100.0;
                            }});
        channels.push_back({kDirection, [=](const MeasurementRecord& r, int) -> std::optional<double> {
                                if (!directionValid(r)) return std::nullopt;
                                return DirectionDegrees(r.direction);
                            }});
        // The components need both halves of the vector.
        channels.push_back({kEast, [=](const MeasurementRecord& r, int) -> std::optional<double> {
                                if (!speedValid(r) || !directionValid(r)) return std::nullopt;
                                return static_cast<double>(r.speed) * std::sin(static_cast<double>(r.direction)) /
                                       100.0;
                            }});
        channels.push_back({kNorth, [=](const MeasurementRecord& r, int) -> std::optional<double> {
                                if (!speedValid(r) || !directionValid(r)) return std::nullopt;
                                return static_cast<double>(r.speed) * std::cos(static_cast<double>(r.direction)) /
                                       100.0;
                            }});
    }
    if (HasTemperature(h)) {
        channels.push_back({kTemperature, [](const MeasurementRecord& r, int) -> std::optional<double> {
                                if (!IsValid(r.temperature)) return std::nullopt;
                                return r.temperature;
                            }});
    }
    if (HasOptional(h)) {
        // The invalid markers of tools and converter are never data, whatever
        // the sensor.
        const auto optional = [](double factor) {
            return [factor](const MeasurementRecord& r, int) -> std::optional<double> {
                if (!IsValid(r.optional)) return std::nullopt;
                return static_cast<double>(r.optional) * factor;
            };
        };
        switch (h.sensorKind) {
            case 1:
                channels.push_back({kOxygenSaturation, optional(1.0)});
                break;
            case 2:
                channels.push_back({kTurbidity, optional(1.0)});
                break;
            case 3:
                channels.push_back({kFluorescence, optional(1.0)});
                break;
            case 4:
                channels.push_back({kConductivity, optional(kSiemensPerMetrePerMmhoPerCm)});
                break;
            default:
                channels.push_back({kUnknownSensor, optional(1.0)});
                break;
        }
    }
    if (HasOxygen(h)) {
        channels.push_back({kOxygen, [&data](const MeasurementRecord& r, int s) -> std::optional<double> {
                                // Without a temperature the solubility is meaningless.
                                if (!IsValid(r.temperature) || !IsValid(r.optional)) return std::nullopt;
                                return OxygenMgL(data, s, r.temperature, r.optional);
                            }});
    }
    return channels;
}

std::optional<double> PositionDegrees(float minutesOfArc) {
    if (!(minutesOfArc <= kLMissingThreshold)) return std::nullopt;
    return static_cast<double>(minutesOfArc) / 60.0;
}

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) {
        if (!out.empty()) out += ' ';
        out += w;
    }
    return out;
}

}  // namespace

const NcAttribute* NcVariable::Attribute(const std::string& attributeName) const {
    for (const auto& a : attributes) {
        if (a.name == attributeName) return &a;
    }
    return nullptr;
}

const NcVariable* NetcdfContent::Variable(const std::string& variableName) const {
    for (const auto& v : variables) {
        if (v.name == variableName) return &v;
    }
    return nullptr;
}

const NcAttribute* NetcdfContent::Global(const std::string& attributeName) const {
    for (const auto& a : globals) {
        if (a.name == attributeName) return &a;
    }
    return nullptr;
}

DateTime NetcdfTimeOrigin() { return *DateTime::FromCivil(CivilTime{1950, 1, 1, 0, 0, 0}); }

std::string IsoUtc(DateTime t) { return t.Iso() + "Z"; }

DateTime UtcNow() {
    const auto unixSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    static const DateTime unixEpoch = *DateTime::FromCivil(CivilTime{1970, 1, 1, 0, 0, 0});
    return unixEpoch.AddSeconds(static_cast<std::int64_t>(unixSeconds));
}

void SelectAllRecords(const DataSet& data, NetcdfExportOptions& options) {
    options.first = 0;
    options.last = data.recordCount - 1;
}

std::string NetcdfFileNameWithExtension(const std::string& chosenName) {
    const std::filesystem::path p(chosenName);
    if (p.has_filename() && !p.has_extension()) return chosenName + ".nc";
    return chosenName;
}

std::string BuildNetcdfContent(const DataSet& data, const NetcdfExportOptions& options, NetcdfContent& out) {
    out = NetcdfContent{};
    if (std::string site = CheckDeploymentSite(options.site); !site.empty()) return site;
    const int first = std::max(options.first, 0);
    const int last = std::min(options.last, data.recordCount - 1);
    if (data.SeriesCount() < 1) return "the file holds no series";
    if (last < first) return "there are no measurements to export";
    const int n = last - first + 1;
    out.recordCount = n;
    const MeasurementFileHeader& h = data.header;
    const bool positions = HasPositions(h);
    const DeploymentSite& site = options.site;

    // Time axis and series of every record, as the list walks them.
    NcVariable time;
    time.name = "TIME";
    time.type = NcType::Double;
    time.doubles.resize(static_cast<std::size_t>(n));
    NcVariable series;
    series.name = "SERIES";
    series.type = NcType::Short;
    series.shorts.resize(static_cast<std::size_t>(n));
    std::vector<int> seriesOfRecord(static_cast<std::size_t>(n));
    const std::int64_t origin = NetcdfTimeOrigin().Seconds();
    SeriesCursor cursor(data, first);
    DateTime firstTime;
    DateTime lastTime;
    int startOf = 0;
    DateTime start;
    for (int i = first; i <= last; ++i) {
        cursor.Advance(i);
        const int s = cursor.Series();
        const auto k = static_cast<std::size_t>(i - first);
        seriesOfRecord[k] = s >= 1 ? s : 1;
        series.shorts[k] = s >= 1 ? static_cast<short>(s) : kNcSeriesFill;
        // The start is worked out from the calendar once per series, not
        // once per record.
        if (seriesOfRecord[k] != startOf) {
            startOf = seriesOfRecord[k];
            start = SeriesStart(data, startOf);
        }
        const SeriesHeader& sh = data.series[static_cast<std::size_t>(startOf - 1)];
        const DateTime t = start.AddSeconds((static_cast<std::int64_t>(i) - sh.first + 1) * sh.interval);
        // One time axis must rise; series whose clocks overlap, or an
        // interval of zero, cannot share it without misleading every reader.
        if (i > first && t <= lastTime) {
            return "the record times do not rise at measurement " + std::to_string(i + 1) + " (series " +
                   std::to_string(seriesOfRecord[k]) + ", " + t.Iso() + " after " + lastTime.Iso() +
                   "); export the series one at a time";
        }
        if (i == first) firstTime = t;
        lastTime = t;
        time.doubles[k] = static_cast<double>(t.Seconds() - origin) / kSecondsPerDay;
    }
    time.attributes = {
        Text("standard_name", "time"),
        Text("long_name", "time of the measurement"),
        Text("units", kTimeUnits),
        Text("calendar", "gregorian"),
        Text("axis", "T"),
    };
    series.attributes = {
        Text("long_name", "series number of the measurement in its file"),
        Number("_FillValue", NcType::Short, {kNcSeriesFill}),
        Number("valid_min", NcType::Short, {1}),
        Number("valid_max", NcType::Short, {kMaxSeries}),
    };

    std::vector<std::string> coordinates = {"TIME"};
    std::vector<NcVariable> scalars;
    if (site.depth) {
        NcVariable depth;
        depth.name = "DEPTH";
        depth.type = NcType::Float;
        depth.shape = NcShape::Scalar;
        depth.floats = {static_cast<float>(*site.depth)};
        depth.attributes = {
            Text("standard_name", "depth"),
            Text("long_name", "depth of the instrument"),
            Text("units", "m"),
            Text("positive", "down"),
            Text("axis", "Z"),
        };
        scalars.push_back(std::move(depth));
        coordinates.push_back("DEPTH");
    }

    // Positions: measured by a GPS logger, otherwise the site's when given.
    std::vector<NcVariable> positionVariables;
    std::optional<double> latMin, latMax, lonMin, lonMax;
    if (positions) {
        NcVariable lat = DataVariable(kLatitude, "POSITION_QC", "");
        NcVariable lon = DataVariable(kLongitude, "POSITION_QC", "");
        NcVariable qc = QcVariable("POSITION_QC", "LATITUDE and LONGITUDE");
        lat.floats.resize(static_cast<std::size_t>(n));
        lon.floats.resize(static_cast<std::size_t>(n));
        qc.bytes.resize(static_cast<std::size_t>(n));
        for (int i = first; i <= last; ++i) {
            const auto k = static_cast<std::size_t>(i - first);
            const MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
            const Sample a = Classify(PositionDegrees(r.speed), kLatitude);
            const Sample b = Classify(PositionDegrees(r.direction), kLongitude);
            // Each coordinate is missing where the list shows none; the
            // position as a whole is only as good as its worse half.
            lat.floats[k] = a.value;
            lon.floats[k] = b.value;
            const bool missing = a.qc == kQcMissing || b.qc == kQcMissing;
            qc.bytes[k] = missing ? kQcMissing : std::max(a.qc, b.qc);
            if (qc.bytes[k] == kQcGood) {
                latMin = std::min(latMin.value_or(a.value), static_cast<double>(a.value));
                latMax = std::max(latMax.value_or(a.value), static_cast<double>(a.value));
                lonMin = std::min(lonMin.value_or(b.value), static_cast<double>(b.value));
                lonMax = std::max(lonMax.value_or(b.value), static_cast<double>(b.value));
            }
        }
        positionVariables.push_back(std::move(lat));
        positionVariables.push_back(std::move(lon));
        positionVariables.push_back(std::move(qc));
        coordinates.push_back("LATITUDE");
        coordinates.push_back("LONGITUDE");
    } else if (site.latitude && site.longitude) {
        const auto scalar = [](const char* name, const char* standardName, const char* units, const char* axis,
                               double value) {
            NcVariable v;
            v.name = name;
            v.type = NcType::Double;
            v.shape = NcShape::Scalar;
            v.doubles = {value};
            v.attributes = {Text("standard_name", standardName),
                            Text("long_name", std::string(standardName) + " of the site"), Text("units", units),
                            Text("axis", axis)};
            return v;
        };
        scalars.push_back(scalar("LATITUDE", "latitude", "degrees_north", "Y", *site.latitude));
        scalars.push_back(scalar("LONGITUDE", "longitude", "degrees_east", "X", *site.longitude));
        coordinates.push_back("LATITUDE");
        coordinates.push_back("LONGITUDE");
    }
    if (!latMin && site.latitude) latMin = latMax = site.latitude;
    if (!lonMin && site.longitude) lonMin = lonMax = site.longitude;

    const std::string sourceName = SourceName(data.baseName);
    // A located series is one feature of a discrete sampling geometry; the
    // feature is named by the site, or else by the file.
    const bool located = positions || (site.latitude && site.longitude);
    if (located) {
        NcVariable id;
        id.name = positions ? "TRAJECTORY" : "STATION";
        id.type = NcType::Char;
        id.shape = NcShape::Text;
        id.text = site.siteCode.empty() ? sourceName : site.siteCode;
        if (id.text.empty()) id.text = "1";
        id.attributes = {Text("long_name", positions ? "name of the track" : "name of the site"),
                         Text("cf_role", positions ? "trajectory_id" : "timeseries_id")};
        scalars.push_back(std::move(id));
    }

    const std::string coordinateText = Join(coordinates);
    std::vector<NcVariable> dataVariables;
    for (const ExportChannel& c : ChannelsOf(data)) {
        const std::string qcName = std::string(c.def.name) + "_QC";
        NcVariable v = DataVariable(c.def, qcName, coordinateText);
        NcVariable qc = QcVariable(qcName, c.def.name);
        v.floats.resize(static_cast<std::size_t>(n));
        qc.bytes.resize(static_cast<std::size_t>(n));
        for (int i = first; i <= last; ++i) {
            const auto k = static_cast<std::size_t>(i - first);
            const Sample sample =
                Classify(c.value(data.records[static_cast<std::size_t>(i)], seriesOfRecord[k]), c.def);
            v.floats[k] = sample.value;
            qc.bytes[k] = sample.qc;
        }
        dataVariables.push_back(std::move(v));
        dataVariables.push_back(std::move(qc));
    }

    out.variables.push_back(std::move(time));
    for (auto& v : scalars) out.variables.push_back(std::move(v));
    for (auto& v : positionVariables) out.variables.push_back(std::move(v));
    for (auto& v : dataVariables) out.variables.push_back(std::move(v));
    out.variables.push_back(std::move(series));

    // Global attributes.
    const std::string instrument = InstrumentTypeName(h.instrumentType);
    const DateTime created = options.created.value_or(UtcNow());
    const char* source = positions           ? "GPS position logger"
                         : HasCurrent(h)     ? "moored current meter"
                         : HasTemperature(h) ? "moored temperature logger"
                                             : "moored instrument";
    auto& g = out.globals;
    g.push_back(Text("Conventions", kConventions));
    g.push_back(Text("title", instrument + " measurements from " + sourceName));
    if (!site.institution.empty()) g.push_back(Text("institution", site.institution));
    g.push_back(Text("source", source));
    g.push_back(Text("data_type", "OceanSITES time-series data"));
    g.push_back(Text("format_version", "1.4"));
    if (located) g.push_back(Text("featureType", positions ? "trajectory" : "timeSeries"));
    g.push_back(Text("instrument", instrument));
    g.push_back(Number("instrument_type_code", NcType::Int, {static_cast<double>(h.instrumentType)}));
    if (HasOptional(h)) g.push_back(Number("sensor_kind", NcType::Int, {static_cast<double>(h.sensorKind)}));
    g.push_back(Text("instrument_serial_number", std::to_string(h.referenceNumber)));
    g.push_back(Text("time_coverage_start", IsoUtc(firstTime)));
    g.push_back(Text("time_coverage_end", IsoUtc(lastTime)));
    g.push_back(Text("date_created", IsoUtc(created)));
    const std::string writer = options.writtenBy.empty() ? std::string("corvan") : options.writtenBy;
    g.push_back(Text("history", IsoUtc(created) + " written by " + writer + " from " + sourceName + " measurements " +
                                    std::to_string(first + 1) + " to " + std::to_string(last + 1)));
    if (latMin) {
        g.push_back(Number("geospatial_lat_min", NcType::Double, {*latMin}));
        g.push_back(Number("geospatial_lat_max", NcType::Double, {*latMax}));
        g.push_back(Text("geospatial_lat_units", "degrees_north"));
    }
    if (lonMin) {
        g.push_back(Number("geospatial_lon_min", NcType::Double, {*lonMin}));
        g.push_back(Number("geospatial_lon_max", NcType::Double, {*lonMax}));
        g.push_back(Text("geospatial_lon_units", "degrees_east"));
    }
    if (site.depth) {
        g.push_back(Number("geospatial_vertical_min", NcType::Double, {*site.depth}));
        g.push_back(Number("geospatial_vertical_max", NcType::Double, {*site.depth}));
        g.push_back(Text("geospatial_vertical_positive", "down"));
        g.push_back(Text("geospatial_vertical_units", "m"));
    }
    if (!site.siteCode.empty()) {
        g.push_back(Text("site_code", site.siteCode));
        g.push_back(Text("platform_code", site.siteCode));
    }
    if (!site.principalInvestigator.empty()) g.push_back(Text("principal_investigator", site.principalInvestigator));
    return {};
}

}  // namespace corvan
