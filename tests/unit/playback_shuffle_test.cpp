// The shuffle history and the draw among the entries not yet played in a pass.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "forms/shuffle_history.h"
#include "playback/shuffle_draw.h"
#include "reference_shuffle.h"

namespace vollo {
namespace {

using reference::CountedRandom;

TEST(ShuffleHistory, RecordsInOrderForgetsOnClearAndFindsFreeIndicesAcrossWords) {
    ShuffleHistory history;
    for (const std::int32_t i : {7, 0, 130, -1}) {  // 130 is beyond two words; -1 is no entry
        history.record(i);
    }
    EXPECT_EQ(history.text(), "000070000000130");
    EXPECT_EQ(history.size(), 3u);
    EXPECT_TRUE(history.contains(130) && history.contains(0));
    EXPECT_FALSE(history.contains(129) || history.contains(-1) || history.contains(100000));
    history.clear();
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(history.text(), "");
    EXPECT_FALSE(history.contains(7) || history.contains(130));
    history.record(64);
    EXPECT_EQ(history.text(), "00064");
    EXPECT_TRUE(!history.contains(0) && history.contains(64));
    history.record(123456);
    EXPECT_EQ(history.text(), "00064123456");

    ShuffleHistory counted;
    for (std::int32_t i : {0, 1, 63, 64, 65, 127, 200}) {
        counted.record(i);
    }
    // 200 lies beyond a count of 130 and does not take a free place there.
    EXPECT_EQ(counted.freeCount(130), 130 - 6);
    EXPECT_EQ(counted.freeCount(1) + counted.freeCount(0), 0);
    for (const auto& [n, index] :
         {std::pair{0, 2}, {60, 62}, {61, 66}, {121, 126}, {122, 128}, {123, 129}, {124, -1}}) {
        EXPECT_EQ(counted.nthFree(130, n), index) << n;
    }
    // Past the last recorded word every index is free.
    EXPECT_EQ(counted.nthFree(1000, 992), 999);
    EXPECT_EQ(counted.freeCount(1000), 993);
}

TEST(ShuffleDraw, FollowsThePlainRejectionRuleAndDrawsAlikeInAnAlmostFullPass) {
    // Three entries, entry 1 played: 0.5 names it and is rejected, 0.1 gives 0.
    ShuffleHistory history;
    history.record(1);
    CountedRandom random({0.5, 0.1});
    EXPECT_EQ(drawUnplayed(history, 3, random), 0);
    EXPECT_EQ(random.draws, 2);

    // Values near 1 stay inside the playlist.
    CountedRandom high({0.9999999999999999});
    EXPECT_EQ(drawUnplayed(ShuffleHistory{}, 3, high), 2);

    // The same entries as the plain rule, draw after draw, from as many values.
    ShuffleHistory a, b;
    CountedRandom ra, rb;
    for (int i = 0; i < 40; ++i) {
        const std::int32_t x = drawUnplayed(a, 40, ra);
        const std::int32_t y = reference::rejectionDraw(b, 40, rb);
        ASSERT_EQ(x, y) << "draw " << i;
        ASSERT_EQ(ra.draws, rb.draws) << "draw " << i;
        a.record(x);
        b.record(y);
    }
    EXPECT_EQ(drawUnplayed(a, 40, ra), -1);  // nothing left in the pass

    // 20,000 entries, 4 unplayed (one beyond a stale key): ~5,000 values a draw by the plain rule.
    const std::int32_t count = 20000;
    const std::set<std::int32_t> unplayed{3, 64, 9999, 19999};
    ShuffleHistory nearlyFull;
    nearlyFull.record(25000);  // a key left from a longer playlist
    for (std::int32_t i = 0; i < count; ++i) {
        if (!unplayed.count(i)) {
            nearlyFull.record(i);
        }
    }
    CountedRandom values;
    std::map<std::int32_t, int> seen;
    const int draws = 4000;
    for (int i = 0; i < draws; ++i) {
        const int before = values.draws;
        const std::int32_t k = drawUnplayed(nearlyFull, count, values);
        ASSERT_TRUE(unplayed.count(k)) << k;
        ASSERT_LE(values.draws - before, kShuffleRejectionTries + 1);
        ++seen[k];
    }
    for (const std::int32_t k : unplayed) {
        // Expected 1000 each; 5 standard deviations is about 137.
        EXPECT_NEAR(seen[k], draws / 4, 140) << k;
    }
}

}  // namespace
}  // namespace vollo
