#include "playlist/m3u.h"

#include "platform/files.h"

namespace vollo {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kInfoPrefix = "#EXT";

// Appends the entry of one line, when it is one.
void readLine(std::string_view line, std::string_view dir, M3uEntries& out) {
    if (line.substr(0, kInfoPrefix.size()) == kInfoPrefix) {
        return;
    }
    const size_t slash = line.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? line : line.substr(slash + 1);
    if (name.size() < 4) {
        return;
    }
    std::string path;
    if (line.front() == '/') {
        path = line;
    } else {
        path.reserve(dir.size() + 1 + line.size());
        path += dir;
        path += '/';
        path += line;
    }
    out.paths.push_back(std::move(path));
    out.titles.emplace_back(name.substr(0, name.size() - 4));
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

std::string writeM3u(const std::vector<std::string>& paths, std::string_view playlistPath) {
    const size_t slash = playlistPath.rfind('/');
    const std::string_view base =
        slash == std::string_view::npos ? std::string_view() : playlistPath.substr(0, slash + 1);
    size_t total = 9;
    for (const auto& path : paths) {
        total += path.size() + 4;
    }
    std::string out;
    out.reserve(total);
    out += "#EXTM3U\r\n";
    for (const auto& path : paths) {
        // The entry's directory (up to its last "/") begins with the playlist's
        // exactly when the path itself does, since base ends in "/".
        std::string_view line = path;
        const bool relative = !base.empty() && line.substr(0, base.size()) == base;
        if (relative) {
            line.remove_prefix(base.size());
        }
        if (line.substr(0, kInfoPrefix.size()) == kInfoPrefix ||
            (relative && !line.empty() && line[0] == '/')) {
            out += "./";
        }
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace vollo
