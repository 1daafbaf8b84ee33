// For the shuffle tests: a random source that gives queued values first, then
// values from a fixed seed, and counts its draws; and the plain draw rule.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>

#include "forms/shuffle_history.h"
#include "platform/services.h"
#include "playback/shuffle_draw.h"
#include "scripted_services.h"

namespace vollo::reference {

class CountedRandom : public scenario::QueuedRandom {
  public:
    explicit CountedRandom(std::deque<double> values = {}) { queue = std::move(values); }
    double next() override { return ++draws, QueuedRandom::next(); }
    int draws = 0;
};

// The plain rule: draw until an unplayed index comes up.
inline std::int32_t rejectionDraw(const ShuffleHistory& history, std::int32_t count, RandomSource& random) {
    for (;;) {
        const auto k = static_cast<std::int32_t>(scaledIndex(random.next(), count));
        if (!history.contains(k)) {
            return k;
        }
    }
}

}  // namespace vollo::reference
