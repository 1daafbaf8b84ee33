#include "forms/library_keys.h"

#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace vollo {

LibraryKeys::LibraryKeys(TextList texts, std::vector<std::string> dirs, std::vector<std::uint32_t> dirOfRow)
    : texts_(std::move(texts)),
      dirs_(std::make_shared<const std::vector<std::string>>(std::move(dirs))),
      dirOfRow_(std::make_shared<const std::vector<std::uint32_t>>(std::move(dirOfRow))) {
    if (dirOfRow_->size() != texts_.size()) {
        throw std::invalid_argument("LibraryKeys: a directory for every row");
    }
    // Only the lengths are checked, which keeps file() inside each text: the
    // bytes of a million keys stand all over memory, in scan order, and
    // reading them in library order cost the start-up about 40 ms.
    for (std::size_t row = 0; row < texts_.size(); ++row) {
        if ((*dirOfRow_)[row] >= dirs_->size() || texts_[row].size() <= dir(row).size()) {
            throw std::invalid_argument("LibraryKeys: a key text shorter than its directory");
        }
    }
}

LibraryKeys::LibraryKeys(const std::vector<EntryKey>& keys) {
    std::unordered_map<std::string, std::uint32_t> dirIndex;
    std::vector<std::string> texts;
    std::vector<std::string> dirs;
    std::vector<std::uint32_t> dirOfRow;
    texts.reserve(keys.size());
    dirOfRow.reserve(keys.size());
    for (const EntryKey& key : keys) {
        const auto [at, added] = dirIndex.try_emplace(key.dir, static_cast<std::uint32_t>(dirs.size()));
        if (added) {
            dirs.push_back(key.dir);
        }
        dirOfRow.push_back(at->second);
        texts.push_back(key.text());
    }
    texts_ = TextList(texts);
    dirs_ = std::make_shared<const std::vector<std::string>>(std::move(dirs));
    dirOfRow_ = std::make_shared<const std::vector<std::uint32_t>>(std::move(dirOfRow));
}

EntryKey VisibleKeys::operator[](std::size_t slot) const {
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
        if (slot < layer->count) {
            return layer->keys[layer->rows ? (*layer->rows)[slot] : layer->first + slot];
        }
    }
    throw std::out_of_range("VisibleKeys: no slot " + std::to_string(slot));
}

void VisibleKeys::push(Layer layer) {
    if (layer.count == 0) {
        return;
    }
    while (!layers_.empty() && layers_.back().count <= layer.count) {
        layers_.pop_back();
    }
    layers_.push_back(std::move(layer));
}

void VisibleKeys::show(const LibraryKeys& keys, std::size_t first, std::size_t count) {
    push({keys, first, count, nullptr});
}

void VisibleKeys::show(const LibraryKeys& keys, std::vector<std::size_t> rows) {
    const std::size_t count = rows.size();
    push({keys, 0, count, std::make_shared<const std::vector<std::size_t>>(std::move(rows))});
}

}  // namespace vollo
