// The library order and the storage it sorts: the entries a scan gathers
// (names and lower-cased titles end to end, each entry pointing into them),
// the order between two entries (lower-cased title, then lower-cased key, then
// the raw title, then the raw key), the sort, and the merge of two sorted runs
// into the scanned library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/entry_key.h"
#include "platform/text.h"
#include "platform/text_column.h"

namespace vollo {

// The entries a scan found, in library order: lower-cased title, then
// lower-cased key, then the raw bytes of title and key. Names are kept end to
// end in one buffer and each row points into it, so a scan of 100,000 files
// makes no string per file. At each row's file offset stands its whole key
// text (file name, "|", directory), and a title taken from the file name is
// the start of it: the buffer becomes the lists' own as it is.
struct ScannedLibrary {
    struct Row {
        std::uint32_t file = 0;  // offset of the file name, and of the key text, in names
        std::uint32_t fileLength = 0;
        std::uint32_t title = 0;  // offset of the title in names
        std::uint32_t titleLength = 0;
        std::uint32_t dir = 0;  // index in dirs
    };

    std::vector<std::string> dirs;  // the directory texts rows refer to
    std::string names;              // key texts and titles
    std::vector<Row> rows;
    TextColumn lowerTitles;  // lowerText of each row's title, ascending by bytes

    std::size_t size() const { return rows.size(); }
    std::string_view title(std::size_t row) const {
        return std::string_view(names).substr(rows[row].title, rows[row].titleLength);
    }
    std::string_view file(std::size_t row) const {
        return std::string_view(names).substr(rows[row].file, rows[row].fileLength);
    }
    const std::string& dir(std::size_t row) const { return dirs[rows[row].dir]; }
    // The key's text form: file name, "|", directory.
    std::string_view keyText(std::size_t row) const {
        return std::string_view(names).substr(rows[row].file, rows[row].fileLength + 1 + dir(row).size());
    }
    EntryKey key(std::size_t row) const { return EntryKey{std::string(file(row)), dir(row)}; }
};

// Bytes written end to end, which entries address by 32-bit offsets. A plain
// string: a hand-made buffer grown with realloc, without zero fill, measured
// no faster in bench_scan (Release, 97,485 songs, process CPU time: start-up
// scan into the lists 70 ms and rescan 81 ms with either), so it went.
class ByteRun {
  public:
    size_t size() const { return bytes_.size(); }
    const char* data() const { return bytes_.data(); }
    std::string_view view(size_t offset, size_t length) const { return {bytes_.data() + offset, length}; }

    // Room for n more bytes at the end; returns where they go.
    char* extend(size_t n) {
        reserveMore(n);
        const size_t at = bytes_.size();
        bytes_.resize(at + n);
        return bytes_.data() + at;
    }
    void append(std::string_view text) {
        reserveMore(text.size());
        bytes_.append(text);
    }
    void truncate(size_t size) { bytes_.resize(size); }
    // The bytes, which this run no longer holds.
    std::string release() { return std::move(bytes_); }
    // Makes room for at least n more bytes without writing them.
    void reserveMore(size_t n) {
        if (n > kLimit - bytes_.size()) {
            throw std::length_error("library scan: more than 4 GiB of names");
        }
        if (bytes_.size() + n > bytes_.capacity()) {
            bytes_.reserve(std::min(kLimit, std::max(bytes_.size() + n, bytes_.capacity() * 2)));
        }
    }

  private:
    static constexpr size_t kLimit = UINT32_MAX;

    std::string bytes_;
};

// The entries gathered so far, in the order found: key texts (each followed
// by its directory, as the library keeps them), titles and lower-cased titles
// end to end, each entry pointing into them.
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

    // Room for about this many more entries, name bytes and lower-cased
    // bytes, reserved, not yet touched, if the memory is there (a hint, at
    // most 512 MiB each: more still fit).
    void expect(size_t entries, size_t nameBytes, size_t lowerBytes) noexcept {
        constexpr size_t kMost = size_t{512} << 20;
        try {
            items.reserve(items.size() + std::min(entries, kMost / sizeof(Item)));
            names.reserveMore(std::min(nameBytes, kMost));
            lowered.reserveMore(std::min(lowerBytes, kMost));
        } catch (const std::exception&) {
            // Too much for now: the buffers grow as they fill.
        }
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
        appendKey(name, dir);

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
        item.row.titleLength = static_cast<std::uint32_t>(title.size());
        const bool titleStartsKey = file.starts_with(title);
        if (!titleStartsKey) {
            item.row.title = static_cast<std::uint32_t>(names.size());
            names.append(title);
        }
        item.row.file = static_cast<std::uint32_t>(names.size());
        item.row.fileLength = static_cast<std::uint32_t>(file.size());
        if (titleStartsKey) {
            item.row.title = item.row.file;
        }
        appendKey(file, dir);
        item.row.dir = dir;
        item.lower = static_cast<std::uint32_t>(lowered.size());
        item.lowerLength = static_cast<std::uint32_t>(lowerTitle.size());
        lowered.append(lowerTitle);
        items.push_back(item);
    }

  private:
    // The key text, as the library keeps it: file name, "|", directory.
    void appendKey(std::string_view file, std::uint32_t dir) {
        const std::string& dirText = dirs[dir];
        char* key = names.extend(file.size() + 1 + dirText.size());
        std::memcpy(key, file.data(), file.size());
        key[file.size()] = '|';
        std::memcpy(key + file.size() + 1, dirText.data(), dirText.size());
    }
};

// What the sort moves: the first 16 bytes of the lower-cased title as two
// integers (zeros after its end) and the entry's index.
struct SortRecord {
    std::uint64_t high;
    std::uint64_t low;
    std::uint32_t index;
};

// Library order between two entries, each in its own collection.
bool recordLess(const Collection& allA, const SortRecord& a, const Collection& allB, const SortRecord& b);

// The entries of all as records in library order.
std::vector<SortRecord> libraryOrder(const Collection& all);

// A part of the library gathered and sorted on one thread.
struct Run {
    Collection all;
    std::vector<SortRecord> order;
};

// Sorts the run: its entries move into library order, so that the merge
// reads them one after another instead of all over memory.
void sortRun(Run& run);

// Merges the two sorted runs into the library: the names, lower-cased titles
// and directories of both end to end, the rows and the places of their
// lower-cased titles in library order.
ScannedLibrary mergeRuns(Run& a, Run& b);

}  // namespace vollo
