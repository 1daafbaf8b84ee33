#include "playlist/playlist_files.h"

#include "app/frm_main.h"

namespace vollo {

PlaylistFiles::PlaylistFiles(FrmMain& main)
    : main_(main) {}

void PlaylistFiles::bind() {
    main_.on("mnuOpenPlaylist_Click", [this](EventArgs&) { mnuOpenPlaylist_Click(); });
    main_.on("mnuSavePlaylist_Click", [this](EventArgs&) { mnuSavePlaylist_Click(); });
}

void PlaylistFiles::mnuOpenPlaylist_Click() {}
void PlaylistFiles::mnuSavePlaylist_Click() {}

}  // namespace vollo
