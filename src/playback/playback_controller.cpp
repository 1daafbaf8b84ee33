#include "playback/playback_controller.h"

#include "app/frm_main.h"
#include "library/library_activation.h"
#include "playlist/playlist_editor.h"

namespace vollo {

PlaybackController::PlaybackController(FrmMain& main)
    : main_(main) {}

void PlaybackController::bind() {
    main_.on("cmdPlay_Click", [this](EventArgs&) { cmdPlay_Click(); });
    main_.on("cmdPause_Click", [this](EventArgs&) { cmdPause_Click(); });
    main_.on("cmdStop_Click", [this](EventArgs&) { cmdStop_Click(); });
    main_.on("playList_DblClick", [this](EventArgs&) { playList_DblClick(); });
    main_.on("shuffle_Click", [this](EventArgs&) { shuffle_Click(); });
    main_.on("mainTimer_Timer", [this](EventArgs&) { mainTimer_Timer(); });
}

void PlaybackController::cmdPlay_Click() {}
void PlaybackController::cmdPause_Click() {}
void PlaybackController::cmdStop_Click() {}
void PlaybackController::playList_DblClick() {}
void PlaybackController::shuffle_Click() {}

void PlaybackController::mainTimer_Timer() {
    // 1. The first-run hint shows while the library is empty.
    main_.lblFirstTime.setVisible(main_.hiddenSongList.listCount() < 1);
    // 2. The playlist edit buttons.
    main_.playlistEditor().updateEditButtons();
    // 3. The Add button.
    main_.libraryActivation().updateAddButton();
}

}  // namespace vollo
