// File system access: text files as bytes, directory listings, paths.
// Plain functions over the real file system (tests run in a sandbox folder).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vollo {

// The file's bytes, or nothing with the system's reason in *error.
std::optional<std::string> readFileBytes(const std::string& path, std::string* error = nullptr);

// Splits bytes into lines: CR LF, CR and LF each end a line; a last line
// without an end is still a line; an empty text has no lines.
std::vector<std::string> splitLines(const std::string& bytes);

// The lines of a text file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* error = nullptr);

// Writes each line followed by CR LF into a temporary file beside path, then
// renames it over path, so a failed write never loses the old file.
bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr);
bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// The ordinary files directly inside dir, hidden ("."-names) excluded, in the
// order the file system returns them. A missing or unreadable dir gives none.
std::vector<std::string> listFiles(const std::string& dir);
// The subfolders of dir (hidden ones excluded), sorted as a sorted list sorts.
std::vector<std::string> listSubdirectories(const std::string& dir);

bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);
bool removeFile(const std::string& path);
std::string currentDirectory();
// A relative path made absolute from the current directory.
std::string absolutePath(const std::string& path);
// The mount points of the mounted file systems, "/" first.
std::vector<std::string> mountPoints();

}  // namespace vollo
