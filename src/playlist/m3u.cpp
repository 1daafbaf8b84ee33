#include "playlist/m3u.h"

#include <climits>

#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kInfoPrefix = "#EXT";
constexpr size_t kLongestPath = PATH_MAX - 1;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The length of the scheme when the text begins with "scheme://", else 0.
size_t uriSchemeLength(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text[0])) {
        return 0;
    }
    size_t i = 1;
    while (i < text.size() && (isAsciiLetter(text[i]) || (text[i] >= '0' && text[i] <= '9') ||
                               text[i] == '+' || text[i] == '-' || text[i] == '.')) {
        ++i;
    }
    return text.substr(i, 3) == "://" ? i : 0;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The local path a "file://" URI names, percent-decoded byte for byte; ""
// for a URI of another machine. A "%" not followed by two hex digits stays.
std::string filePathOfUri(std::string_view uri) {
    std::string_view rest = uri.substr(7);  // after "file://"
    if (lowerText(rest.substr(0, 10)) == "localhost/") {
        rest.remove_prefix(9);
    }
    if (rest.empty() || rest[0] != '/') {
        return {};
    }
    std::string path;
    path.reserve(rest.size());
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexValue(rest[i + 1]) >= 0 &&
            hexValue(rest[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

std::string_view namePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Appends the entry of one line, when it is one.
void readLine(std::string_view line, std::string_view dir, M3uEntries& out) {
    if (line.substr(0, kInfoPrefix.size()) == kInfoPrefix || line.find('\0') != std::string_view::npos) {
        return;
    }
    std::string path;
    std::string_view name;
    if (const size_t scheme = uriSchemeLength(line)) {
        // A percent-encoded path takes at most three bytes per byte.
        if (lowerText(line.substr(0, scheme)) != "file" || line.size() > 3 * kLongestPath + 16) {
            return;
        }
        path = filePathOfUri(line);
        if (path.empty() || path.size() > kLongestPath || path.find('\0') != std::string::npos) {
            return;
        }
        name = namePart(path);
    } else {
        if (line.size() > kLongestPath) {
            return;
        }
        name = namePart(line);
        if (line.front() == '/') {
            path = line;
        } else if (name.size() >= 4) {
            path.reserve(dir.size() + 1 + line.size());
            path += dir;
            path += '/';
            path += line;
        }
    }
    if (name.size() < 4) {
        return;
    }
    out.titles.emplace_back(name.substr(0, name.size() - 4));
    out.paths.push_back(std::move(path));
}

}  // namespace

std::string m3uReadDirectory(std::string_view playlistPath) {
    const size_t slash = playlistPath.rfind('/');
    return slash == std::string_view::npos ? std::string(".") : std::string(playlistPath.substr(0, slash));
}

M3uEntries readM3u(std::string_view bytes, std::string_view playlistPath) {
    M3uEntries out;
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
    }
    const std::string dir = m3uReadDirectory(playlistPath);
    forEachLine(bytes, [&](std::string_view line) { readLine(line, dir, out); });
    return out;
}

bool m3uCanHold(std::string_view path) {
    return path.size() <= kLongestPath &&
           path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
           namePart(path).size() >= 4;
}

namespace {

// The lines of any list of paths read by index as texts.
template <class Paths>
std::string writeLines(const Paths& paths, std::string_view playlistPath, std::vector<size_t>* leftOut) {
    const size_t slash = playlistPath.rfind('/');
    const std::string_view base =
        slash == std::string_view::npos ? std::string_view() : playlistPath.substr(0, slash + 1);
    size_t total = 9;
    for (size_t i = 0; i < paths.size(); ++i) {
        total += std::string_view(paths[i]).size() + 4;
    }
    std::string out;
    out.reserve(total);
    out += "#EXTM3U\r\n";
    for (size_t i = 0; i < paths.size(); ++i) {
        // The entry's directory (up to its last "/") begins with the playlist's
        // exactly when the path itself does, since base ends in "/".
        std::string_view line = paths[i];
        const bool relative = !base.empty() && line.substr(0, base.size()) == base;
        if (relative) {
            line.remove_prefix(base.size());
        }
        const bool guarded = line.substr(0, kInfoPrefix.size()) == kInfoPrefix || uriSchemeLength(line) > 0 ||
                             (relative && !line.empty() && line[0] == '/');
        if (!m3uCanHold(paths[i]) || line.size() + (guarded ? 2 : 0) > kLongestPath) {
            if (leftOut) {
                leftOut->push_back(i);
            }
            continue;
        }
        if (guarded) {
            out += "./";
        }
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::string writeM3u(const std::vector<std::string>& paths, std::string_view playlistPath,
                     std::vector<size_t>* leftOut) {
    return writeLines(paths, playlistPath, leftOut);
}

std::string writeM3uTexts(const TextList& paths, std::string_view playlistPath,
                          std::vector<size_t>* leftOut) {
    return writeLines(paths, playlistPath, leftOut);
}

}  // namespace vollo
