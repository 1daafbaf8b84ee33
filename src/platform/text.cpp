#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <limits>
#include <locale>

namespace vollo {

void initLocale() {
    const char* set = std::setlocale(LC_ALL, "");
    std::string name = set ? set : "C";
    if (name == "C" || name == "POSIX") {
        if (std::setlocale(LC_ALL, "C.UTF-8")) {
            name = "C.UTF-8";
        }
    }
    try {
        std::locale::global(std::locale(name.c_str()));
    } catch (const std::exception&) {
        // The C locale stays; lower-casing then covers ASCII only.
    }
    // Numbers are always read and written with ".".
    std::setlocale(LC_NUMERIC, "C");
}

size_t decodeUtf8(std::string_view text, size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    size_t len = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

static std::string lowerTextFrom(std::string_view text);

std::string lowerText(std::string_view text) {
    // Most texts are ASCII: lower them in one pass, falling back at the first
    // byte that is not.
    std::string out(text.size(), '\0');
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            break;
        }
        out[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    if (i == text.size()) {
        return out;
    }
    out.resize(i);
    return out + lowerTextFrom(text.substr(i));
}

static std::string lowerTextFrom(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const auto lowered = static_cast<char32_t>(std::towlower(static_cast<wint_t>(cp)));
        // Keep the character count: a lower case outside ASCII for an ASCII
        // letter (Turkish dotless i) would change byte lengths only, which is fine.
        appendUtf8(out, lowered);
        i += len;
    }
    return out;
}

int compareSorted(std::string_view a, std::string_view b) {
    // Fast path: compare byte by byte while both are ASCII.
    size_t i = 0;
    const size_t n = std::min(a.size(), b.size());
    while (i < n) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80) {
            break;
        }
        const unsigned char la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const unsigned char lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb) {
            return la < lb ? -1 : 1;
        }
        ++i;
    }
    if (i < n) {
        const std::string la = lowerText(a.substr(i));
        const std::string lb = lowerText(b.substr(i));
        if (const int c = la.compare(lb); c != 0) {
            return c < 0 ? -1 : 1;
        }
    } else if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    const int raw = a.compare(b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

namespace {

size_t numberPrefixEnd(std::string_view text, size_t start) {
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        size_t fraction = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    return digits == 0 ? start : i;
}

size_t skipBlanks(std::string_view text, size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return i;
}

}  // namespace

double numericPrefix(std::string_view text) {
    const size_t start = skipBlanks(text, 0);
    const size_t end = numberPrefixEnd(text, start);
    if (end == start) {
        return 0.0;
    }
    const std::string number(text.substr(start, end - start));
    // Too many digits for a double reads as the largest one, never as infinity.
    const double value = std::strtod(number.c_str(), nullptr);
    return std::clamp(value, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
}

bool isWholeNumber(std::string_view text) {
    const size_t start = skipBlanks(text, 0);
    const size_t end = numberPrefixEnd(text, start);
    return end != start && skipBlanks(text, end) == text.size();
}

namespace {

// The shortest plain decimal text (no exponent) that reads back as value:
// the shortest digits that do, written out with the point in its place.
template <class Number>
std::string plainDecimal(Number value) {
    if (!std::isfinite(value)) {
        value = value != value ? Number(0) : std::copysign(std::numeric_limits<Number>::max(), value);
    }
    if (value == 0) {
        return "0";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view sci(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t e = sci.find('e');
    std::string digits;
    for (const char c : sci.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    // The point stands after `point` digits (before them when negative).
    const long point = std::strtol(std::string(sci.substr(e + 1)).c_str(), nullptr, 10) + 1;
    const long count = static_cast<long>(digits.size());
    std::string text = value < 0 ? "-" : "";
    if (point <= 0) {
        text += "0." + std::string(static_cast<size_t>(-point), '0') + digits;
    } else if (point >= count) {
        text += digits + std::string(static_cast<size_t>(point - count), '0');
    } else {
        text +=
            digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
    }
    return text;
}

}  // namespace

std::string formatNumber(double value) {
    return plainDecimal(value);
}

std::string formatSingle(float value) {
    return plainDecimal(value);
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

std::string fiveDigits(std::int64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%05lld", static_cast<long long>(value));
    return buffer;
}

std::uint64_t orderedBytes(std::string_view text, size_t from) {
    unsigned char bytes[8] = {};
    if (from < text.size()) {
        std::memcpy(bytes, text.data() + from, std::min<size_t>(8, text.size() - from));
    }
    std::uint64_t value = 0;
    for (const unsigned char byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string displayText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp = 0;
        const size_t len = decodeUtf8(bytes, i, cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace vollo
