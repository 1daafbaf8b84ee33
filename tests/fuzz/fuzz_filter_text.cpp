// The filter and search text rules on any bytes: the filter's binary search
// selects exactly the titles a plain scan does, the search finds a needle
// exactly where it stands on character boundaries, lower-casing keeps the
// count of characters, Backspace takes one character away.
#include <algorithm>

#include "fuzz_support.h"
#include "library/filter_text.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/text_column.h"

namespace {

size_t characters(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        count += i < text.size() && vollo::isCharBoundary(text, i) ? 1 : 0;
    }
    return count;
}

// The characters of a text, one view each.
std::vector<std::string_view> charactersOf(std::string_view text) {
    std::vector<std::string_view> out;
    for (size_t i = 0, start = 0; i <= text.size(); ++i) {
        if (i > start && (i == text.size() || vollo::isCharBoundary(text, i))) {
            out.push_back(text.substr(start, i - start));
            start = i;
        }
    }
    return out;
}

// The filter's rule: the title's first characters, as many as the filter has,
// are the filter's characters.
bool beginsWith(std::string_view title, std::string_view filter) {
    const auto t = charactersOf(title), f = charactersOf(filter);
    return t.size() >= f.size() && std::equal(f.begin(), f.end(), t.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace vollo;
    // The first line is the filter (and the search text), the others the titles.
    std::vector<std::string> lines;
    forEachLine(fuzz::bytesOf(data, size), [&](std::string_view line) { lines.emplace_back(line); });
    if (lines.empty()) {
        return 0;
    }
    const std::string filter = lines.front();
    std::vector<std::string> lower;
    for (size_t i = 1; i < lines.size(); ++i) {
        lower.push_back(lowerText(lines[i]));
        FUZZ_CHECK(characters(lower.back()) == characters(lines[i]));
    }
    std::sort(lower.begin(), lower.end());
    const TextColumn column(lower);
    const std::string lowerFilter = lowerText(filter);
    std::vector<size_t> scanned;
    for (size_t i = 0; i < lower.size(); ++i) {
        const bool digit = !lower[i].empty() && lower[i][0] >= '0' && lower[i][0] <= '9';
        if (filter == "#" ? digit : !filter.empty() && beginsWith(lower[i], lowerFilter)) {
            scanned.push_back(i);
        }
        bool found = lowerFilter.empty();
        for (size_t at = 0; !found && at + lowerFilter.size() <= lower[i].size(); ++at) {
            found = lower[i].compare(at, lowerFilter.size(), lowerFilter) == 0 &&
                    isCharBoundary(lower[i], at) && isCharBoundary(lower[i], at + lowerFilter.size());
        }
        FUZZ_CHECK(containsCharacters(lower[i], lowerFilter) == found);
    }
    FUZZ_CHECK(filterRows(column, filter) == scanned);
    if (const auto run = filterRun(column, filter)) {
        FUZZ_CHECK(run->size() == scanned.size() && (scanned.empty() || run->first == scanned.front()));
    }
    const std::string shorter = dropLastCharacter(filter);
    FUZZ_CHECK(filter.empty() ? shorter.empty() : characters(shorter) + 1 == characters(filter));
    FUZZ_CHECK(filter.compare(0, shorter.size(), shorter) == 0);
    const std::string typed = filterCharacterForKey(static_cast<int>(size > 0 ? data[0] : 0) * 3 - 100);
    FUZZ_CHECK(typed.size() <= 1 && lowerText(typed) == typed);
    return 0;
}
