// Building the song library from the media directories: the playable files
// directly inside each directory, sorted by title (case-insensitively), then
// key, into hiddenSongList and hiddenSongListInfo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/entry_key.h"
#include "library/filter_text.h"

namespace vollo {

class FrmMain;

// The entries a scan found, in library order: lower-cased title, then
// lower-cased key, then the raw bytes of title and key. Names are kept end to
// end in one buffer and each row points into it, so a scan of 100,000 files
// makes no string per file; the lists are filled from it in one pass.
struct ScannedLibrary {
    struct Row {
        std::uint32_t file = 0;  // offset of the file name in names
        std::uint32_t fileLength = 0;
        std::uint32_t title = 0;  // offset of the title in names
        std::uint32_t titleLength = 0;
        std::uint32_t dir = 0;  // index in dirs
    };

    std::vector<std::string> dirs;  // the directory texts rows refer to
    std::string names;              // file names and titles
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
    EntryKey key(std::size_t row) const { return EntryKey{std::string(file(row)), dir(row)}; }
    // The key's text form: file name, "|", directory.
    std::string keyText(std::size_t row) const;
};

// True when the file name's last four characters, lower-cased, are a playable
// extension (".avi" only when withAvi).
bool isPlayableName(std::string_view fileName, bool withAvi);

// Scans the directories in order and returns the entries in library order.
ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi);

// The start-up scan (adds to the lists) and the rescan (clears them first, takes .avi too).
void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs);
void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs);

// Replaces the library (both lists and the key tables) with a scan's entries.
void setLibrary(FrmMain& main, ScannedLibrary library);

// The first-run hint shows while the library is empty.
void showFirstTimeHint(FrmMain& main);

}  // namespace vollo
