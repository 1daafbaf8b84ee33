#include "forms/entry_key.h"

namespace vollo {

EntryKey parseEntryKey(const std::string& text) {
    const size_t bar = text.rfind('|');
    if (bar == std::string::npos) {
        return {text, ""};
    }
    return {text.substr(0, bar), text.substr(bar + 1)};
}

std::string titleOf(const std::string& fileName) {
    return fileName.size() <= 4 ? std::string() : fileName.substr(0, fileName.size() - 4);
}

}  // namespace vollo
