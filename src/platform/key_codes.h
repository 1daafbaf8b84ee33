// The virtual-key codes _KeyDown handlers receive (the Qt binding translates
// Qt's keys to them): the keys handlers act on, and the keys whose characters
// a library list adds to the filter.
#pragma once

namespace vollo::vk {

inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kSpace = 32;
inline constexpr int kDelete = 46;
inline constexpr int kDigit0 = 48;  // "0" to "9": 48 to 57
inline constexpr int kDigit9 = 57;
inline constexpr int kLetterA = 65;  // "A" to "Z": 65 to 90
inline constexpr int kLetterZ = 90;
inline constexpr int kKeypad0 = 96;  // keypad "0" to "9": 96 to 105
inline constexpr int kKeypad9 = 105;
inline constexpr int kKeypadMultiply = 106;
inline constexpr int kKeypadAdd = 107;
inline constexpr int kKeypadSubtract = 109;
inline constexpr int kKeypadDecimal = 110;
inline constexpr int kKeypadDivide = 111;
// The punctuation keys of a US layout.
inline constexpr int kSemicolon = 186;
inline constexpr int kEquals = 187;
inline constexpr int kComma = 188;
inline constexpr int kMinus = 189;
inline constexpr int kPeriod = 190;
inline constexpr int kSlash = 191;
inline constexpr int kBackquote = 192;
inline constexpr int kOpenBracket = 219;
inline constexpr int kBackslash = 220;
inline constexpr int kCloseBracket = 221;
inline constexpr int kQuote = 222;

}  // namespace vollo::vk
