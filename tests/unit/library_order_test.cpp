// The library order on entries made in memory: small cases whose order is
// written out by hand, and a large one (through the radix sort and the merge
// of two runs) against a comparison that lower-cases ASCII by itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "library/library_order.h"
#include "platform/text.h"
#include "reference_text.h"

namespace vollo {
namespace {

struct Entry {
    std::string file;
    std::string dir;
};

Collection collect(const std::vector<Entry>& entries) {
    Collection all;
    for (const Entry& entry : entries) {
        all.addFile(entry.file, all.addDir(entry.dir));
    }
    return all;
}

// The entries in the order the library lists them, as "file|dir".
std::vector<std::string> listed(const ScannedLibrary& library) {
    std::vector<std::string> keys;
    for (std::size_t row = 0; row < library.size(); ++row) {
        keys.push_back(library.keyText(row));
        EXPECT_EQ(library.title(row), library.file(row).substr(0, library.file(row).size() - 4));
        EXPECT_EQ(library.lowerTitles[row], reference::lower(std::string(library.title(row))));
    }
    return keys;
}

ScannedLibrary sorted(const std::vector<Entry>& first, const std::vector<Entry>& second = {}) {
    Run a{collect(first), {}};
    Run b{collect(second), {}};
    a.order = libraryOrder(a.all);
    b.order = libraryOrder(b.all);
    return mergeRuns(a, b);
}

TEST(LibraryOrder, SmallCasesInTheOrderWrittenOut) {
    initLocale();
    struct Case {
        const char* what;
        std::vector<Entry> entries;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"titles ignore case; equal ones go by the raw title",
         {{"b.mp3", "/m/"}, {"a.mp3", "/m/"}, {"A.mp3", "/m/"}},
         {"A.mp3|/m/", "a.mp3|/m/", "b.mp3|/m/"}},
        {"equal lower-cased titles go by the lower-cased key before the raw title",
         {{"song.mp3", "/z/"}, {"Song.wav", "/a/"}, {"SONG.mp3", "/Z/"}},
         {"SONG.mp3|/Z/", "song.mp3|/z/", "Song.wav|/a/"}},
        {"a title that is a prefix of another comes first",
         {{"ab.mp3", "/m/"}, {"a.mp3", "/m/"}, {"a .mp3", "/m/"}},
         {"a.mp3|/m/", "a .mp3|/m/", "ab.mp3|/m/"}},
        {"titles equal in their first 16 bytes",
         {{"A long common beginning y.mp3", "/m/"}, {"a LONG common beginning X.mp3", "/m/"}},
         {"a LONG common beginning X.mp3|/m/", "A long common beginning y.mp3|/m/"}},
        {"letters beyond ASCII lower-case too and sort by their bytes",
         {{"\xC3\xA9toile.mp3", "/m/"}, {"Zed.mp3", "/m/"}, {"\xC3\x89toile.mp3", "/m/"}},
         {"Zed.mp3|/m/", "\xC3\x89toile.mp3|/m/", "\xC3\xA9toile.mp3|/m/"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listed(sorted(c.entries)), c.expected) << c.what;
        // Split in two runs at every point, the merge gives the same order.
        for (std::size_t at = 0; at <= c.entries.size(); ++at) {
            const std::vector<Entry> head(c.entries.begin(), c.entries.begin() + static_cast<long>(at));
            const std::vector<Entry> tail(c.entries.begin() + static_cast<long>(at), c.entries.end());
            EXPECT_EQ(listed(sorted(tail, head)), c.expected) << c.what << ", split at " << at;
        }
    }
}

std::string asciiLower(std::string text) {
    for (char& c : text) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return text;
}

TEST(LibraryOrder, ThousandsOfAsciiNamesInTwoRuns) {
    // Few letters after beginnings of 0, 8, 12 and over 16 bytes: titles
    // first differ in either half of the sorted prefix and after it.
    std::mt19937 random(5);
    const std::string letters = "aAbB |";
    const char* const beginnings[] = {"", "Eight ch", "Twelve chars", "Common Beginning Of Sixteen"};
    std::vector<Entry> entries;
    for (int i = 0; i < 3000; ++i) {
        std::string title = beginnings[i % 4];
        for (int k = static_cast<int>(random() % 5); k >= 0; --k) {
            title += letters[random() % letters.size()];
        }
        entries.push_back({title + (i % 2 ? ".mp3" : ".WAV"), i % 4 ? "/Music/" : "/music/"});
    }
    std::vector<std::string> expected;
    std::vector<Entry> inOrder = entries;
    std::stable_sort(inOrder.begin(), inOrder.end(), [](const Entry& a, const Entry& b) {
        const std::string titleA = a.file.substr(0, a.file.size() - 4);
        const std::string titleB = b.file.substr(0, b.file.size() - 4);
        const std::string keyA = a.file + "|" + a.dir;
        const std::string keyB = b.file + "|" + b.dir;
        if (asciiLower(titleA) != asciiLower(titleB)) {
            return asciiLower(titleA) < asciiLower(titleB);
        }
        if (asciiLower(keyA) != asciiLower(keyB)) {
            return asciiLower(keyA) < asciiLower(keyB);
        }
        return titleA != titleB ? titleA < titleB : keyA < keyB;
    });
    for (const Entry& entry : inOrder) {
        expected.push_back(entry.file + "|" + entry.dir);
    }
    const std::vector<Entry> first(entries.begin(), entries.begin() + 1000);
    const std::vector<Entry> second(entries.begin() + 1000, entries.end());
    EXPECT_EQ(listed(sorted(first, second)), expected);
}

}  // namespace
}  // namespace vollo
