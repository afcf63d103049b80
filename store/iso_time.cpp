#include "store/iso_time.h"

#include <chrono>
#include <cstdio>

namespace {

using namespace std::chrono;

// Reads exactly `digits` decimal digits at `at`, moving past them.
bool Digits(const std::string& text, std::size_t& at, int digits, int& value) {
    if (text.size() < at + static_cast<std::size_t>(digits)) {
        return false;
    }
    value = 0;
    for (int i = 0; i < digits; ++i, ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

bool Take(const std::string& text, std::size_t& at, char expected) {
    if (at < text.size() && text[at] == expected) {
        ++at;
        return true;
    }
    return false;
}

// The time of day after the date: hh:mm, then optional :ss and fractions.
bool TimeOfDay(const std::string& text, std::size_t& at, milliseconds& time) {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    if (!Digits(text, at, 2, hours) || !Take(text, at, ':') || !Digits(text, at, 2, minutes) ||
        hours > 23 || minutes > 59) {
        return false;
    }
    int millis = 0;
    if (Take(text, at, ':')) {
        if (!Digits(text, at, 2, seconds) || seconds > 59) {
            return false;
        }
        if (Take(text, at, '.') || Take(text, at, ',')) {
            int scale = 100;
            const std::size_t first = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
                millis += (text[at] - '0') * scale;
                scale /= 10;
                ++at;
            }
            if (at == first) {
                return false;
            }
        }
    }
    time = hours * 1h + minutes * 1min + seconds * 1s + milliseconds(millis);
    return true;
}

// "Z", "+hh:mm", "-hh:mm", "+hhmm", "+hh" or nothing; the offset east of UTC.
bool Zone(const std::string& text, std::size_t& at, minutes& offset) {
    offset = 0min;
    if (at == text.size() || Take(text, at, 'Z') || Take(text, at, 'z')) {
        return at == text.size();
    }
    const bool east = text[at] == '+';
    if (!Take(text, at, '+') && !Take(text, at, '-')) {
        return false;
    }
    int hours = 0;
    int mins = 0;
    if (!Digits(text, at, 2, hours)) {
        return false;
    }
    if (at < text.size()) {
        Take(text, at, ':');
        if (!Digits(text, at, 2, mins)) {
            return false;
        }
    }
    if (hours > 23 || mins > 59 || at != text.size()) {
        return false;
    }
    offset = (east ? 1 : -1) * (hours * 60min + minutes(mins));
    return true;
}

}  // namespace

std::string FormatIsoUtc(std::int64_t millisecondsSinceEpoch) {
    const sys_time<milliseconds> time{milliseconds(millisecondsSinceEpoch)};
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char text[40];
    std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::optional<std::int64_t> ParseIsoUtc(const std::string& text) {
    std::size_t at = 0;
    int y = 0;
    int m = 0;
    int d = 0;
    if (!Digits(text, at, 4, y) || !Take(text, at, '-') || !Digits(text, at, 2, m) ||
        !Take(text, at, '-') || !Digits(text, at, 2, d)) {
        return std::nullopt;
    }
    const year_month_day date{year(y), month(static_cast<unsigned>(m)),
                              day(static_cast<unsigned>(d))};
    if (!date.ok()) {
        return std::nullopt;
    }
    milliseconds time{0};
    if ((Take(text, at, 'T') || Take(text, at, 't') || Take(text, at, ' ')) &&
        !TimeOfDay(text, at, time)) {
        return std::nullopt;
    }
    minutes offset{0};
    if (!Zone(text, at, offset)) {
        return std::nullopt;
    }
    const sys_time<milliseconds> utc = sys_days(date) + time - offset;
    return utc.time_since_epoch().count();
}

std::int64_t StoreClockNow() {
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
