#include "platform/text_column.h"

#include <stdexcept>
#include <utility>

namespace vollo {

TextColumn::TextColumn(std::initializer_list<std::string_view> texts) {
    for (const std::string_view text : texts) {
        push_back(text);
    }
}

TextColumn::TextColumn(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        push_back(text);
    }
}

TextColumn::TextColumn(std::string bytes, std::vector<Span> spans)
    : bytes_(std::move(bytes)),
      spans_(std::move(spans)) {
    for (const Span span : spans_) {
        if (span.begin > bytes_.size() || span.length > bytes_.size() - span.begin) {
            throw std::out_of_range("TextColumn: a row lies outside its buffer");
        }
    }
}

void TextColumn::reserve(std::size_t rows, std::size_t bytes) {
    spans_.reserve(rows);
    bytes_.reserve(bytes);
}

void TextColumn::push_back(std::string_view text) {
    if (text.size() > UINT32_MAX - bytes_.size()) {
        throw std::length_error("TextColumn: more than 4 GiB of text");
    }
    spans_.push_back({static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(text.size())});
    bytes_.append(text);
}

void TextColumn::clear() {
    bytes_.clear();
    spans_.clear();
}

}  // namespace vollo
