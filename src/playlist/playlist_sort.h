// Sorting the playlist alphabetically by title, then path; the current entry
// stays current at its new place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_list.h"

namespace vollo {

class FrmMain;

struct SortPlan {
    std::vector<int> order;         // new row k holds the entry of old row order[k]
    std::int32_t currentSong = -1;  // currentSong afterwards
};

// Orders the entries as a sorted list orders the texts title ":" path (with
// one more ":" for the entry at currentSong), equal texts keeping their order,
// but moves whole entries: a title holding ":" or a path ending in ":" stays
// intact, and the current entry is followed by identity. currentSong keeps its
// value when it names no entry.
SortPlan planSort(const std::vector<std::string>& titles, const std::vector<std::string>& paths,
                  std::int32_t currentSong);
SortPlan planSort(const TextList& titles, const TextList& paths, std::int32_t currentSong);

class PlaylistSort {
  public:
    explicit PlaylistSort(FrmMain& main);
    void bind();

    void mnuSortPlaylist_Click();

  private:
    FrmMain& main_;
};

}  // namespace vollo
