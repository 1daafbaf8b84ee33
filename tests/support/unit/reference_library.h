// An independent reading of the library order for the scan tests: entries
// listed straight from the folders and put in order by a stable sort on the
// rule's keys (lower case from reference_text.h, never the program's own), and
// random file names built to meet in the order's corners.
#pragma once

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "library/library_scan.h"
#include "platform/files.h"
#include "reference_text.h"

namespace vollo::reference {

// One library entry as the lists show it.
struct Listed {
    std::string title;
    std::string key;
    bool operator==(const Listed&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Listed& entry) {
    return out << entry.title << " / " << entry.key;
}

// Library order read literally: lower-cased title, then lower-cased key, then
// the raw title, then the raw key; equal entries keep the order they came in.
inline void sortLibrary(std::vector<Listed>& entries) {
    using Sortable = std::tuple<std::string, std::string, std::string, std::string>;
    std::vector<Sortable> sortable;
    for (const Listed& e : entries) {
        sortable.emplace_back(lower(e.title), lower(e.key), e.title, e.key);
    }
    std::stable_sort(sortable.begin(), sortable.end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = {std::get<2>(sortable[i]), std::get<3>(sortable[i])};
    }
}

// Every playable file listFiles gives, directory by directory, in library order.
inline std::vector<Listed> library(const std::vector<std::string>& dirs, bool withAvi) {
    std::vector<Listed> entries;
    for (const std::string& dir : dirs) {
        for (const std::string& name : listFiles(dir)) {
            if (isPlayableName(name, withAvi)) {
                entries.push_back({name.substr(0, name.size() - 4), name + "|" + dir});
            }
        }
    }
    sortLibrary(entries);
    return entries;
}

// Names built to meet in the order's corners: equal once lower-cased, equal in
// their first 16 bytes, letters outside ASCII in both cases, bytes that are
// not UTF-8, "|" inside a name, extensions in any case.
inline std::string randomFileName(std::mt19937& random) {
    // clang-format off
    static const std::vector<std::string> parts = {
        "Song", "song", "SONG", "Song 2", "a", "A", "\xC3\x89toile", "\xC3\xA9toile", "\xC3\x89TOILE",
        "stra\xC3\x9F" "e", "\xCE\xA9mega", "\xCF\x89mega", "\xFF", "\xC3", "x|y", " ", "-", "9", "Z",
        "A long common beginning of a title ", "a LONG common beginning of a title "};
    // clang-format on
    static const std::vector<std::string> exts = {".mp3", ".MP3", ".Mp3", ".wav", ".WAV",    ".mid",
                                                  ".MID", ".avi", ".AVI", ".txt", ".mp3.bak"};
    std::string name;
    const int count = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < count; ++i) {
        name += parts[random() % parts.size()];
    }
    if (random() % 4 == 0) {
        name += std::to_string(random() % 5);
    }
    return name + exts[random() % exts.size()];
}

}  // namespace vollo::reference
