// The player panel's time texts: minutes round up from a half second, seconds
// to the nearest whole with halves to even; what no player should report
// shows as nothing.
#include <gtest/gtest.h>

#include <limits>

#include "playback/time_text.h"

namespace vollo {
namespace {

TEST(TimeText, MinutesAndSecondsRoundByTheirOwnRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> cases[] = {
        {125.4, "2:05"}, {59.5, "1:00"},   {58.5, "0:58"},    {29.5, "0:30"}, {30.5, "0:30"}, {89.5, "1:30"},
        {118.5, "1:58"}, {119.5, "2:00"},  {3599.5, "60:00"}, {0, "0:00"},    {0.4, "0:00"},  {9, "0:09"},
        {227, "3:47"},   {6300, "105:00"}, {nan, "0:00"},     {inf, "0:00"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(timeText(seconds), text) << seconds;
    }
    EXPECT_EQ(songTimeText(65.2, 227), "1:05 / 3:47 ");
    EXPECT_EQ(songTimeText(0.6, 0.4), "0:01 / 0:00 ");
}

}  // namespace
}  // namespace vollo
