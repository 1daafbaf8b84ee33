// Text rules shared by every subsystem: letter case, the sorted-list order,
// numeric prefixes and number formatting. Texts are bytes (UTF-8 where valid).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vollo {

// Sets the C and C++ locale from the environment, C.UTF-8 when it names none.
void initLocale();

// Lower-cases every character the locale knows a lower case for; bytes that
// are not valid UTF-8 pass through unchanged, so the length in characters stays.
std::string lowerText(std::string_view text);

// The order of a sorted list: lower-cased texts compared character by
// character; texts equal that way are ordered by their raw bytes.
int compareSorted(std::string_view a, std::string_view b);
inline bool sortedLess(std::string_view a, std::string_view b) {
    return compareSorted(a, b) < 0;
}

// The numeric value of a line: blanks skipped, then the longest prefix that
// reads as a decimal number (sign, digits, "." and fraction); none gives 0.
// Always finite: a number beyond the double range reads as the largest double.
double numericPrefix(std::string_view text);
// True when the whole text (blanks around allowed) is one decimal number.
bool isWholeNumber(std::string_view text);

// The shortest plain decimal text ("1800", "-300", "12.5"; no blanks, no
// exponent) that numericPrefix reads back as the same value; infinities are
// written as the largest finite value.
std::string formatNumber(double value);
// The same for a single-precision value, read back through a double.
std::string formatSingle(float value);

// Rounds halves to the even neighbour.
double roundHalfEven(double value);

// The five-digit text of an index ("00007").
std::string fiveDigits(std::int64_t value);

// Eight bytes of text from `from` on as one big-endian number, zeros past its
// end: such numbers order as the bytes do, so sorts compare them first.
std::uint64_t orderedBytes(std::string_view text, size_t from);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);

// Decodes the UTF-8 sequence at text[i] into cp; returns its length, 0 when no
// valid sequence starts there (overlong forms, surrogates and values above
// U+10FFFF are not valid).
size_t decodeUtf8(std::string_view text, size_t i, char32_t& cp);

// Text with every byte sequence that is not valid UTF-8 replaced by U+FFFD,
// for showing file names in widgets.
std::string displayText(std::string_view bytes);

}  // namespace vollo
