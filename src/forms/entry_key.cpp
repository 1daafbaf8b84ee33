#include "forms/entry_key.h"

namespace vollo {

EntryKey parseEntryKey(const std::string& text) {
    const size_t bar = text.rfind('|');
    if (bar == std::string::npos) {
        return {text, ""};
    }
    return {text.substr(0, bar), text.substr(bar + 1)};
}

}  // namespace vollo
