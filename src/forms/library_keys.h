// The library's entry keys, and the keys of the filtered view's rows, kept
// without a string per song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/entry_key.h"
#include "platform/text_list.h"

namespace vollo {

// The keys in library order: each row's text form ("file|dir", the texts
// hiddenSongListInfo shows, sharing its buffer) and which directory follows
// the "|", so that a "|" inside a name cannot move the split. Copies share
// everything.
class LibraryKeys {
  public:
    LibraryKeys() = default;
    // texts[i] must end in "|" + dirs[dirOfRow[i]] (only the lengths are checked).
    LibraryKeys(TextList texts, std::vector<std::string> dirs, std::vector<std::uint32_t> dirOfRow);
    // The keys given, their directories gathered.
    explicit LibraryKeys(const std::vector<EntryKey>& keys);

    std::size_t size() const { return texts_.size(); }
    bool empty() const { return texts_.empty(); }
    const TextList& texts() const { return texts_; }
    const std::string& dir(std::size_t row) const { return (*dirs_)[(*dirOfRow_)[row]]; }
    std::string_view file(std::size_t row) const {
        return texts_[row].substr(0, texts_[row].size() - dir(row).size() - 1);
    }
    EntryKey operator[](std::size_t row) const { return {std::string(file(row)), dir(row)}; }

  private:
    TextList texts_;
    std::shared_ptr<const std::vector<std::string>> dirs_;
    std::shared_ptr<const std::vector<std::uint32_t>> dirOfRow_;
};

// Slot k holds the key of row k of the filtered view; slots past the view's
// rows keep what an earlier, longer view left there (the table grows, never
// shrinks). Kept as the runs of library rows each view showed, not as keys.
class VisibleKeys {
  public:
    std::size_t size() const { return layers_.empty() ? 0 : layers_.front().count; }
    // The key in slot k (k below size()).
    EntryKey operator[](std::size_t slot) const;
    // Slots 0 .. count-1 take the keys of library rows first .. first+count-1,
    // or of the rows listed.
    void show(const LibraryKeys& keys, std::size_t first, std::size_t count);
    void show(const LibraryKeys& keys, std::vector<std::size_t> rows);

  private:
    struct Layer {
        LibraryKeys keys;
        std::size_t first = 0;  // the library row of slot 0, for a run
        std::size_t count = 0;
        std::shared_ptr<const std::vector<std::size_t>> rows;  // the rows, when not a run
    };
    void push(Layer layer);

    std::vector<Layer> layers_;  // the oldest first; each holds fewer slots than the one before
};

}  // namespace vollo
