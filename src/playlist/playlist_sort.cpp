#include "playlist/playlist_sort.h"

#include <algorithm>
#include <utility>

#include "forms/frm_main.h"
#include "platform/text.h"

namespace vollo {

SortPlan planSort(const std::vector<std::string>& titles, const std::vector<std::string>& paths,
                  std::int32_t currentSong) {
    const size_t n = std::min(titles.size(), paths.size());
    // The sorted-list order compares the lower-cased texts, then the raw
    // bytes; lower-casing each key once keeps the comparisons cheap, and the
    // first sixteen lower-cased bytes, held beside the row, settle most of
    // them without touching the texts.
    struct Key {
        std::string raw;
        std::string lower;
    };
    struct Item {
        std::uint64_t head[2];
        int row;
    };
    std::vector<Key> keys(n);
    std::vector<Item> items(n, Item{{0, 0}, 0});
    for (size_t i = 0; i < n; ++i) {
        std::string& raw = keys[i].raw;
        raw.reserve(titles[i].size() + paths[i].size() + 2);
        raw += titles[i];
        raw += ':';
        raw += paths[i];
        if (static_cast<std::int64_t>(i) == currentSong) {
            raw += ':';
        }
        keys[i].lower = lowerText(raw);
        items[i] =
            Item{{orderedBytes(keys[i].lower, 0), orderedBytes(keys[i].lower, 8)}, static_cast<int>(i)};
    }
    std::stable_sort(items.begin(), items.end(), [&keys](const Item& a, const Item& b) {
        if (a.head[0] != b.head[0]) {
            return a.head[0] < b.head[0];
        }
        if (a.head[1] != b.head[1]) {
            return a.head[1] < b.head[1];
        }
        const Key& ka = keys[static_cast<size_t>(a.row)];
        const Key& kb = keys[static_cast<size_t>(b.row)];
        if (const int c = ka.lower.compare(kb.lower); c != 0) {
            return c < 0;
        }
        return ka.raw < kb.raw;
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
    const auto& titles = main_.playList.items();
    const auto& paths = main_.playListInfo.items();
    if (titles.empty()) {
        return;
    }
    const SortPlan plan = planSort(titles, paths, main_.currentSong);
    std::vector<std::string> newTitles;
    std::vector<std::string> newPaths;
    newTitles.reserve(plan.order.size());
    newPaths.reserve(plan.order.size());
    for (int row : plan.order) {
        newTitles.push_back(titles[static_cast<size_t>(row)]);
        newPaths.push_back(paths[static_cast<size_t>(row)]);
    }
    // Nothing is selected afterwards; the player and shuffleHistory are left alone.
    main_.playList.assign(std::move(newTitles));
    main_.playListInfo.assign(std::move(newPaths));
    main_.currentSong = plan.currentSong;
}

}  // namespace vollo
