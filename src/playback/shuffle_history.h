// The entries played in the current shuffle pass, as playlist indices with an
// index set, so a draw tests membership in O(1). Its text form is the
// five-digit keys ("00007") in the order recorded.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace vollo {

class ShuffleHistory {
  public:
    void clear() {
        order_.clear();
        played_.clear();
    }
    void record(std::int32_t index) {
        order_.push_back(index);
        played_.insert(index);
    }
    bool contains(std::int32_t index) const { return played_.count(index) != 0; }
    // The number of keys recorded (the pass is over when it reaches the count).
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    const std::vector<std::int32_t>& indices() const { return order_; }
    std::string text() const;

  private:
    std::vector<std::int32_t> order_;
    std::unordered_set<std::int32_t> played_;
};

}  // namespace vollo
