// The filter's and the search's text rules against the plain character rules
// on random titles; the characters keys add to the filter; Backspace.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "library/filter_text.h"
#include "platform/text.h"
#include "reference_text.h"

namespace vollo {
namespace {

using reference::randomText;

TEST(FilterText, FilterRowsAgreeWithTheCharacterRule) {
    initLocale();
    std::mt19937 rng(1234);
    for (int round = 0; round < 4; ++round) {
        std::vector<std::string> titles;
        for (int i = 0; i < 300; ++i) {
            titles.push_back(randomText(rng, 5));
        }
        // Titles equal once lower-cased, and titles that are prefixes of others.
        titles.insert(titles.end(), {"Abc", "ABC", "abc", "ab"});
        const TextColumn lower(reference::sortedLower(titles));

        std::vector<std::string> filters = {"#", "#1", "a", "A", "ab", "ABC", "\xC3", "\xC3\x89", " "};
        for (int f = 0; f < 60; ++f) {
            // Half are a title's first characters in another case, half are random.
            if (f % 2 == 0) {
                const std::vector<std::string> t = reference::characters(titles[rng() % titles.size()]);
                const std::size_t n = t.empty() ? 0 : rng() % (t.size() + 1);
                std::string filter;
                for (std::size_t k = 0; k < n; ++k) {
                    filter += (rng() % 2) ? reference::lower(t[k]) : t[k];
                }
                filters.push_back(filter);
            } else {
                filters.push_back(randomText(rng, 3));
            }
        }
        for (const std::string& filter : filters) {
            std::vector<std::size_t> expected;
            if (!filter.empty()) {
                for (std::size_t i = 0; i < titles.size(); ++i) {
                    if (reference::filterMatch(titles[i], filter)) {
                        expected.push_back(i);
                    }
                }
            }
            EXPECT_EQ(filterRows(lower, filter), expected) << "filter \"" << filter << "\"";
        }
    }
}

TEST(FilterText, SearchAgreesWithTheCharacterRule) {
    initLocale();
    std::mt19937 rng(99);
    for (int round = 0; round < 1500; ++round) {
        const std::string title = randomText(rng, 6);
        const std::string needle = randomText(rng, 2);
        EXPECT_EQ(containsCharacters(reference::lower(title), reference::lower(needle)),
                  reference::contains(title, needle))
            << "title \"" << title << "\" text \"" << needle << "\"";
    }
    // A byte that only looks like part of a character does not match inside it.
    EXPECT_FALSE(containsCharacters("caf\xC3\xA9", "\xA9") || containsCharacters("caf\xC3\xA9", "\xC3"));
    EXPECT_TRUE(containsCharacters("caf\xC3 x", "\xC3") && containsCharacters("anything", ""));
}

TEST(FilterText, DigitRowsStopAtTheByteAfterNine) {
    const TextColumn lower = {" 7 seas", "#1 hit", "0", "5 x", "9", "99", ":colon", "a1"};
    EXPECT_EQ(digitRows(lower), (RowRange{2, 6}));
    EXPECT_EQ(digitRows({}), (RowRange{0, 0}));
    EXPECT_EQ(prefixRows(lower, "9"), (RowRange{4, 6}));
    EXPECT_EQ(prefixRows(lower, "zz"), (RowRange{8, 8}));
}

TEST(FilterText, BackspaceTakesAWholeCharacter) {
    // 2 to 4 bytes; a stray continuation byte; a cut-off sequence; a surrogate.
    const std::pair<const char*, const char*> cases[] = {{"", ""},
                                                         {"a", ""},
                                                         {"abc", "ab"},
                                                         {"caf\xC3\xA9", "caf"},
                                                         {"x\xE2\x82\xAC", "x"},
                                                         {"x\xF0\x9D\x84\x9E", "x"},
                                                         {"x\xC3\xA9\xA9", "x\xC3\xA9"},
                                                         {"x\xE2\x82", "x\xE2"},
                                                         {"\xED\xA0\x80", "\xED\xA0"}};
    for (const auto& [text, left] : cases) {
        EXPECT_EQ(dropLastCharacter(text), left) << text;
    }
    EXPECT_TRUE(isCharBoundary("caf\xC3\xA9", 3) && isCharBoundary("caf\xC3\xA9", 5));
    EXPECT_FALSE(isCharBoundary("caf\xC3\xA9", 4) || isCharBoundary("abc", 4));
}

TEST(FilterKeyTest, EveryKeyCodeAddsTheCharacterItTypes) {
    std::map<int, std::string> typed;
    for (int k = 'A'; k <= 'Z'; ++k) {
        typed[k] = std::string(1, static_cast<char>(k - 'A' + 'a'));
    }
    for (int k = 0; k <= 9; ++k) {
        typed[48 + k] = typed[96 + k] = std::to_string(k);  // main keyboard, keypad
    }
    const std::string others =
        " *+-./;=,-./`[\\]'";  // key codes 32, 106 to 111 but 108, 186 to 192, 219 to 222
    const int codes[] = {32, 106, 107, 109, 110, 111, 186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222};
    for (std::size_t i = 0; i < others.size(); ++i) {
        typed[codes[i]] = others.substr(i, 1);
    }
    for (int k = 0; k < 256; ++k) {
        const auto it = typed.find(k);
        EXPECT_EQ(filterCharacterForKey(k), it == typed.end() ? "" : it->second) << "key code " << k;
    }
    EXPECT_EQ(filterCharacterForKey(-1) + filterCharacterForKey(65 + 256), "");  // outside the byte range
}

}  // namespace
}  // namespace vollo
