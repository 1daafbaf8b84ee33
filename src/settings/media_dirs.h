// "vollo.ini": the media directories, one per line, each ending in "/".
#pragma once

#include <string>
#include <vector>

namespace vollo {

inline constexpr const char* kSettingsFileName = "vollo.ini";

// Up to maxLines lines as they stand (a missing file gives none).
std::vector<std::string> readMediaDirLines(const std::string& path, size_t maxLines);

// The directories to scan: the run of non-empty slots from slot 0.
std::vector<std::string> leadingDirectories(const std::vector<std::string>& slots);

// The line written for a directory box: the text with "/" appended unless it
// already ends in "/"; "" (no line) for an empty box.
std::string directoryLine(const std::string& boxText);

// The box text shown for a line: the line without its last character, except
// the root "/", which stays "/".
std::string directoryBoxText(const std::string& line);

}  // namespace vollo
