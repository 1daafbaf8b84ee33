// The M3U reader on any bytes, and the writer's round trip: every path the
// writer keeps reads back as the same file with its title, and it leaves out
// exactly the paths no line can name.
#include <algorithm>

#include "fuzz_support.h"
#include "platform/files.h"
#include "playlist/m3u.h"

namespace {

// "/./" and doubled "/" name the same place.
std::string samePlace(std::string path) {
    for (size_t at; (at = path.find("/./")) != std::string::npos;) {
        path.erase(at, 2);
    }
    for (size_t at; (at = path.find("//")) != std::string::npos;) {
        path.erase(at, 1);
    }
    return path;
}

std::string_view nameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace vollo;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string playlist = "/music/list.m3u";
    const M3uEntries read = readM3u(bytes, playlist);
    FUZZ_CHECK(read.titles.size() == read.paths.size());
    for (size_t i = 0; i < read.paths.size(); ++i) {
        FUZZ_CHECK(read.paths[i].find('\0') == std::string::npos);
        FUZZ_CHECK(nameOf(read.paths[i]).size() == read.titles[i].size() + 4);
    }

    // The input's "\n"-separated pieces as paths, in the playlist's folder
    // when relative: CR, NUL and short names stay in them.
    std::vector<std::string> paths;
    size_t start = 0;
    while (start <= bytes.size()) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view piece = bytes.substr(start, end - start);
        paths.push_back(piece.substr(0, 1) == "/" ? std::string(piece) : "/music/" + std::string(piece));
        start = end + 1;
    }
    std::vector<size_t> leftOut;
    const std::string written = writeM3u(paths, playlist, &leftOut);
    const M3uEntries back = readM3u(written, playlist);
    size_t k = 0, left = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (left < leftOut.size() && leftOut[left] == i) {
            ++left;
            continue;
        }
        FUZZ_CHECK(m3uCanHold(paths[i]));
        FUZZ_CHECK(k < back.paths.size());
        FUZZ_CHECK(samePlace(back.paths[k]) == samePlace(paths[i]));
        FUZZ_CHECK(back.titles[k] == nameOf(paths[i]).substr(0, nameOf(paths[i]).size() - 4));
        ++k;
    }
    FUZZ_CHECK(left == leftOut.size() && k == back.paths.size());
    for (const size_t i : leftOut) {
        // Only paths too long once written may be left out although they could be held.
        FUZZ_CHECK(!m3uCanHold(paths[i]) || paths[i].size() + 2 >= 4095);
    }
    return 0;
}
