#include "library/library_activation.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/frm_main.h"
#include "library/dropped_files.h"
#include "library/filter_text.h"
#include "platform/key_codes.h"

namespace vollo {

LibraryActivation::LibraryActivation(FrmMain& main)
    : main_(main) {}

void LibraryActivation::bind() {
    main_.on("hiddenSongList_DblClick", [this](EventArgs&) { hiddenSongList_DblClick(); });
    main_.on("visibleSongList_DblClick", [this](EventArgs&) { visibleSongList_DblClick(); });
    main_.on("hiddenSongList_KeyDown", [this](EventArgs& e) {
        hiddenSongList_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
    main_.on("visibleSongList_KeyDown", [this](EventArgs& e) {
        visibleSongList_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
    main_.on("cmdAdd_Click", [this](EventArgs&) { cmdAdd_Click(); });
    // Files dragged from the file manager: one absolute path per argument.
    main_.on("playList_OLEDragDrop", [this](EventArgs& e) {
        std::vector<std::string> paths;
        for (const Arg& arg : e.args) {
            if (const auto* path = std::get_if<std::string>(&arg)) {
                paths.push_back(*path);
            }
        }
        appendDroppedFiles(main_, paths);
    });
}

ListBox& LibraryActivation::list(bool fullLibrary) {
    return fullLibrary ? main_.hiddenSongList : main_.visibleSongList;
}

void LibraryActivation::addRow(bool fullLibrary, int row) {
    const ListBox& shown = list(fullLibrary);
    const auto r = static_cast<std::size_t>(row);
    const std::size_t keyCount = fullLibrary ? main_.libraryKeys.size() : main_.visibleSongListInfo.size();
    if (r >= keyCount) {
        throw std::out_of_range("no key for row " + std::to_string(row) + " of " + shown.name());
    }
    main_.appendToPlaylist(shown.list(row),
                           (fullLibrary ? main_.libraryKeys[r] : main_.visibleSongListInfo[r]).path());
}

void LibraryActivation::addSelectedRows(bool fullLibrary) {
    const ListBox& shown = list(fullLibrary);
    for (int r = 0; r < shown.listCount(); ++r) {
        if (shown.selected(r)) {
            addRow(fullLibrary, r);
        }
    }
}

void LibraryActivation::hiddenSongList_DblClick() {
    addSelectedRows(true);
}

void LibraryActivation::visibleSongList_DblClick() {
    addSelectedRows(false);
}

void LibraryActivation::listKeyDown(bool fullLibrary, int keyCode) {
    ListBox& own = list(fullLibrary);
    if (keyCode == vk::kBackspace) {
        const std::string filter = main_.txtFilter.text();
        if (!filter.empty()) {
            main_.txtFilter.setText(dropLastCharacter(filter));
        }
    } else if (keyCode == vk::kEnter) {
        if (own.selCount() > 0) {
            if (fullLibrary) {
                hiddenSongList_DblClick();
            } else {
                visibleSongList_DblClick();
            }
        } else if (own.listCount() > 0) {
            addRow(fullLibrary, 0);
        }
    } else {
        // The minus key, Shift and Ctrl are rows of the same table.
        const std::string typed = filterCharacterForKey(keyCode);
        if (!typed.empty()) {
            main_.txtFilter.setText(main_.txtFilter.text() + typed);
        }
    }
}

void LibraryActivation::hiddenSongList_KeyDown(int keyCode, int) {
    listKeyDown(true, keyCode);
}

void LibraryActivation::visibleSongList_KeyDown(int keyCode, int) {
    listKeyDown(false, keyCode);
}

void LibraryActivation::cmdAdd_Click() {
    if (main_.visibleSongList.visible()) {
        visibleSongList_DblClick();
    } else {
        hiddenSongList_DblClick();
    }
    if (main_.shuffle.value() != 0 && startShufflePass) {
        startShufflePass();
    }
}

void LibraryActivation::updateAddButton() {
    const bool fullShown = main_.hiddenSongList.visible();
    const bool viewShown = main_.visibleSongList.visible();
    const int fullSelected = main_.hiddenSongList.selCount();
    const int viewSelected = main_.visibleSongList.selCount();
    if ((fullShown && fullSelected == 0) || (viewShown && viewSelected == 0)) {
        main_.cmdAdd.setEnabled(false);
    } else if ((fullShown && fullSelected > 0) || (viewShown && viewSelected > 0)) {
        main_.cmdAdd.setEnabled(true);
    }
}

}  // namespace vollo
