// Files dropped from the file manager onto the playlist: each playable file
// is appended with the library's title, and a folder adds the playable files
// directly inside it in library order. Anything else is passed over.
#pragma once

#include <string>
#include <vector>

namespace vollo {

class FrmMain;

// An ordinary file (links followed) whose name ends in a playable extension,
// .avi included, in any letter case.
bool isPlayableFile(const std::string& path);

// Appends the dropped paths (absolute) to the playlist in the order given.
void appendDroppedFiles(FrmMain& main, const std::vector<std::string>& paths);

}  // namespace vollo
