// Building the song library from the media directories: the playable files
// directly inside each directory, sorted by title (case-insensitively), then
// key, into hiddenSongList and hiddenSongListInfo.
#pragma once

#include <string>
#include <vector>

#include "library/entry_key.h"

namespace vollo {

class FrmMain;

struct ScannedLibrary {
    std::vector<std::string> titles;
    std::vector<EntryKey> keys;
    std::vector<std::string> lowerTitles;  // lowerText of each title, ascending
};

// True when the file name's last four characters, lower-cased, are a playable
// extension (".avi" only when withAvi).
bool isPlayableName(const std::string& fileName, bool withAvi);

// Scans the directories in order and returns the entries in library order:
// lower-cased title, then lower-cased key, then the raw bytes of both.
ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi);

// The start-up scan (adds to the lists) and the rescan (clears them first, takes .avi too).
void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs);
void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs);

}  // namespace vollo
