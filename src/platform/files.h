// File system access: text files as bytes, directory listings, paths.
// Plain functions over the real file system (tests run in a sandbox folder).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vollo {

// The file's bytes, or nothing with the system's reason in *error.
std::optional<std::string> readFileBytes(const std::string& path, std::string* error = nullptr);

// Calls onLine for each line of bytes: CR LF, CR and LF each end a line; a
// last line without an end is still a line; an empty text has no lines.
template <class OnLine>
void forEachLine(std::string_view bytes, OnLine&& onLine) {
    size_t start = 0;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        onLine(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        onLine(bytes.substr(start));
    }
}

// The lines of bytes, split as forEachLine splits them.
std::vector<std::string> splitLines(const std::string& bytes);

// The lines of a text file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* error = nullptr);

// Writes each line followed by CR LF into a temporary file beside path, then
// renames it over path, so a failed write never loses the old file.
bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr);
bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Calls onFile with the name of each ordinary file directly inside dir (links
// followed), hidden ("."-names) excluded, in the order the file system returns
// them; false when dir cannot be listed.
bool forEachFile(const std::string& dir, const std::function<void(std::string_view name)>& onFile);

// The same files as forEachFile, as a list. A missing or unreadable dir gives none.
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
