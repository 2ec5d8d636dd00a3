#include "platform/shell/CDateTime.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <strings.h>

namespace {
constexpr std::int64_t SecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

std::chrono::year_month_day CivilOf(std::int64_t llSeconds) {
    const std::int64_t llDays = FloorDiv(llSeconds, SecondsPerDay);
    return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{llDays}}};
}

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
} // namespace

CDateTime CDateTime::FromParts(int iYear, int iMonth, int iDay, int iHour, int iMinute,
                               int iSecond) {
    using namespace std::chrono;
    const sys_days d =
        year{iYear} / month{static_cast<unsigned>(iMonth)} / day{static_cast<unsigned>(iDay)};
    return CDateTime(static_cast<std::int64_t>(d.time_since_epoch().count()) * SecondsPerDay +
                     iHour * 3600LL + iMinute * 60LL + iSecond);
}

std::optional<CDateTime> CDateTime::FromValidParts(int iYear, int iMonth, int iDay, int iHour,
                                                   int iMinute, int iSecond) {
    using namespace std::chrono;
    if (iYear < 1 || iYear > 9999 || iMonth < 1 || iMonth > 12 || iDay < 1 || iDay > 31) {
        return std::nullopt;
    }
    const year_month_day ymd{year{iYear}, month{static_cast<unsigned>(iMonth)},
                             day{static_cast<unsigned>(iDay)}};
    if (!ymd.ok() || iHour < 0 || iHour > 23 || iMinute < 0 || iMinute > 59 || iSecond < 0 ||
        iSecond > 59) {
        return std::nullopt;
    }
    return FromParts(iYear, iMonth, iDay, iHour, iMinute, iSecond);
}

CDateTime CDateTime::FromLocalSeconds(std::int64_t llSeconds) {
    return CDateTime(llSeconds);
}

CDateTime CDateTime::FromUnixTime(std::time_t tTime) {
    // The local clock's offset from UTC changes only on the hour or half hour, so it is looked
    // up once per half hour: reading the times of a folder of shortcuts stays cheap.
    struct SOffset {
        std::time_t tBucket = -1;
        long lOffset = 0;
    };
    static thread_local std::array<SOffset, 64> aOffsets;
    const std::time_t tBucket = tTime >= 0 ? tTime / 1800 : -1 - (-1 - tTime) / 1800;
    SOffset& oOffset = aOffsets[static_cast<size_t>(tBucket & 63)];
    if (oOffset.tBucket != tBucket) {
        std::tm tmLocal{};
        localtime_r(&tTime, &tmLocal);
        oOffset.tBucket = tBucket;
        oOffset.lOffset = tmLocal.tm_gmtoff;
    }
    return CDateTime(static_cast<std::int64_t>(tTime) + oOffset.lOffset);
}

std::time_t CDateTime::ToUnixTime() const {
    std::tm tmLocal{};
    tmLocal.tm_year = Year() - 1900;
    tmLocal.tm_mon = Month() - 1;
    tmLocal.tm_mday = Day();
    tmLocal.tm_hour = Hour();
    tmLocal.tm_min = Minute();
    tmLocal.tm_sec = Second();
    tmLocal.tm_isdst = -1;
    return mktime(&tmLocal);
}

bool CDateTime::IsEmpty() const {
    return m_llSeconds == EmptySeconds;
}
int CDateTime::Year() const {
    return static_cast<int>(CivilOf(m_llSeconds).year());
}
int CDateTime::Month() const {
    return static_cast<int>(static_cast<unsigned>(CivilOf(m_llSeconds).month()));
}
int CDateTime::Day() const {
    return static_cast<int>(static_cast<unsigned>(CivilOf(m_llSeconds).day()));
}
std::int64_t CDateTime::SecondsOfDay() const {
    return m_llSeconds - FloorDiv(m_llSeconds, SecondsPerDay) * SecondsPerDay;
}
int CDateTime::Hour() const {
    return static_cast<int>(SecondsOfDay() / 3600);
}
int CDateTime::Minute() const {
    return static_cast<int>(SecondsOfDay() / 60 % 60);
}
int CDateTime::Second() const {
    return static_cast<int>(SecondsOfDay() % 60);
}
CDateTime CDateTime::DatePart() const {
    return CDateTime(m_llSeconds - SecondsOfDay());
}
CDateTime CDateTime::AddSeconds(std::int64_t llSeconds) const {
    static const std::int64_t llFirst = FromParts(1, 1, 1).m_llSeconds;
    static const std::int64_t llLast = FromParts(9999, 12, 31, 23, 59, 59).m_llSeconds;
    std::int64_t llSum = 0;
    if (__builtin_add_overflow(m_llSeconds, llSeconds, &llSum)) {
        llSum = llSeconds < 0 ? llFirst : llLast;
    }
    return CDateTime(std::clamp(llSum, llFirst, llLast));
}

CDateTime CDateTime::AddDays(std::int64_t llDays) const {
    std::int64_t llSeconds = 0;
    if (__builtin_mul_overflow(llDays, SecondsPerDay, &llSeconds)) {
        llSeconds = llDays < 0 ? INT64_MIN : INT64_MAX;
    }
    return AddSeconds(llSeconds);
}

std::string CDateTime::YearText() const {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%04d", Year());
    return sz;
}
std::string CDateTime::MonthName() const {
    return MonthNameOf(Month());
}
std::string CDateTime::DayText() const {
    char sz[8];
    std::snprintf(sz, sizeof sz, "%02d", Day());
    return sz;
}

const char* CDateTime::MonthNameOf(int iMonth) {
    return (iMonth >= 1 && iMonth <= 12) ? MonthNames[static_cast<size_t>(iMonth - 1)] : "";
}

int CDateTime::MonthFromName(const std::string& sName) {
    for (size_t i = 0; i < MonthNames.size(); ++i) {
        if (strcasecmp(sName.c_str(), MonthNames[i]) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::string CDateTime::ToIsoText() const {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", Year(), Month(), Day(), Hour(),
                  Minute(), Second());
    return sz;
}
