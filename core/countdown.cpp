#include "core/countdown.h"

#include <cmath>
#include <cstdio>

namespace tarvel {

namespace {
constexpr double kSecondsPerDay = 86400.0;
constexpr double kMillisecondsPerDay = 86400000.0;
} // namespace

double CountdownStart() {
    return 1500000.0 / kMillisecondsPerDay;
}

double CountdownTick(double timeLeft) {
    return (timeLeft * kSecondsPerDay - 1) / kSecondsPerDay;
}

std::string FormatTimeLeft(double timeLeft) {
    long long ms = std::llround(timeLeft * kMillisecondsPerDay);
    if (ms < 0) {
        ms = 0;
    }
    const long long totalSeconds = ms / 1000;
    const long long hours = totalSeconds / 3600;
    const long long minutes = totalSeconds / 60 % 60;
    const long long seconds = totalSeconds % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, seconds);
    return text;
}

} // namespace tarvel
