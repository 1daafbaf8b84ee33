#include "library/filter_text.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/key_codes.h"
#include "platform/text.h"

namespace vollo {

namespace {

// The length of the valid UTF-8 sequence at text[i], 0 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    char32_t ignored = 0;
    return decodeUtf8(text, i, ignored);
}

// The length of the character at text[i]: a valid sequence, or one byte.
std::size_t characterLength(std::string_view text, std::size_t i) {
    const std::size_t len = sequenceLength(text, i);
    return len == 0 ? 1 : len;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = sequenceLength(text, i);
        if (len == 0) {
            return false;
        }
        i += len;
    }
    return true;
}

bool isCharBoundary(std::string_view text, std::size_t pos) {
    if (pos > text.size()) {
        return false;
    }
    std::size_t i = 0;
    while (i < pos) {
        i += characterLength(text, i);
    }
    return i == pos;
}

namespace {

// The first row in [first, last) whose text is not below bound (texts ascending).
std::size_t lowerBoundRow(const TextColumn& texts, std::size_t first, std::size_t last,
                          std::string_view bound) {
    while (first < last) {
        const std::size_t middle = first + (last - first) / 2;
        if (texts[middle] < bound) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return first;
}

}  // namespace

RowRange prefixRows(const TextColumn& lowerTitles, std::string_view prefix) {
    const std::size_t begin = lowerBoundRow(lowerTitles, 0, lowerTitles.size(), prefix);
    // Every text beginning with the prefix sorts at or after it, and before any
    // later text that does not begin with it.
    std::size_t first = begin;
    std::size_t last = lowerTitles.size();
    while (first < last) {
        const std::size_t middle = first + (last - first) / 2;
        if (lowerTitles[middle].substr(0, prefix.size()) == prefix) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return {begin, first};
}

RowRange digitRows(const TextColumn& lowerTitles) {
    const std::size_t begin = lowerBoundRow(lowerTitles, 0, lowerTitles.size(), "0");
    // ":" is the byte after "9": every title whose first byte is a digit sorts below it.
    return {begin, lowerBoundRow(lowerTitles, begin, lowerTitles.size(), ":")};
}

bool containsCharacters(std::string_view lowerTitle, std::string_view lowerNeedle) {
    std::size_t at = lowerTitle.find(lowerNeedle);
    if (at == std::string_view::npos) {
        return false;
    }
    if (isValidUtf8(lowerNeedle)) {
        // A valid needle begins with a byte that starts a character and ends
        // with a whole one, so every byte match is a character match.
        return true;
    }
    for (; at != std::string_view::npos; at = lowerTitle.find(lowerNeedle, at + 1)) {
        if (isCharBoundary(lowerTitle, at) && isCharBoundary(lowerTitle, at + lowerNeedle.size())) {
            return true;
        }
    }
    return false;
}

std::vector<std::size_t> filterRows(const TextColumn& lowerTitles, std::string_view filter) {
    std::vector<std::size_t> rows;
    if (filter.empty()) {
        return rows;
    }
    if (filter == "#") {
        const RowRange range = digitRows(lowerTitles);
        rows.reserve(range.size());
        for (std::size_t i = range.first; i < range.last; ++i) {
            rows.push_back(i);
        }
        return rows;
    }
    const std::string lowerFilter = lowerText(filter);
    const RowRange range = prefixRows(lowerTitles, lowerFilter);
    rows.reserve(range.size());
    // A filter that is not valid UTF-8 may end inside a title's character.
    const bool whole = isValidUtf8(lowerFilter);
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (whole || isCharBoundary(lowerTitles[i], lowerFilter.size())) {
            rows.push_back(i);
        }
    }
    return rows;
}

std::optional<RowRange> filterRun(const TextColumn& lowerTitles, std::string_view filter) {
    if (filter.empty()) {
        return RowRange{};
    }
    if (filter == "#") {
        return digitRows(lowerTitles);
    }
    const std::string lowerFilter = lowerText(filter);
    if (!isValidUtf8(lowerFilter)) {
        return std::nullopt;
    }
    return prefixRows(lowerTitles, lowerFilter);
}

std::string dropLastCharacter(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i)) {
        last = i;
    }
    return std::string(text.substr(0, last));
}

std::string filterCharacterForKey(int keyCode) {
    if (keyCode >= vk::kLetterA && keyCode <= vk::kLetterZ) {
        return std::string(1, static_cast<char>('a' + (keyCode - vk::kLetterA)));
    }
    if (keyCode >= vk::kDigit0 && keyCode <= vk::kDigit9) {
        return std::string(1, static_cast<char>('0' + (keyCode - vk::kDigit0)));
    }
    if (keyCode >= vk::kKeypad0 && keyCode <= vk::kKeypad9) {
        return std::string(1, static_cast<char>('0' + (keyCode - vk::kKeypad0)));
    }
    switch (keyCode) {
        case vk::kSpace:
            return " ";
        case vk::kKeypadMultiply:
            return "*";
        case vk::kKeypadAdd:
            return "+";
        case vk::kKeypadSubtract:
        case vk::kMinus:
            return "-";
        case vk::kKeypadDecimal:
        case vk::kPeriod:
            return ".";
        case vk::kKeypadDivide:
        case vk::kSlash:
            return "/";
        case vk::kSemicolon:
            return ";";
        case vk::kEquals:
            return "=";
        case vk::kComma:
            return ",";
        case vk::kBackquote:
            return "`";
        case vk::kOpenBracket:
            return "[";
        case vk::kBackslash:
            return "\\";
        case vk::kCloseBracket:
            return "]";
        case vk::kQuote:
            return "'";
        default:
            return "";
    }
}

}  // namespace vollo
