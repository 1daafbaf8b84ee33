#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vollo {

// A list of texts kept in one buffer, read back as views: the library's
// lower-cased titles, one per row, without a string of their own. The rows
// may stand in the buffer in any order.
class TextColumn {
  public:
    // Where one row's text stands in the buffer.
    struct Span {
        std::uint32_t begin = 0;
        std::uint32_t length = 0;
    };

    TextColumn() = default;
    TextColumn(std::initializer_list<std::string_view> texts);
    explicit TextColumn(const std::vector<std::string>& texts);
    // Takes a buffer and the place of each row's text in it.
    TextColumn(std::string bytes, std::vector<Span> spans);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t row) const {
        const Span span = spans_[row];
        return std::string_view(bytes_.data() + span.begin, span.length);
    }

    void reserve(std::size_t rows, std::size_t bytes);
    // Adds a row; throws std::length_error once the buffer would pass 4 GiB.
    void push_back(std::string_view text);
    void clear();

  private:
    std::string bytes_;
    std::vector<Span> spans_;
};

}  // namespace vollo
