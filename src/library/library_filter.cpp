#include "library/library_filter.h"

#include <optional>

#include "forms/frm_main.h"
#include "library/filter_text.h"
#include "library/library_activation.h"
#include "platform/key_codes.h"

namespace vollo {

LibraryFilter::LibraryFilter(FrmMain& main, LibraryActivation& activation)
    : main_(main),
      activation_(activation) {}

void LibraryFilter::bind() {
    main_.on("txtFilter_Change", [this](EventArgs&) { txtFilter_Change(); });
    main_.on("txtFilter_KeyDown", [this](EventArgs& e) {
        txtFilter_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
}

void LibraryFilter::txtFilter_Change() {
    // 1. Empty the filtered view (a filled one replaces it in one step below).
    // 2. An empty filter shows the full library; the key table stays as it is.
    const std::string filter = main_.txtFilter.text();
    if (filter.empty()) {
        main_.visibleSongList.clear();
        main_.visibleSongList.setVisible(false);
        main_.hiddenSongList.setVisible(true);
        return;
    }

    // 3. Otherwise the filtered view is shown.
    main_.visibleSongList.setVisible(true);
    main_.hiddenSongList.setVisible(false);

    // 4-5. The matches, in library order, with their keys in the same slots.
    // The matches of a prefix stand together in the sorted library, so they
    // are found by binary search, and the view shares the library's texts.
    const std::optional<RowRange> run = filterRun(main_.libraryLowerTitles, filter);
    if (run) {
        main_.visibleSongListInfo.show(main_.libraryKeys, run->first, run->size());
        main_.visibleSongList.assignTexts(main_.hiddenSongList.texts().slice(run->first, run->size()));
    } else {
        std::vector<std::size_t> rows = filterRows(main_.libraryLowerTitles, filter);
        TextList titles = main_.hiddenSongList.texts().picked(rows);
        main_.visibleSongListInfo.show(main_.libraryKeys, std::move(rows));
        main_.visibleSongList.assignTexts(std::move(titles));
    }

    // 6. No selection, scrolled to the top.
    main_.visibleSongList.setTopIndex(0);
}

void LibraryFilter::txtFilter_KeyDown(int keyCode, int shift) {
    if (keyCode != vk::kEnter) {
        return;  // the text box's own editing changes the text
    }
    if (main_.hiddenSongList.visible()) {
        activation_.hiddenSongList_KeyDown(keyCode, shift);
    } else if (main_.visibleSongList.visible()) {
        activation_.visibleSongList_KeyDown(keyCode, shift);
    }
}

}  // namespace vollo
