#include "data/data_set.h"
#include "data/series_range.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvan {

namespace {

constexpr std::array<ChannelDescriptor, kChannelCount> kChannels{{
    {"Series", "Ser", "", 3, 0},
    {"Measurement", "Meas", "", 4, 0},
    {"Temperature", "Temp", "\u00B0C", 6, 2},
    {"Current speed", "Curr", "cm/s", 6, 1},
    {"Current dir", "Dir", "\u00B0", 4, 0},
    {"Conductivity", "Cond.", "(mmho/cm)", 6, 2},
    {"Ox Sat", "Ox %", "%", 4, 1},
    {"Ox (mg/l)", "mg/l", "mg/l", 6, 2},
    {"v * Ox (mg/l)", "v.mg/l", "g/m\u00B2s", 5, 2},
    {"Turbidity", "T (FTU)", "FTU", 5, 2},
    {"Fluorescence", "F (\u00B5g/l)", "\u00B5g/l", 4, 2},
    {"Date", "Date", "", 10, 0},
    {"Time", "Time", "", 6, 0},
    {"Latitude", "Lat", "", 8, 0},
    {"Longitude", "Long", "", 9, 0},
    {"v * Turbidity", "v.T", "FTU g/s", 5, 2},
    {"v * Fluorescence", "v.F", "mg/s", 5, 2},
}};

constexpr const char* kTypeNames[13] = {
    "Corvan",
    "Corvan",
    "CorvanGPS",
    "CorvanOPT",
    "CorvanT",
    "Tarsen ORP - 400kHz",
    "Tarsen ORP - 600kHz",
    "Tarsen ORP - 1MHz",
    "Tarsen ORP - 2MHz",
    "Tarsen Wendal - 600kHz",
    "Tarsen Wendal - 1MHz",
    "Tarsen ORL - 2MHz",
    "Tarsen",
};

constexpr const char* kTypeShortNames[13] = {
    "Corvan",     "Corvan",     "CorvanGPS",       "CorvanOPT",     "CorvanT",    "ORP - 400kHz", "ORP - 600kHz",
    "ORP - 1MHz", "ORP - 2MHz", "Wendal - 600kHz", "Wendal - 1MHz", "ORL - 2MHz", "Tarsen",
};

constexpr double kDefaultSalinity = 32.0;
// 1 January 1900, the start of a series whose stored date is not a date.
constexpr CivilTime kInvalidDateStart{1900, 1, 1, 0, 0, 0};

}  // namespace

const std::array<ChannelDescriptor, kChannelCount>& ChannelDescriptors() { return kChannels; }

const ChannelDescriptor& Channel(int index) {
    return kChannels[static_cast<std::size_t>(std::clamp(index, 0, kChannelCount - 1))];
}

bool HasTemperature(const MeasurementFileHeader& h) { return h.instrumentType < 13; }
bool HasCurrent(const MeasurementFileHeader& h) {
    return h.instrumentType != 2 && h.instrumentType != 4 && h.instrumentType < 13;
}
bool HasOptional(const MeasurementFileHeader& h) { return h.instrumentType == 3; }
bool HasOxygen(const MeasurementFileHeader& h) { return h.instrumentType == 3 && h.sensorKind == 1; }
bool HasFlux(const MeasurementFileHeader& h) {
    return h.instrumentType == 3 && (h.sensorKind == 2 || h.sensorKind == 3);
}
bool HasPositions(const MeasurementFileHeader& h) { return h.instrumentType == 2; }

std::string InstrumentTypeName(int type) {
    if (type < 0 || type > 12) return "Unknown";
    return kTypeNames[type];
}

std::string InstrumentTypeShortName(int type) {
    if (type < 0 || type > 12) return "Unknown";
    return kTypeShortNames[type];
}

DataSet::DataSet() : records(kMaxRecords), ioBuffer(static_cast<std::size_t>(kMaxRecords + 1) * kRecordSize) {}

int DataSet::HeaderCount() const { return std::clamp<int>(header.count, 0, kMaxRecords); }

int DataSet::SeriesCount() const { return std::clamp<int>(seriesCount, 0, kMaxSeries); }

int DataSet::SeriesFirst(int s) const {
    if (s < 1 || s > kMaxSeries) return 0;
    return std::clamp<int>(series[static_cast<std::size_t>(s - 1)].first, 0, HeaderCount());
}

int DataSet::SeriesLast(int s) const { return BoundsOfSeries(*this, s).LastNumber() - 1; }

int DataSet::SeriesOfRecord(int i) const {
    int result = 1;
    for (int s = 1; s <= SeriesCount(); ++s) {
        if (series[static_cast<std::size_t>(s - 1)].first <= i) result = s;
    }
    return result;
}

void DataSet::AllocateLRecords() {
    if (lRecords.size() != static_cast<std::size_t>(kMaxRecords)) lRecords.assign(kMaxRecords, MeasurementRecord{});
    std::fill(lRecords.begin(), lRecords.end(), MeasurementRecord{kLFill, kLFill, kLFill, kLFill});
    lFilePresent = true;
}

void DataSet::ReleaseLRecords() {
    lRecords.clear();
    lRecords.shrink_to_fit();
    lFilePresent = false;
}

void SelectChannelDescriptors(DataSet& data) {
    if (data.header.instrumentType != 3) {
        data.optionalChannel = kChOxSat;
        data.fluxChannel = kChTurbidityFlux;
        return;
    }
    switch (data.header.sensorKind) {
        case 1:
            data.optionalChannel = kChOxSat;
            data.fluxChannel = kChTurbidityFlux;
            break;
        case 2:
            data.optionalChannel = kChTurbidity;
            data.fluxChannel = kChTurbidityFlux;
            break;
        case 3:
            data.optionalChannel = kChFluorescence;
            data.fluxChannel = kChFluorescenceFlux;
            break;
        case 4:
            data.optionalChannel = kChConductivity;
            data.fluxChannel = kChTurbidityFlux;
            break;
        default:
            // An unknown sensor keeps what the previous file chose.
            break;
    }
}

DateTime SeriesStart(const SeriesHeader& h) {
    const CivilTime c{TwoDigitYear(h.year), h.month, h.day, h.hour, h.minute, 0};
    if (auto t = DateTime::FromCivil(c)) return *t;
    return *DateTime::FromCivil(kInvalidDateStart);
}

DateTime SeriesStart(const DataSet& data, int s) {
    if (s < 1 || s > kMaxSeries) return *DateTime::FromCivil(kInvalidDateStart);
    return SeriesStart(data.series[static_cast<std::size_t>(s - 1)]);
}

DateTime RecordTime(const DataSet& data, int i, int s) {
    if (s < 1 || s > kMaxSeries) s = 1;
    const SeriesHeader& h = data.series[static_cast<std::size_t>(s - 1)];
    const std::int64_t steps = static_cast<std::int64_t>(i) - h.first + 1;
    return SeriesStart(h).AddSeconds(steps * h.interval);
}

std::int64_t OffsetInCurrentSeries(const DataSet& data, int i) {
    const int s = std::clamp<int>(data.currentSeries, 1, kMaxSeries);
    const SeriesHeader& h = data.series[static_cast<std::size_t>(s - 1)];
    return (static_cast<std::int64_t>(i) - h.first + 1) * h.interval;
}

double SeriesSalinity(const DataSet& data, int s) {
    if (s < 1 || s > kMaxSeries) return kDefaultSalinity;
    const float salinity = data.series[static_cast<std::size_t>(s - 1)].salinity;
    return salinity > -1.0f ? static_cast<double>(salinity) : kDefaultSalinity;
}

double OxygenMgLWithSalinity(double salinity, double temperature, double saturation) {
    const long double t = static_cast<long double>(temperature) + 273.15L;
    const long double u = 1.0L / t;
    const long double u2 = u * u;
    const long double s = salinity;
    const long double lnC = -135.90205L + u * (157570.1L + u * (-66423080.0L + u * (1.2438e10L + u * -8.621949e11L))) -
                            s * (0.017674L - 10.754L * u + 2140.7L * u2);
    // The terms cancel to a small logarithm, so they are summed in the widest
    // real; the exponential of that sum is as exact in double and several
    // times faster, which matters once per record of a range.
    return std::exp(static_cast<double>(lnC)) * 0.0319988 * saturation / 100.0;
}

double OxygenMgL(const DataSet& data, int s, double temperature, double saturation) {
    return OxygenMgLWithSalinity(SeriesSalinity(data, s), temperature, saturation);
}

double DirectionDegrees(float directionRadians) {
    return static_cast<double>(directionRadians) / std::numbers::pi * 180.0;
}

DegreesMinutes SplitMinutesOfArc(double value) {
    DegreesMinutes dm;
    dm.degrees = static_cast<int>(std::trunc(value / 60.0));
    dm.minutes = std::fabs(value - dm.degrees * 60.0);
    dm.negative = value < 0.0;
    return dm;
}

SeriesCursor::SeriesCursor(const DataSet& data, int firstRecord) : data_(data) {
    const int count = data.SeriesCount();
    int p = 1;
    while (p <= count && data.series[static_cast<std::size_t>(p - 1)].first < firstRecord) ++p;
    if (p == 1) {
        start_ = SeriesStart(data, 1);
        p_ = 0;
    } else {
        p_ = p - 1;
        start_ = SeriesStart(data, p_);
    }
}

bool SeriesCursor::Advance(int i) {
    bool started = false;
    const int count = data_.SeriesCount();
    while (p_ < count && data_.series[static_cast<std::size_t>(p_)].first == i) {
        ++p_;
        start_ = SeriesStart(data_, p_);
        started = true;
    }
    return started;
}

std::string StripExtension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fileName;
    // A leading dot names a hidden file, not an extension.
    if (dot == (slash == std::string::npos ? 0 : slash + 1)) return fileName;
    return fileName.substr(0, dot);
}

std::string PadWithZeros(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text;
    std::string padded(static_cast<std::size_t>(width) - text.size(), '0');
    padded += text;
    const std::size_t minus = padded.find('-');
    if (minus != std::string::npos && minus > 0 && padded.find_first_not_of('0') == minus) {
        padded.erase(minus, 1);
        padded.insert(padded.begin(), '-');
    }
    return padded;
}

}  // namespace corvan
