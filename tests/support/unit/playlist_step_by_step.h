// The playlist edits and the sort done the slow, literal way: one entry at a
// time with removes and inserts, exactly in the order the rules give. The unit
// tests and the benchmark hold the program's one-pass edits against it; random
// titles for them, and a plan of the program's applied as its editor does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "playlist/playlist_edits.h"

namespace vollo::stepbystep {

struct Playlist {
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    std::vector<char> selected;
    std::int32_t currentSong = -1;
    bool operator==(const Playlist&) const = default;

    int count() const { return static_cast<int>(titles.size()); }
    void removeAt(int k) {
        titles.erase(titles.begin() + k);
        paths.erase(paths.begin() + k);
        selected.erase(selected.begin() + k);
    }
    // An inserted entry is never selected.
    void insertAt(int k, std::string title, std::string path) {
        titles.insert(titles.begin() + k, std::move(title));
        paths.insert(paths.begin() + k, std::move(path));
        selected.insert(selected.begin() + k, 0);
    }
    int selCount() const { return static_cast<int>(std::count(selected.begin(), selected.end(), 1)); }
};

inline void remove(Playlist& p) {
    for (int i = p.count() - 1; i >= 0; --i) {
        if (!p.selected[static_cast<size_t>(i)]) {
            continue;
        }
        p.removeAt(i);
        if (i <= p.currentSong) {
            --p.currentSong;
        }
        if (p.count() == 0) {
            p.currentSong = -1;
        }
    }
}

inline void moveUp(Playlist& p) {
    for (int i = 0; i < p.count(); ++i) {
        if (!p.selected[static_cast<size_t>(i)]) {
            continue;
        }
        if (i == 0) {
            break;
        }
        std::string title = p.titles[static_cast<size_t>(i - 1)];
        std::string path = p.paths[static_cast<size_t>(i - 1)];
        p.removeAt(i - 1);
        p.insertAt(i, std::move(title), std::move(path));
        if (p.currentSong == i) {
            p.currentSong = i - 1;
        } else if (p.currentSong == i - 1) {
            p.currentSong = i;
        }
    }
}

inline void moveDown(Playlist& p) {
    const int n = p.count();
    for (int i = n - 1; i >= 0; --i) {
        if (!p.selected[static_cast<size_t>(i)]) {
            continue;
        }
        if (i > n - 2) {
            break;
        }
        std::string title = p.titles[static_cast<size_t>(i + 1)];
        std::string path = p.paths[static_cast<size_t>(i + 1)];
        p.removeAt(i + 1);
        p.insertAt(i, std::move(title), std::move(path));
        if (p.currentSong == i) {
            p.currentSong = i + 1;
        } else if (p.currentSong == i + 1) {
            p.currentSong = i;
        }
    }
}

inline void moveToTop(Playlist& p) {
    const int s = p.selCount();
    for (int rep = 0; rep < s; ++rep) {
        int i = p.count() - 1;
        while (i >= 0 && !p.selected[static_cast<size_t>(i)]) {
            --i;
        }
        if (i < 0) {
            continue;
        }
        std::string title = p.titles[static_cast<size_t>(i)];
        std::string path = p.paths[static_cast<size_t>(i)];
        p.removeAt(i);
        p.insertAt(0, std::move(title), std::move(path));
        if (p.currentSong == i) {
            p.currentSong = 0;
        } else if (p.currentSong != -1 && p.currentSong < i) {
            ++p.currentSong;
        }
    }
}

inline void moveToBottom(Playlist& p) {
    const int s = p.selCount();
    for (int rep = 0; rep < s; ++rep) {
        int i = 0;
        while (i < p.count() && !p.selected[static_cast<size_t>(i)]) {
            ++i;
        }
        if (i >= p.count()) {
            continue;
        }
        std::string title = p.titles[static_cast<size_t>(i)];
        std::string path = p.paths[static_cast<size_t>(i)];
        p.removeAt(i);
        p.insertAt(p.count(), std::move(title), std::move(path));
        if (p.currentSong == i) {
            p.currentSong = p.count() - 1;
        } else if (p.currentSong > i) {
            --p.currentSong;
        }
    }
}

// The sort through a sorted list of "title:path" texts, the current entry's
// text marked by a final ":", split again at the first ":". Only sound for
// titles without ":" and paths not ending in ":".
inline void sort(Playlist& p) {
    std::vector<std::string> sorter;
    for (int i = 0; i < p.count(); ++i) {
        std::string key = p.titles[static_cast<size_t>(i)] + ":" + p.paths[static_cast<size_t>(i)];
        if (i == p.currentSong) {
            key += ":";
        }
        sorter.insert(
            std::upper_bound(sorter.begin(), sorter.end(), key,
                             [](const std::string& a, const std::string& b) { return sortedLess(a, b); }),
            key);
    }
    p.titles.clear();
    p.paths.clear();
    p.selected.clear();
    for (size_t j = 0; j < sorter.size(); ++j) {
        const std::string& key = sorter[j];
        const size_t colon = key.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        p.titles.push_back(key.substr(0, colon));
        p.selected.push_back(0);
        if (key.back() != ':') {
            p.paths.push_back(key.substr(colon + 1));
        } else {
            p.paths.push_back(key.substr(colon + 1, key.size() - colon - 2));
            p.currentSong = static_cast<std::int32_t>(j);
        }
    }
}

// What the editor does with a plan: rebuild both lists, then select.
inline Playlist applied(const Playlist& before, const EditPlan& plan) {
    Playlist after = before;
    after.currentSong = plan.currentSong;
    if (!plan.changed) {
        return after;
    }
    after.titles.clear();
    after.paths.clear();
    for (int row : plan.order) {
        after.titles.push_back(before.titles[static_cast<size_t>(row)]);
        after.paths.push_back(before.paths[static_cast<size_t>(row)]);
    }
    after.selected.assign(after.titles.size(), 0);
    for (int row : plan.selection) {
        after.selected[static_cast<size_t>(row)] = 1;
    }
    return after;
}

// Titles from a small alphabet so that case, accents, prefixes and duplicates meet.
inline std::string randomTitle(std::mt19937& rng) {
    static const char* const parts[] = {"a", "A", "b", "B", " ", "2", "é", "É", "song", "Song", "_", "z"};
    std::string title;
    const unsigned length = rng() % 4;
    for (unsigned k = 0; k < length; ++k) {
        title += parts[rng() % (sizeof parts / sizeof parts[0])];
    }
    return title;
}

}  // namespace vollo::stepbystep
