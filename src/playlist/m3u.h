// M3U playlist files as bytes: the reader gives each entry's title and path,
// the writer makes the lines from the paths. Paths are bytes and compared
// exactly (letter case counts).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_list.h"

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
// start is ignored; CR LF, CR and LF each end a line. Skipped lines: those
// beginning with "#EXT"; those whose part after the last "/" has fewer than
// four bytes; those that cannot name a file (a NUL byte, PATH_MAX bytes or
// more); URIs of any scheme but file. Every other line (other "#" lines too)
// is an entry. A "file://" URI (host empty or "localhost") names the local
// file it percent-decodes to; a line beginning with "/" is its own path; any
// other is joined to the playlist's directory. The title is the name's part
// after its last "/" without its last four bytes.
M3uEntries readM3u(std::string_view bytes, std::string_view playlistPath);

// True when a playlist line can name path so that it reads back as the same
// entry: no CR, LF or NUL, a name part of four bytes or more, shorter than
// PATH_MAX.
bool m3uCanHold(std::string_view path);

// The bytes of a playlist file at playlistPath holding the given paths:
// "#EXTM3U", then one line per path, each ending in CR LF. A path inside the
// playlist's directory or below it is written relative to that directory;
// any other in full. A relative line that would read as something else (an
// "#EXT" line, a URI, or an absolute line from a doubled "/") is written
// behind "./" so it reads back as the same file. Paths m3uCanHold refuses are
// left out; their indices go to *leftOut.
std::string writeM3u(const std::vector<std::string>& paths, std::string_view playlistPath,
                     std::vector<size_t>* leftOut = nullptr);
std::string writeM3uTexts(const TextList& paths, std::string_view playlistPath,
                          std::vector<size_t>* leftOut = nullptr);

}  // namespace vollo
