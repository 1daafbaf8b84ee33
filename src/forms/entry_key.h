// A library entry key: the file name and its directory, held apart so that a
// "|" inside a name cannot corrupt the path. Its text form is name "|" dir.
#pragma once

#include <string>

namespace vollo {

struct EntryKey {
    std::string file;  // "Song.mp3"
    std::string dir;   // "/music/", ending in "/"

    std::string text() const { return file + "|" + dir; }
    std::string path() const { return dir + file; }
    bool operator==(const EntryKey&) const = default;
};

}  // namespace vollo
