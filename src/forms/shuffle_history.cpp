#include "forms/shuffle_history.h"

#include <algorithm>
#include <bit>

#include "platform/text.h"

namespace vollo {

namespace {

constexpr std::int64_t kWordBits = 64;

// The bits of word w that stand for indices below count.
std::uint64_t maskBelow(std::int64_t w, std::int64_t count) {
    const std::int64_t first = w * kWordBits;
    if (count >= first + kWordBits) {
        return ~std::uint64_t{0};
    }
    if (count <= first) {
        return 0;
    }
    return (std::uint64_t{1} << (count - first)) - 1;
}

// The position of the j-th (from 0) set bit of word.
int selectBit(std::uint64_t word, std::int64_t j) {
    for (; j > 0; --j) {
        word &= word - 1;
    }
    return std::countr_zero(word);
}

}  // namespace

void ShuffleHistory::clear() {
    for (const std::int32_t index : order_) {
        played_[static_cast<size_t>(index / kWordBits)] &= ~(std::uint64_t{1} << (index % kWordBits));
    }
    order_.clear();
}

void ShuffleHistory::record(std::int32_t index) {
    if (index < 0) {
        return;
    }
    const auto word = static_cast<size_t>(index / kWordBits);
    if (word >= played_.size()) {
        played_.resize(word + 1, 0);
    }
    order_.push_back(index);
    played_[word] |= std::uint64_t{1} << (index % kWordBits);
}

bool ShuffleHistory::contains(std::int32_t index) const {
    if (index < 0) {
        return false;
    }
    const auto word = static_cast<size_t>(index / kWordBits);
    return word < played_.size() && ((played_[word] >> (index % kWordBits)) & 1) != 0;
}

std::string ShuffleHistory::text() const {
    std::string out;
    out.reserve(order_.size() * 5);
    for (const std::int32_t index : order_) {
        out += fiveDigits(index);
    }
    return out;
}

std::int64_t ShuffleHistory::freeCount(std::int32_t count) const {
    if (count <= 0) {
        return 0;
    }
    std::int64_t recorded = 0;
    const auto words = std::min<std::int64_t>(static_cast<std::int64_t>(played_.size()),
                                              (count + kWordBits - 1) / kWordBits);
    for (std::int64_t w = 0; w < words; ++w) {
        recorded += std::popcount(played_[static_cast<size_t>(w)] & maskBelow(w, count));
    }
    return count - recorded;
}

std::int32_t ShuffleHistory::nthFree(std::int32_t count, std::int64_t j) const {
    if (count <= 0 || j < 0) {
        return -1;
    }
    const auto words = static_cast<std::int64_t>(played_.size());
    for (std::int64_t w = 0; w < words && w * kWordBits < count; ++w) {
        const std::uint64_t free = ~played_[static_cast<size_t>(w)] & maskBelow(w, count);
        const int n = std::popcount(free);
        if (j < n) {
            return static_cast<std::int32_t>(w * kWordBits + selectBit(free, j));
        }
        j -= n;
    }
    // Past the recorded words every index is free.
    const std::int64_t index = words * kWordBits + j;
    return index < count ? static_cast<std::int32_t>(index) : -1;
}

}  // namespace vollo
