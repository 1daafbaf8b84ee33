// Building the song library from the media directories: the playable files
// directly inside each directory, sorted by title (case-insensitively), then
// key, into hiddenSongList and hiddenSongListInfo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/library_order.h"

namespace vollo {

class FrmMain;

// True when the file name's last four characters, lower-cased, are a playable
// extension (".avi" only when withAvi).
bool isPlayableName(std::string_view fileName, bool withAvi);

// The start-up scan (adds to the lists) and the rescan (clears them first, takes .avi too).
// The playable files directly inside the directories, in library order.
ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi);
void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs);
void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs);

// Replaces the library (both lists and the key tables) with a scan's entries.
void setLibrary(FrmMain& main, ScannedLibrary library);

// The first-run hint shows while the library is empty.
void showFirstTimeHint(FrmMain& main);

}  // namespace vollo
