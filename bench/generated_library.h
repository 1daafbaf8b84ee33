// A library generated as a music collection has it, for the benchmarks.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "library/library_scan.h"
#include "platform/text.h"

namespace vollo {

// The words titles are made of, most frequent first, a few with accented letters.
inline const char* const kWords =
    "love the night you heart time day song blue baby dream light girl fire rain home world "
    "life river summer dance road moon sun sweet wild water good black heaven star angel city "
    "money crazy people memory rock street lady morning kiss shadow ocean train gold winter "
    "soul mountain paradise yellow zero electric garden island jungle queen vision never "
    "always tonight forever little big old young easy hard cold hot red white green wind sky "
    "sea fly run walk talk stay go come back down up away together alone lonely happy sad "
    "blues highway desert window door mirror ghost devil king boy man woman friend brother "
    "sister mother father child story letter radio television machine nothing everything "
    "someone nobody yesterday tomorrow \xC3\xA9t\xC3\xA9 \xC3\xBC"
    "ber \xC3\x89toile na\xC3\xAFve";

// Song titles as a music collection has them: words drawn with a skewed
// (Zipf-like, exponent 0.9) frequency, many titles beginning with "The", some
// with a number; file names with their extension in 400 album folders. The
// result is in library order, as the scan leaves it.
inline ScannedLibrary generateLibrary(int count) {
    std::vector<std::string> words;
    for (const char* p = kWords; *p != 0;) {
        const char* end = std::strchr(p, ' ');
        if (end == nullptr) {
            end = p + std::strlen(p);
        }
        words.emplace_back(p, end);
        p = *end == ' ' ? end + 1 : end;
    }
    std::mt19937 rng(2024);
    std::vector<double> weights;
    for (size_t i = 0; i < words.size(); ++i) {
        weights.push_back(1.0 / std::pow(static_cast<double>(i + 1), 0.9));
    }
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::uniform_int_distribution<int> length(1, 4);
    std::uniform_int_distribution<int> percent(0, 99);
    struct Entry {
        std::string lower;
        std::string lowerKey;
        std::string file;
        std::uint32_t dir;
    };
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(count));
    ScannedLibrary library;
    for (int d = 0; d < 400; ++d) {
        library.dirs.push_back("/home/listener/Music/Album " + std::to_string(d) + "/");
    }
    for (int i = 0; i < count; ++i) {
        std::string title;
        const int start = percent(rng);
        if (start < 12) {
            title = "The";
        } else if (start < 16) {
            title = std::to_string(1 + percent(rng));
        }
        for (int w = length(rng); w > 0; --w) {
            std::string word = words[pick(rng)];
            word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
            title += (title.empty() ? "" : " ") + word;
        }
        Entry e;
        e.lower = lowerText(title);
        e.file = title + (i % 3 == 0 ? ".mp3" : ".wav");
        e.dir = static_cast<std::uint32_t>(i % 400);
        e.lowerKey = lowerText(e.file + "|" + library.dirs[e.dir]);
        entries.push_back(std::move(e));
    }
    // The library order: lower-cased title, then lower-cased key.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.lower != b.lower ? a.lower < b.lower : a.lowerKey < b.lowerKey;
    });
    TextColumn lowerTitles;
    for (const Entry& e : entries) {
        ScannedLibrary::Row row;
        row.file = row.title = static_cast<std::uint32_t>(library.names.size());
        row.fileLength = static_cast<std::uint32_t>(e.file.size());
        row.titleLength = row.fileLength - 4;
        row.dir = e.dir;
        library.names += e.file + "|" + library.dirs[e.dir];
        library.rows.push_back(row);
        lowerTitles.push_back(e.lower);
    }
    library.lowerTitles = std::move(lowerTitles);
    return library;
}

}  // namespace vollo
