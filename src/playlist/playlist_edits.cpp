#include "playlist/playlist_edits.h"

#include <algorithm>

namespace vollo {

namespace {

int countOf(const std::vector<char>& selected) {
    return static_cast<int>(std::count_if(selected.begin(), selected.end(), [](char s) { return s != 0; }));
}

// The new row of the entry that stood at old row `row`, a valid row.
std::int32_t newRowOf(const std::vector<int>& order, std::int32_t row) {
    const auto it = std::find(order.begin(), order.end(), row);
    return static_cast<std::int32_t>(it - order.begin());
}

bool inRange(std::int32_t row, size_t count) {
    return row >= 0 && static_cast<size_t>(row) < count;
}

// The selected rows first or last, each group in its old order.
std::vector<int> partitionRows(const std::vector<char>& selected, bool selectedFirst) {
    std::vector<int> order;
    order.reserve(selected.size());
    for (int pass = 0; pass < 2; ++pass) {
        const bool takeSelected = (pass == 0) == selectedFirst;
        for (size_t i = 0; i < selected.size(); ++i) {
            if ((selected[i] != 0) == takeSelected) {
                order.push_back(static_cast<int>(i));
            }
        }
    }
    return order;
}

}  // namespace

EditPlan planRemove(const std::vector<char>& selected, std::int32_t currentSong) {
    EditPlan plan;
    plan.currentSong = currentSong;
    const int removed = countOf(selected);
    if (removed == 0) {
        return plan;
    }
    plan.changed = true;
    plan.order.reserve(selected.size() - static_cast<size_t>(removed));
    // Each removed row at or above currentSong takes one off it; once one has,
    // every further row up the list is at or above the lowered value too.
    std::int32_t below = 0;
    for (size_t i = 0; i < selected.size(); ++i) {
        if (selected[i] == 0) {
            plan.order.push_back(static_cast<int>(i));
        } else if (static_cast<std::int64_t>(i) <= currentSong) {
            ++below;
        }
    }
    plan.currentSong = plan.order.empty() ? -1 : currentSong - below;
    return plan;
}

EditPlan planMoveUp(const std::vector<char>& selected, std::int32_t currentSong) {
    EditPlan plan;
    plan.currentSong = currentSong;
    const size_t n = selected.size();
    const auto first = std::find_if(selected.begin(), selected.end(), [](char s) { return s != 0; });
    if (first == selected.end() || first == selected.begin()) {
        return plan;  // nothing selected, or the first entry is: nothing moves
    }
    plan.changed = true;
    plan.order.resize(n);
    for (size_t i = 0; i < n; ++i) {
        plan.order[i] = static_cast<int>(i);
    }
    // Each block of selected rows a..b moves up one; the row above it goes below it.
    size_t i = static_cast<size_t>(first - selected.begin());
    while (i < n) {
        if (selected[i] == 0) {
            ++i;
            continue;
        }
        const size_t a = i;
        while (i < n && selected[i] != 0) {
            plan.order[i - 1] = static_cast<int>(i);
            plan.selection.push_back(static_cast<int>(i - 1));
            ++i;
        }
        plan.order[i - 1] = static_cast<int>(a - 1);
    }
    if (inRange(currentSong, n)) {
        plan.currentSong = newRowOf(plan.order, currentSong);
    }
    return plan;
}

EditPlan planMoveDown(const std::vector<char>& selected, std::int32_t currentSong) {
    EditPlan plan;
    plan.currentSong = currentSong;
    const size_t n = selected.size();
    const auto last = std::find_if(selected.rbegin(), selected.rend(), [](char s) { return s != 0; });
    if (last == selected.rend() || last == selected.rbegin()) {
        return plan;  // nothing selected, or the last entry is: nothing moves
    }
    plan.changed = true;
    plan.order.resize(n);
    for (size_t i = 0; i < n; ++i) {
        plan.order[i] = static_cast<int>(i);
    }
    // Each block of selected rows a..b moves down one; the row below it goes above it.
    const size_t end = n - static_cast<size_t>(last - selected.rbegin());  // one past the last selected
    size_t i = 0;
    while (i < end) {
        if (selected[i] == 0) {
            ++i;
            continue;
        }
        const size_t a = i;
        while (i < end && selected[i] != 0) {
            plan.order[i + 1] = static_cast<int>(i);
            plan.selection.push_back(static_cast<int>(i + 1));
            ++i;
        }
        plan.order[a] = static_cast<int>(i);  // i is the row below the block
    }
    if (inRange(currentSong, n)) {
        plan.currentSong = newRowOf(plan.order, currentSong);
    }
    return plan;
}

EditPlan planMoveToTop(const std::vector<char>& selected, std::int32_t currentSong) {
    EditPlan plan;
    plan.currentSong = currentSong;
    const int moved = countOf(selected);
    if (moved == 0) {
        return plan;
    }
    plan.changed = true;
    plan.order = partitionRows(selected, true);
    if (inRange(currentSong, selected.size())) {
        plan.currentSong = newRowOf(plan.order, currentSong);
    } else if (currentSong < -1) {
        // Each step raises a value below every row until it reaches -1.
        plan.currentSong = static_cast<std::int32_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(currentSong) + moved, -1));
    }
    return plan;
}

EditPlan planMoveToBottom(const std::vector<char>& selected, std::int32_t currentSong) {
    EditPlan plan;
    plan.currentSong = currentSong;
    const int moved = countOf(selected);
    if (moved == 0) {
        return plan;
    }
    plan.changed = true;
    plan.order = partitionRows(selected, false);
    if (inRange(currentSong, selected.size())) {
        plan.currentSong = newRowOf(plan.order, currentSong);
    } else if (currentSong >= 0) {
        // Beyond the end it lies below every moved entry: each step lowers it by one.
        plan.currentSong = currentSong - moved;
    }
    return plan;
}

}  // namespace vollo
