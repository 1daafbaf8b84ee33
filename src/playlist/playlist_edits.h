// The playlist edits worked out on the selection alone, in one pass each: the
// new order of the entries, the rows selected afterwards and the new
// currentSong. The results are those of doing the edit one entry at a time
// (remove from the bottom up; move up from the top down, stopping at a
// selected first entry; move down from the bottom up, stopping at a selected
// last entry; to top or bottom one selected entry per step), currentSong
// included, even when it is -1 or beyond the end.
#pragma once

#include <cstdint>
#include <vector>

namespace vollo {

struct EditPlan {
    bool changed = false;           // false: the entries and the selection stay as they are
    std::vector<int> order;         // new row k holds the entry of old row order[k]
    std::vector<int> selection;     // rows selected afterwards, ascending
    std::int32_t currentSong = -1;  // currentSong afterwards (also when nothing changed)
};

// selected[i] != 0 when row i is selected.
EditPlan planRemove(const std::vector<char>& selected, std::int32_t currentSong);
EditPlan planMoveUp(const std::vector<char>& selected, std::int32_t currentSong);
EditPlan planMoveDown(const std::vector<char>& selected, std::int32_t currentSong);
EditPlan planMoveToTop(const std::vector<char>& selected, std::int32_t currentSong);
EditPlan planMoveToBottom(const std::vector<char>& selected, std::int32_t currentSong);

}  // namespace vollo
