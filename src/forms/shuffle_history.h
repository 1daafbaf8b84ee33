// The entries played in the current shuffle pass, as playlist indices in the
// order recorded plus a bit set, so a draw tests membership in O(1). Its text
// form is the five-digit keys ("00007") in the order recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vollo {

class ShuffleHistory {
  public:
    void clear();
    // Records an index; a negative index names no entry and records nothing.
    void record(std::int32_t index);
    bool contains(std::int32_t index) const;
    // The number of keys recorded (the pass is over when it reaches the count).
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
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

}  // namespace vollo
