// An independent reading of the text rules for the randomised tests: characters
// split by the C library's decoder, lower case from a hand-made table of the
// letters the random texts are made of (never the program's own lowerText).
#pragma once

#include <algorithm>
#include <cwchar>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace vollo::reference {

// A valid UTF-8 sequence is one character, any other byte one by itself.
inline std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        std::mbstate_t state{};
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &state);
        const bool valid = n != static_cast<std::size_t>(-1) && n != static_cast<std::size_t>(-2) && n != 0 &&
                           !(wc >= 0xD800 && wc <= 0xDFFF);
        out.push_back(text.substr(i, valid ? n : 1));
        i += valid ? n : 1;
    }
    return out;
}

inline std::string lower(const std::string& text) {
    static const std::map<std::string, std::string> table = {{"\xC3\x89", "\xC3\xA9"},
                                                             {"\xC3\x80", "\xC3\xA0"},
                                                             {"\xCE\xA3", "\xCF\x83"},
                                                             {"\xD0\x96", "\xD0\xB6"},
                                                             {"\xCE\xA9", "\xCF\x89"},
                                                             {"\xEF\xBC\xA1", "\xEF\xBD\x81"},
                                                             {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"}};
    std::string out;
    for (const std::string& c : characters(text)) {
        const auto it = table.find(c);
        out += it != table.end()                             ? it->second
               : c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z' ? std::string(1, c[0] + 32)
                                                             : c;
    }
    return out;
}

// Pieces random texts are made of: letters in both cases (some whose lower
// case differs in bytes only), blanks, digits, "#", ":" (the byte after "9"),
// and bytes that are not UTF-8 alone but may join into a character.
inline const std::vector<std::string> kPieces = {
    "a", "A", "b", "B", "e", "\xC3\xA9", "\xC3\x89", "\xC3\x9F", " ", "1", "9", "0", "#", ":", "\xCE\xA3",
    "\xCF\x83", "Z", "z", "x", "\xC3", "\x80", "\xA9", "\xD0\x96", "\xFF",
    // Three- and four-byte letters with a lower case (fullwidth A, Deseret long I) and one without.
    "\xEF\xBC\xA1", "\xEF\xBD\x81", "\xF0\x90\x90\x80", "\xE0\xA0\x80"};

inline std::string randomText(std::mt19937& rng, int maxPieces) {
    std::string text;
    for (int n = static_cast<int>(rng() % static_cast<unsigned>(maxPieces + 1)); n > 0; --n) {
        text += kPieces[rng() % kPieces.size()];
    }
    return text;
}

// The order of sorted lists: lower-cased texts compared character by
// character (UTF-8 bytes compare as characters do), then the raw bytes.
inline bool sortedBefore(const std::string& a, const std::string& b) {
    const std::string la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
}

// The filter read literally: "#" alone wants a first character "0" to "9";
// any other text wants the first characters of the title, as many as the
// filter has, to equal the filter once both are lower-cased.
inline bool filterMatch(const std::string& title, const std::string& filter) {
    if (filter == "#") {
        return !title.empty() && title[0] >= '0' && title[0] <= '9';
    }
    const std::vector<std::string> t = characters(title);
    const std::size_t n = characters(filter).size();
    std::string head;
    for (std::size_t k = 0; k < n && t.size() >= n; ++k) {
        head += t[k];
    }
    return t.size() >= n && lower(head) == lower(filter);
}

// The search read literally: the text's characters in a row in the title's, both lower-cased.
inline bool contains(const std::string& title, const std::string& needle) {
    const std::vector<std::string> t = characters(lower(title));
    const std::vector<std::string> s = characters(lower(needle));
    for (std::size_t at = 0; at + s.size() <= t.size(); ++at) {
        if (std::equal(s.begin(), s.end(), t.begin() + static_cast<std::ptrdiff_t>(at))) {
            return true;
        }
    }
    return false;
}

// Sorts titles in the order of sorted lists and gives them lower-cased.
inline std::vector<std::string> sortedLower(std::vector<std::string>& titles) {
    std::sort(titles.begin(), titles.end(), sortedBefore);
    std::vector<std::string> out;
    for (const auto& t : titles) {
        out.push_back(lower(t));
    }
    return out;
}

}  // namespace vollo::reference
