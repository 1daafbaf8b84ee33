#include "playback/shuffle_draw.h"

#include <cmath>

#include "platform/services.h"

namespace vollo {

std::int64_t scaledIndex(double r, std::int64_t count) {
    const double scaled = std::floor(r * static_cast<double>(count));
    if (!(scaled >= 0)) {
        return 0;
    }
    if (scaled >= static_cast<double>(count)) {
        return count - 1;
    }
    return static_cast<std::int64_t>(scaled);
}

std::int32_t drawUnplayed(const ShuffleHistory& history, std::int32_t count, RandomSource& random) {
    if (count <= 0) {
        return -1;
    }
    for (int attempt = 0; attempt < kShuffleRejectionTries; ++attempt) {
        const auto k = static_cast<std::int32_t>(scaledIndex(random.next(), count));
        if (!history.contains(k)) {
            return k;
        }
    }
    const std::int64_t free = history.freeCount(count);
    if (free <= 0) {
        return -1;
    }
    return history.nthFree(count, scaledIndex(random.next(), free));
}

}  // namespace vollo
