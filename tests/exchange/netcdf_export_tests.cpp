// The NetCDF export read back through the NetCDF library: every value, fill
// value, flag and time against the data set and against what the list view
// shows for the same record.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <numbers>

#include "data/data_set.h"
#include "data/file_error.h"
#include "data/list_format.h"
#include "data/measurement_files.h"
#include "exchange/netcdf_reader.h"
#include "exchange/netcdf_writer.h"
#include "export/export_fixture.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::NcReader;
using testing::TempDir;

constexpr float kFill = 99999.0f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kPi = std::numbers::pi_v<float>;

// Good values, the markers of tools (-999) and of the converter (-9999), a
// direction-less record, values no sensor can give, the last valid number
// above the marker, and NaN.
const std::vector<MeasurementRecord> kRecords = {
    {25.0f, kPi / 2, 10.0f, 95.0f},    {-999.0f, 1.0f, -999.0f, -999.0f},
    {12.5f, -1.0f, 8.5f, 80.0f},       {-9999.0f, -9999.0f, -9999.0f, -9999.0f},
    {1500.0f, 0.0f, 45.0f, 0.0f},      {-998.9f, kPi, -998.9f, 50.0f},
    {kNaN, kNaN, kNaN, kNaN},          {30.0f, 3 * kPi / 2, 5.0f, 100.0f},
    {3545.5f, -600.25f, 12.0f, 1e10f}, {1e10f, 1e10f, 4.0f, 2.0f},
};

void WriteSet(const std::string& base, int type, int kind, const std::vector<MeasurementRecord>& records,
              const std::vector<SeriesHeader>& series) {
    DataSet d;
    d.baseName = base;
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    d.header.sensorKind = static_cast<std::uint8_t>(kind);
    d.header.referenceNumber = 4711;
    d.header.count = static_cast<std::int16_t>(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) d.records[i] = records[i];
    for (std::size_t s = 0; s < series.size(); ++s) d.series[s] = series[s];
    WriteMeasurementFile(d);
    WriteReferenceFile(d, static_cast<int>(series.size()));
}

NetcdfExportOptions AllOf(const DataSet& d) {
    NetcdfExportOptions o;
    SelectAllRecords(d, o);
    o.writtenBy = "tests";
    o.created = *DateTime::FromCivil(CivilTime{2025, 6, 1, 8, 30, 0});
    return o;
}

double DaysSince1950(const CivilTime& c) {
    return static_cast<double>(DateTime::FromCivil(c)->Seconds() -
                               DateTime::FromCivil(CivilTime{1950, 1, 1, 0, 0, 0})->Seconds()) /
           86400.0;
}

// What a reader must find for one value: missing, or a number with its flag.
struct Expected {
    bool missing = true;
    double value = 0.0;
};
Expected Missing() { return {}; }
Expected Value(double v) { return {false, v}; }

struct VariableRule {
    const char* standardName;  // "" when none
    const char* units;
    double validMin;
    double validMax;
    std::function<Expected(const MeasurementRecord&)> expect;
};

// The channels a reader should find for a type and sensor, written out
// plainly from the file's rules rather than taken from the writer.
std::map<std::string, VariableRule> RulesFor(int type, int kind, const DataSet& d) {
    const auto valid = [](float v) { return v > -999.0f; };
    std::map<std::string, VariableRule> rules;
    const bool current = type != 2 && type != 4 && type < 13;
    if (current) {
        rules["CSPD"] = {"sea_water_speed", "m s-1", 0, 10, [=](const MeasurementRecord& r) {
                             return valid(r.speed) ? Value(r.speed / 100.0) : Missing();
                         }};
        rules["CDIR"] = {"direction_of_sea_water_velocity", "degree", 0, 360, [](const MeasurementRecord& r) {
                             return r.direction >= 0.0f ? Value(r.direction * 180.0 / std::numbers::pi) : Missing();
                         }};
        rules["UCUR"] = {"eastward_sea_water_velocity", "m s-1", -10, 10, [=](const MeasurementRecord& r) {
                             if (!valid(r.speed) || !(r.direction >= 0.0f)) return Missing();
                             return Value(r.speed * std::sin(r.direction) / 100.0);
                         }};
        rules["VCUR"] = {"northward_sea_water_velocity", "m s-1", -10, 10, [=](const MeasurementRecord& r) {
                             if (!valid(r.speed) || !(r.direction >= 0.0f)) return Missing();
                             return Value(r.speed * std::cos(r.direction) / 100.0);
                         }};
    }
    if (type < 13) {
        rules["TEMP"] = {"sea_water_temperature", "degree_Celsius", -2.5, 40, [=](const MeasurementRecord& r) {
                             return valid(r.temperature) ? Value(r.temperature) : Missing();
                         }};
    }
    if (type == 2) {
        const auto position = [](float minutes) { return minutes <= 1e9f ? Value(minutes / 60.0) : Missing(); };
        rules["LATITUDE"] = {"latitude", "degrees_north", -90, 90,
                             [=](const MeasurementRecord& r) { return position(r.speed); }};
        rules["LONGITUDE"] = {"longitude", "degrees_east", -180, 180,
                              [=](const MeasurementRecord& r) { return position(r.direction); }};
    }
    if (type == 3) {
        const auto optional = [=](double factor) {
            return
                [=](const MeasurementRecord& r) { return valid(r.optional) ? Value(r.optional * factor) : Missing(); };
        };
        switch (kind) {
            case 1:
                rules["OSAT"] = {"fractional_saturation_of_oxygen_in_sea_water", "percent", 0, 300, optional(1.0)};
                rules["DOXY"] = {"mass_concentration_of_oxygen_in_sea_water", "mg l-1", 0, 50,
                                 [=, &d](const MeasurementRecord& r) {
                                     if (!valid(r.temperature) || !valid(r.optional)) return Missing();
                                     return Value(OxygenMgL(d, 1, r.temperature, r.optional));
                                 }};
                break;
            case 2:
                rules["TURB"] = {"sea_water_turbidity", "1", 0, 10000, optional(1.0)};
                break;
            case 3:
                rules["FLU2"] = {"", "ug l-1", 0, 1000, optional(1.0)};
                break;
            case 4:
                rules["CNDC"] = {"sea_water_electrical_conductivity", "S m-1", 0, 10, optional(0.1)};
                break;
            default:
                rules["OPTIONAL"] = {"", "1", -1e30, 1e30, optional(1.0)};
                break;
        }
    }
    return rules;
}

// The list column that shows the same quantity, when there is one.
std::optional<ListColumnKind> ListColumnOf(const std::string& var) {
    static const std::map<std::string, ListColumnKind> kinds = {
        {"CSPD", ListColumnKind::Speed},        {"CDIR", ListColumnKind::Direction},
        {"TEMP", ListColumnKind::Temperature},  {"DOXY", ListColumnKind::OxygenMgL},
        {"LATITUDE", ListColumnKind::Latitude}, {"LONGITUDE", ListColumnKind::Longitude},
    };
    const auto it = kinds.find(var);
    if (it == kinds.end()) return std::nullopt;
    return it->second;
}

// Compares every variable of a file with the data set's records, and the
// missing values with the list's dashes.
void ExpectFileMatches(const std::string& file, const DataSet& d, int type, int kind, int first, int last) {
    NcReader nc(file);
    const auto rules = RulesFor(type, kind, d);
    ASSERT_EQ(nc.Records(), static_cast<std::size_t>(last - first + 1));
    const auto columns = RebuildListColumns(d);
    for (const auto& [name, rule] : rules) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(nc.Has(name));
        EXPECT_EQ(nc.Type(name), NC_FLOAT);
        EXPECT_EQ(nc.Text(name, "standard_name"), rule.standardName);
        EXPECT_EQ(nc.Text(name, "units"), rule.units);
        EXPECT_FALSE(nc.Text(name, "long_name").empty());
        EXPECT_EQ(nc.Numbers(name, "_FillValue"), std::vector<double>{kFill});
        const std::string qcName = (name == "LATITUDE" || name == "LONGITUDE") ? "POSITION_QC" : name + "_QC";
        EXPECT_EQ(nc.Text(name, "ancillary_variables"), qcName);
        ASSERT_EQ(nc.Type(qcName), NC_BYTE);
        EXPECT_EQ(nc.Numbers(qcName, "flag_values"), (std::vector<double>{0, 1, 2, 3, 4, 5, 7, 8, 9}));
        const std::vector<float> values = nc.Floats(name);
        const std::vector<signed char> flags = nc.Bytes(qcName);
        const std::optional<ListColumnKind> listKind = ListColumnOf(name);
        const ListColumn* column = nullptr;
        for (const auto& c : columns) {
            if (listKind && c.kind == *listKind && !c.fromLFile) column = &c;
        }
        for (int i = first; i <= last; ++i) {
            SCOPED_TRACE("record " + std::to_string(i));
            const std::size_t k = static_cast<std::size_t>(i - first);
            const auto flagOf = [&](const VariableRule& ru) {
                const Expected x = ru.expect(d.records[static_cast<std::size_t>(i)]);
                if (x.missing || !std::isfinite(x.value)) return 9;
                return x.value >= ru.validMin && x.value <= ru.validMax ? 1 : 4;
            };
            const Expected e = rule.expect(d.records[static_cast<std::size_t>(i)]);
            if (e.missing || !std::isfinite(e.value)) {
                EXPECT_EQ(values[k], kFill);
            } else {
                EXPECT_FLOAT_EQ(values[k], static_cast<float>(e.value));
            }
            if (qcName == "POSITION_QC") {
                // One flag for the pair: missing when either half is, else
                // the worse of the two.
                const int a = flagOf(rules.at("LATITUDE"));
                const int b = flagOf(rules.at("LONGITUDE"));
                EXPECT_EQ(flags[k], a == 9 || b == 9 ? 9 : std::max(a, b));
            } else {
                EXPECT_EQ(flags[k], flagOf(rule));
            }
            // No marker of the file formats ever passes for a good value.
            if (flags[k] == 1) {
                EXPECT_GT(values[k], -999.0f);
            }
            const MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
            const bool finite = std::isfinite(r.speed) && std::isfinite(r.direction) && std::isfinite(r.temperature) &&
                                std::isfinite(r.optional);
            if (column != nullptr && finite) {
                const bool dash = Trim(FormatListCell(d, *column, i, d.SeriesOfRecord(i))) == "-";
                EXPECT_EQ(dash, values[k] == kFill) << FormatListCell(d, *column, i, d.SeriesOfRecord(i));
            }
        }
    }
    // Nothing beyond the channels of the type, the time axis and the series.
    for (const std::string& v : nc.VariableNames()) {
        if (v == "TIME" || v == "SERIES" || v == "TRAJECTORY" || v.ends_with("_QC") || rules.contains(v)) continue;
        ADD_FAILURE() << "unexpected variable " << v;
    }
}

class NetcdfExport : public ::testing::Test {
protected:
    TempDir dir_;
};

TEST_F(NetcdfExport, EveryInstrumentTypeWritesItsChannelsValuesAndFlags) {
    const std::vector<std::pair<int, int>> types = {{0, 0}, {1, 0},  {2, 0},  {3, 1},  {3, 2},  {3, 3},  {3, 4},
                                                    {3, 0}, {3, 9},  {4, 0},  {5, 0},  {6, 0},  {7, 0},  {8, 0},
                                                    {9, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 0}, {255, 0}};
    for (const auto& [type, kind] : types) {
        SCOPED_TRACE("type " + std::to_string(type) + " kind " + std::to_string(kind));
        const std::string base = dir_.Path("t" + std::to_string(type) + "k" + std::to_string(kind));
        WriteSet(base, type, kind, kRecords, {SeriesHeader{0, 24, 2, 28, 23, 50, 600, 0, 20.0f}});
        DataSet d;
        ASSERT_TRUE(testing::Load(base, d));
        const std::string out = base + ".nc";
        ASSERT_EQ(WriteNetcdfExport(out, d, AllOf(d)), "");
        ExpectFileMatches(out, d, type, kind, 0, d.recordCount - 1);

        NcReader nc(out);
        EXPECT_EQ(nc.Text("", "instrument"), InstrumentTypeName(type));
        EXPECT_EQ(nc.Numbers("", "instrument_type_code"), std::vector<double>{static_cast<double>(type)});
        EXPECT_EQ(nc.Text("", "instrument_serial_number"), "4711");
        // Across the leap day: 2024-02-28 23:50 + 10 minutes per record.
        const std::vector<double> time = nc.Doubles("TIME");
        ASSERT_EQ(time.size(), kRecords.size());
        EXPECT_DOUBLE_EQ(time[0], DaysSince1950({2024, 2, 29, 0, 0, 0}));
        EXPECT_NEAR(time[9] - time[0], 9 * 600 / 86400.0, 1e-9);
        EXPECT_EQ(nc.Text("", "time_coverage_start"), "2024-02-29T00:00:00Z");
        EXPECT_EQ(nc.Text("", "time_coverage_end"), "2024-02-29T01:30:00Z");
    }
}

TEST_F(NetcdfExport, InvalidRecordsBecomeFillValuesFlaggedMissing) {
    const std::string base = dir_.Path("oxy");
    WriteSet(base, 3, 1, kRecords, {SeriesHeader{0, 24, 1, 1, 0, 0, 600, 0, 0.0f}});
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    const std::string out = dir_.Path("oxy.nc");
    ASSERT_EQ(WriteNetcdfExport(out, d, AllOf(d)), "");
    NcReader nc(out);
    const auto speed = nc.Floats("CSPD");
    const auto speedQc = nc.Bytes("CSPD_QC");
    const auto dir = nc.Floats("CDIR");
    const auto east = nc.Floats("UCUR");
    const auto north = nc.Floats("VCUR");
    const auto temp = nc.Floats("TEMP");
    const auto osat = nc.Floats("OSAT");
    const auto doxy = nc.Floats("DOXY");
    // Record 0: 25 cm/s towards east.
    EXPECT_FLOAT_EQ(speed[0], 0.25f);
    EXPECT_FLOAT_EQ(dir[0], 90.0f);
    EXPECT_FLOAT_EQ(east[0], 0.25f);
    EXPECT_NEAR(north[0], 0.0f, 1e-7);
    // Record 1: the tools' markers; a direction without its speed stays.
    EXPECT_EQ(speed[1], kFill);
    EXPECT_EQ(speedQc[1], 9);
    EXPECT_NEAR(dir[1], 57.29578f, 1e-4);
    EXPECT_EQ(east[1], kFill);
    EXPECT_EQ(temp[1], kFill);
    EXPECT_EQ(osat[1], kFill);
    EXPECT_EQ(doxy[1], kFill);
    // Record 2: a speed without a direction has no components.
    EXPECT_FLOAT_EQ(speed[2], 0.125f);
    EXPECT_EQ(dir[2], kFill);
    EXPECT_EQ(north[2], kFill);
    // Record 3: the converter's markers; record 6: NaN.
    for (std::size_t k : {3u, 6u}) {
        for (const auto* v : {&speed, &dir, &east, &north, &temp, &osat, &doxy}) EXPECT_EQ((*v)[k], kFill) << k;
    }
    // Record 4: impossible values are kept, flagged bad.
    EXPECT_FLOAT_EQ(speed[4], 15.0f);
    EXPECT_EQ(speedQc[4], 4);
    EXPECT_FLOAT_EQ(temp[4], 45.0f);
    EXPECT_EQ(nc.Bytes("TEMP_QC")[4], 4);
    // Record 7: 0.3 m/s towards west. Salinity 0 is used as stored.
    EXPECT_NEAR(east[7], -0.3f, 1e-6);
    EXPECT_NEAR(doxy[0], OxygenMgLWithSalinity(0.0, 10.0, 95.0), 1e-5);
    EXPECT_NEAR(doxy[7], OxygenMgLWithSalinity(0.0, 5.0, 100.0), 1e-5);
    EXPECT_EQ(nc.Bytes("DOXY_QC")[7], 1);
}

TEST_F(NetcdfExport, GpsPositionsAreOneFactWithTheirOwnFlagAndExtent) {
    const std::string base = dir_.Path("gps");
    const std::vector<MeasurementRecord> records = {
        {3545.5f, 630.0f, 7.0f, 0.0f},     // 59.09 N, 10.5 E
        {1e10f, 630.0f, 7.0f, 0.0f},       // no latitude: the position is incomplete
        {-2000.0f, -4000.0f, 7.0f, 0.0f},  // 33.33 S, 66.67 W
        {6000.0f, 100.0f, 7.0f, 0.0f},     // beyond the pole: bad
    };
    WriteSet(base, 2, 0, records, {SeriesHeader{0, 24, 1, 1, 0, 0, 60, 0, -1.0f}});
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    NetcdfExportOptions o = AllOf(d);
    o.site.latitude = 10.0;  // the positions win over a typed site
    o.site.longitude = 10.0;
    ASSERT_EQ(WriteNetcdfExport(base + ".nc", d, o), "");
    ExpectFileMatches(base + ".nc", d, 2, 0, 0, 3);
    NcReader nc(base + ".nc");
    EXPECT_EQ(nc.Bytes("POSITION_QC"), (std::vector<signed char>{1, 9, 1, 4}));
    EXPECT_EQ(nc.Floats("LATITUDE")[1], kFill);
    EXPECT_FLOAT_EQ(nc.Floats("LONGITUDE")[1], 10.5f);
    EXPECT_EQ(nc.Numbers("", "geospatial_lat_min")[0], static_cast<double>(-2000.0f / 60.0f));
    EXPECT_EQ(nc.Numbers("", "geospatial_lat_max")[0], static_cast<double>(3545.5f / 60.0f));
    EXPECT_EQ(nc.Numbers("", "geospatial_lon_min")[0], static_cast<double>(-4000.0f / 60.0f));
    EXPECT_EQ(nc.Numbers("", "geospatial_lon_max")[0], static_cast<double>(630.0f / 60.0f));
    EXPECT_EQ(nc.Text("", "featureType"), "trajectory");
    EXPECT_EQ(nc.Text("TRAJECTORY", "cf_role"), "trajectory_id");
    EXPECT_EQ(nc.Text("TEMP", "coordinates"), "TIME LATITUDE LONGITUDE");
}

TEST_F(NetcdfExport, ThreeSeriesFollowEachOtherOnOneTimeAxis) {
    // A name beyond ASCII, as Norwegian sites have.
    const std::string base = dir_.Path("tre-\u00E6\u00F8\u00E5");
    testing::WriteThreeSeries(base);
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    ASSERT_EQ(WriteNetcdfExport(base + ".nc", d, AllOf(d)), "");
    ExpectFileMatches(base + ".nc", d, 0, 0, 0, 9);
    {
        NcReader nc(base + ".nc");
        EXPECT_EQ(nc.Shorts("SERIES"), (std::vector<short>{1, 1, 1, 1, 2, 2, 2, 2, 3, 3}));
        const std::vector<double> t = nc.Doubles("TIME");
        const std::vector<CivilTime> expected = {
            {1997, 2, 25, 12, 10, 0}, {1997, 2, 25, 12, 20, 0}, {1997, 2, 25, 12, 30, 0}, {1997, 2, 25, 12, 40, 0},
            {1997, 3, 1, 0, 30, 0},   {1997, 3, 1, 1, 0, 0},    {1997, 3, 1, 1, 30, 0},   {1997, 3, 1, 2, 0, 0},
            {2024, 1, 6, 0, 0, 0},    {2024, 1, 6, 0, 10, 0},
        };
        ASSERT_EQ(t.size(), expected.size());
        for (std::size_t k = 0; k < t.size(); ++k) EXPECT_DOUBLE_EQ(t[k], DaysSince1950(expected[k])) << k;
        EXPECT_EQ(nc.Text("", "time_coverage_start"), "1997-02-25T12:10:00Z");
        EXPECT_EQ(nc.Text("", "time_coverage_end"), "2024-01-06T00:10:00Z");
        EXPECT_EQ(nc.Text("TIME", "units"), "days since 1950-01-01T00:00:00Z");
        EXPECT_EQ(nc.Text("TIME", "calendar"), "gregorian");
    }
    // Series 2 alone, and two records of it.
    NetcdfExportOptions o = AllOf(d);
    o.first = 4;
    o.last = 7;
    ASSERT_EQ(WriteNetcdfExport(base + "-2.nc", d, o), "");
    ExpectFileMatches(base + "-2.nc", d, 0, 0, 4, 7);
    EXPECT_EQ(NcReader(base + "-2.nc").Shorts("SERIES"), (std::vector<short>(4, 2)));
    o.first = 5;
    o.last = 6;
    ASSERT_EQ(WriteNetcdfExport(base + "-3.nc", d, o), "");
    NcReader nc(base + "-3.nc");
    EXPECT_DOUBLE_EQ(nc.Doubles("TIME")[0], DaysSince1950({1997, 3, 1, 1, 0, 0}));
    EXPECT_EQ(nc.Text("", "history"),
              "2025-06-01T08:30:00Z written by tests from tre-\u00E6\u00F8\u00E5 measurements 6 to 7");
    EXPECT_EQ(nc.Text("", "title"), "Corvan measurements from tre-\u00E6\u00F8\u00E5");
}

TEST_F(NetcdfExport, RecordsBeforeTheFirstSeriesHaveNoSeriesNumber) {
    const std::string base = dir_.Path("late");
    WriteSet(base, 0, 0, {kRecords[0], kRecords[2], kRecords[7]}, {SeriesHeader{1, 24, 1, 1, 0, 0, 600, 0, -1.0f}});
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    ASSERT_EQ(WriteNetcdfExport(base + ".nc", d, AllOf(d)), "");
    NcReader nc(base + ".nc");
    EXPECT_EQ(nc.Shorts("SERIES"), (std::vector<short>{-1, 1, 1}));
    EXPECT_DOUBLE_EQ(nc.Doubles("TIME")[0], DaysSince1950({2024, 1, 1, 0, 0, 0}));
}

TEST_F(NetcdfExport, TimesThatDoNotRiseAreRefusedAndNothingIsWritten) {
    const std::string base = dir_.Path("clock");
    // Series 2 was started with a clock an hour behind.
    WriteSet(base, 0, 0, {kRecords[0], kRecords[0], kRecords[0], kRecords[0]},
             {SeriesHeader{0, 24, 1, 1, 12, 0, 600, 0, -1.0f}, SeriesHeader{2, 24, 1, 1, 11, 0, 600, 0, -1.0f}});
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    const std::string out = dir_.Path("clock.nc");
    testing::WriteBytes(out, {'k', 'e', 'e', 'p'});
    const std::string why = WriteNetcdfExport(out, d, AllOf(d));
    EXPECT_NE(why.find("measurement 3 (series 2"), std::string::npos) << why;
    EXPECT_EQ(testing::ReadBytes(out), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    // Each series on its own is fine.
    NetcdfExportOptions o = AllOf(d);
    o.first = 2;
    o.last = 3;
    EXPECT_EQ(WriteNetcdfExport(dir_.Path("two.nc"), d, o), "");

    // An interval of zero stamps every record alike.
    WriteSet(base, 0, 0, {kRecords[0], kRecords[0]}, {SeriesHeader{0, 24, 1, 1, 12, 0, 0, 0, -1.0f}});
    ASSERT_TRUE(testing::Load(base, d));
    EXPECT_NE(WriteNetcdfExport(dir_.Path("zero.nc"), d, AllOf(d)), "");
    EXPECT_FALSE(testing::Exists(dir_.Path("zero.nc")));

    o.first = 5;
    o.last = 4;
    EXPECT_EQ(WriteNetcdfExport(dir_.Path("none.nc"), d, o), "there are no measurements to export");
    o = AllOf(d);
    o.site.latitude = 91.0;
    EXPECT_EQ(WriteNetcdfExport(dir_.Path("none.nc"), d, o), "the latitude must lie in -90..90 degrees");
    EXPECT_FALSE(testing::Exists(dir_.Path("none.nc")));
}

TEST_F(NetcdfExport, AFailedWriteLeavesNeitherHalfAFileNorATemporary) {
    const std::string base = dir_.Path("buoy");
    testing::WriteThreeSeries(base);
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    // A folder that is not there.
    const std::string missing = dir_.Path("no/such/out.nc");
    try {
        WriteNetcdfExport(missing, d, AllOf(d));
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Reason(), "No such file or directory");
    }
    // A folder where the file should go: the rename fails at the very end.
    std::filesystem::create_directory(dir_.Path("taken.nc"));
    try {
        WriteNetcdfExport(dir_.Path("taken.nc"), d, AllOf(d));
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), dir_.Path("taken.nc"));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_.Path("taken.nc")));
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Root())) {
        EXPECT_EQ(entry.path().string().find(".~tmp"), std::string::npos) << entry.path();
    }
    // A file replaced whole.
    testing::WriteBytes(dir_.Path("old.nc"), std::vector<std::uint8_t>(100000, 'x'));
    ASSERT_EQ(WriteNetcdfExport(dir_.Path("old.nc"), d, AllOf(d)), "");
    EXPECT_EQ(NcReader(dir_.Path("old.nc")).Records(), 10u);
}

TEST_F(NetcdfExport, SiteFactsBecomeTheSitesMetadata) {
    const std::string base = dir_.Path("site");
    testing::WriteThreeSeries(base);
    DataSet d;
    ASSERT_TRUE(testing::Load(base, d));
    NetcdfExportOptions o = AllOf(d);
    ASSERT_EQ(WriteNetcdfExport(base + "-bare.nc", d, o), "");
    {
        // Nothing typed: nothing made up.
        NcReader nc(base + "-bare.nc");
        for (const char* v : {"DEPTH", "LATITUDE", "LONGITUDE", "STATION"}) EXPECT_FALSE(nc.Has(v)) << v;
        for (const char* a :
             {"featureType", "site_code", "principal_investigator", "institution", "geospatial_lat_min"})
            EXPECT_EQ(nc.Text("", a), "") << a;
        EXPECT_EQ(nc.Text("CSPD", "coordinates"), "TIME");
    }
    o.site = DeploymentSite{59.5, -10.25, 35.0, "NOR-7", "Havlab \u00C5", "K. Nordmann"};
    ASSERT_EQ(WriteNetcdfExport(base + ".nc", d, o), "");
    NcReader nc(base + ".nc");
    EXPECT_EQ(nc.Format(), NC_FORMAT_NETCDF4_CLASSIC);
    int shuffle = 0, deflate = 0, level = 0;
    nc.Deflate("CSPD", shuffle, deflate, level);
    EXPECT_EQ(shuffle, 1);
    EXPECT_EQ(deflate, 1);
    EXPECT_EQ(level, 4);
    EXPECT_EQ(nc.Text("", "Conventions"), "CF-1.8 OceanSITES-1.4");
    EXPECT_EQ(nc.Text("", "site_code"), "NOR-7");
    EXPECT_EQ(nc.Text("", "institution"), "Havlab \u00C5");
    EXPECT_EQ(nc.Text("", "principal_investigator"), "K. Nordmann");
    EXPECT_EQ(nc.Text("", "date_created"), "2025-06-01T08:30:00Z");
    EXPECT_EQ(nc.Text("", "featureType"), "timeSeries");
    EXPECT_EQ(nc.Chars("STATION"), "NOR-7");
    EXPECT_EQ(nc.Text("STATION", "cf_role"), "timeseries_id");
    EXPECT_EQ(nc.Dimensions("DEPTH"), 0);
    EXPECT_EQ(nc.Floats("DEPTH"), std::vector<float>{35.0f});
    EXPECT_EQ(nc.Text("DEPTH", "positive"), "down");
    EXPECT_EQ(nc.Doubles("LATITUDE"), std::vector<double>{59.5});
    EXPECT_EQ(nc.Doubles("LONGITUDE"), std::vector<double>{-10.25});
    EXPECT_EQ(nc.Numbers("", "geospatial_lat_min"), std::vector<double>{59.5});
    EXPECT_EQ(nc.Numbers("", "geospatial_lon_max"), std::vector<double>{-10.25});
    EXPECT_EQ(nc.Numbers("", "geospatial_vertical_max"), std::vector<double>{35.0});
    EXPECT_EQ(nc.AttributeType("CSPD", "valid_min"), NC_FLOAT);
    EXPECT_EQ(nc.Text("CSPD", "coordinates"), "TIME DEPTH LATITUDE LONGITUDE");
}

TEST_F(NetcdfExport, BundledSamplesAgreeWithTheList) {
    for (const char* name : {"buoy3", "oxy17"}) {
        SCOPED_TRACE(name);
        DataSet d;
        ASSERT_TRUE(testing::Load(testing::CopySampleSet(CORVAN_SAMPLES, name, dir_), d));
        const std::string out = dir_.Path(std::string(name) + ".nc");
        ASSERT_EQ(WriteNetcdfExport(out, d, AllOf(d)), "");
        ExpectFileMatches(out, d, d.header.instrumentType, d.header.sensorKind, 0, d.recordCount - 1);
    }
}

TEST(NetcdfFileName, GetsItsExtensionOnlyWhenItHasNone) {
    EXPECT_EQ(NetcdfFileNameWithExtension("/x/out"), "/x/out.nc");
    EXPECT_EQ(NetcdfFileNameWithExtension("/x/out.nc"), "/x/out.nc");
    EXPECT_EQ(NetcdfFileNameWithExtension("/x/out.cdf"), "/x/out.cdf");
    EXPECT_EQ(NetcdfFileNameWithExtension("/data.old/out"), "/data.old/out.nc");
}

}  // namespace
}  // namespace corvan
