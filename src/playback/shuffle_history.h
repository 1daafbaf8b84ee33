// The entries played in the current shuffle pass, as playlist indices in the
// order recorded plus a bit set, so a draw tests membership in O(1). Its text
// form is the five-digit keys ("00007") in the order recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vollo {

class RandomSource;

class ShuffleHistory {
  public:
    void clear();
    // Records an index; a negative index names no entry and records nothing.
    void record(std::int32_t index);
    bool contains(std::int32_t index) const;
    // The number of keys recorded (the pass is over when it reaches the count).
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    const std::vector<std::int32_t>& indices() const { return order_; }
    std::string text() const;

    // The number of indices in 0 .. count - 1 not recorded.
    std::int64_t freeCount(std::int32_t count) const;
    // The j-th (from 0) index in 0 .. count - 1 not recorded; -1 when there are
    // not that many.
    std::int32_t nthFree(std::int32_t count, std::int64_t j) const;

  private:
    std::vector<std::int32_t> order_;
    std::vector<std::uint64_t> played_;  // bit i: index i is recorded
};

// How many uniform draws over the whole playlist a shuffle draw tries before it
// draws among the unplayed entries directly.
inline constexpr int kShuffleRejectionTries = 64;

// Draws an index in 0 .. count - 1 that is not in the history, uniformly over
// those. Each try takes k = floor(r * count) and accepts it when unplayed, so
// the outcome for a given sequence of random values is the plain rejection
// draw's; after kShuffleRejectionTries rejections (a nearly complete pass) one
// more value picks among the unplayed indices at once, which keeps the draw
// uniform and its cost bounded. Returns -1 when every index is recorded.
std::int32_t drawUnplayed(const ShuffleHistory& history, std::int32_t count, RandomSource& random);

// floor(r * count) for r in [0, 1), kept inside 0 .. count - 1.
std::int64_t scaledIndex(double r, std::int64_t count);

}  // namespace vollo
