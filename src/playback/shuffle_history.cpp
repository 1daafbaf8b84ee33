#include "playback/shuffle_history.h"

#include "platform/text.h"

namespace vollo {

std::string ShuffleHistory::text() const {
    std::string out;
    out.reserve(order_.size() * 5);
    for (const std::int32_t index : order_) {
        out += fiveDigits(index);
    }
    return out;
}

}  // namespace vollo
