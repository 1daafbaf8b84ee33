#include "playlist/playlist_sort.h"

#include <algorithm>
#include <utility>

#include "forms/frm_main.h"
#include "platform/text.h"

namespace vollo {

SortPlan planSort(const std::vector<std::string>& titles, const std::vector<std::string>& paths,
                  std::int32_t currentSong) {
    return planSort(TextList(titles), TextList(paths), currentSong);
}

SortPlan planSort(const TextList& titles, const TextList& paths, std::int32_t currentSong) {
    const size_t n = std::min(titles.size(), paths.size());
    // The sorted-list order compares the lower-cased texts, then the raw
    // bytes; lower-casing each key once keeps the comparisons cheap, and the
    // first sixteen lower-cased bytes, held beside the row, settle most of
    // them without touching the texts. The keys stand end to end in two
    // buffers, not in a string each.
    struct Item {
        std::uint64_t head[2];
        int row;
    };
    std::string raw;
    std::string lower;
    std::vector<size_t> rawAt(n + 1);
    std::vector<size_t> lowerAt(n + 1);
    std::vector<Item> items(n, Item{{0, 0}, 0});
    std::string key;
    for (size_t i = 0; i < n; ++i) {
        key.clear();
        key += titles[i];
        key += ':';
        key += paths[i];
        if (static_cast<std::int64_t>(i) == currentSong) {
            key += ':';
        }
        rawAt[i] = raw.size();
        raw += key;
        lowerAt[i] = lower.size();
        lower += lowerText(key);
        const std::string_view lowered = std::string_view(lower).substr(lowerAt[i]);
        items[i] = Item{{orderedBytes(lowered, 0), orderedBytes(lowered, 8)}, static_cast<int>(i)};
    }
    rawAt[n] = raw.size();
    lowerAt[n] = lower.size();
    auto text = [](const std::string& bytes, const std::vector<size_t>& at, int row) {
        const auto r = static_cast<size_t>(row);
        return std::string_view(bytes).substr(at[r], at[r + 1] - at[r]);
    };
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.head[0] != b.head[0]) {
            return a.head[0] < b.head[0];
        }
        if (a.head[1] != b.head[1]) {
            return a.head[1] < b.head[1];
        }
        if (const int c = text(lower, lowerAt, a.row).compare(text(lower, lowerAt, b.row)); c != 0) {
            return c < 0;
        }
        return text(raw, rawAt, a.row) < text(raw, rawAt, b.row);
    });
    SortPlan plan;
    plan.currentSong = currentSong;
    plan.order.reserve(n);
    for (const Item& item : items) {
        plan.order.push_back(item.row);
    }
    if (currentSong >= 0 && static_cast<size_t>(currentSong) < n) {
        const auto it = std::find(plan.order.begin(), plan.order.end(), currentSong);
        plan.currentSong = static_cast<std::int32_t>(it - plan.order.begin());
    }
    return plan;
}

PlaylistSort::PlaylistSort(FrmMain& main)
    : main_(main) {}

void PlaylistSort::bind() {
    main_.on("mnuSortPlaylist_Click", [this](EventArgs&) { mnuSortPlaylist_Click(); });
}

void PlaylistSort::mnuSortPlaylist_Click() {
    const TextList& titles = main_.playList.texts();
    const TextList& paths = main_.playListInfo.texts();
    if (titles.empty()) {
        return;
    }
    const SortPlan plan = planSort(titles, paths, main_.currentSong);
    // Nothing is selected afterwards; the player and shuffleHistory are left alone.
    main_.playList.assignTexts(titles.picked(plan.order));
    main_.playListInfo.assignTexts(paths.picked(plan.order));
    main_.currentSong = plan.currentSong;
}

}  // namespace vollo
