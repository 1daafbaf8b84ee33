// Text rules of the library filter and the search: which lower-cased titles a
// filter text matches, whether a title contains a search text, which character
// a key typed into a library list adds to the filter, and how Backspace takes
// the last character away.
//
// Texts are bytes; a character is one valid UTF-8 sequence, and every byte that
// does not start one counts as a character of its own (as lowerText treats it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_column.h"

namespace vollo {

// A run [first, last) of library rows.
struct RowRange {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t size() const { return last - first; }
    bool operator==(const RowRange&) const = default;
};

// True when the whole text is valid UTF-8.
bool isValidUtf8(std::string_view text);

// True when pos (0..size) starts a character of text or is its end.
bool isCharBoundary(std::string_view text, std::size_t pos);

// The rows of lowerTitles (lower-cased titles, sorted ascending by their bytes)
// whose text begins with the byte string prefix: matches stand together, so
// two binary searches find them.
RowRange prefixRows(const TextColumn& lowerTitles, std::string_view prefix);

// The rows whose first character is a digit "0" to "9" (the "#" filter).
RowRange digitRows(const TextColumn& lowerTitles);

// The search's test: lowerNeedle occurs in lowerTitle starting and ending on
// character boundaries (an empty needle occurs everywhere).
bool containsCharacters(std::string_view lowerTitle, std::string_view lowerNeedle);

// The library rows a filter text selects, in library order: "#" alone selects
// titles beginning with a digit; any other text is a case-insensitive prefix
// of the whole text. lowerTitles must be sorted ascending by their bytes.
std::vector<std::size_t> filterRows(const TextColumn& lowerTitles, std::string_view filter);

// The same rows as one run of the library when they are one (always, unless
// the filter is not valid UTF-8 and may end inside a title's character).
std::optional<RowRange> filterRun(const TextColumn& lowerTitles, std::string_view filter);

// The text without its last character ("" stays "").
std::string dropLastCharacter(std::string_view text);

// What a key typed into a library list adds to the filter text: letters
// lower-cased, digits of both keyboards, space, the keypad's operators and the
// printable punctuation keys of a US layout. "" for keys that type nothing
// (arrows, Home, End, page keys, function keys, Insert, Delete, Tab, Escape,
// modifiers, lock keys and unknown codes).
std::string filterCharacterForKey(int keyCode);

}  // namespace vollo
