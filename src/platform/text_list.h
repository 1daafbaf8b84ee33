// The texts of a list, end to end in one byte buffer, each row a place in it:
// a row costs its bytes and eight more, not a string of its own. Copies,
// slices and reorderings share the buffer and, where they can, the places;
// a change to a shared list first makes its own copy of what it changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vollo {

class TextList {
  public:
    // Where one row's text stands in the buffer.
    struct Span {
        std::uint32_t begin = 0;
        std::uint32_t length = 0;
    };

    TextList() = default;
    explicit TextList(const std::vector<std::string>& texts);
    // Takes a buffer and the place of each row's text in it (checked).
    TextList(std::shared_ptr<const std::string> bytes, std::vector<Span> spans);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t row) const {
        const Span span = (*spans_)[first_ + row];
        return std::string_view(bytes_->data() + span.begin, span.length);
    }
    std::vector<std::string> strings() const;

    // Rows [first, first + count) as a list of their own, sharing everything.
    TextList slice(std::size_t first, std::size_t count) const;
    // The rows listed (each below size()), in that order, sharing the buffer.
    template <class Index>
    TextList picked(const std::vector<Index>& rows) const {
        std::vector<Span> spans;
        spans.reserve(rows.size());
        for (const Index row : rows) {
            spans.push_back((*spans_)[first_ + static_cast<std::size_t>(row)]);
        }
        return TextList(bytes_, std::move(spans), 0);
    }

    void insert(std::size_t row, std::string_view text);
    void push_back(std::string_view text) { insert(count_, text); }
    void append(const TextList& other);
    void erase(std::size_t row);
    void clear() { *this = TextList(); }

  private:
    TextList(std::shared_ptr<const std::string> bytes, std::vector<Span> spans, int);
    // Makes the places, and the buffer when needed, this list's own.
    void own(bool bytesToo);
    std::string& ownBytes();
    std::vector<Span>& ownSpans();

    std::shared_ptr<const std::string> bytes_;
    std::shared_ptr<const std::vector<Span>> spans_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::size_t unused_ = 0;  // bytes no row refers to any more
};

}  // namespace vollo
