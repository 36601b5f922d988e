#pragma once
// The one series in memory: header, records, series table, the selected
// range and the channels the file carries. One instance is owned by whoever
// shows or edits a file and passed by reference; there is no global.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/date_time.h"
#include "data/measurement_files.h"

namespace corvan {

struct ChannelDescriptor {
    const char* longName;
    const char* shortName;
    const char* unit;
    std::uint8_t width;
    std::uint8_t decimals;
};

enum ChannelIndex : int {
    kChSeries = 0,
    kChMeasurement = 1,
    kChTemperature = 2,
    kChSpeed = 3,
    kChDirection = 4,
    kChConductivity = 5,
    kChOxSat = 6,
    kChOxMgL = 7,
    kChOxFlux = 8,
    kChTurbidity = 9,
    kChFluorescence = 10,
    kChDate = 11,
    kChTime = 12,
    kChLatitude = 13,
    kChLongitude = 14,
    kChTurbidityFlux = 15,
    kChFluorescenceFlux = 16,
};
inline constexpr int kChannelCount = 17;

const std::array<ChannelDescriptor, kChannelCount>& ChannelDescriptors();
const ChannelDescriptor& Channel(int index);

// Channel predicates of a header.
bool HasTemperature(const MeasurementFileHeader& h);
bool HasCurrent(const MeasurementFileHeader& h);
bool HasOptional(const MeasurementFileHeader& h);
bool HasOxygen(const MeasurementFileHeader& h);
bool HasFlux(const MeasurementFileHeader& h);
bool HasPositions(const MeasurementFileHeader& h);

// Display names of the instrument types ("Corvan", "Tarsen ORP - 400kHz"),
// and the short names without the maker word for the converted types.
std::string InstrumentTypeName(int type);
std::string InstrumentTypeShortName(int type);

inline bool IsValid(float v) { return v > kInvalidValue; }

struct DataSet {
    DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    std::string baseName;
    MeasurementFileHeader header{};
    std::vector<MeasurementRecord> records;  // kMaxRecords entries, allocated once
    std::int32_t recordCount = 0;
    std::array<SeriesHeader, kMaxSeries> series{};
    std::int32_t seriesCount = 0;
    std::uint16_t currentSeries = 1;
    std::int32_t rangeFirst = 0;
    std::int32_t rangeLast = 0;
    std::int32_t rangeCount = 0;
    std::int16_t rangeInterval = 0;
    std::vector<MeasurementRecord> lRecords;  // kMaxRecords entries while present
    bool lFilePresent = false;
    bool dataLoaded = false;
    bool referenceLoaded = false;
    bool statisticsValid = false;
    // The variable descriptor slots, chosen from the table per file.
    int optionalChannel = kChOxSat;
    int fluxChannel = kChTurbidityFlux;
    // File name part of the base, proposed by the save dialog.
    std::string defaultSaveName;

    // The header count clamped to what the arrays hold; every loop over the
    // records as the header counts them uses this.
    int HeaderCount() const;
    // Series count clamped to the table.
    int SeriesCount() const;
    // First record of 1-based series s, clamped to 0..HeaderCount().
    int SeriesFirst(int s) const;
    // Last record (0-based) of 1-based series s, from BoundsOfSeries; one
    // before the series' first when it holds nothing.
    int SeriesLast(int s) const;
    // 1-based series of record i (the last series whose first <= i); 1 when
    // none qualifies.
    int SeriesOfRecord(int i) const;

    const ChannelDescriptor& OptionalChannel() const { return Channel(optionalChannel); }
    const ChannelDescriptor& FluxChannel() const { return Channel(fluxChannel); }

    void AllocateLRecords();
    void ReleaseLRecords();
    // Scratch space for block reads, sized once for the largest file.
    std::vector<std::uint8_t> ioBuffer;
};

void SelectChannelDescriptors(DataSet& data);

// Stored start of 1-based series s (one interval before its first
// measurement); 1900-01-01 00:00 when the stored date is not on the calendar.
DateTime SeriesStart(const DataSet& data, int s);
DateTime SeriesStart(const SeriesHeader& h);
// Time of record i in series s.
DateTime RecordTime(const DataSet& data, int i, int s);
// Seconds of record i from the start of the current series.
std::int64_t OffsetInCurrentSeries(const DataSet& data, int i);

// Oxygen concentration in mg/l from saturation (%), temperature and the
// salinity of series s (32 when not set).
double OxygenMgL(const DataSet& data, int s, double temperature, double saturation);
double OxygenMgLWithSalinity(double salinity, double temperature, double saturation);
double SeriesSalinity(const DataSet& data, int s);

double DirectionDegrees(float directionRadians);
struct DegreesMinutes {
    int degrees;
    double minutes;
    bool negative;  // true when the position is south/west, also below one degree
};
DegreesMinutes SplitMinutesOfArc(double minutesOfArc);

// Walks records in order with their series. Position once, then call
// Advance(i) before each record i.
class SeriesCursor {
public:
    SeriesCursor(const DataSet& data, int firstRecord);
    // Returns true when record i starts one or more series.
    bool Advance(int i);
    // 0 before the first series, else the 1-based series number.
    int Series() const { return p_; }
    DateTime Start() const { return start_; }

private:
    const DataSet& data_;
    int p_ = 0;
    DateTime start_;
};

std::string StripExtension(const std::string& fileName);
std::string PadWithZeros(const std::string& text, int width);

}  // namespace corvan
