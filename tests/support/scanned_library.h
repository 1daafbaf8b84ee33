// A scanned library made in memory, for tests and benchmarks that need the
// lists filled without folders on disk. The entries must already stand in
// library order.
#pragma once

#include <string>
#include <vector>

#include "library/library_scan.h"
#include "platform/text.h"

namespace vollo {

inline ScannedLibrary inMemoryLibrary(const std::vector<std::string>& titles,
                                      const std::vector<EntryKey>& keys) {
    ScannedLibrary library;
    for (std::size_t i = 0; i < titles.size() && i < keys.size(); ++i) {
        ScannedLibrary::Row row;
        row.title = static_cast<std::uint32_t>(library.names.size());
        row.titleLength = static_cast<std::uint32_t>(titles[i].size());
        library.names += titles[i];
        row.file = static_cast<std::uint32_t>(library.names.size());
        row.fileLength = static_cast<std::uint32_t>(keys[i].file.size());
        library.names += keys[i].file + "|" + keys[i].dir;
        row.dir = static_cast<std::uint32_t>(library.dirs.size());
        library.dirs.push_back(keys[i].dir);
        library.rows.push_back(row);
        library.lowerTitles.push_back(lowerText(titles[i]));
    }
    return library;
}

}  // namespace vollo
