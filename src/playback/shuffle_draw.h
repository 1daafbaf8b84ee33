// The shuffle draw: which unplayed playlist entry plays next.
#pragma once

#include <cstdint>

#include "forms/shuffle_history.h"

namespace vollo {

class RandomSource;

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
