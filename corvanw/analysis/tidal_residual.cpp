#include "analysis/tidal_residual.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "data/current_direction.h"
#include "data/data_set.h"

namespace corvan {

std::vector<MeasurementRecord> DetidedRecords(const DataSet& data, const TidalAnalysis& analysis) {
    std::vector<MeasurementRecord> out;
    const int first = std::max(0, data.rangeFirst);
    const int last = std::min(data.rangeLast, data.HeaderCount() - 1);
    if (last < first) return out;
    const int count = last - first + 1;
    const int s = data.currentSeries;
    const double interval = data.series[static_cast<std::size_t>(std::clamp(s, 1, kMaxSeries) - 1)].interval;
    const TidalPrediction tide = PredictTide(analysis, RecordTime(data, first, s), interval, count);
    const bool current = HasCurrent(data.header) && analysis.hasCurrent;
    constexpr double kTwoPi = 2 * std::numbers::pi;
    out.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        MeasurementRecord r = data.records[static_cast<std::size_t>(first + k)];
        if (current && IsValid(r.speed) && r.direction >= 0 && k < static_cast<int>(tide.east.size())) {
            const auto uk = static_cast<std::size_t>(k);
            const double e = r.speed * std::sin(static_cast<double>(r.direction)) - (tide.east[uk] - analysis.meanEast);
            const double n =
                r.speed * std::cos(static_cast<double>(r.direction)) - (tide.north[uk] - analysis.meanNorth);
            r.speed = static_cast<float>(std::hypot(e, n));
            r.direction = static_cast<float>(DirectionTowards(e, n));
            if (r.direction >= static_cast<float>(kTwoPi)) r.direction = 0.0f;
        }
        out.push_back(r);
    }
    return out;
}

std::string WriteDetidedFiles(const DataSet& data, const TidalAnalysis& analysis, const std::string& outBase) {
    // The analysed file stays as it is: its backup would hold the whole
    // record while the file itself shrank to the detided range.
    std::error_code ec;
    const auto analysed = std::filesystem::weakly_canonical(MeasurementFileName(data.baseName), ec);
    const auto target = std::filesystem::weakly_canonical(MeasurementFileName(outBase), ec);
    if (!ec && analysed == target) return "the detided current cannot replace the file it comes from";
    const std::vector<MeasurementRecord> records = DetidedRecords(data, analysis);
    if (records.empty()) return "the range holds no records";
    const int s = data.currentSeries;
    const SeriesHeader& source = data.series[static_cast<std::size_t>(std::clamp(s, 1, kMaxSeries) - 1)];
    // Stored starts are one interval before the first measurement.
    const DateTime start = RecordTime(data, data.rangeFirst, s).AddSeconds(-source.interval);
    const CivilTime c = start.ToCivil();
    if (c.second != 0 || c.year < 1960 || c.year > 2059)
        return "the range's start " + start.Iso() + " cannot be stored as a series start";

    DataSet out;
    out.baseName = outBase;
    out.header = data.header;
    out.header.count = static_cast<std::int16_t>(records.size());
    std::copy(records.begin(), records.end(), out.records.begin());
    out.recordCount = static_cast<std::int32_t>(records.size());
    SeriesHeader h = source;
    h.first = 0;
    h.year = static_cast<std::uint8_t>(c.year % 100);
    h.month = static_cast<std::uint8_t>(c.month);
    h.day = static_cast<std::uint8_t>(c.day);
    h.hour = static_cast<std::uint8_t>(c.hour);
    h.minute = static_cast<std::uint8_t>(c.minute);
    out.series[0] = h;
    out.seriesCount = 1;
    WriteMeasurementFile(out);
    WriteReferenceFile(out, 1);
    return {};
}

}  // namespace corvan
