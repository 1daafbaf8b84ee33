#include "playlist/playlist_sort.h"

#include "app/frm_main.h"

namespace vollo {

PlaylistSort::PlaylistSort(FrmMain& main)
    : main_(main) {}

void PlaylistSort::bind() {
    main_.on("mnuSortPlaylist_Click", [this](EventArgs&) { mnuSortPlaylist_Click(); });
}

void PlaylistSort::mnuSortPlaylist_Click() {}

}  // namespace vollo
