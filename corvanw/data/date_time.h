#pragma once
// The one date-time value of the program: whole seconds since 1899-12-30
// 00:00, the epoch of the stored day fractions, with civil conversions.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvan {

struct CivilTime {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class DateTime {
public:
    constexpr DateTime() = default;
    static constexpr DateTime FromSeconds(std::int64_t s) { return DateTime(s); }
    // Fails for dates that are not on the calendar or times out of range.
    static std::optional<DateTime> FromCivil(const CivilTime& c);
    // Days and their fraction since 1899-12-30, rounded to whole seconds.
    static DateTime FromDays(double days);

    constexpr std::int64_t Seconds() const { return seconds_; }
    double Days() const { return static_cast<double>(seconds_) / 86400.0; }
    CivilTime ToCivil() const;

    constexpr DateTime AddSeconds(std::int64_t s) const { return DateTime(seconds_ + s); }
    friend constexpr bool operator==(DateTime a, DateTime b) = default;
    friend constexpr auto operator<=>(DateTime a, DateTime b) = default;

    // "YYYY-MM-DDTHH:MM:SS"
    std::string Iso() const;

private:
    constexpr explicit DateTime(std::int64_t s) : seconds_(s) {}
    std::int64_t seconds_ = 0;
};

// A time as a user types it: "YYYY-MM-DD", optionally followed by a blank
// or "T" and "HH:MM" or "HH:MM:SS". nullopt for anything else, including a
// date that is not on the calendar.
std::optional<DateTime> ParseDateTime(std::string_view text);

bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);

// 60..99 -> 1960..1999, 0..59 -> 2000..2059.
int TwoDigitYear(int y);

// "Jan" .. "Dec"; empty for a month outside 1..12.
const char* MonthAbbreviation(int month);

// The machine's local date and time, to the second; a leap second counts as
// the 59th.
DateTime LocalNow();

}  // namespace corvan
