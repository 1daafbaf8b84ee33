#include "settings/media_dirs.h"

#include "platform/files.h"

namespace vollo {

std::vector<std::string> readMediaDirLines(const std::string& path, size_t maxLines) {
    auto lines = readTextLines(path);
    if (!lines) {
        return {};
    }
    if (lines->size() > maxLines) {
        lines->resize(maxLines);
    }
    return *lines;
}

std::vector<std::string> leadingDirectories(const std::vector<std::string>& slots) {
    std::vector<std::string> dirs;
    for (const auto& slot : slots) {
        if (slot.empty()) {
            break;
        }
        dirs.push_back(slot);
    }
    return dirs;
}

std::string directoryLine(const std::string& boxText) {
    if (boxText.empty() || boxText.back() == '/') {
        return boxText;
    }
    return boxText + "/";
}

std::string directoryBoxText(const std::string& line) {
    if (line == "/" || line.empty()) {
        return line;
    }
    return line.substr(0, line.size() - 1);
}

}  // namespace vollo
