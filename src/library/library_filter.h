// The library filter: every change of the filter text rebuilds the filtered
// view from the full library (a case-insensitive title prefix, or "#" for
// titles beginning with a digit).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/entry_key.h"
#include "forms/library_keys.h"
#include "library/filter_text.h"

namespace vollo {

class FrmMain;
class LibraryActivation;

class LibraryFilter {
  public:
    LibraryFilter(FrmMain& main, LibraryActivation& activation);
    void bind();

    void txtFilter_Change();
    void txtFilter_KeyDown(int keyCode, int shift);

  private:
    FrmMain& main_;
    LibraryActivation& activation_;
};

// The full library as the filter and the search read it: the lower-cased
// titles and the keys kept beside hiddenSongList by the scan, or, should they
// be out of step with the lists, made afresh from the lists themselves.
class LibraryView {
  public:
    explicit LibraryView(FrmMain& main);
    std::size_t size() const { return count_; }
    std::string_view title(std::size_t row) const;
    const TextColumn& lowerTitles() const { return *lowerTitles_; }
    const LibraryKeys& keys() const { return keys_; }
    EntryKey key(std::size_t row) const { return keys_[row]; }

  private:
    FrmMain& main_;
    std::size_t count_;
    const TextColumn* lowerTitles_;
    LibraryKeys keys_;
    TextColumn ownLowerTitles_;
};

}  // namespace vollo
