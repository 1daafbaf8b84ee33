// M3U playlist files as bytes: the reader gives each entry's title and path,
// the writer makes the lines from the paths. Paths are bytes and compared
// exactly (letter case counts).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vollo {

// Two parallel lists, entry i being titles[i] with paths[i].
struct M3uEntries {
    std::vector<std::string> titles;
    std::vector<std::string> paths;
};

// The directory lines of a playlist are relative to: its file name up to, not
// including, the last "/" ("" for "/list.m3u"; "." when the name has no "/").
std::string m3uReadDirectory(std::string_view playlistPath);

// Reads the entries of a playlist file's bytes. A UTF-8 byte-order mark at the
// start is ignored; CR LF, CR and LF each end a line. Lines beginning with
// "#EXT" are skipped, as are lines whose part after the last "/" has fewer
// than four bytes; every other line (other "#" lines too) is an entry. A line
// beginning with "/" is its own path; any other is joined to the playlist's
// directory. The title is the line's part after its last "/" without its last
// four bytes.
M3uEntries readM3u(std::string_view bytes, std::string_view playlistPath);

// The bytes of a playlist file at playlistPath holding the given paths:
// "#EXTM3U", then one line per path, each ending in CR LF. A path inside the
// playlist's directory or below it is written relative to that directory;
// any other in full. A relative line that would begin with "#EXT" (or with
// "/", from a doubled "/" in the path) is written behind "./" so it reads back
// as the same file.
std::string writeM3u(const std::vector<std::string>& paths, std::string_view playlistPath);

}  // namespace vollo
