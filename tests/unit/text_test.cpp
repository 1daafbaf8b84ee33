// Letter case, the sorted-list order, numeric prefixes and number texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/text.h"

namespace vollo {
namespace {

class TextTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { initLocale(); }
};

TEST_F(TextTest, LowerCasesAsciiAndOtherLettersKeepingInvalidBytes) {
    EXPECT_EQ(lowerText("The ROAD 12"), "the road 12");
    EXPECT_EQ(lowerText("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");  // ÉTÉ -> été
    EXPECT_EQ(lowerText("A\xFF\xFE"
                        "B"),
              "a\xFF\xFE"
              "b");  // not UTF-8: bytes stay
    EXPECT_EQ(lowerText(""), "");
}

TEST_F(TextTest, SortedOrderIgnoresCaseThenUsesRawBytes) {
    std::vector<std::string> items = {"b",     "B",  "a", "Song 2", "Song", "song", "\xC3\x89t\xC3\xA9",
                                      "zebra", "_x", "1"};
    std::sort(items.begin(), items.end(), sortedLess);
    const std::vector<std::string> expected = {"1",    "_x",   "a",      "B",     "b",
                                               "Song", "song", "Song 2", "zebra", "\xC3\x89t\xC3\xA9"};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(compareSorted("Abc", "abc"), -1);
    EXPECT_EQ(compareSorted("abc", "abc"), 0);
    EXPECT_EQ(compareSorted("abd", "ABC"), 1);
}

TEST_F(TextTest, SortedOrderIsTotalAndMatchesLowerCasedComparison) {
    // Against a reference built from lowerText: random texts mixing ASCII,
    // accented letters and invalid bytes.
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a",        "A",        "b",    "B", " ", "1",
                                             "\xC3\xA9", "\xC3\x89", "\xFF", ":", "z"};
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 5);
        for (int k = 0; k < length; ++k) {
            text += pieces[random() % pieces.size()];
        }
        texts.push_back(text);
    }
    for (const auto& a : texts) {
        for (size_t j = 0; j < 40; ++j) {
            const auto& b = texts[j];
            const int lowered = lowerText(a).compare(lowerText(b));
            const int expected = lowered != 0 ? (lowered < 0 ? -1 : 1) : (a < b ? -1 : (a > b ? 1 : 0));
            ASSERT_EQ(compareSorted(a, b), expected) << a << " vs " << b;
        }
    }
}

TEST_F(TextTest, NumericPrefixReadsTheLeadingNumber) {
    EXPECT_EQ(numericPrefix("10"), 10);
    EXPECT_EQ(numericPrefix("  10  "), 10);
    EXPECT_EQ(numericPrefix("0012"), 12);
    EXPECT_EQ(numericPrefix("12.5"), 12.5);
    EXPECT_EQ(numericPrefix("-300"), -300);
    EXPECT_EQ(numericPrefix("12abc"), 12);
    EXPECT_EQ(numericPrefix(".5x"), 0.5);
    EXPECT_EQ(numericPrefix(""), 0);
    EXPECT_EQ(numericPrefix("abc"), 0);
    EXPECT_EQ(numericPrefix("-"), 0);
    EXPECT_EQ(numericPrefix("."), 0);
    EXPECT_EQ(numericPrefix("1e5"), 1);
    EXPECT_TRUE(isWholeNumber(" 12 "));
    EXPECT_TRUE(isWholeNumber("-4.25"));
    EXPECT_FALSE(isWholeNumber("12abc"));
    EXPECT_FALSE(isWholeNumber(""));
    EXPECT_FALSE(isWholeNumber("1 2"));
}

TEST_F(TextTest, NumbersAreWrittenAsPlainDecimalText) {
    EXPECT_EQ(formatNumber(1800), "1800");
    EXPECT_EQ(formatNumber(-300), "-300");
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatNumber(12.5), "12.5");
    EXPECT_EQ(formatSingle(2500.5f), "2500.5");
    EXPECT_EQ(formatSingle(0.1f), "0.1");
    EXPECT_EQ(formatSingle(-75.25f), "-75.25");
    EXPECT_EQ(fiveDigits(7), "00007");
    EXPECT_EQ(fiveDigits(123456), "123456");
}

TEST_F(TextTest, RoundsHalvesToEven) {
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(13.5), 14);
    EXPECT_EQ(roundHalfEven(-3008.5), -3008);
    EXPECT_EQ(roundHalfEven(2.4), 2);
}

TEST_F(TextTest, DisplayTextReplacesInvalidBytesOnly) {
    EXPECT_EQ(displayText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(displayText("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(displayText("\xC3"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vollo
