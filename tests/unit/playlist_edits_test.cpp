// The one-pass playlist edits and the sort, held against the literal
// one-entry-at-a-time rules on random playlists.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "playlist/playlist_edits.h"
#include "playlist/playlist_sort.h"
#include "playlist_step_by_step.h"

namespace vollo {
namespace {

using stepbystep::Playlist;

struct Edit {
    const char* name;
    EditPlan (*plan)(const std::vector<char>&, std::int32_t);
    void (*step)(Playlist&);
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
    for (int round = 0; round < 2000; ++round) {
        const int n = round < 1500 ? static_cast<int>(rng() % 9) : static_cast<int>(rng() % 70);
        // Sparse, dense and all-or-nothing selections.
        const unsigned density = rng() % 5;
        Playlist before;
        for (int i = 0; i < n; ++i) {
            before.titles.push_back("T" + std::to_string(i));
            before.paths.push_back("/music/T" + std::to_string(i) + ".mp3");
            before.selected.push_back(density == 4 || (density > 0 && rng() % 4 < density));
        }
        before.currentSong = static_cast<std::int32_t>(rng() % static_cast<unsigned>(n + 6)) - 3;
        for (const Edit& edit : kEdits) {
            Playlist expected = before;
            edit.step(expected);
            const Playlist got = stepbystep::applied(before, edit.plan(before.selected, before.currentSong));
            ASSERT_TRUE(got == expected)
                << edit.name << " n=" << n << " current " << before.currentSong << " round " << round;
        }
    }
}

TEST(PlaylistSort, MatchesTheSortedListOfMarkedTextsOnRandomPlaylists) {
    initLocale();  // so that É and é meet as the program sees them
    std::mt19937 rng(7);
    for (int round = 0; round < 800; ++round) {
        const int n = static_cast<int>(rng() % 12);
        Playlist before;
        for (int i = 0; i < n; ++i) {
            before.titles.push_back(stepbystep::randomTitle(rng));
            before.paths.push_back(rng() % 2 ? "/x/" + before.titles.back() + ".mp3"
                                             : std::string("/Y/").append(stepbystep::randomTitle(rng)));
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
        const Playlist got = stepbystep::applied(before, {true, plan.order, {}, plan.currentSong});
        ASSERT_TRUE(got.titles == expected.titles && got.paths == expected.paths) << "round " << round;
        ASSERT_EQ(got.currentSong, expected.currentSong) << "round " << round;
    }
}

}  // namespace
}  // namespace vollo
