#include "core/countdown.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <string>

namespace {

std::string Clock(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

TEST(Countdown, StartsAtTwentyFiveMinutes) {
    EXPECT_EQ(tarvel::CountdownStart(), 0.017361111111111112);
    EXPECT_EQ(tarvel::FormatTimeLeft(tarvel::CountdownStart()), tarvel::kCountdownStartText);
}

TEST(Countdown, EveryTickShowsOneSecondLess) {
    double t = tarvel::CountdownStart();
    for (int k = 1; k <= 1500; ++k) {
        t = tarvel::CountdownTick(t);
        ASSERT_EQ(tarvel::FormatTimeLeft(t), Clock(1500 - k)) << "after " << k << " ticks";
    }
    EXPECT_EQ(tarvel::FormatTimeLeft(t), tarvel::kCountdownEndText);
}

struct FormatCase {
    double days;
    const char* shown;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.shown;
}

class FormatTimeLeftTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTimeLeftTest, RoundsToWholeMilliseconds) {
    EXPECT_EQ(tarvel::FormatTimeLeft(GetParam().days), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatTimeLeftTest,
    testing::Values(FormatCase{0.0, "0:00:00"}, FormatCase{-1e-12, "0:00:00"},
                    FormatCase{-0.4 / 86400000.0, "0:00:00"}, FormatCase{-1.0 / 86400.0, "0:00:00"},
                    FormatCase{59.9996 / 86400.0, "0:01:00"}, // 59 999.6 ms rounds up
                    FormatCase{59.9994 / 86400.0, "0:00:59"},
                    FormatCase{3599.0 / 86400.0, "0:59:59"}, FormatCase{1.5 / 24, "1:30:00"},
                    FormatCase{1.0, "24:00:00"}));

} // namespace
