#include "data/list_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvan {

namespace {

// Cuts a UTF-8 text to at most n characters; headers count characters, not
// bytes, so "L-F (µg/l)" keeps its closing bracket.
std::string CutUtf8(const std::string& s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n) return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

ListColumn FromDescriptor(ListColumnKind kind, const ChannelDescriptor& d) {
    const std::string header = CutUtf8(d.shortName, kListHeaderLength);
    return ListColumn{kind, false, d.width, d.decimals, header};
}

std::string Dash(int decimals) { return "-" + std::string(static_cast<std::size_t>(2 * decimals), ' '); }

bool LValid(float v) { return v < kLMissingThreshold && v > kInvalidValue; }

}  // namespace

std::string Trim(const std::string& text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

std::string FormatFixed(double value, int width, int decimals) {
    // Always a point, whatever the C library's numeric locale says: the
    // desktop runs with the user's locale and the list is defined with ".".
    // Room for every digit of the largest double, so no value is ever
    // dropped for want of space.
    char buf[400];
    std::size_t n = 0;
    if (!std::isfinite(value)) {
        buf[0] = '-';
        n = 1;
    } else {
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
        n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 0;
    }
    std::string out;
    if (static_cast<int>(n) < width) out.assign(static_cast<std::size_t>(width) - n, ' ');
    out.append(buf, n);
    return out;
}

std::string FormatPosition(double value) {
    // A damaged file can hold anything here; beyond the missing-position
    // threshold no position is meant, and the degrees would not fit an
    // integer.
    if (!std::isfinite(value) || std::fabs(value) >= kLMissingThreshold) return "-";
    // Minutes are rounded to the tenth shown before the degrees are split
    // off, so 59.96' becomes the next degree rather than "60.0'".
    const double tenths = std::round(std::fabs(value) * 10.0);
    const long long wholeDegrees = static_cast<long long>(tenths) / 600;
    const double minutes = (tenths - static_cast<double>(wholeDegrees) * 600.0) / 10.0;
    std::string minutesText = FormatFixed(minutes, 4, 1);
    if (minutesText[0] == ' ') minutesText[0] = '0';
    char buf[64];
    // The sign stays visible below one degree, where the degrees alone are 0.
    std::snprintf(buf, sizeof buf, "%s%lld\u00B0%s'", (value < 0.0 && tenths > 0.0) ? "-" : "", wholeDegrees,
                  minutesText.c_str());
    return buf;
}

std::string FormatListDate(const CivilTime& c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%s-%02d", c.day, MonthAbbreviation(c.month), c.year % 100);
    return buf;
}

std::string FormatListTime(const CivilTime& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", c.hour, c.minute);
    return buf;
}

std::vector<ListColumn> RebuildListColumns(const DataSet& data) {
    const MeasurementFileHeader& h = data.header;
    std::vector<ListColumn> cols;
    cols.reserve(kMaxListColumns);
    cols.push_back(FromDescriptor(ListColumnKind::Series, Channel(kChSeries)));
    cols.push_back(FromDescriptor(ListColumnKind::Measurement, Channel(kChMeasurement)));
    if (HasTemperature(h)) cols.push_back(FromDescriptor(ListColumnKind::Temperature, Channel(kChTemperature)));
    if (HasOptional(h)) {
        cols.push_back(FromDescriptor(ListColumnKind::Optional, data.OptionalChannel()));
        if (HasOxygen(h)) cols.push_back(FromDescriptor(ListColumnKind::OxygenMgL, Channel(kChOxMgL)));
    }
    if (HasCurrent(h)) {
        cols.push_back(FromDescriptor(ListColumnKind::Speed, Channel(kChSpeed)));
        cols.push_back(FromDescriptor(ListColumnKind::Direction, Channel(kChDirection)));
    }
    if (HasPositions(h)) {
        cols.push_back(FromDescriptor(ListColumnKind::Latitude, Channel(kChLatitude)));
        cols.push_back(FromDescriptor(ListColumnKind::Longitude, Channel(kChLongitude)));
    }
    if (HasFlux(h)) cols.push_back(FromDescriptor(ListColumnKind::Flux, data.FluxChannel()));
    if (HasOxygen(h)) cols.push_back(FromDescriptor(ListColumnKind::OxygenFlux, Channel(kChOxFlux)));
    const std::size_t channelsEnd = cols.size();
    cols.push_back(FromDescriptor(ListColumnKind::Date, Channel(kChDate)));
    cols.push_back(FromDescriptor(ListColumnKind::Time, Channel(kChTime)));

    if (data.lFilePresent && cols.size() > 4) {
        for (std::size_t j = 2; j < channelsEnd && cols.size() < static_cast<std::size_t>(kMaxListColumns); ++j) {
            ListColumn l = cols[j];
            l.fromLFile = true;
            l.header = CutUtf8("L-" + l.header, kListHeaderLength);
            cols.push_back(l);
        }
    }
    return cols;
}

std::string FormatListCell(const DataSet& data, const ListColumn& c, int i, int series) {
    const MeasurementRecord& r =
        c.fromLFile ? data.lRecords[static_cast<std::size_t>(i)] : data.records[static_cast<std::size_t>(i)];
    const int s = series >= 1 ? series : 1;
    if (!c.fromLFile) {
        switch (c.kind) {
            case ListColumnKind::Series:
                return series >= 1 ? FormatFixed(series, c.width, 0) : std::string();
            case ListColumnKind::Measurement:
                return FormatFixed(i + 1, c.width, 0);
            case ListColumnKind::Temperature:
                return IsValid(r.temperature) ? FormatFixed(r.temperature, c.width, c.decimals) : Dash(c.decimals);
            case ListColumnKind::Optional:
                return FormatFixed(r.optional, c.width, c.decimals);
            case ListColumnKind::OxygenMgL:
                // Without a temperature the solubility is meaningless.
                if (!IsValid(r.temperature)) return Dash(c.decimals);
                return FormatFixed(OxygenMgL(data, s, r.temperature, r.optional), c.width, c.decimals);
            case ListColumnKind::Speed:
                return IsValid(r.speed) ? FormatFixed(r.speed, c.width, c.decimals) : Dash(c.decimals);
            case ListColumnKind::Direction:
                return r.direction >= 0.0f ? FormatFixed(DirectionDegrees(r.direction), c.width, c.decimals) : "-";
            case ListColumnKind::Latitude:
                return r.speed > kLMissingThreshold ? "-" : FormatPosition(r.speed);
            case ListColumnKind::Longitude:
                return r.direction > kLMissingThreshold ? "-" : FormatPosition(r.direction);
            case ListColumnKind::Flux:
                if (!IsValid(r.speed)) return Dash(c.decimals);
                return FormatFixed(static_cast<double>(r.speed) * r.optional / 100.0, c.width, c.decimals);
            case ListColumnKind::OxygenFlux:
                if (!IsValid(r.speed) || !IsValid(r.temperature)) return Dash(c.decimals);
                return FormatFixed(OxygenMgL(data, s, r.temperature, r.optional) * r.speed / 100.0, c.width,
                                   c.decimals);
            case ListColumnKind::Date:
            case ListColumnKind::Time: {
                const CivilTime t = RecordTime(data, i, s).ToCivil();
                return c.kind == ListColumnKind::Date ? FormatListDate(t) : FormatListTime(t);
            }
        }
        return {};
    }
    switch (c.kind) {
        case ListColumnKind::Temperature:
            return LValid(r.temperature) ? FormatFixed(r.temperature, c.width, c.decimals) : Dash(c.decimals);
        case ListColumnKind::Optional:
            return r.optional < kLMissingThreshold ? FormatFixed(r.optional, c.width, c.decimals) : Dash(c.decimals);
        case ListColumnKind::OxygenMgL:
            if (!LValid(r.temperature) || r.optional >= kLMissingThreshold) return Dash(c.decimals);
            return FormatFixed(OxygenMgL(data, s, r.temperature, r.optional), c.width, c.decimals);
        case ListColumnKind::Speed:
            return LValid(r.speed) ? FormatFixed(r.speed, c.width, c.decimals) : Dash(c.decimals);
        case ListColumnKind::Direction:
            return (r.direction >= 0.0f && r.direction < kLMissingThreshold)
                       ? FormatFixed(DirectionDegrees(r.direction), c.width, c.decimals)
                       : "-";
        case ListColumnKind::Latitude:
            return LValid(r.speed) ? FormatPosition(r.speed) : "-";
        case ListColumnKind::Longitude:
            return LValid(r.direction) ? FormatPosition(r.direction) : "-";
        case ListColumnKind::Flux:
            if (!LValid(r.speed) || r.optional >= kLMissingThreshold) return Dash(c.decimals);
            return FormatFixed(static_cast<double>(r.speed) * r.optional / 100.0, c.width, c.decimals);
        case ListColumnKind::OxygenFlux:
            if (!LValid(r.speed) || !LValid(r.temperature) || r.optional >= kLMissingThreshold) return Dash(c.decimals);
            return FormatFixed(OxygenMgL(data, s, r.temperature, r.optional) * r.speed / 100.0, c.width, c.decimals);
        default:
            return {};
    }
}

void FormatListRow(const DataSet& data, const std::vector<ListColumn>& columns, int i, SeriesCursor& cursor,
                   std::vector<std::string>& cells, bool& startsSeries) {
    startsSeries = cursor.Advance(i);
    cells.resize(columns.size());
    for (std::size_t j = 0; j < columns.size(); ++j) cells[j] = FormatListCell(data, columns[j], i, cursor.Series());
}

}  // namespace corvan
