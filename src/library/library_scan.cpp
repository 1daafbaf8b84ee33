#include "library/library_scan.h"

#include <sched.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "forms/frm_main.h"
#include "library/library_filter.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

std::string ScannedLibrary::keyText(std::size_t row) const {
    const std::string_view name = file(row);
    const std::string& directory = dir(row);
    std::string text;
    text.reserve(name.size() + 1 + directory.size());
    text.append(name);
    text += '|';
    text.append(directory);
    return text;
}

bool isPlayableName(std::string_view fileName, bool withAvi) {
    if (fileName.size() < 4) {
        return false;  // the last four characters would be the whole name, and none is a playable one
    }
    char ext[4];
    for (size_t i = 0; i < 4; ++i) {
        const char c = fileName[fileName.size() - 4 + i];
        ext[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    const std::string_view e(ext, 4);
    return e == ".mp3" || e == ".wav" || e == ".mid" || (withAvi && e == ".avi");
}

namespace {

// Bytes written end to end. It grows with realloc, which moves a large block
// without copying it, and never writes a byte twice.
class ByteRun {
  public:
    ByteRun() = default;
    ByteRun(ByteRun&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ByteRun& operator=(ByteRun&&) = delete;
    ~ByteRun() { std::free(data_); }

    size_t size() const { return size_; }
    const char* data() const { return data_; }
    std::string_view view(size_t offset, size_t length) const { return {data_ + offset, length}; }

    // Room for n more bytes at the end; returns where they go.
    char* extend(size_t n) {
        if (size_ + n > capacity_) {
            reserveMore(n);
        }
        char* at = data_ + size_;
        size_ += n;
        return at;
    }
    void append(std::string_view text) {
        if (!text.empty()) {
            std::memcpy(extend(text.size()), text.data(), text.size());
        }
    }
    void truncate(size_t size) { size_ = size; }
    // Makes room for at least n more bytes without writing them.
    void reserveMore(size_t n) {
        if (size_ + n <= capacity_) {
            return;
        }
        if (n > kLimit - size_) {
            throw std::length_error("library scan: more than 4 GiB of names");
        }
        const size_t capacity = std::min(kLimit, std::max({size_ + n, capacity_ * 2, size_t{4096}}));
        void* grown = std::realloc(data_, capacity);
        if (!grown) {
            throw std::bad_alloc();
        }
        data_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }

  private:
    // Entries hold 32-bit offsets into a run.
    static constexpr size_t kLimit = UINT32_MAX;

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// The entries gathered so far, in the order found: names and lower-cased
// titles end to end, each entry pointing into them.
struct Collection {
    struct Item {
        ScannedLibrary::Row row;
        std::uint32_t lower = 0;  // offset of the lower-cased title in lowered
        std::uint32_t lowerLength = 0;
    };

    std::vector<std::string> dirs;
    ByteRun names;
    ByteRun lowered;
    std::vector<Item> items;

    std::string_view title(const Item& item) const {
        return names.view(item.row.title, item.row.titleLength);
    }
    std::string_view file(const Item& item) const { return names.view(item.row.file, item.row.fileLength); }
    std::string_view lower(const Item& item) const { return lowered.view(item.lower, item.lowerLength); }
    const std::string& dir(const Item& item) const { return dirs[item.row.dir]; }

    std::uint32_t addDir(const std::string& dir) {
        dirs.push_back(dir);
        return static_cast<std::uint32_t>(dirs.size() - 1);
    }

    // Room for about this many more entries and name bytes (a hint; more still fit).
    void expect(size_t entries, size_t bytes) {
        if (items.capacity() < items.size() + entries) {
            items.reserve(std::max(items.capacity() * 2, items.size() + entries));
        }
        names.reserveMore(bytes);
        lowered.reserveMore(bytes);
    }

    // A file found by the scan: its title is the name without the last four
    // characters. ASCII titles are lower-cased here in one pass; from the
    // first other byte on, lowerText does it.
    void addFile(std::string_view name, std::uint32_t dir) {
        Item item;
        item.row.file = static_cast<std::uint32_t>(names.size());
        item.row.fileLength = static_cast<std::uint32_t>(name.size());
        item.row.title = item.row.file;
        item.row.titleLength = static_cast<std::uint32_t>(name.size() - 4);
        item.row.dir = dir;
        std::memcpy(names.extend(name.size()), name.data(), name.size());

        const size_t titleLength = name.size() - 4;
        item.lower = static_cast<std::uint32_t>(lowered.size());
        char* out = lowered.extend(titleLength);
        size_t i = 0;
        for (; i < titleLength; ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if (c >= 0x80) {
                break;
            }
            out[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        if (i < titleLength) {
            lowered.truncate(item.lower + i);
            lowered.append(lowerText(name.substr(i, titleLength - i)));
        }
        item.lowerLength = static_cast<std::uint32_t>(lowered.size() - item.lower);
        items.push_back(item);
    }

    // An entry already in the library, with its own title and lower-cased title.
    void addEntry(std::string_view title, std::string_view lowerTitle, std::string_view file,
                  std::uint32_t dir) {
        Item item;
        item.row.title = static_cast<std::uint32_t>(names.size());
        item.row.titleLength = static_cast<std::uint32_t>(title.size());
        names.append(title);
        item.row.file = static_cast<std::uint32_t>(names.size());
        item.row.fileLength = static_cast<std::uint32_t>(file.size());
        names.append(file);
        item.row.dir = dir;
        item.lower = static_cast<std::uint32_t>(lowered.size());
        item.lowerLength = static_cast<std::uint32_t>(lowerTitle.size());
        lowered.append(lowerTitle);
        items.push_back(item);
    }
};

// The playable files directly inside dir, in the order the file system gives
// them (forEachFile: hidden names and everything but ordinary files left out,
// links followed), read without a string per name.
void collectDirectory(Collection& into, const std::string& dir, bool withAvi) {
    struct stat dirStat {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode)) {
        return;
    }
    if (dirStat.st_size > 0) {
        // A directory's size is about the bytes of its entries: at least 16 each, names included.
        const auto bytes = static_cast<size_t>(dirStat.st_size);
        into.expect(bytes / 16, bytes);
    }
    const std::uint32_t dirIndex = into.addDir(dir);
    forEachFile(dir, [&](std::string_view name) {
        if (isPlayableName(name, withAvi)) {
            into.addFile(name, dirIndex);
        }
    });
}

// One side of a comparison: an entry and the collection holding its texts.
struct Side {
    const Collection& all;
    const Collection::Item& item;
};

// Library order between two entries whose lower-cased titles are equal: the
// lower-cased key, then the raw title, then the raw key (then the name alone,
// so that a "|" inside a name cannot leave two different entries unordered).
bool tieLess(Side a, Side b) {
    const std::string_view fileA = a.all.file(a.item);
    const std::string_view fileB = b.all.file(b.item);
    const std::string& dirA = a.all.dir(a.item);
    const std::string& dirB = b.all.dir(b.item);
    const std::string_view titleA = a.all.title(a.item);
    const std::string_view titleB = b.all.title(b.item);
    if (fileA == fileB && dirA == dirB) {
        return titleA < titleB;  // the same file, as from a folder listed twice
    }
    const std::string keyA = std::string(fileA) + "|" + dirA;
    const std::string keyB = std::string(fileB) + "|" + dirB;
    if (const int c = lowerText(keyA).compare(lowerText(keyB)); c != 0) {
        return c < 0;
    }
    if (const int c = titleA.compare(titleB); c != 0) {
        return c < 0;
    }
    if (const int c = keyA.compare(keyB); c != 0) {
        return c < 0;
    }
    return fileA < fileB;
}

// What the sort moves: the first 16 bytes of the lower-cased title as two
// integers (zeros after its end) and the entry's index.
struct SortRecord {
    std::uint64_t high;
    std::uint64_t low;
    std::uint32_t index;
};

bool recordLess(const Collection& allA, const SortRecord& a, const Collection& allB, const SortRecord& b) {
    if (a.high != b.high) {
        return a.high < b.high;
    }
    if (a.low != b.low) {
        return a.low < b.low;
    }
    const Collection::Item& itemA = allA.items[a.index];
    const Collection::Item& itemB = allB.items[b.index];
    if (const int c = allA.lower(itemA).compare(allB.lower(itemB)); c != 0) {
        return c < 0;
    }
    return tieLess({allA, itemA}, {allB, itemB});
}

unsigned keyByte(const SortRecord& record, unsigned depth) {
    const std::uint64_t word = depth < 8 ? record.high : record.low;
    return static_cast<unsigned>(word >> (56 - 8 * (depth % 8))) & 0xFF;
}

// Sorts the n records at data: by the first byte in which their keys differ,
// group by group, and by comparison once a group is small or the 16 bytes
// are used up. Each pass moves the
// records between data and other (room for as many); the result ends in
// other when toOther, in data otherwise.
template <class Less>
void radixSort(SortRecord* data, SortRecord* other, size_t n, bool toOther, const Less& less) {
    constexpr size_t kSmall = 48;
    unsigned depth = 16;
    if (n > kSmall) {
        // Skip to the first byte in which any two keys differ.
        std::uint64_t high = 0;
        std::uint64_t low = 0;
        for (size_t i = 1; i < n; ++i) {
            high |= data[i].high ^ data[0].high;
            low |= data[i].low ^ data[0].low;
        }
        depth = high != 0  ? static_cast<unsigned>(__builtin_clzll(high)) / 8
                : low != 0 ? 8 + static_cast<unsigned>(__builtin_clzll(low)) / 8
                           : 16;
    }
    if (n <= kSmall || depth == 16) {
        std::sort(data, data + n, less);
        if (toOther) {
            std::copy(data, data + n, other);
        }
        return;
    }
    size_t counts[256] = {};
    for (size_t i = 0; i < n; ++i) {
        ++counts[keyByte(data[i], depth)];
    }
    size_t next[256];
    size_t start = 0;
    for (unsigned b = 0; b < 256; ++b) {
        next[b] = start;
        start += counts[b];
    }
    for (size_t i = 0; i < n; ++i) {
        other[next[keyByte(data[i], depth)]++] = data[i];
    }
    // The records now stand in other, group by group.
    start = 0;
    for (unsigned b = 0; b < 256; ++b) {
        if (counts[b] == 1 && !toOther) {
            data[start] = other[start];
        } else if (counts[b] > 1) {
            radixSort(other + start, data + start, counts[b], !toOther, less);
        }
        start += counts[b];
    }
}

std::vector<SortRecord> libraryOrder(const Collection& all) {
    const size_t n = all.items.size();
    std::vector<SortRecord> records(n);
    for (size_t i = 0; i < n; ++i) {
        const std::string_view lower = all.lower(all.items[i]);
        records[i] = {orderedBytes(lower, 0), orderedBytes(lower, 8), static_cast<std::uint32_t>(i)};
    }
    std::vector<SortRecord> spare(n);
    if (n > 0) {
        radixSort(records.data(), spare.data(), n, false,
                  [&all](const SortRecord& a, const SortRecord& b) { return recordLess(all, a, all, b); });
    }
    return records;
}

// A part of the library gathered and sorted on one thread.
struct Run {
    Collection all;
    std::vector<SortRecord> order;
};

// Merges the two sorted runs into the library: the names, lower-cased titles
// and directories of both end to end, the rows and the places of their
// lower-cased titles in library order.
ScannedLibrary mergeRuns(Run& a, Run& b) {
    const size_t n = a.order.size() + b.order.size();
    std::vector<ScannedLibrary::Row> rows(n);
    std::vector<TextColumn::Span> lowerSpans(n);
    const auto nameShift = static_cast<std::uint32_t>(a.all.names.size());
    const auto lowerShift = static_cast<std::uint32_t>(a.all.lowered.size());
    const auto dirShift = static_cast<std::uint32_t>(a.all.dirs.size());
    size_t out = 0;
    auto place = [&](const Collection& all, const SortRecord& record, std::uint32_t names,
                     std::uint32_t lowered, std::uint32_t dirs) {
        const Collection::Item& item = all.items[record.index];
        ScannedLibrary::Row& row = rows[out];
        row = item.row;
        row.file += names;
        row.title += names;
        row.dir += dirs;
        lowerSpans[out++] = {item.lower + lowered, item.lowerLength};
    };
    size_t i = 0;
    size_t j = 0;
    while (i < a.order.size() && j < b.order.size()) {
        if (recordLess(b.all, b.order[j], a.all, a.order[i])) {
            place(b.all, b.order[j++], nameShift, lowerShift, dirShift);
        } else {
            place(a.all, a.order[i++], 0, 0, 0);
        }
    }
    for (; i < a.order.size(); ++i) {
        place(a.all, a.order[i], 0, 0, 0);
    }
    for (; j < b.order.size(); ++j) {
        place(b.all, b.order[j], nameShift, lowerShift, dirShift);
    }

    auto joined = [](const ByteRun& first, const ByteRun& second) {
        if (second.size() > UINT32_MAX - first.size()) {
            throw std::length_error("library scan: more than 4 GiB of names");
        }
        std::string bytes;
        bytes.reserve(first.size() + second.size());
        bytes.append(first.data() ? first.data() : "", first.size());
        bytes.append(second.data() ? second.data() : "", second.size());
        return bytes;
    };
    ScannedLibrary library;
    library.rows = std::move(rows);
    library.names = joined(a.all.names, b.all.names);
    library.lowerTitles = TextColumn(joined(a.all.lowered, b.all.lowered), std::move(lowerSpans));
    library.dirs = std::move(a.all.dirs);
    library.dirs.insert(library.dirs.end(), b.all.dirs.begin(), b.all.dirs.end());
    return library;
}

// True when this process may run on more than one processor at once.
bool severalProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return ::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 1;
}

// Lists the directories on two threads (when two processors are there to run
// them), each taking the next directory in turn and sorting what it found,
// then merges the two sorted runs. The order is total (entries equal in every
// part are the same entry), so the result does not depend on which thread
// took which directory.
ScannedLibrary scanSorted(Collection seed, const std::vector<std::string>& dirs, bool withAvi) {
    std::atomic<size_t> next{0};
    auto work = [&](Run& run) {
        for (size_t k = next++; k < dirs.size(); k = next++) {
            collectDirectory(run.all, dirs[k], withAvi);
        }
        run.order = libraryOrder(run.all);
    };
    Run mine{std::move(seed), {}};
    Run other;
    std::exception_ptr otherFailure;
    std::thread helper;
    if (dirs.size() >= 2 && severalProcessors()) {
        try {
            helper = std::thread([&] {
                try {
                    work(other);
                } catch (...) {
                    otherFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No second thread: this one takes every directory.
        }
    }
    try {
        work(mine);
    } catch (...) {
        if (helper.joinable()) {
            helper.join();
        }
        throw;
    }
    if (helper.joinable()) {
        helper.join();
    }
    if (otherFailure) {
        std::rethrow_exception(otherFailure);
    }
    return mergeRuns(mine, other);
}

}  // namespace

ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi) {
    return scanSorted(Collection{}, dirs, withAvi);
}

namespace {

void scanInto(FrmMain& main, const std::vector<std::string>& dirs, bool withAvi, bool keepExisting) {
    Collection existing;
    if (keepExisting && main.hiddenSongList.listCount() > 0) {
        const LibraryView library(main);
        std::unordered_map<std::string, std::uint32_t> dirIndex;
        for (std::size_t row = 0; row < library.size(); ++row) {
            const EntryKey& key = library.key(row);
            const auto [at, added] = dirIndex.try_emplace(key.dir, 0);
            if (added) {
                at->second = existing.addDir(key.dir);
            }
            existing.addEntry(library.title(row), library.lowerTitles()[row], key.file, at->second);
        }
    }
    setLibrary(main, scanSorted(std::move(existing), dirs, withAvi));
}

}  // namespace

void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, false, true);
}

void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, true, false);
}

void setLibrary(FrmMain& main, ScannedLibrary library) {
    // One buffer for the whole library: each row's key text ("file|dir"),
    // whose first bytes are the title when the title is the file name
    // without its extension, as the scan makes it.
    const std::size_t count = library.size();
    std::size_t total = 0;
    for (std::size_t row = 0; row < count; ++row) {
        total += library.file(row).size() + 1 + library.dir(row).size();
    }
    auto bytes = std::make_shared<std::string>();
    bytes->reserve(total);
    std::vector<TextList::Span> keySpans(count);
    std::vector<TextList::Span> titleSpans(count);
    std::vector<std::uint32_t> dirOfRow(count);
    auto place = [&bytes](std::string_view text) {
        if (text.size() > UINT32_MAX - bytes->size()) {
            throw std::length_error("library scan: more than 4 GiB of names");
        }
        const TextList::Span span{static_cast<std::uint32_t>(bytes->size()),
                                  static_cast<std::uint32_t>(text.size())};
        bytes->append(text);
        return span;
    };
    for (std::size_t row = 0; row < count; ++row) {
        const std::string_view file = library.file(row);
        const std::string_view title = library.title(row);
        keySpans[row] = place(file);
        keySpans[row].length += place("|").length + place(library.dir(row)).length;
        titleSpans[row] = file.starts_with(title)
                              ? TextList::Span{keySpans[row].begin, static_cast<std::uint32_t>(title.size())}
                              : place(title);
        dirOfRow[row] = library.rows[row].dir;
    }
    const TextList keyTexts(bytes, std::move(keySpans));
    main.libraryLowerTitles = std::move(library.lowerTitles);
    main.libraryKeys = LibraryKeys(keyTexts, std::move(library.dirs), std::move(dirOfRow));
    main.hiddenSongListInfo.assignTexts(keyTexts);
    main.hiddenSongList.assignTexts(TextList(std::move(bytes), std::move(titleSpans)));
}

void showFirstTimeHint(FrmMain& main) {
    main.lblFirstTime.setVisible(main.hiddenSongList.listCount() < 1);
}

}  // namespace vollo
