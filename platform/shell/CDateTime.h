#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// A local wall-clock date and time to the second, with no time zone: the date-time value of
// the journal (a shortcut's last-write time, a day folder's date, the purge cut-off).
// The empty date (serial zero) is 30 December 1899, midnight; it means "no date".
class CDateTime {
public:
    CDateTime() = default;

    static CDateTime FromParts(int iYear, int iMonth, int iDay, int iHour = 0, int iMinute = 0,
                               int iSecond = 0);
    // Only when the parts name a real calendar date and a valid time of day.
    static std::optional<CDateTime> FromValidParts(int iYear, int iMonth, int iDay, int iHour = 0,
                                                   int iMinute = 0, int iSecond = 0);
    // Seconds since 1970-01-01 00:00:00 of the local wall clock.
    static CDateTime FromLocalSeconds(std::int64_t llSeconds);
    // A moment of the system clock (UTC epoch seconds) as the local wall clock shows it.
    static CDateTime FromUnixTime(std::time_t tTime);

    std::int64_t LocalSeconds() const { return m_llSeconds; }
    // The moment this local wall-clock time names, as UTC epoch seconds.
    std::time_t ToUnixTime() const;

    bool IsEmpty() const;
    int Year() const;
    int Month() const; // 1-12
    int Day() const;   // 1-31
    int Hour() const;
    int Minute() const;
    int Second() const;
    bool IsMidnight() const { return SecondsOfDay() == 0; }
    std::int64_t SecondsOfDay() const;
    // The date part alone (midnight).
    CDateTime DatePart() const;

    // Sums beyond the years 1 to 9999 stop at the first or last second of that range, so a
    // span of any size (a hand-edited age in days) still gives a date in calendar order.
    CDateTime AddSeconds(std::int64_t llSeconds) const;
    CDateTime AddDays(std::int64_t llDays) const;

    // "yyyy", the English month name of "mmmm", "dd" (the repository's folder names).
    std::string YearText() const;
    std::string MonthName() const;
    std::string DayText() const;
    // 1-12 for an English month name (any letter case), 0 otherwise.
    static int MonthFromName(const std::string& sName);
    static const char* MonthNameOf(int iMonth);

    // "yyyy-mm-dd hh:mm:ss"
    std::string ToIsoText() const;

    auto operator<=>(const CDateTime&) const = default;

private:
    explicit CDateTime(std::int64_t llSeconds) : m_llSeconds(llSeconds) {}

    // Seconds since the Unix epoch of the wall clock; the empty date is its own value.
    std::int64_t m_llSeconds = EmptySeconds;
    static constexpr std::int64_t EmptySeconds = -2209161600LL; // 1899-12-30 00:00:00
};
