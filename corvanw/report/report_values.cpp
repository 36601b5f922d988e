#include "report/report_values.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numeric>

#include "graphs/number_format.h"
#include "graphs/statistics_pages.h"

namespace corvan {

namespace {

constexpr const char* kMeterSuffix = " meter";
constexpr const char* kDaysSuffix = " døgn";
constexpr const char* kFlowAt = "m#3 ved ";
constexpr const char* kFlowDegrees = " grader. ";
constexpr const char* kFlowPerAreaPerDay = "m#3/m#2/døgn";
constexpr const char* kFlowPerDay = "m#3/døgn";
constexpr const char* kMeasurementsOpen = " (";
constexpr const char* kMeasurementsClose = " målinger)";
constexpr const char* kReferencePrefix = " - nr";

constexpr const char* kConvertedMeasMode = "måleren måler i x sekunder, per y minutt(er) intervall.";
constexpr const char* kConvertedTypeLead = "Måler type";
constexpr const char* kCorvanMeasMode =
    "måleren måler hvert x minutt, hvert y minutt gir måleren et gjennomsnitt av verdiene for 5 målinger.";
constexpr const char* kCorvanTypeLead = "Måler type - nummer";

bool IsConvertedType(int type) { return type >= 5 && type <= 12; }

std::string Trimmed(std::string_view text) {
    const auto b = text.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    const auto e = text.find_last_not_of(" \t");
    return std::string(text.substr(b, e - b + 1));
}

std::string Fixed(double value, int width, int decimals, std::string_view separator) {
    std::string s = FixedText(value, width, decimals);
    const auto dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, separator);
    return s;
}

std::string TwoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string DottedDate(DateTime t) {
    const CivilTime c = t.ToCivil();
    return TwoDigits(c.day) + "." + TwoDigits(c.month) + "." + std::to_string(c.year);
}

// Indices ordered by count, most first; on equal counts the later index
// first, which is what the report has always listed.
template <std::size_t N>
std::vector<int> MostFirst(const std::array<int, N>& counts, std::size_t count) {
    std::vector<int> order(N);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto ca = counts[static_cast<std::size_t>(a)];
        const auto cb = counts[static_cast<std::size_t>(b)];
        return ca != cb ? ca > cb : a > b;
    });
    order.resize(std::min(count, order.size()));
    return order;
}

}  // namespace

std::string SurfaceHeadingText(std::string_view depthText) {
    const std::string depth = Trimmed(depthText);
    long long value = 0;
    const auto* end = depth.data() + depth.size();
    const auto res = std::from_chars(depth.data(), end, value);
    if (depth.empty() || res.ec != std::errc() || res.ptr != end || value < 1) return kSurfaceHeading;
    return std::string(kSurfaceHeading) + " - " + depth + kMeterSuffix;
}

std::string PositionHeading(int position, std::string_view surfaceDepthText) {
    switch (position) {
        case 0:
            return SurfaceHeadingText(surfaceDepthText);
        case 1:
            return kDispersionHeading;
        default:
            return kBottomHeading;
    }
}

std::pair<std::string, std::string> ContentsLines(int presentSet) {
    switch (presentSet & 7) {
        case 1:
            return {"Overflatestrøm", "Overflatestrøm"};
        case 2:
            return {"Spredningsstrøm", "Spredningsstrøm"};
        case 3:
            return {"Overflate- og spredningsstrøm", "Overflatestrøm og spredningsstrøm"};
        case 4:
            return {"Bunnstrøm", "Bunnstrøm"};
        case 5:
            return {"Overflate- og bunnstrøm", "Overflatestrøm og bunnstrøm"};
        case 6:
            return {"Sprednings- og bunnstrøm", "Spredningsstrøm og bunnstrøm"};
        case 7:
            return {"Overflate- sprednings- og bunnstrøm", "Overflatestrøm, spredningsstrøm og bunnstrøm"};
        default:
            return {"", ""};
    }
}

std::string ReportDateText(const CivilTime& today) {
    return TwoDigits(today.day) + "/" + TwoDigits(today.month) + "-" + std::to_string(today.year);
}

std::pair<std::string, std::string> MeasuringModeTexts(int instrumentType) {
    if (IsConvertedType(instrumentType)) return {kConvertedMeasMode, kConvertedTypeLead};
    return {kCorvanMeasMode, kCorvanTypeLead};
}

std::string IntervalText(int instrumentType, int intervalSeconds, int intervalCode) {
    if (IsConvertedType(instrumentType)) {
        return std::to_string(intervalCode) + " sec/" + std::to_string(intervalSeconds / 60) + " min";
    }
    if (intervalSeconds == 60) return "1 min";
    return std::to_string(intervalSeconds / 300) + " min/" + std::to_string(intervalSeconds / 60) + " min";
}

long long ReportDays(int first, int last, int intervalSeconds) {
    const double seconds = static_cast<double>(last - first) * intervalSeconds;
    return std::max(1LL, RoundHalfEven(seconds / 86400.0));
}

std::vector<int> MainSectors(const SectorStatistics& sectors, std::size_t count) {
    return MostFirst(sectors.sectorCount, count);
}

std::vector<int> MainClasses(const SectorStatistics& sectors, std::size_t count) {
    return MostFirst(sectors.classCount, count);
}

int LargestFluxSector(const SectorStatistics& sectors) {
    int best = 0;
    for (int s = 1; s < kSectorCount; ++s) {
        if (sectors.sectorWaterFlux[static_cast<std::size_t>(s)] >
            sectors.sectorWaterFlux[static_cast<std::size_t>(best)])
            best = s;
    }
    return best;
}

int SmallestFluxSector(const SectorStatistics& sectors) {
    int best = 0;
    for (int s = 1; s < kSectorCount; ++s) {
        if (sectors.sectorWaterFlux[static_cast<std::size_t>(s)] <
            sectors.sectorWaterFlux[static_cast<std::size_t>(best)])
            best = s;
    }
    return best;
}

std::string FlowText(const SectorStatistics& sectors, int sector, long long days) {
    const double flux = sectors.sectorWaterFlux[static_cast<std::size_t>(sector)];
    const int lower = sector * static_cast<int>(kSectorWidthDegrees);
    const int upper = lower + static_cast<int>(kSectorWidthDegrees);
    return std::to_string(RoundHalfEven(flux)) + kFlowAt + std::to_string(lower) + "-" + std::to_string(upper) +
           kFlowDegrees + std::to_string(RoundHalfEven(flux / static_cast<double>(std::max(1LL, days)))) +
           kFlowPerAreaPerDay;
}

std::vector<Replacement> EmptyPositionReplacements(std::string_view prefix) {
    std::vector<Replacement> out;
    for (const char* suffix : kPositionSuffixes) out.emplace_back(std::string(prefix) + suffix, "");
    return out;
}

std::vector<Replacement> PositionReplacements(const DataSet& data, const Statistics& stats, std::string_view prefix,
                                              std::string_view decimalSeparator) {
    const MeasurementFileHeader& h = data.header;
    const int s = std::clamp<int>(data.currentSeries, 1, kMaxSeries);
    const SeriesHeader& series = data.series[static_cast<std::size_t>(s - 1)];
    const int interval = data.rangeInterval > 0 ? data.rangeInterval : series.interval;
    const long long days = ReportDays(data.rangeFirst, data.rangeLast, interval);

    std::string instrument = InstrumentTypeShortName(h.instrumentType);
    if (h.referenceNumber >= 1) instrument += kReferencePrefix + std::to_string(h.referenceNumber);

    std::vector<Replacement> out;
    const auto add = [&](const char* suffix, std::string value) {
        out.emplace_back(std::string(prefix) + suffix, std::move(value));
    };
    add("Instr}", instrument);
    add("InstrNr}", std::to_string(h.referenceNumber));
    add("Tid}",
        DottedDate(RecordTime(data, data.rangeFirst, s)) + "-" + DottedDate(RecordTime(data, data.rangeLast, s)));
    add("Frekvens}",
        IntervalText(h.instrumentType, interval, series.intervalCode) + " - " + std::to_string(days) + kDaysSuffix);

    if (!HasCurrent(h)) {
        for (std::size_t k = 4; k < kPositionSuffixes.size(); ++k) add(kPositionSuffixes[k], "");
        return out;
    }
    const StatisticalSummary& sum = stats.summary;
    const SectorStatistics& sec = stats.sectors;
    const std::string measured = sum.validSpeedCount != data.rangeCount
                                     ? kMeasurementsOpen + std::to_string(sum.validSpeedCount) + kMeasurementsClose
                                     : std::string();
    add("AvgC}", Fixed(sum.mean[0], 0, 1, decimalSeparator) + measured);
    add("RestC}", Fixed(stats.progressive.restSpeed, 3, 1, decimalSeparator) + measured);
    add("Neu}", Fixed(stats.progressive.neumann, 0, 3, decimalSeparator) + measured);
    add("MaxC}",
        Fixed(sum.maxSpeed, 0, 1, decimalSeparator) + " - " + Fixed(sum.significantMax, 0, 1, decimalSeparator));

    std::string directions;
    for (int sector : MainSectors(sec)) {
        if (!directions.empty()) directions += ", ";
        directions += std::to_string(sector * static_cast<int>(kSectorWidthDegrees));
    }
    add("HovedD}", directions);

    const SpeedClassRow& bounds = SpeedClassBounds(sec.speedRange);
    std::string classes;
    for (int c : MainClasses(sec)) {
        if (!classes.empty()) classes += ", ";
        classes += std::to_string(bounds[static_cast<std::size_t>(c)]) + "-" +
                   std::to_string(bounds[static_cast<std::size_t>(c) + 1]);
    }
    add("HovedC}", classes);
    add("MaxFlow}", FlowText(sec, LargestFluxSector(sec), days));
    add("MinFlow}", FlowText(sec, SmallestFluxSector(sec), days));
    add("AvgFlow}", std::to_string(RoundHalfEven(sec.totalWaterFlux / static_cast<double>(days))) + kFlowPerDay);
    const double pct0 = sec.classCount[0] / static_cast<double>(std::max(sum.validSpeedCount, 1)) * 100.0;
    add("Pct0}", Fixed(pct0, 0, 1, decimalSeparator) + " %");
    return out;
}

std::vector<Replacement> SiteReplacements(const ReportSiteFacts& facts, const CivilTime& today) {
    return {
        {"{corvanTotDyp}", facts.totalDepth},
        {"{corvanOfDyp}", facts.depth[0]},
        {"{corvanSpDyp}", facts.depth[1]},
        {"{corvanBnDyp}", facts.depth[2]},
        {"{corvanOfAdr}", facts.address[0]},
        {"{corvanSpAdr}", facts.address[1]},
        {"{corvanBnAdr}", facts.address[2]},
        {"{corvanUTM}", facts.utm},
        {"{corvanGPS}", facts.utm},
        {"{corvanSted}", facts.sted},
        {"{corvanKomm}", facts.kommune},
        {"{corvanFylke}", facts.fylke},
        {"{corvanDato}", ReportDateText(today)},
    };
}

SummaryTable ReportSummaryTable(const DataSet& data, const Statistics& stats, std::string_view decimalSeparator) {
    const SummaryPageTexts t = SummaryTexts(data, stats, decimalSeparator);
    SummaryTable table;
    table.cells.resize(t.validRowVisible ? 12 : 9);
    table.cells[0] = {"", kSummaryColumnTotal, kSummaryColumnEastWest, kSummaryColumnNorthSouth};
    // The page pads its numbers with spaces for a proportional font; the
    // table aligns them on its decimal tab instead.
    const auto row = [&](const char* caption, const std::string& total, const std::string& eastWest,
                         const std::string& northSouth) {
        return std::array<std::string, 4>{caption, Trimmed(total), Trimmed(eastWest), Trimmed(northSouth)};
    };
    table.cells[1] = row(kSummaryRowMean, t.mean[0], t.mean[2], t.mean[1]);
    table.cells[2] = row(kSummaryRowVariance, t.variance[0], t.variance[2], t.variance[1]);
    table.cells[3] = row(kSummaryRowStdDev, t.stdDev[0], t.stdDev[2], t.stdDev[1]);
    table.cells[4] = row(kSummaryRowRelStdDev, t.relStdDev[0], t.relStdDev[2], t.relStdDev[1]);
    table.cells[5] = row(kSummaryRowMaxSpeed, t.maxSpeed, "", "");
    table.cells[6] = row(kSummaryRowMinSpeed, t.minSpeed, "", "");
    table.cells[7] = row(kSummaryRowSignificantMax, t.significantMax, "", "");
    table.cells[8] = row(kSummaryRowSignificantMin, t.significantMin, "", "");
    for (int c = 1; c < 4; ++c) table.headerCells.emplace_back(0, c);
    if (t.validRowVisible) {
        table.cells[10] = {"", kValidVelocityCaption, kValidDirectionCaption, kValidTemperatureCaption};
        table.cells[11] = {kValidMeasurementsCaption, t.validSpeed, t.validDirection, t.validTemperature};
        for (int c = 1; c < 4; ++c) {
            table.headerCells.emplace_back(10, c);
            table.headerCells.emplace_back(11, c);
        }
    }
    return table;
}

}  // namespace corvan
