// The 25-minute countdown: time as a floating-point number of days, shown as H:MM:SS.
#pragma once

#include <string>

namespace tarvel {

inline constexpr const char* kCountdownStartText = "0:25:00";
inline constexpr const char* kCountdownEndText = "0:00:00";

// 25 minutes as a fraction of a day: 1 500 000 ms / 86 400 000 ms.
double CountdownStart();

// One second less: (t * 86400 - 1) / 86400.
double CountdownTick(double timeLeft);

// Rounds to whole milliseconds and writes H:MM:SS (hours without a leading zero).
std::string FormatTimeLeft(double timeLeft);

} // namespace tarvel
