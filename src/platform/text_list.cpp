#include "platform/text_list.h"

#include <stdexcept>
#include <utility>

namespace vollo {

namespace {

std::uint32_t checkedEnd(std::size_t size, std::size_t more) {
    if (more > UINT32_MAX - size) {
        throw std::length_error("TextList: more than 4 GiB of text");
    }
    return static_cast<std::uint32_t>(size);
}

}  // namespace

TextList::TextList(const std::vector<std::string>& texts) {
    auto bytes = std::make_shared<std::string>();
    auto spans = std::make_shared<std::vector<Span>>();
    std::size_t total = 0;
    for (const std::string& text : texts) {
        total += text.size();
    }
    checkedEnd(0, total);
    bytes->reserve(total);
    spans->reserve(texts.size());
    for (const std::string& text : texts) {
        spans->push_back(
            {static_cast<std::uint32_t>(bytes->size()), static_cast<std::uint32_t>(text.size())});
        bytes->append(text);
    }
    count_ = spans->size();
    bytes_ = std::move(bytes);
    spans_ = std::move(spans);
}

TextList::TextList(std::shared_ptr<const std::string> bytes, std::vector<Span> spans)
    : TextList(std::move(bytes), std::move(spans), 0) {
    const std::size_t size = bytes_ ? bytes_->size() : 0;
    for (const Span span : *spans_) {
        if (span.begin > size || span.length > size - span.begin) {
            throw std::out_of_range("TextList: a row lies outside its buffer");
        }
    }
}

TextList::TextList(std::shared_ptr<const std::string> bytes, std::vector<Span> spans, int)
    : bytes_(bytes ? std::move(bytes) : std::make_shared<const std::string>()),
      spans_(std::make_shared<const std::vector<Span>>(std::move(spans))),
      count_(spans_->size()) {}

std::vector<std::string> TextList::strings() const {
    std::vector<std::string> out;
    out.reserve(count_);
    for (std::size_t row = 0; row < count_; ++row) {
        out.emplace_back((*this)[row]);
    }
    return out;
}

TextList TextList::slice(std::size_t first, std::size_t count) const {
    if (first > count_ || count > count_ - first) {
        throw std::out_of_range("TextList: slice outside the list");
    }
    TextList part = *this;
    part.first_ = first_ + first;
    part.count_ = count;
    part.unused_ = 0;
    return part;
}

void TextList::own(bool bytesToo) {
    const bool sharedSpans = !spans_ || spans_.use_count() > 1 || first_ != 0 || spans_->size() != count_;
    const bool sharedBytes = !bytes_ || bytes_.use_count() > 1;
    if (bytesToo && sharedBytes) {
        // A copy of only the bytes this list's rows use.
        auto bytes = std::make_shared<std::string>();
        auto spans = std::make_shared<std::vector<Span>>();
        spans->reserve(count_);
        for (std::size_t row = 0; row < count_; ++row) {
            const std::string_view text = (*this)[row];
            spans->push_back(
                {checkedEnd(bytes->size(), text.size()), static_cast<std::uint32_t>(text.size())});
            bytes->append(text);
        }
        bytes_ = std::move(bytes);
        spans_ = std::move(spans);
        first_ = 0;
        unused_ = 0;
    } else if (sharedSpans) {
        auto spans = std::make_shared<std::vector<Span>>();
        if (spans_) {
            spans->assign(spans_->begin() + static_cast<std::ptrdiff_t>(first_),
                          spans_->begin() + static_cast<std::ptrdiff_t>(first_ + count_));
        }
        spans_ = std::move(spans);
        first_ = 0;
    }
}

std::string& TextList::ownBytes() {
    return const_cast<std::string&>(*bytes_);  // own(true) made it this list's alone
}

std::vector<TextList::Span>& TextList::ownSpans() {
    return const_cast<std::vector<Span>&>(*spans_);  // own() made them this list's alone
}

void TextList::insert(std::size_t row, std::string_view text) {
    if (row > count_) {
        throw std::out_of_range("TextList: insert outside the list");
    }
    own(true);
    std::string& bytes = ownBytes();
    const Span span{checkedEnd(bytes.size(), text.size()), static_cast<std::uint32_t>(text.size())};
    bytes.append(text);
    std::vector<Span>& spans = ownSpans();
    spans.insert(spans.begin() + static_cast<std::ptrdiff_t>(row), span);
    ++count_;
}

void TextList::append(const TextList& other) {
    if (other.empty()) {
        return;
    }
    if (empty()) {
        *this = other;
        return;
    }
    own(true);
    std::string& bytes = ownBytes();
    std::vector<Span>& spans = ownSpans();
    spans.reserve(count_ + other.count_);
    for (std::size_t row = 0; row < other.count_; ++row) {
        const std::string_view text = other[row];
        spans.push_back({checkedEnd(bytes.size(), text.size()), static_cast<std::uint32_t>(text.size())});
        bytes.append(text);
    }
    count_ = spans.size();
}

void TextList::erase(std::size_t row) {
    if (row >= count_) {
        throw std::out_of_range("TextList: erase outside the list");
    }
    own(false);
    std::vector<Span>& spans = ownSpans();
    unused_ += spans[row].length;
    spans.erase(spans.begin() + static_cast<std::ptrdiff_t>(row));
    --count_;
    // Bytes no row uses are given back once they are most of the buffer.
    if (unused_ > 65536 && unused_ > bytes_->size() / 2) {
        auto kept = std::move(*this);
        *this = TextList(kept.strings());
    }
}

}  // namespace vollo
