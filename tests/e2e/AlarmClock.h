// Times for the scenarios that wait for a real alarm minute: now, a time moved by seconds, and the
// texts a user types and the program shows for a time.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace e2e {

inline SYSTEMTIME Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

// A local time moved by whole seconds.
inline SYSTEMTIME AddSeconds(const SYSTEMTIME& t, long long seconds) {
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER u{};
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    u.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    SYSTEMTIME r;
    FileTimeToSystemTime(&ft, &r);
    return r;
}

inline long long MsBetween(const SYSTEMTIME& from, const SYSTEMTIME& to) {
    auto ticks = [](const SYSTEMTIME& t) {
        FILETIME ft;
        SystemTimeToFileTime(&t, &ft);
        return static_cast<long long>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    };
    return (ticks(to) - ticks(from)) / 10000;
}

// "7:05 PM", as the program writes alarm times.
inline std::string AlarmText(const SYSTEMTIME& t) {
    int h = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d %s", h, t.wMinute, t.wHour < 12 ? "AM" : "PM");
    return buf;
}

// "07:05", what a user types into the time box (the hour in two digits, as its caption asks).
inline std::string TypedText(const SYSTEMTIME& t) {
    int h = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", h, t.wMinute);
    return buf;
}

}  // namespace e2e
