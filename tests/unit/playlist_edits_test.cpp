// The one-pass playlist edits and the sort, held against the literal
// one-entry-at-a-time rules on random playlists.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "playlist/playlist_edits.h"
#include "playlist/playlist_sort.h"
#include "playlist_step_by_step.h"

namespace vollo {
namespace {

using stepbystep::Playlist;

Playlist makePlaylist(const std::vector<std::string>& titles, const std::vector<int>& selectedRows,
                      std::int32_t currentSong) {
    Playlist p;
    for (const auto& t : titles) {
        p.titles.push_back(t);
        p.paths.push_back("/music/" + t + ".mp3");
        p.selected.push_back(0);
    }
    for (int row : selectedRows) {
        p.selected[static_cast<size_t>(row)] = 1;
    }
    p.currentSong = currentSong;
    return p;
}

// What the editor does with a plan: rebuild both lists, then select.
Playlist applied(const Playlist& before, const EditPlan& plan) {
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

using Plan = EditPlan (*)(const std::vector<char>&, std::int32_t);
using Step = void (*)(Playlist&);

struct Edit {
    const char* name;
    Plan plan;
    Step step;
};

const Edit kEdits[] = {
    {"remove", planRemove, stepbystep::remove},
    {"move up", planMoveUp, stepbystep::moveUp},
    {"move down", planMoveDown, stepbystep::moveDown},
    {"move to top", planMoveToTop, stepbystep::moveToTop},
    {"move to bottom", planMoveToBottom, stepbystep::moveToBottom},
};

TEST(PlaylistEdits, EveryEditMatchesTheStepByStepRulesOnRandomPlaylists) {
    std::mt19937 rng(20240611);
    int cases = 0;
    for (int round = 0; round < 2000; ++round) {
        const int n = round < 1500 ? static_cast<int>(rng() % 9) : static_cast<int>(rng() % 70);
        std::vector<std::string> titles;
        for (int i = 0; i < n; ++i) {
            titles.push_back(std::string("T").append(std::to_string(i)));
        }
        // Sparse, dense and all-or-nothing selections.
        const unsigned density = rng() % 5;
        std::vector<int> rows;
        for (int i = 0; i < n; ++i) {
            if (density == 4 || (density > 0 && rng() % 4 < density)) {
                rows.push_back(i);
            }
        }
        const std::int32_t current = static_cast<std::int32_t>(rng() % static_cast<unsigned>(n + 6)) - 3;
        const Playlist before = makePlaylist(titles, rows, current);
        for (const Edit& edit : kEdits) {
            Playlist expected = before;
            edit.step(expected);
            const Playlist got = applied(before, edit.plan(before.selected, before.currentSong));
            ASSERT_EQ(got.titles, expected.titles) << edit.name << " n=" << n << " round " << round;
            ASSERT_EQ(got.paths, expected.paths) << edit.name << " round " << round;
            ASSERT_EQ(got.selected, expected.selected) << edit.name << " round " << round;
            ASSERT_EQ(got.currentSong, expected.currentSong)
                << edit.name << " n=" << n << " current " << current << " round " << round;
            ++cases;
        }
    }
    EXPECT_EQ(cases, 2000 * 5);
}

// Titles from a small alphabet so that case, accents, prefixes and duplicates meet.
std::string randomTitle(std::mt19937& rng, bool allowColon) {
    static const char* const parts[] = {"a", "A", "b", "B", " ", "2", "é", "É", "song", "Song", "_", "z"};
    std::string title;
    const unsigned length = rng() % 4;
    for (unsigned k = 0; k < length; ++k) {
        title += parts[rng() % (sizeof parts / sizeof parts[0])];
    }
    if (allowColon && rng() % 3 == 0) {
        const size_t at = rng() % (title.size() + 1);
        std::string withColon = title.substr(0, at);
        withColon += ':';
        withColon.append(title, at, std::string::npos);
        return withColon;
    }
    return title;
}

TEST(PlaylistSort, MatchesTheSortedListOfMarkedTextsOnRandomPlaylists) {
    initLocale();  // so that É and é meet as the program sees them
    std::mt19937 rng(7);
    for (int round = 0; round < 800; ++round) {
        const int n = static_cast<int>(rng() % 12);
        Playlist before;
        for (int i = 0; i < n; ++i) {
            before.titles.push_back(randomTitle(rng, false));
            before.paths.push_back(rng() % 2 ? "/x/" + before.titles.back() + ".mp3"
                                             : std::string("/Y/").append(randomTitle(rng, false)));
            before.selected.push_back(rng() % 2);
            if (rng() % 4 == 0 && i > 0) {  // the same song twice
                before.titles.back() = before.titles[static_cast<size_t>(i - 1)];
                before.paths.back() = before.paths[static_cast<size_t>(i - 1)];
            }
        }
        before.currentSong = static_cast<std::int32_t>(rng() % static_cast<unsigned>(n + 4)) - 2;
        Playlist expected = before;
        stepbystep::sort(expected);
        const SortPlan plan = planSort(before.titles, before.paths, before.currentSong);
        std::vector<std::string> titles;
        std::vector<std::string> paths;
        for (int row : plan.order) {
            titles.push_back(before.titles[static_cast<size_t>(row)]);
            paths.push_back(before.paths[static_cast<size_t>(row)]);
        }
        ASSERT_EQ(titles, expected.titles) << "round " << round;
        ASSERT_EQ(paths, expected.paths) << "round " << round;
        ASSERT_EQ(plan.currentSong, expected.currentSong) << "round " << round;
    }
}

}  // namespace
}  // namespace vollo
