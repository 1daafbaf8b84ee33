// The player panel's time texts: minutes and seconds are rounded by different rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "playback/time_text.h"

namespace vollo {
namespace {

TEST(TimeText, MinutesRoundUpAtHalfSecondsRoundToEven) {
    EXPECT_EQ(timeText(125.4), "2:05");
    EXPECT_EQ(timeText(59.5), "1:00");  // 60 seconds to the even neighbour: a full minute
    EXPECT_EQ(timeText(58.5), "0:58");  // 58 is the even neighbour
    EXPECT_EQ(timeText(29.5), "0:30");
    EXPECT_EQ(timeText(30.5), "0:30");
    EXPECT_EQ(timeText(89.5), "1:30");
    EXPECT_EQ(timeText(118.5), "1:58");
    EXPECT_EQ(timeText(119.5), "2:00");
    EXPECT_EQ(timeText(3599.5), "60:00");
}

TEST(TimeText, PlainValues) {
    EXPECT_EQ(timeText(0), "0:00");
    EXPECT_EQ(timeText(0.4), "0:00");
    EXPECT_EQ(timeText(9), "0:09");
    EXPECT_EQ(timeText(60), "1:00");
    EXPECT_EQ(timeText(227), "3:47");
    EXPECT_EQ(timeText(6300), "105:00");
}

TEST(TimeText, ValuesNoPlayerShouldReportShowAsNothing) {
    EXPECT_EQ(timeText(std::numeric_limits<double>::quiet_NaN()), "0:00");
    EXPECT_EQ(timeText(std::numeric_limits<double>::infinity()), "0:00");
}

TEST(TimeText, RunningForm) {
    EXPECT_EQ(songTimeText(65.2, 227), "1:05 / 3:47 ");
    EXPECT_EQ(songTimeText(0.6, 0.4), "0:01 / 0:00 ");
}

}  // namespace
}  // namespace vollo
