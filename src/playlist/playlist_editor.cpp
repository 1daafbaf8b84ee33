#include "playlist/playlist_editor.h"

#include "app/frm_main.h"

namespace vollo {

PlaylistEditor::PlaylistEditor(FrmMain& main)
    : main_(main) {}

void PlaylistEditor::bind() {
    main_.on("cmdRemove_Click", [this](EventArgs&) { cmdRemove_Click(); });
    main_.on("cmdMoveUp_Click", [this](EventArgs&) { cmdMoveUp_Click(); });
    main_.on("cmdMoveDown_Click", [this](EventArgs&) { cmdMoveDown_Click(); });
    main_.on("cmdMoveToTop_Click", [this](EventArgs&) { cmdMoveToTop_Click(); });
    main_.on("cmdMoveToBottom_Click", [this](EventArgs&) { cmdMoveToBottom_Click(); });
    main_.on("playList_KeyDown", [this](EventArgs& e) {
        playList_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
    main_.on("mnuNewPlaylist_Click", [this](EventArgs&) { mnuNewPlaylist_Click(); });
}

void PlaylistEditor::cmdRemove_Click() {}
void PlaylistEditor::cmdMoveUp_Click() {}
void PlaylistEditor::cmdMoveDown_Click() {}
void PlaylistEditor::cmdMoveToTop_Click() {}
void PlaylistEditor::cmdMoveToBottom_Click() {}
void PlaylistEditor::playList_KeyDown(int, int) {}
void PlaylistEditor::mnuNewPlaylist_Click() {}
void PlaylistEditor::updateEditButtons() {}

}  // namespace vollo
