#include "library/library_scan.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <thread>

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
    unsigned char bytes[8] = {};
    if (from < text.size()) {
        std::memcpy(bytes, text.data() + from, std::min<size_t>(8, text.size() - from));
    }
    std::uint64_t value;
    std::memcpy(&value, bytes, 8);
    return __builtin_bswap64(value);
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

// Lower-cased title, then lower-cased key, then the raw bytes of both: the
// order a sorted list gives titles, with equal titles ordered by key.
bool libraryLess(const std::string& lowerTitleA, const std::string& titleA, const EntryKey& keyA,
                 const std::string& lowerTitleB, const std::string& titleB, const EntryKey& keyB) {
    if (const int c = lowerTitleA.compare(lowerTitleB); c != 0) {
        return c < 0;
    }
    const std::string textA = keyA.text();
    const std::string textB = keyB.text();
    if (const int c = lowerText(textA).compare(lowerText(textB)); c != 0) {
        return c < 0;
    }
    if (const int c = titleA.compare(titleB); c != 0) {
        return c < 0;
    }
    return textA < textB;
}

ScannedLibrary sortCollected(Collected& items) {
    const size_t n = items.titles.size();
    std::vector<SortRecord> records(n);
    for (size_t i = 0; i < n; ++i) {
        const std::string& lower = items.lowerTitles[i];
        records[i] = {bigEndianBytes(lower, 0), bigEndianBytes(lower, 8), static_cast<std::uint32_t>(i)};
    }
    auto fullLess = [&items](std::uint32_t a, std::uint32_t b) {
        return libraryLess(items.lowerTitles[a], items.titles[a], items.keys[a], items.lowerTitles[b],
                           items.titles[b], items.keys[b]);
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

// Merges two runs, each in library order.
ScannedLibrary mergeRuns(ScannedLibrary a, ScannedLibrary b) {
    ScannedLibrary out;
    const size_t n = a.titles.size() + b.titles.size();
    out.titles.reserve(n);
    out.keys.reserve(n);
    out.lowerTitles.reserve(n);
    size_t i = 0;
    size_t j = 0;
    auto take = [&out](ScannedLibrary& from, size_t& k) {
        out.titles.push_back(std::move(from.titles[k]));
        out.keys.push_back(std::move(from.keys[k]));
        out.lowerTitles.push_back(std::move(from.lowerTitles[k]));
        ++k;
    };
    while (i < a.titles.size() && j < b.titles.size()) {
        if (libraryLess(b.lowerTitles[j], b.titles[j], b.keys[j], a.lowerTitles[i], a.titles[i], a.keys[i])) {
            take(b, j);
        } else {
            take(a, i);
        }
    }
    while (i < a.titles.size()) {
        take(a, i);
    }
    while (j < b.titles.size()) {
        take(b, j);
    }
    return out;
}

// Lists and sorts the directories on two threads, each taking the next
// directory in turn, then merges the two sorted runs. The order is total
// (entries equal in every part are the same entry), so it does not depend on
// which thread took which directory.
ScannedLibrary scanSorted(Collected seed, const std::vector<std::string>& dirs, bool withAvi) {
    if (dirs.size() < 2) {
        for (const auto& dir : dirs) {
            collectDirectory(seed, dir, withAvi);
        }
        return sortCollected(seed);
    }
    std::atomic<size_t> next{0};
    auto work = [&](Collected& items) {
        for (size_t k = next++; k < dirs.size(); k = next++) {
            collectDirectory(items, dirs[k], withAvi);
        }
        return sortCollected(items);
    };
    Collected other;
    ScannedLibrary otherRun;
    std::thread helper([&] { otherRun = work(other); });
    ScannedLibrary run = work(seed);
    helper.join();
    return mergeRuns(std::move(run), std::move(otherRun));
}

}  // namespace

ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi) {
    return scanSorted(Collected{}, dirs, withAvi);
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
    main.setLibrary(scanSorted(std::move(items), dirs, withAvi));
}

}  // namespace

void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, false, true);
}

void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, true, false);
}

}  // namespace vollo
