#include "library/library_activation.h"

#include "app/frm_main.h"

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
}

void LibraryActivation::hiddenSongList_DblClick() {}
void LibraryActivation::visibleSongList_DblClick() {}
void LibraryActivation::hiddenSongList_KeyDown(int, int) {}
void LibraryActivation::visibleSongList_KeyDown(int, int) {}
void LibraryActivation::cmdAdd_Click() {}
void LibraryActivation::updateAddButton() {}

}  // namespace vollo
