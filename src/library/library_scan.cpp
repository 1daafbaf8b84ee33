#include "library/library_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "app/frm_main.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

bool isPlayableName(const std::string& fileName, bool withAvi) {
    if (fileName.size() < 4) {
        return false;  // the last four characters would be the whole name, and none is a playable one
    }
    char ext[4];
    for (int i = 0; i < 4; ++i) {
        const char c = fileName[fileName.size() - 4 + static_cast<size_t>(i)];
        ext[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    const std::string_view e(ext, 4);
    return e == ".mp3" || e == ".wav" || e == ".mid" || (withAvi && e == ".avi");
}

namespace {

// Sorting 100,000 titles is the scan's largest cost: sort small records by the
// first 16 bytes of the lower-cased title held as two integers, and compare the
// whole texts only where those are equal.
struct SortRecord {
    std::uint64_t high;
    std::uint64_t low;
    std::uint32_t index;
};

std::uint64_t bigEndianBytes(const std::string& text, size_t from) {
    std::uint64_t value = 0;
    for (size_t i = 0; i < 8; ++i) {
        const size_t at = from + i;
        value = (value << 8) | (at < text.size() ? static_cast<unsigned char>(text[at]) : 0u);
    }
    return value;
}

struct Collected {
    std::vector<std::string> titles;
    std::vector<std::string> lowerTitles;
    std::vector<EntryKey> keys;

    void add(std::string name, const std::string& dir) {
        titles.push_back(titleOf(name));
        lowerTitles.push_back(lowerText(titles.back()));
        keys.push_back(EntryKey{std::move(name), dir});
    }
};

void collectDirectory(Collected& into, const std::string& dir, bool withAvi) {
    for (auto& name : listFiles(dir)) {
        if (isPlayableName(name, withAvi)) {
            into.add(std::move(name), dir);
        }
    }
}

ScannedLibrary sortCollected(Collected& items) {
    const size_t n = items.titles.size();
    std::vector<SortRecord> records(n);
    for (size_t i = 0; i < n; ++i) {
        const std::string& lower = items.lowerTitles[i];
        records[i] = {bigEndianBytes(lower, 0), bigEndianBytes(lower, 8), static_cast<std::uint32_t>(i)};
    }
    // Lower-cased title, then lower-cased key, then the raw bytes of both: the
    // order a sorted list gives titles, with equal titles ordered by key.
    auto fullLess = [&items](std::uint32_t a, std::uint32_t b) {
        if (const int c = items.lowerTitles[a].compare(items.lowerTitles[b]); c != 0) {
            return c < 0;
        }
        const std::string keyA = items.keys[a].text();
        const std::string keyB = items.keys[b].text();
        if (const int c = lowerText(keyA).compare(lowerText(keyB)); c != 0) {
            return c < 0;
        }
        if (const int c = items.titles[a].compare(items.titles[b]); c != 0) {
            return c < 0;
        }
        return keyA < keyB;
    };
    std::sort(records.begin(), records.end(), [&](const SortRecord& a, const SortRecord& b) {
        if (a.high != b.high) {
            return a.high < b.high;
        }
        if (a.low != b.low) {
            return a.low < b.low;
        }
        return fullLess(a.index, b.index);
    });
    ScannedLibrary library;
    library.titles.reserve(n);
    library.keys.reserve(n);
    library.lowerTitles.reserve(n);
    for (const SortRecord& record : records) {
        library.titles.push_back(std::move(items.titles[record.index]));
        library.keys.push_back(std::move(items.keys[record.index]));
        library.lowerTitles.push_back(std::move(items.lowerTitles[record.index]));
    }
    return library;
}

}  // namespace

ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi) {
    Collected items;
    for (const auto& dir : dirs) {
        collectDirectory(items, dir, withAvi);
    }
    return sortCollected(items);
}

namespace {

void scanInto(FrmMain& main, const std::vector<std::string>& dirs, bool withAvi, bool keepExisting) {
    Collected items;
    if (keepExisting) {
        for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
            items.titles.push_back(main.hiddenSongList.list(i));
            items.lowerTitles.push_back(main.libraryLowerTitles[static_cast<size_t>(i)]);
            items.keys.push_back(main.libraryKeys[static_cast<size_t>(i)]);
        }
    }
    for (const auto& dir : dirs) {
        collectDirectory(items, dir, withAvi);
    }
    main.setLibrary(sortCollected(items));
}

}  // namespace

void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, false, true);
}

void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, true, false);
}

}  // namespace vollo
