// The one-pass playlist edits and the sort, held against the literal
// one-entry-at-a-time rules on hand-picked and random playlists.
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

std::vector<int> selectedRows(const Playlist& p) {
    std::vector<int> rows;
    for (size_t i = 0; i < p.selected.size(); ++i) {
        if (p.selected[i]) {
            rows.push_back(static_cast<int>(i));
        }
    }
    return rows;
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

TEST(PlaylistEdits, HandPickedCasesGiveTheOrderSelectionAndCurrentSong) {
    const std::vector<std::string> abcd{"A", "B", "C", "D"};
    struct Case {
        Plan plan;
        std::vector<int> selected;
        std::int32_t current;
        std::vector<std::string> titles;
        std::vector<int> selectedAfter;
        std::int32_t currentAfter;
    };
    const Case cases[] = {
        // A block moves as a whole and stays selected.
        {planMoveUp, {1, 2}, -1, {"B", "C", "A", "D"}, {0, 1}, -1},
        {planMoveDown, {1, 2}, -1, {"A", "D", "B", "C"}, {2, 3}, -1},
        // A selected first entry stops every move up; the mirror for move down.
        {planMoveUp, {0, 2}, 2, {"A", "B", "C", "D"}, {0, 2}, 2},
        {planMoveDown, {0, 2}, -1, {"B", "A", "D", "C"}, {1, 3}, -1},
        {planMoveDown, {1, 3}, 1, {"A", "B", "C", "D"}, {1, 3}, 1},
        // To top and bottom keep the selected entries' order and select nothing.
        {planMoveToTop, {0, 2, 3}, -1, {"A", "C", "D", "B"}, {}, -1},
        {planMoveToBottom, {0, 2, 3}, -1, {"B", "A", "C", "D"}, {}, -1},
        // currentSong follows the playing song.
        {planMoveToTop, {3}, 2, {"D", "A", "B", "C"}, {}, 3},
        {planMoveToBottom, {2}, 2, {"A", "B", "D", "C"}, {}, 3},
        {planMoveDown, {1}, 2, {"A", "C", "B", "D"}, {2}, 1},
        // Beyond the end: to bottom lowers it once per moved entry.
        {planMoveToBottom, {0, 1}, 6, {"C", "D", "A", "B"}, {}, 4},
        // Remove: the neighbours of the removed entries stay as they were.
        {planRemove, {1, 2}, 3, {"A", "D"}, {}, 1},
        {planRemove, {0, 1, 2, 3}, 2, {}, {}, -1},
        {planRemove, {}, 2, {"A", "B", "C", "D"}, {}, 2},
    };
    for (const Case& c : cases) {
        const Playlist before = makePlaylist(abcd, c.selected, c.current);
        const Playlist after = applied(before, c.plan(before.selected, before.currentSong));
        EXPECT_EQ(after.titles, c.titles);
        EXPECT_EQ(selectedRows(after), c.selectedAfter);
        EXPECT_EQ(after.currentSong, c.currentAfter);
        // The paths travel with their titles.
        for (size_t i = 0; i < after.titles.size(); ++i) {
            EXPECT_EQ(after.paths[i], "/music/" + after.titles[i] + ".mp3");
        }
    }
}

TEST(PlaylistEdits, RemovingAroundThePlayingEntryOfFive) {
    const std::vector<std::string> five{"A", "B", "C", "D", "E"};
    EXPECT_EQ(planRemove(makePlaylist(five, {0}, 3).selected, 3).currentSong, 2);
    EXPECT_EQ(planRemove(makePlaylist(five, {3}, 3).selected, 3).currentSong, 2);
    EXPECT_EQ(planRemove(makePlaylist(five, {2, 3}, 3).selected, 3).currentSong, 1);
    EXPECT_EQ(planRemove(makePlaylist(five, {4}, 3).selected, 3).currentSong, 3);
    EXPECT_EQ(planRemove(makePlaylist(five, {0}, 0).selected, 0).currentSong, -1);
}

TEST(PlaylistEdits, EveryEditMatchesTheStepByStepRulesOnRandomPlaylists) {
    std::mt19937 rng(20240611);
    int cases = 0;
    for (int round = 0; round < 4000; ++round) {
        const int n = round < 3000 ? static_cast<int>(rng() % 9) : static_cast<int>(rng() % 70);
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
    EXPECT_EQ(cases, 4000 * 5);
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
    for (int round = 0; round < 1500; ++round) {
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

TEST(PlaylistSort, EntriesWithColonsComeOutWholeAndTheCurrentOneByIdentity) {
    std::mt19937 rng(11);
    for (int round = 0; round < 1000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 10);
        std::vector<std::string> titles;
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            titles.push_back(randomTitle(rng, true));
            paths.push_back(
                std::string("/m/").append(std::to_string(rng() % 3)).append(rng() % 3 == 0 ? ":" : ".mp3"));
        }
        const std::int32_t current = static_cast<std::int32_t>(rng() % static_cast<unsigned>(n));
        const SortPlan plan = planSort(titles, paths, current);
        // A permutation of the entries, the current one named by its old row.
        std::vector<int> rows = plan.order;
        std::sort(rows.begin(), rows.end());
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(rows[static_cast<size_t>(i)], i);
        }
        ASSERT_EQ(plan.order[static_cast<size_t>(plan.currentSong)], current);
        // In the order of the marked texts, equal texts keeping their order.
        auto key = [&](int row) {
            return titles[static_cast<size_t>(row)] + ":" + paths[static_cast<size_t>(row)] +
                   (row == current ? ":" : "");
        };
        for (size_t k = 1; k < plan.order.size(); ++k) {
            const int c = compareSorted(key(plan.order[k - 1]), key(plan.order[k]));
            ASSERT_TRUE(c < 0 || (c == 0 && plan.order[k - 1] < plan.order[k])) << "round " << round;
        }
    }
}

TEST(PlaylistSort, TheCurrentCopyOfASongFollowsItsTwinAndSortingTwiceChangesNothing) {
    const std::vector<std::string> titles{"Song", "Song", "a"};
    const std::vector<std::string> paths{"/m/Song.mp3", "/m/Song.mp3", "/m/a.mp3"};
    for (std::int32_t current : {0, 1}) {
        const SortPlan plan = planSort(titles, paths, current);
        EXPECT_EQ(plan.currentSong, 2);
        EXPECT_EQ(plan.order[2], current);
    }
    const SortPlan none = planSort(titles, paths, -1);
    EXPECT_EQ(none.currentSong, -1);
    EXPECT_EQ(none.order, (std::vector<int>{2, 0, 1}));
    // Beyond the end nothing is marked and the value stays.
    EXPECT_EQ(planSort(titles, paths, 9).currentSong, 9);

    std::vector<std::string> once;
    std::vector<std::string> oncePaths;
    const std::vector<std::string> mixed{"c", "B", "a", "b", "A"};
    const std::vector<std::string> mixedPaths{"/2", "/1", "/3", "/0", "/4"};
    const SortPlan first = planSort(mixed, mixedPaths, 3);
    for (int row : first.order) {
        once.push_back(mixed[static_cast<size_t>(row)]);
        oncePaths.push_back(mixedPaths[static_cast<size_t>(row)]);
    }
    EXPECT_EQ(once, (std::vector<std::string>{"a", "A", "b", "B", "c"}));
    EXPECT_EQ(first.currentSong, 2);
    const SortPlan second = planSort(once, oncePaths, first.currentSong);
    EXPECT_EQ(second.order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(second.currentSong, first.currentSong);
}

}  // namespace
}  // namespace vollo
