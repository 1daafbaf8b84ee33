// Letter case and the sorted-list order against an independent reference;
// numbers read and written, at the edges of their range too; time texts.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>

#include <limits>
#include "platform/text.h"
#include "playback/time_text.h"
#include "reference_text.h"

namespace vollo {
namespace {

TEST(Text, LowerCaseAndOrderAgreeWithTheReference) {
    initLocale();
    std::mt19937 rng(7);
    std::vector<std::string> texts = {"", "ZZ", "\xC3\x89Z", "\xFFZ", "Song", "song", "Song 2", "_x"};
    for (int i = 0; i < 300; ++i) {
        texts.push_back(reference::randomText(rng, 5));
    }
    for (const auto& a : texts) {
        ASSERT_EQ(lowerText(a), reference::lower(a)) << a;
        for (std::size_t j = 0; j < 30; ++j) {
            const auto& b = texts[j];
            const int expected = reference::sortedBefore(a, b) ? -1 : reference::sortedBefore(b, a) ? 1 : 0;
            ASSERT_EQ(compareSorted(a, b), expected) << a << " vs " << b;
            ASSERT_EQ(sortedLess(a, b), expected < 0) << a << " vs " << b;
        }
    }
}

TEST(Text, NumbersReadAndWrittenAndShownTexts) {
    const std::pair<const char*, double> prefixes[] = {
        {"10", 10},   {"  10  ", 10}, {"0012", 12}, {"12.5", 12.5}, {"-300", -300}, {"12abc", 12},
        {".5x", 0.5}, {"", 0},        {"abc", 0},   {"-", 0},       {".", 0},       {"1e5", 1}};
    for (const auto& [text, value] : prefixes) {
        EXPECT_EQ(numericPrefix(text), value) << text;
    }
    for (const auto& [text, whole] : std::vector<std::pair<const char*, bool>>{
             {" 12 ", true}, {"-4.25", true}, {"12abc", false}, {"", false}, {"1 2", false}}) {
        EXPECT_EQ(isWholeNumber(text), whole) << text;
    }
    for (const auto& [value, text] : std::vector<std::pair<double, const char*>>{
             {1800, "1800"}, {-300, "-300"}, {-0.0, "0"}, {12.5, "12.5"}}) {
        EXPECT_EQ(formatNumber(value), text);
    }
    EXPECT_EQ(formatSingle(2500.5f) + " " + formatSingle(0.1f) + " " + formatSingle(-75.25f),
              "2500.5 0.1 -75.25");
    EXPECT_EQ(fiveDigits(7) + " " + fiveDigits(123456), "00007 123456");
    for (const auto& [value, rounded] :
         std::vector<std::pair<double, double>>{{12.5, 12}, {13.5, 14}, {-3008.5, -3008}, {2.4, 2}}) {
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(displayText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(displayText("a\xFF\xC3"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    // Written numbers are plain decimals that read back the same.
    for (const double v : {5e69, 5e-20, -1e-300, DBL_MAX, -DBL_MAX, DBL_TRUE_MIN, 0.1, 12.5, -300.0, 1e22}) {
        const std::string text = formatNumber(v);
        EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
        EXPECT_EQ(numericPrefix(text), v) << text;
    }
    for (const float v : {FLT_MAX, -FLT_MAX, FLT_TRUE_MIN, 0.1f, 4185.5f, -1e-30f}) {
        EXPECT_EQ(static_cast<float>(numericPrefix(formatSingle(v))), v) << formatSingle(v);
    }
    EXPECT_EQ(formatNumber(5e69), "5" + std::string(69, '0'));
    EXPECT_EQ(formatSingle(-INFINITY), formatSingle(-FLT_MAX));
    EXPECT_EQ(numericPrefix("1" + std::string(400, '0')), DBL_MAX);
}

// Minutes round up from a half second, seconds to the nearest whole with
// halves to even; what no player should report shows as nothing.
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
