// File system access: text files as bytes, directory listings, paths.
// Plain functions over the real file system (tests run in a sandbox folder).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vollo {

// The most a playlist file may hold: a million entries of 256 bytes a line.
inline constexpr size_t kPlaylistFileLimit = size_t{256} << 20;
// What a settings file is read up to: far beyond 101 lines of the longest path.
inline constexpr size_t kSettingsFileLimit = size_t{1} << 20;

// The bytes of an ordinary file (links followed), or nothing with the reason
// in *error. Anything else (folder, FIFO, socket, device) is refused without
// waiting for it, and so is a file of more than maxBytes bytes.
std::optional<std::string> readFileBytes(const std::string& path, std::string* error = nullptr,
                                         size_t maxBytes = kPlaylistFileLimit);

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

// The lines of the first maxBytes bytes of an ordinary text file (the rest is
// not read), or nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* error = nullptr,
                                                      size_t maxBytes = kSettingsFileLimit);

// Writes the bytes into a temporary file in the folder of the file path names
// (a symbolic link is followed to its target, which keeps being a link's
// target), then renames it over that file, so a failed or killed write never
// loses the old file. The old file's permissions and owner are kept. Refused:
// replacing anything but an ordinary file, and a file the user could not
// write in place (no write permission, for root too no write bit at all).
// A successful save removes the temporaries that killed saves of the same
// file left behind.
bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr);
// The same with each line followed by CR LF.
bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr);

// Removes the temporaries that killed saves of path left behind: only names
// made by writeFileAtomic for that file, and only those no save is writing.
void removeStaleTemporaries(const std::string& path);

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
// The mount point a line of the mount table names, its \ooo escapes decoded;
// "" for a pseudo file system (proc, tmpfs, ...) or a line naming none.
std::string mountPointOfLine(const std::string& line);

}  // namespace vollo
