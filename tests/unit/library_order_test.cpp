// The library order on entries made in memory, in cases written out by hand
// and split into two runs at every point (large runs: library_scan_test).
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace vollo
