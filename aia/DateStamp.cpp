#include "DateStamp.h"

#include <chrono>
#include <cstdio>

std::optional<std::string> FormatDateStamp(std::int64_t seconds) {
    using namespace std::chrono;
    // Days and the time of day by the proleptic Gregorian calendar, which needs no time zone
    // database and no time_t of the platform's width. The year range keeps the sums in range.
    constexpr std::int64_t kSecondsPerDay = 86'400;
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    // 0000-01-01 lies 719,528 days before 1970 and 9999-12-31 2,932,896 days after: a wider
    // guard keeps the calendar's arithmetic in range, the year check gives the exact limits.
    if (days < -800'000 || days > 3'000'000) return std::nullopt;
    const year_month_day date{sys_days{std::chrono::days{days}}};
    const int year = static_cast<int>(date.year());
    if (year < 0 || year > 9999) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u%02d%02d%02d+0000", year,
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return text;
}
