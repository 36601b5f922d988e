#include "data/date_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace corvan {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

// 1899-12-30 as days since the Unix epoch.
constexpr std::int64_t kEpochOffsetDays = -25569;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

std::optional<DateTime> DateTime::FromCivil(const CivilTime& c) {
    if (!IsValidDate(c.year, c.month, c.day)) return std::nullopt;
    if (c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 || c.second < 0 || c.second > 59) {
        return std::nullopt;
    }
    const year_month_day ymd{std::chrono::year{c.year}, std::chrono::month{static_cast<unsigned>(c.month)},
                             std::chrono::day{static_cast<unsigned>(c.day)}};
    const std::int64_t unixDays = sys_days{ymd}.time_since_epoch().count();
    const std::int64_t d = unixDays - kEpochOffsetDays;
    return DateTime(d * 86400 + c.hour * 3600 + c.minute * 60 + c.second);
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
    // Fixed widths, so "2014-5-1" or a stray character is refused rather
    // than read as some other time.
    auto digits = [&](std::size_t at, std::size_t width, int& value) {
        if (at + width > text.size()) return false;
        value = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            value = value * 10 + (text[i] - '0');
        }
        return true;
    };
    CivilTime c;
    if (!digits(0, 4, c.year) || text.size() < 10 || text[4] != '-' || !digits(5, 2, c.month) || text[7] != '-' ||
        !digits(8, 2, c.day)) {
        return std::nullopt;
    }
    c.hour = c.minute = c.second = 0;
    if (text.size() > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || !digits(11, 2, c.hour) || text.size() < 16 || text[13] != ':' ||
            !digits(14, 2, c.minute)) {
            return std::nullopt;
        }
        if (text.size() > 16 && (text.size() != 19 || text[16] != ':' || !digits(17, 2, c.second))) return std::nullopt;
    }
    return DateTime::FromCivil(c);
}

DateTime DateTime::FromDays(double d) { return DateTime(static_cast<std::int64_t>(std::llround(d * 86400.0))); }

CivilTime DateTime::ToCivil() const {
    // A damaged series header can push record times far off the calendar;
    // they are shown at its ends (0001-01-01, 9999-12-31) rather than
    // overflowing the civil arithmetic.
    constexpr std::int64_t kFirstDay = -693593;  // 0001-01-01
    constexpr std::int64_t kLastDay = 2958465;   // 9999-12-31
    const std::int64_t s = std::clamp<std::int64_t>(seconds_, kFirstDay * 86400, kLastDay * 86400 + 86399);
    const std::int64_t d = FloorDiv(s, 86400);
    const std::int64_t secOfDay = s - d * 86400;
    const sys_days sd{days{d + kEpochOffsetDays}};
    const year_month_day ymd{sd};
    CivilTime c;
    c.year = static_cast<int>(ymd.year());
    c.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    c.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    c.hour = static_cast<int>(secOfDay / 3600);
    c.minute = static_cast<int>((secOfDay / 60) % 60);
    c.second = static_cast<int>(secOfDay % 60);
    return c;
}

std::string DateTime::Iso() const {
    const CivilTime c = ToCivil();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return buf;
}

int TwoDigitYear(int y) { return y >= 60 ? 1900 + y : 2000 + y; }

const char* MonthAbbreviation(int month) {
    static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) return "";
    return kMonths[month - 1];
}

DateTime LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    const CivilTime c{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59)};
    return DateTime::FromCivil(c).value_or(DateTime());
}

}  // namespace corvan
